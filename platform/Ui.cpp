#include "platform/Ui.h"

namespace morix::platform {

MessageAnswer Ui::ShowMessageBox(std::string_view text, std::string_view title, MessageButtons buttons,
                                 MessageIcon icon, Window* owner) {
    // Open until the answer, also when the answer never comes back here (the
    // process ends under it).
    struct Open {
        int& count;
        explicit Open(int& c) : count(c) { ++count; }
        ~Open() { --count; }
        Open(const Open&) = delete;
        Open& operator=(const Open&) = delete;
    } open(messageBoxesOpen_);
    return RunMessageBox(text, title, buttons, icon, owner);
}

}  // namespace morix::platform
