// What the program asks of the desktop: the screens, the window in front and
// other programs' windows, the pointer, the system's metrics.
#pragma once

#include "platform/Geometry.h"

#include <string>

namespace morix::platform {

// The system's metrics the following of the window in front reads.
enum class Metric {
    CaptionButtonWidth,   // SM_CXSIZE
    CaptionButtonHeight,  // SM_CYSIZE
    SizingFrameWidth,     // SM_CXFRAME
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // The primary screen, from (0, 0).
    virtual Rect PrimaryScreen() const = 0;
    // The monitor that holds most of the rectangle (the nearest one when it
    // is on none), in virtual-screen pixels.
    virtual Rect ScreenOf(const Rect& area) const = 0;
    // Twips per pixel (15 at 96 dots per inch).
    virtual int TwipsPerPixelX() const = 0;
    virtual int TwipsPerPixelY() const = 0;

    virtual WindowHandle ForegroundWindow() const = 0;
    virtual WindowHandle DesktopWindow() const = 0;
    // The window's title as UTF-8 ("" for none or for a window that is gone).
    virtual std::string WindowTitle(WindowHandle window) const = 0;
    // The outer rectangle; all zero for a window that is gone.
    virtual Rect WindowRect(WindowHandle window) const = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    virtual int SystemMetric(Metric metric) const = 0;
    virtual Point CursorPos() const = 0;
};

}  // namespace morix::platform
