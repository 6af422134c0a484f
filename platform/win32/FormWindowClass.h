// Implements the one window class of the program, "MorixForm": its
// registration (RegisterClassExW, once per process), window creation
// (CreateWindowExW) and a window procedure that hands every message to the
// C++ object that owns the window (MessageTarget, kept in GWLP_USERDATA).
// The clock, the balloons, the dialogs, the containers among the controls
// (frames, picture boxes), the drag surface and the hidden owner of the sound
// device are all windows of this class.
#pragma once

#include <windows.h>

namespace morix::platform::win32 {

inline constexpr wchar_t FormClassName[] = L"MorixForm";

class MessageTarget {
public:
    // Every message of the window, from WM_NCCREATE to WM_DESTROY; messages
    // the target does not handle go to DefWindowProcW.
    virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~MessageTarget() = default;
};

struct FormWindowParams {
    DWORD exStyle = 0;
    DWORD style = 0;
    HWND parent = nullptr;  // HWND_MESSAGE for a message-only window
    int id = 0;             // the control id of a child window
    int left = 0, top = 0, width = 0, height = 0;
};

// Creates a window of the class (registering it first if need be); nullptr on
// failure. `target` receives its messages until DetachTarget.
HWND CreateFormWindow(const FormWindowParams& params, MessageTarget* target);

// Messages that arrive later (during DestroyWindow, say) go to
// DefWindowProcW: the owning object may be half destroyed by then.
void DetachTarget(HWND window);

}  // namespace morix::platform::win32
