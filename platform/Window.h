// A borderless top-level window of the program, never in the taskbar, that
// does not take the focus when shown. Positions and sizes are screen pixels.
#pragma once

#include "platform/Geometry.h"

#include <memory>
#include <string_view>

namespace morix::platform {

class Picture;

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    virtual void OnMouseUp(MouseButton button) = 0;
    // Another program asks the window to close (WM_CLOSE), or the session
    // ends (log-off, shut-down).
    virtual void OnCloseRequest() = 0;
    virtual void OnEndSession() = 0;
};

class Window {
public:
    virtual ~Window() = default;
    // The title other programs see (the window shows no caption).
    virtual void SetTitle(std::string_view title) = 0;
    virtual void Move(int left, int top, int width, int height) = 0;
    virtual Rect Bounds() const = 0;
    // Drawn as the window's background from its top-left corner; nullptr
    // leaves the window blank.
    virtual void SetBackground(std::shared_ptr<Picture> picture) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    // SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, 0x53): above normal
    // windows, shown, neither moved, sized nor activated.
    virtual void MakeTopmost() = 0;
    // The window's own handle, as other programs see it.
    virtual WindowHandle Handle() const = 0;
};

}  // namespace morix::platform
