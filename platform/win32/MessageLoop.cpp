#include "platform/win32/MessageLoop.h"

#include <windows.h>

namespace morix::platform::win32 {

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace morix::platform::win32
