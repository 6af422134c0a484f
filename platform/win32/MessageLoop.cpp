#include "platform/win32/MessageLoop.h"

#include "platform/win32/TabOrder.h"

#include <algorithm>
#include <vector>

namespace morix::platform::win32 {

namespace {

std::vector<HWND>& Dialogs() {
    thread_local std::vector<HWND> dialogs;
    return dialogs;
}

}  // namespace

void RegisterDialogWindow(HWND dialog) {
    if (dialog != nullptr) Dialogs().push_back(dialog);
}

void UnregisterDialogWindow(HWND dialog) { std::erase(Dialogs(), dialog); }

bool PassToDialog(MSG& msg) {
    if (msg.hwnd == nullptr) return false;
    // A copy: the dialog may handle the message by unloading itself, or by
    // opening another dialog.
    const std::vector<HWND> dialogs = Dialogs();
    for (HWND dialog : dialogs) {
        if (!IsWindow(dialog)) continue;
        if (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd)) continue;
        if (MoveFocusByTab(dialog, msg)) return true;
        return IsDialogMessageW(dialog, &msg) != FALSE;
    }
    return false;
}

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (PassToDialog(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace morix::platform::win32
