// A top-level window of the program. Two kinds: the borderless form window
// of the clock and the balloons (never in the taskbar, never takes the focus
// by itself), and the captioned dialog window of the memo picker, the option
// dialogs and the date and time dialog. Positions and sizes are screen
// pixels; controls attach to either kind (platform/Ui.h makes them).
#pragma once

#include "platform/Geometry.h"

#include <functional>
#include <memory>
#include <string_view>

namespace morix::platform {

class Picture;
class Control;

enum class WindowKind {
    Borderless,  // no frame, no caption; a click on it leaves the front where it is
    Dialog,      // a caption with a close box, sized by its client area
};

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

class Window {
public:
    virtual ~Window() = default;

    virtual WindowKind Kind() const = 0;
    // The caption of a dialog; the title other programs see of a borderless
    // window (which shows none).
    virtual void SetTitle(std::string_view title) = 0;
    // The outer rectangle.
    virtual void Move(int left, int top, int width, int height) = 0;
    virtual Rect Bounds() const = 0;
    // Sizes the window so that its client area is width x height, keeping its
    // top-left corner; the outer size then follows from the frame (equal to
    // the client size for a borderless window).
    virtual void SetClientSize(int width, int height) = 0;
    // Widens the controls whose captions their widths would cut, measured in
    // the fonts they have, with what lies beside them, their containers and
    // the client area (platform/Layout.h, GrowToCaptions). A form calls it
    // once its controls are made and its client area sized, before placing
    // it; where every caption fits, nothing changes.
    virtual void FitToCaptions() = 0;
    // Drawn as the window's background from its top-left corner; nullptr
    // leaves the window blank.
    virtual void SetBackground(std::shared_ptr<Picture> picture) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    // A disabled window takes no input, its controls neither.
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    // Shows the window and gives it the front and the keyboard, as showing a
    // modeless form does (the dialogs opened from the menu).
    virtual void ShowAndActivate() = 0;
    // Shows the window above all normal windows without moving, sizing or
    // activating it (SetWindowPos with HWND_TOPMOST and 0x53 on Windows).
    virtual void ShowTopmostInactive() = 0;
    // The window's own handle, as other programs see it.
    virtual WindowHandle Handle() const = 0;

    // The buttons that the Esc and the Enter key press while a dialog has
    // the keyboard (none by default; a disabled button is not pressed).
    virtual void SetCancelControl(Control* button) = 0;
    virtual void SetDefaultControl(Control* button) = 0;

    // Events, each called through the event guard. A mouse button released
    // on the window's own face (not on a control).
    virtual void OnMouseUp(std::function<void(MouseButton)> handler) = 0;
    // The pointer has rested on the window (its face or a clip on it) for
    // the system's hover time, as a tooltip waits (SPI_GETMOUSEHOVERTIME).
    // Once per rest: it must move again before the next. A disabled or
    // hidden window takes none.
    virtual void OnPointerRest(std::function<void()> handler) = 0;
    // The close box, or another program asking the window to close
    // (WM_CLOSE): the window stays until the program unloads it.
    virtual void OnCloseRequest(std::function<void()> handler) = 0;
    // The session ends (log-off, shut-down).
    virtual void OnEndSession(std::function<void()> handler) = 0;
};

}  // namespace morix::platform
