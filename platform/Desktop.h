// What the program asks of the desktop: the screens, the window in front and
// other programs' windows, the pointer, the system's metrics.
#pragma once

#include "platform/Geometry.h"

#include <optional>
#include <string>

namespace morix::platform {

// The system's metrics the following of the window in front reads.
enum class Metric {
    CaptionButtonWidth,   // SM_CXSIZE
    CaptionButtonHeight,  // SM_CYSIZE
    SizingFrameWidth,     // SM_CXFRAME
};

// Where the desktop window manager draws a window's caption buttons, and the
// window's visible frame (without the invisible resize border that its outer
// rectangle includes on Windows 10 and 11), in screen pixels.
struct CaptionButtons {
    Rect buttons;
    Rect visibleFrame;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // The primary screen, from (0, 0).
    virtual Rect PrimaryScreen() const = 0;
    // The monitor that holds most of the rectangle (the nearest one when it
    // is on none), in virtual-screen pixels.
    virtual Rect ScreenOf(const Rect& area) const = 0;
    // True when the rectangle overlaps at least one monitor.
    virtual bool OnAnyMonitor(const Rect& area) const = 0;
    // The dots per inch screen coordinates are scaled by (96 unscaled; the
    // primary monitor's when the session started).
    virtual int SystemDpi() const = 0;
    // The dots per inch of the monitor that holds most of the rectangle (the
    // nearest one when it is on none): what a window there is drawn for.
    virtual int MonitorDpi(const Rect& area) const = 0;

    virtual WindowHandle ForegroundWindow() const = 0;
    virtual WindowHandle DesktopWindow() const = 0;
    // The window's title as UTF-8 ("" for none or for a window that is gone).
    virtual std::string WindowTitle(WindowHandle window) const = 0;
    // The outer rectangle; all zero for a window that is gone.
    virtual Rect WindowRect(WindowHandle window) const = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    virtual int SystemMetric(Metric metric) const = 0;
    // The caption buttons of the window as the window manager reports them;
    // nothing where it reports none (classic themes, Wine, a window without
    // buttons).
    virtual std::optional<CaptionButtons> CaptionButtonsOf(WindowHandle window) const = 0;
    // The window manager keeps the window out of sight although it counts
    // as visible: a window of another virtual desktop, a suspended store
    // app. False where the system cannot say.
    virtual bool IsCloaked(WindowHandle window) const = 0;
    virtual bool IsMinimized(WindowHandle window) const = 0;
    virtual Point CursorPos() const = 0;
    // Where the system's input took the pointer to be when the message being
    // handled was taken from the queue (the tick's own message), asked of no
    // one. Under Wine it lags behind a pointer that went over another X
    // client's windows (Wine follows it over its own windows only).
    virtual Point PointerAtLastMessage() const = 0;

    // What tells a full-screen program in front from an ordinary window.
    // The window has a title bar (a maximised window keeps it; a film, a game
    // or a slide show drops it). False for a window that is gone.
    virtual bool HasTitleBar(WindowHandle window) const = 0;
    // The window is one of the shell's that make the desktop itself (the
    // icons' window and the windows behind it), which cover a monitor
    // without a title bar and yet are no full-screen program.
    virtual bool IsShellWindow(WindowHandle window) const = 0;
    // The shell says a full-screen Direct3D program runs or presentation
    // mode is on; false where the system cannot say.
    virtual bool ShellReportsFullScreen() const = 0;
};

}  // namespace morix::platform
