// Implements the Tab key of the dialogs: the controls it reaches, walked in
// the layout order of platform/Layout.h rather than in the z-order that
// IsDialogMessage follows (containers lie below the controls over them, which
// is not the order a user reads the dialog in).
#pragma once

#include <windows.h>

namespace morix::platform::win32 {

// The control of the dialog that Tab (or Shift+Tab) moves the keyboard to
// from `from` (or the first, or last, when `from` is none of them): a control
// of ours with WS_TABSTOP, shown and enabled with every container around it;
// of the option buttons of one container only the chosen one (the first when
// none is chosen). nullptr when the dialog has none.
HWND NextTabStop(HWND dialog, HWND from, bool backwards);

// Handles a Tab key press for the dialog: the keyboard goes to the next
// control (a text box's text selected, as the dialog manager does). False
// when the message is no Tab press, or the control with the focus takes Tab
// itself.
bool MoveFocusByTab(HWND dialog, const MSG& msg);

}  // namespace morix::platform::win32
