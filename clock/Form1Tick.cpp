// The one-second tick: stepping aside while a full-screen program is in
// front, the information balloon, following the window in front while
// keeping the clock topmost, then the clock update and the alarms.
#include "base/AnsiText.h"
#include "clock/Form1.h"
#include "clock/Module1.h"
#include "face/ClockUpdate.h"

namespace morix {

void Form1::Timer1_Timer() {
    // Under an error prompt the tick would meet the same error again (the
    // balloon still counts as open) and end the program before the user
    // answers; under any other message it would stack its own messages on
    // it. It waits instead, and the first tick after the answer sees how far
    // the clock went.
    if (m.ErrorPromptOpen || m.platform.ui.MessageBoxOpen()) return;
    tickFront_.reset();
    if (!TickFullScreen() && !TickInfoBalloon()) TickFollow();
    // Last, and on every tick whatever the following setting.
    TickClockUpdate();
}

// A film, a game or a slide show in front: the clock leaves the picture, with
// its balloons (the memo keeps its text, hidden), and neither follows nor
// writes anything until the program leaves the front or its monitor; then it
// is shown again where it was, and following goes on from there on the same
// tick. A dialog or drag mode keeps everything as it is. True while aside.
bool Form1::TickFullScreen() {
    const bool aside = HideForFullScreenSetting == 1 && !AnyDialogOrDragOpen() && FullScreenInFront();
    if (aside == m.HiddenForFullScreen) return aside;
    m.HiddenForFullScreen = aside;
    if (aside) {
        // The balloon's closing shows the memo it stood in for: that memo is
        // hidden after it.
        if (m.InfoBalloonOpen) m.infoBalloon->Unload();
        if (m.MemoWindowOpen) m.memos->HideMemoWindow();
        window_->SetVisible(false);
    } else {
        window_->ShowTopmostInactive();
        if (m.MemoWindowOpen) m.memos->RevealMemoWindow();
    }
    return aside;
}

// Full screen: a window in front other than the desktop's own, without a
// title bar, covering the whole monitor it is on (not only its work area); or
// what the shell reports. A maximised window keeps its title bar.
bool Form1::FullScreenInFront() {
    const platform::Desktop& desktop = m.platform.desktop;
    const platform::WindowHandle front = FrontThisTick();
    if (front == 0 || front == desktop.DesktopWindow()) return false;
    // The title bar first: the shell's windows have none, and the monitor's
    // lookup (a tenth of a millisecond under Wine) is needed only without one.
    if (!desktop.HasTitleBar(front)) {
        if (desktop.IsShellWindow(front)) return false;
        const platform::Rect r = desktop.WindowRect(front);
        const platform::Rect monitor = desktop.ScreenOf(r);
        if (r.left <= monitor.left && r.top <= monitor.top && r.right >= monitor.right && r.bottom >= monitor.bottom)
            return true;
    }
    return desktop.ShellReportsFullScreen();
}

void Form1::TickClockUpdate() {
    const SettingsFile settings = m.Settings();
    Module1& module = m;
    const std::function<std::string(std::string_view)> chimeFile = [&module](std::string_view name) {
        return module.ChimeFile(name);
    };
    const std::function<void()> showTodayMemo = [&module] { module.memos->ShowTodayMemo(); };
    const std::function<void(const RuntimeError&)> handleError = [&module](const RuntimeError& e) { module.HandleError(e); };
    const std::function<bool(long long)> chimeGivesWay = [&module](long long minute) {
        return module.alarms && module.alarms->RingsIn(minute);
    };
    UpdateClockAndChime(m.clips, {*animation1_, *animation2_, *mciChyaim_, m.platform.clock, settings, chimeFile, m.Scale,
                                  showTodayMemo, handleError, chimeGivesWay});
    // The alarms look at the reading the update made: one reading a tick.
    if (m.alarms && m.clips.LastReading) m.alarms->Tick(*m.clips.LastReading);
}

// The pointer on the clock (all bounds inclusive, in twips) opens the
// information balloon, or refreshes it when it is open; that refresh skips
// the following step. Off the clock and off the balloon, it closes. Asking
// where the pointer is costs the system a round trip or more (under Wine, a
// question to the X server too): it is asked only where the position the
// system's input gave with the tick's own message lies on the clock, or the
// balloon is open. That position follows every move on Windows; under Wine
// it lags behind a pointer that went over another X client's windows, so it
// may say "on the clock" where the pointer has gone, never the other way
// round where it came to the clock over the clock's own window.
bool Form1::TickInfoBalloon() {
    if (ShowInfoSetting != 1 || m.DragMode || m.MenuOpen) return false;
    const auto onClockAt = [this](platform::Point p) {
        return OnClock(ToInt32(m.TwipsX.Twips(p.x)), ToInt32(m.TwipsY.Twips(p.y)));
    };
    if (!m.InfoBalloonOpen && !onClockAt(m.platform.desktop.PointerAtLastMessage())) return false;
    const platform::Point pointer = m.platform.desktop.CursorPos();
    const long long x = ToInt32(m.TwipsX.Twips(pointer.x));
    const long long y = ToInt32(m.TwipsY.Twips(pointer.y));
    if (OnClock(x, y)) {
        if (m.InfoBalloonOpen) {
            m.infoBalloon->Refresh();
            return true;
        }
        m.infoBalloon->Show();
        return false;
    }
    if (m.InfoBalloonOpen) {
        const TwipsRect b = m.infoBalloon->Bounds();
        if (!(b.left <= x && x <= b.right && b.top <= y && y <= b.bottom)) m.infoBalloon->Unload();
    }
    return false;
}

bool Form1::OnClock(long long x, long long y) const {
    return Left() <= x && x <= Left() + Width() && Top() <= y && y <= Top() + Height();
}

// The pointer has rested on the clock for the system's hover time: the
// balloon the next tick would open is opened now, as the tick opens it. Only
// where the tick would open it and no dialog, menu, drag mode or message is
// up and the clock is not standing aside; anything else is left to the tick,
// which goes on opening, refreshing and closing the balloon as before.
void Form1::Form_MouseHover() {
    if (m.ErrorPromptOpen || m.platform.ui.MessageBoxOpen() || m.HiddenForFullScreen) return;
    if (ShowInfoSetting != 1 || m.InfoBalloonOpen || AnyDialogOrDragOpen()) return;
    const platform::Point pointer = m.platform.desktop.CursorPos();
    if (OnClock(ToInt32(m.TwipsX.Twips(pointer.x)), ToInt32(m.TwipsY.Twips(pointer.y)))) m.infoBalloon->Show();
}

// Each question to the system is a round trip under Wine; the step aside
// and the following decide on the same window, so it is asked for once.
platform::WindowHandle Form1::FrontThisTick() {
    if (!tickFront_) tickFront_ = m.platform.desktop.ForegroundWindow();
    return *tickFront_;
}

bool Form1::AnyDialogOrDragOpen() const {
    return m.DragMode || m.MenuOpen || m.MemoPickerOpen || m.BasicOptionsOpen || m.ExtendedOptionsOpen || m.DateTimeOpen ||
           m.AlarmDialogOpen;
}

bool Form1::AnyDialogOrModeOpen() const { return AnyDialogOrDragOpen() || m.MemoWindowOpen; }

// The title as the ANSI call returns it into a 256-byte buffer: through code
// page 932 (so a character it cannot hold reads "?" on both sides of the
// comparison with the stored title) and cut to whole characters.
std::string Form1::ForegroundTitle() const {
    const platform::CodePage& cp = m.platform.codePage;
    std::string title = cp.FromAnsi(cp.ToAnsi(m.platform.desktop.WindowTitle(ActiveHandle)));
    return CutToAnsiBytes(cp, title, 255);
}

void Form1::TickFollow() {
    if (FollowSetting != 1) return;
    SettingsFile settings = m.Settings();
    platform::Desktop& desktop = m.platform.desktop;
    m.StoredTitle = settings.ReadString(keys::ActiveTitle);
    ActiveHandle = FrontThisTick();
    m.ActiveTitle = ForegroundTitle();

    if (m.ActiveTitle != m.StoredTitle && !m.InfoBalloonOpen && !AnyDialogOrModeOpen()) {
        PlaceByActiveWindow();
        window_->ShowTopmostInactive();
        return;
    }
    const platform::Rect recorded{settings.ReadInt(keys::ActiveLeft), settings.ReadInt(keys::ActiveTop),
                                  settings.ReadInt(keys::ActiveRight), settings.ReadInt(keys::ActiveBottom)};
    const platform::Rect now = desktop.WindowRect(ActiveHandle);
    if (m.ActiveTitle == m.StoredTitle && !m.InfoBalloonOpen && !m.DragMode && !(now == recorded)) {
        // The followed window was moved or resized.
        const long long currentLeft = settings.ReadInt(keys::CurrentLeft);
        const long long currentTop = settings.ReadInt(keys::CurrentTop);
        if (!m.ActiveTitle.empty() || (Left() != currentLeft && Top() != currentTop)) PlaceByActiveWindow();
        window_->ShowTopmostInactive();
    } else if (AnyDialogOrModeOpen()) {
        window_->ShowTopmostInactive();
    }
}

}  // namespace morix
