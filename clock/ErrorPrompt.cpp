// The error prompt: file and path errors let the user go on with a plain
// clock window; every other error ends the program.
#include "clock/Form1.h"
#include "clock/Module1.h"

namespace morix {

void Module1::ShowErrorPrompt() {
    platform::Ui& ui = platform.ui;
    if (ErrNo == err::PathFileAccess || ErrNo == err::PathNotFound || ErrNo == err::FileNotFound) {
        int answer = ui.ShowMessageBox(ErrDescription + "\r\n" + "続けますか？", "Morix",
                                       platform::mb::YesNo | platform::mb::IconQuestion);
        if (answer != platform::mb::AnswerYes) platform.process.Exit(0);
        if (form1_) form1_->ShowPlain();
        return;
    }
    ui.ShowMessageBox(ErrDescription, "Morix", platform::mb::Ok | platform::mb::IconStop);
    platform.process.Exit(0);
}

}  // namespace morix
