// The error prompt: file and path errors let the user go on with a plain
// clock window; every other error ends the program.
#include "clock/Form1.h"
#include "clock/Module1.h"

namespace morix {

void Module1::ShowErrorPrompt() {
    using platform::MessageAnswer;
    using platform::MessageButtons;
    using platform::MessageIcon;
    platform::Ui& ui = platform.ui;
    // Open until the answer, also when the answer ends the program.
    struct PromptOpen {
        bool& open;
        bool before;
        explicit PromptOpen(bool& flag) : open(flag), before(flag) { open = true; }
        ~PromptOpen() { open = before; }
        PromptOpen(const PromptOpen&) = delete;
        PromptOpen& operator=(const PromptOpen&) = delete;
    } promptOpen(ErrorPromptOpen);
    // Modal to the clock: its menu and drag mode wait for the answer.
    platform::Window* owner = form1_ ? &form1_->Window() : nullptr;
    if (ErrNo == err::PathFileAccess || ErrNo == err::PathNotFound || ErrNo == err::FileNotFound) {
        const MessageAnswer answer =
            ui.ShowMessageBox(ErrDescription + "\r\n" + "続けますか？", "Morix", MessageButtons::YesNo, MessageIcon::Question,
                              owner);
        if (answer != MessageAnswer::Yes) EndFromPrompt();
        if (form1_) form1_->ShowPlain();
        return;
    }
    ui.ShowMessageBox(ErrDescription, "Morix", MessageButtons::Ok, MessageIcon::Stop, owner);
    EndFromPrompt();
}

void Module1::EndFromPrompt() {
    // No unload handling runs and no setting is written; only an open memo's
    // text is saved, so that it is not lost.
    if (MemoWindowOpen && memos) memos->SaveOpenMemo();
    platform.process.Exit(0);
}

}  // namespace morix
