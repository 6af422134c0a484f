// Implements platform::Window as a top-level window of class "MorixForm":
// WS_POPUP with WS_EX_TOOLWINDOW (borderless, never in the taskbar), shown
// with SW_SHOWNOACTIVATE, moved with SWP_NOACTIVATE, made topmost with
// SetWindowPos(HWND_TOPMOST, 0x53). It paints its background picture from
// the top-left (WM_ERASEBKGND/WM_PAINT), and reports WM_L/R/MBUTTONUP,
// WM_CLOSE (the window stays) and WM_ENDSESSION to its WindowEvents;
// WM_QUERYENDSESSION is answered TRUE, WM_MOUSEACTIVATE MA_NOACTIVATE (a click
// leaves the window in front where it is). It also dispatches WM_TIMER to the
// timers set on it, and tells its controls when it is destroyed.
#pragma once

#include "platform/Window.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/FormWindowClass.h"
#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

namespace morix::platform::win32 {

class Win32Picture;

// A control that lives on a Win32Window and must let go of its handles when
// the window goes first (children are destroyed with their parent).
class WindowAttachment {
public:
    virtual void OnOwnerGone() = 0;
    // A WM_TIMER of the window; true when the timer was this control's.
    virtual bool OnOwnerTimer(UINT_PTR) { return false; }

protected:
    ~WindowAttachment() = default;
};

class Win32Window final : public Window, private MessageTarget {
public:
    Win32Window(WindowEvents& events, EventRunner run);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    void SetTitle(std::string_view title) override;
    void Move(int left, int top, int width, int height) override;
    Rect Bounds() const override;
    void SetBackground(std::shared_ptr<Picture> picture) override;
    void SetVisible(bool visible) override;
    bool Visible() const override;
    void SetEnabled(bool enabled) override;
    bool Enabled() const override;
    void MakeTopmost() override;
    WindowHandle Handle() const override;

    HWND Hwnd() const { return hwnd_.Get(); }
    const Win32Picture* Background() const { return background_.get(); }
    void Attach(WindowAttachment* attachment);
    void Detach(WindowAttachment* attachment);
    // A timer id not yet used on this window.
    UINT_PTR NewTimerId() { return nextTimerId_++; }
    // True the first time only: no pop-up menu has been opened over this
    // window yet.
    bool FirstMenu() { return !std::exchange(menuOpened_, true); }

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnEraseBackground(HWND window, HDC dc);
    LRESULT OnPaint(HWND window);
    LRESULT OnButtonUp(MouseButton button);
    LRESULT OnClose();
    LRESULT OnEndSession(bool ending);
    LRESULT OnTimer(HWND window, UINT_PTR timerId);

    WindowEvents& events_;
    EventRunner run_;
    std::shared_ptr<Win32Picture> background_;
    std::vector<WindowAttachment*> attachments_;
    UINT_PTR nextTimerId_ = 1;
    bool menuOpened_ = false;
    UniqueWindow hwnd_;
};

// The Win32Window behind a platform::Window; throws std::invalid_argument for
// a window of another implementation.
Win32Window& AsWin32(Window& window);

}  // namespace morix::platform::win32
