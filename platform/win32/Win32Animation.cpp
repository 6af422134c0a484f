#include "platform/win32/Win32Animation.h"

#include "base/RuntimeError.h"
#include "platform/FileErrors.h"
#include "platform/win32/AnsiSafePath.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Files.h"

#include <commctrl.h>

#include <stdexcept>

namespace morix::platform::win32 {

namespace {
constexpr wchar_t InstanceProperty[] = L"Morix.Animation";
constexpr WORD LastFrame = 0xFFFF;  // ACM_PLAY: "to the end of the clip"
}  // namespace

Win32Animation::Win32Animation(Win32Window& window, HWND parent, EventRunner run) : window_(&window), run_(run) {
    // Visible from the start, as the control is when placed on a form. No
    // ACS_CENTER: the control takes the size of the clip's frames.
    hwnd_.Reset(CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                parent, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!hwnd_) throw std::runtime_error("CreateWindowExW failed for SysAnimate32");
    StackAboveContainers(hwnd_.Get());
    SetPropW(hwnd_.Get(), InstanceProperty, this);
    controlProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    window.Attach(this);
}

Win32Animation::~Win32Animation() {
    if (window_ != nullptr) window_->Detach(this);
    if (!hwnd_) return;  // destroyed with the window or its container
    SendMessageW(hwnd_.Get(), ACM_STOP, 0, 0);
    SetWindowLongPtrW(hwnd_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
    RemovePropW(hwnd_.Get(), InstanceProperty);
    hwnd_.Reset();
}

void Win32Animation::Move(int left, int top) {
    SetWindowPos(hwnd_.Get(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Animation::SetVisible(bool visible) { ShowWindow(hwnd_.Get(), visible ? SW_SHOWNA : SW_HIDE); }

void Win32Animation::SetAutoPlay(bool autoPlay) {
    LONG_PTR style = GetWindowLongPtrW(hwnd_.Get(), GWL_STYLE);
    style = autoPlay ? (style | ACS_AUTOPLAY) : (style & ~static_cast<LONG_PTR>(ACS_AUTOPLAY));
    SetWindowLongPtrW(hwnd_.Get(), GWL_STYLE, style);
}

void Win32Animation::Open(std::string_view path) {
    std::wstring file = Widen(path);
    try {
        RequireExistingFile(Win32Files(), path);
    } catch (...) {
        Close();
        throw;
    }
    // The control may hand the path on in the ANSI code page (Wine's does).
    file = AnsiSafePath(file);
    if (SendMessageW(hwnd_.Get(), ACM_OPENW, 0, reinterpret_cast<LPARAM>(file.c_str())) == FALSE) {
        Close();
        Raise(err::PathFileAccess, path);  // a file the control cannot play
    }
}

void Win32Animation::Play(int repeatCount) {
    // From the first frame to the last: after the final repeat the last
    // frame stays shown.
    SendMessageW(hwnd_.Get(), ACM_PLAY, static_cast<WPARAM>(repeatCount), MAKELPARAM(0, LastFrame));
}

void Win32Animation::Stop() { SendMessageW(hwnd_.Get(), ACM_STOP, 0, 0); }

void Win32Animation::Close() { SendMessageW(hwnd_.Get(), ACM_OPENW, 0, 0); }

LRESULT CALLBACK Win32Animation::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Win32Animation*>(GetPropW(window, InstanceProperty));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(window, message, wParam, lParam);
}

LRESULT Win32Animation::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return HTCLIENT;
    case WM_LBUTTONUP: return OnButtonUp(MouseButton::Left);
    case WM_RBUTTONUP: return OnButtonUp(MouseButton::Right);
    case WM_MBUTTONUP: return OnButtonUp(MouseButton::Middle);
    // The clips cover most of the clock's face: a rest on one is a rest on
    // the window (the system tells only the window under the pointer).
    case WM_MOUSEMOVE: {
        if (!watchingRest_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, window, HOVER_DEFAULT};
            watchingRest_ = TrackMouseEvent(&track) != FALSE;
        }
        return 0;
    }
    case WM_MOUSELEAVE: watchingRest_ = false; return 0;
    case WM_MOUSEHOVER:
        watchingRest_ = false;
        return window_ != nullptr ? SendMessageW(window_->Hwnd(), WM_MOUSEHOVER, wParam, lParam) : 0;
    case WM_NCDESTROY: {
        // The clip goes with its window or its container.
        WNDPROC control = controlProc_;
        RemovePropW(window, InstanceProperty);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control));
        hwnd_.Release();
        return CallWindowProcW(control, window, message, wParam, lParam);
    }
    default: return CallWindowProcW(controlProc_, window, message, wParam, lParam);
    }
}

LRESULT Win32Animation::OnButtonUp(MouseButton button) {
    Fire(run_, onMouseUp_, button);
    return 0;
}

void Win32Animation::OnOwnerGone() {
    // The control dies with the window right after (its WM_NCDESTROY lets go
    // of the handle).
    window_ = nullptr;
}

}  // namespace morix::platform::win32
