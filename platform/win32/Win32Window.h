// Implements platform::Window as a top-level window of class "MorixForm",
// owned by no window, in two kinds:
// - Borderless: WS_POPUP with WS_EX_TOOLWINDOW (no frame, never in the
//   taskbar), blank parts painted white; a click on it answers
//   WM_MOUSEACTIVATE with MA_NOACTIVATE (it leaves the window in front where
//   it is), except a click into a control that takes typing (ChildControl
//   answers that one with MA_ACTIVATE).
// - Dialog: WS_POPUP | WS_CAPTION | WS_SYSMENU with WS_EX_DLGMODALFRAME |
//   WS_EX_CONTROLPARENT, blank parts in the button-face colour, registered
//   with the message loop (IsDialogMessageW), which turns Esc and Enter into
//   WM_COMMAND IDCANCEL and IDOK: these press the cancel and the default
//   control when it is set, visible and enabled. The keyboard focus returns
//   to the control that had it when the dialog is activated again.
// Both are shown with SW_SHOWNOACTIVATE, moved with SWP_NOACTIVATE, shown
// topmost with SW_SHOWNA and SetWindowPos(HWND_TOPMOST, 0x53), sized by their
// client area through AdjustWindowRectEx. When the window is hidden or
// destroyed while active, the window that was in front before it was
// activated gets the front back (SetForegroundWindow). It paints its
// background picture from the top-left (WM_ERASEBKGND/WM_PAINT), reports
// WM_L/R/MBUTTONUP, WM_MOUSEHOVER (asked for with TrackMouseEvent at each
// move onto it or one of its clips; a clip hands its own hover on), WM_CLOSE (the window stays) and WM_ENDSESSION through the
// event guard; WM_QUERYENDSESSION is answered TRUE. It routes its controls'
// WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* to them (ChildControl), dispatches
// WM_TIMER to the timers set on it, and tells everything attached to it when
// it is destroyed.
#pragma once

#include "platform/Window.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/FormWindowClass.h"
#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace morix::platform::win32 {

class Win32Picture;

// A control that lives on a Win32Window and must let go of the window when
// it goes first (children are destroyed with their parent).
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
    Win32Window(WindowKind kind, EventRunner run, Point origin = {});
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    WindowKind Kind() const override { return kind_; }
    void SetTitle(std::string_view title) override;
    void Move(int left, int top, int width, int height) override;
    Rect Bounds() const override;
    void SetClientSize(int width, int height) override;
    void FitToCaptions() override;
    void SetBackground(std::shared_ptr<Picture> picture) override;
    void SetVisible(bool visible) override;
    bool Visible() const override;
    void SetEnabled(bool enabled) override;
    bool Enabled() const override;
    void ShowAndActivate() override;
    void ShowTopmostInactive() override;
    WindowHandle Handle() const override;
    void SetCancelControl(Control* button) override;
    void SetDefaultControl(Control* button) override;
    void OnMouseUp(std::function<void(MouseButton)> handler) override { onMouseUp_ = std::move(handler); }
    void OnPointerRest(std::function<void()> handler) override { onPointerRest_ = std::move(handler); }
    void OnCloseRequest(std::function<void()> handler) override { onCloseRequest_ = std::move(handler); }
    void OnEndSession(std::function<void()> handler) override { onEndSession_ = std::move(handler); }

    HWND Hwnd() const { return hwnd_.Get(); }
    const Win32Picture* Background() const { return background_.get(); }
    void Attach(WindowAttachment* attachment);
    void Detach(WindowAttachment* attachment);
    // A timer id not yet used on this window.
    UINT_PTR NewTimerId() { return nextTimerId_++; }
    // A control id not yet used on this window: from 100 up, clear of IDOK
    // and IDCANCEL, which stand for Enter and Esc.
    int NewControlId() { return nextControlId_++; }
    // True the first time only: no pop-up menu has been opened over this
    // window yet.
    bool FirstMenu() { return !std::exchange(menuOpened_, true); }
    // A click is about to activate the window: the window in front now gets
    // the front back when this one is hidden or destroyed.
    void NoteActivationByClick();
    // Gives the control the keyboard when the window is the active one;
    // otherwise the control gets it when the window is next activated, so
    // that a form setting its focus does not take the front.
    void FocusControl(HWND control);

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnEraseBackground(HWND window, HDC dc);
    LRESULT OnPaint(HWND window);
    LRESULT OnButtonUp(MouseButton button);
    LRESULT OnMouseMove(HWND window);
    LRESULT OnMouseHover();
    LRESULT OnClose();
    LRESULT OnEndSession(bool ending);
    LRESULT OnTimer(HWND window, UINT_PTR timerId);
    LRESULT OnMouseActivate(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnRouted(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(HWND window, WPARAM wParam, const RECT& suggested);
    // Esc and Enter: the control pressed, if it could be clicked.
    void PressFromKey(HWND control);
    bool IsActive() const;
    void GiveFrontBack();

    const WindowKind kind_;
    int dpi_ = 0;  // the scale a dialog is laid out for
    EventRunner run_;
    std::function<void(MouseButton)> onMouseUp_;
    std::function<void()> onCloseRequest_, onEndSession_, onPointerRest_;
    // The system watches the pointer for a rest on the window (TME_HOVER).
    bool watchingRest_ = false;
    std::shared_ptr<Win32Picture> background_;
    std::vector<WindowAttachment*> attachments_;
    UINT_PTR nextTimerId_ = 1;
    int nextControlId_ = 100;
    bool menuOpened_ = false;
    // Handles of other windows, held only to be asked about (IsWindow).
    HWND cancelControl_ = nullptr;
    HWND defaultControl_ = nullptr;
    HWND focusOnActivation_ = nullptr;
    HWND frontBefore_ = nullptr;
    UniqueWindow hwnd_;
};

// The Win32Window behind a platform::Window; throws std::invalid_argument for
// a window of another implementation.
Win32Window& AsWin32(Window& window);

}  // namespace morix::platform::win32
