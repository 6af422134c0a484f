// The one-second tick: the information balloon, following the window in
// front while keeping the clock topmost, then the clock update.
#include "base/AnsiText.h"
#include "clock/Form1.h"
#include "clock/Module1.h"
#include "face/ClockUpdate.h"

namespace morix {

void Form1::Timer1_Timer() {
    // Under an error prompt the tick would meet the same error again (the
    // balloon still counts as open) and end the program before the user
    // answers; it waits instead, and the first tick after the answer sees
    // how far the clock went.
    if (m.ErrorPromptOpen) return;
    if (!TickInfoBalloon()) TickFollow();
    // Last, and on every tick whatever the following setting.
    TickClockUpdate();
}

void Form1::TickClockUpdate() {
    const SettingsFile settings = m.Settings();
    const std::string programFolder = m.platform.process.ProgramFolder();
    Module1& module = m;
    const std::function<void()> showTodayMemo = [&module] { module.memos->ShowTodayMemo(); };
    const std::function<void(const RuntimeError&)> handleError = [&module](const RuntimeError& e) { module.HandleError(e); };
    UpdateClockAndChime(m.clips, {*animation1_, *animation2_, *mciChyaim_, m.platform.clock, settings, programFolder,
                                  showTodayMemo, handleError});
}

// The pointer on the clock (all bounds inclusive, in twips) opens the
// information balloon, or refreshes it when it is open; that refresh skips
// the following step. Off the clock and off the balloon, it closes.
bool Form1::TickInfoBalloon() {
    if (ShowInfoSetting != 1 || m.DragMode || m.MenuOpen) return false;
    const platform::Point pointer = m.platform.desktop.CursorPos();
    const long long x = ToInt32(static_cast<long long>(pointer.x) * m.TwipsX);
    const long long y = ToInt32(static_cast<long long>(pointer.y) * m.TwipsY);
    if (Left() <= x && x <= Left() + Width() && Top() <= y && y <= Top() + Height()) {
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

bool Form1::AnyDialogOrModeOpen() const {
    return m.DragMode || m.MenuOpen || m.MemoPickerOpen || m.BasicOptionsOpen || m.ExtendedOptionsOpen ||
           m.DateTimeOpen || m.MemoWindowOpen;
}

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
    ActiveHandle = desktop.ForegroundWindow();
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
