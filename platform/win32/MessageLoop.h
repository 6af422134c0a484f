// Implements the program's message loop: GetMessageW, then for a message of
// a registered dialog window (or of one of its controls) IsDialogMessageW
// first, so that Tab moves between the controls, Esc reaches the cancel
// button and Enter the default one (as WM_COMMAND IDCANCEL and IDOK), and
// TranslateMessage and DispatchMessageW for everything else, until WM_QUIT.
// The borderless windows are not registered: the memo's rich-text box needs
// Tab and Enter for itself.
#pragma once

#include <windows.h>

namespace morix::platform::win32 {

// Every dialog window registers itself for the life of its HWND. The
// registry belongs to the thread: a window's messages arrive on the thread
// that made it.
void RegisterDialogWindow(HWND dialog);
void UnregisterDialogWindow(HWND dialog);

// Hands the message to the registered dialog that holds its window; true
// when the dialog took it (it is then dispatched already).
bool PassToDialog(MSG& msg);

// Returns the WM_QUIT's exit code (or 1 when GetMessageW fails).
int RunMessageLoop();

}  // namespace morix::platform::win32
