// Implements the program's message loop: GetMessageW, TranslateMessage,
// DispatchMessageW until WM_QUIT.
#pragma once

namespace morix::platform::win32 {

// Returns the WM_QUIT's exit code (or 1 when GetMessageW fails).
int RunMessageLoop();

}  // namespace morix::platform::win32
