// Implements platform::Desktop with GetSystemMetrics (SM_CXSCREEN and
// SM_CYSCREEN for the primary screen), MonitorFromRect + GetMonitorInfoW,
// GetDeviceCaps(LOGPIXELSX/Y) of the screen DC, GetForegroundWindow,
// GetDesktopWindow, GetWindowTextW, GetWindowRect, SetForegroundWindow,
// GetSystemMetrics (SM_CXSIZE, SM_CYSIZE, SM_CXFRAME for the metrics the
// program names), GetCursorPos, GetMessagePos, and for a full-screen program
// in front GetWindowLongPtrW(GWL_STYLE) (WS_CAPTION), GetShellWindow with the
// shell's desktop classes Progman and WorkerW, and
// SHQueryUserNotificationState (loaded from shell32 where it exists: Windows
// Vista on). DwmGetWindowAttribute (loaded from dwmapi where it exists) gives
// the caption buttons' bounds (DWMWA_CAPTION_BUTTON_BOUNDS with
// DWMWA_EXTENDED_FRAME_BOUNDS) and the window's cloaking (DWMWA_CLOAKED);
// IsIconic whether it is minimised. The desktop window's rectangle is kept
// until the displays change.
#pragma once

#include "platform/Desktop.h"

#include <optional>

namespace morix::platform::win32 {

// The displays' layout or resolution changed (WM_DISPLAYCHANGE, which reaches
// every top-level window): the desktop's rectangle is asked for again.
void NoteDisplayChange();

class Win32Desktop final : public Desktop {
public:
    Rect PrimaryScreen() const override;
    Rect ScreenOf(const Rect& area) const override;
    bool OnAnyMonitor(const Rect& area) const override;
    int SystemDpi() const override;
    int MonitorDpi(const Rect& area) const override;
    WindowHandle ForegroundWindow() const override;
    WindowHandle DesktopWindow() const override;
    std::string WindowTitle(WindowHandle window) const override;
    Rect WindowRect(WindowHandle window) const override;
    bool SetForegroundWindow(WindowHandle window) override;
    int SystemMetric(Metric metric) const override;
    std::optional<CaptionButtons> CaptionButtonsOf(WindowHandle window) const override;
    bool IsCloaked(WindowHandle window) const override;
    bool IsMinimized(WindowHandle window) const override;
    Point CursorPos() const override;
    Point PointerAtLastMessage() const override;
    bool HasTitleBar(WindowHandle window) const override;
    bool IsShellWindow(WindowHandle window) const override;
    bool ShellReportsFullScreen() const override;

private:
    // The desktop's rectangle with the display change it was asked after.
    mutable std::optional<Rect> desktopRect_;
    mutable unsigned desktopRectAfter_ = 0;
};

}  // namespace morix::platform::win32
