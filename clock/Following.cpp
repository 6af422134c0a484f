// Following the window in front: onto its title bar, left of its caption
// buttons, or home for the desktop and for untitled or too small windows. The
// settings file remembers what was done, for the tick to compare with.
#include "clock/Form1.h"
#include "clock/Module1.h"
#include "base/Twips.h"

#include <array>

#include <cstdlib>
#include <limits>

namespace morix {

namespace {

// The placement arithmetic is 32-bit; beyond it is an overflow.
long long Checked32(long long value) { return ToInt32(value); }

bool PassesSizeRule(int rule, const platform::Rect& r, bool& known) {
    known = true;
    switch (rule) {
    case 0: return r.Width() >= 800 && r.Height() >= 600;
    case 1: return r.Width() >= 640 && r.Height() >= 480;
    case 2: return r.Width() >= 400 && r.Height() >= 320;
    case 3: return true;
    default: known = false; return false;
    }
}

// The reserved handle 448 is treated like the desktop.
constexpr platform::WindowHandle ReservedHandle = 448;

// Writes the record of the followed window, key by key in its order.
void WriteFollowedRecord(SettingsFile& settings, const std::array<std::string, 8>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) settings.WriteValue(keys::FollowedRecord[i], values[i]);
}

}  // namespace

void Form1::PlaceByActiveWindow() {
    platform::Desktop& desktop = m.platform.desktop;
    if (m.RestoreFollowedWindow) {
        m.RestoreFollowedWindow = false;
        if (m.StoredTitle.empty()) {
            ReturnHome();
        } else {
            ActiveHandle = SavedHandle;
            desktop.SetForegroundWindow(ActiveHandle);
            MoveOntoActiveWindow();
        }
        return;
    }
    if (ActiveHandle == desktop.DesktopWindow() || m.ActiveTitle.empty() || ActiveHandle == ReservedHandle ||
        m.ActiveTitle == "Program Manager") {
        ReturnHome();
        return;
    }
    bool known = false;
    bool passes = PassesSizeRule(SizeRule, desktop.WindowRect(ActiveHandle), known);
    if (!known) return;
    if (passes) MoveOntoActiveWindow();
    else ReturnHome();
}

void Form1::MoveOntoActiveWindow() {
    platform::Desktop& desktop = m.platform.desktop;
    const platform::Rect r = desktop.WindowRect(ActiveHandle);
    using platform::Metric;
    const long long d =
        desktop.SystemMetric(Metric::CaptionButtonWidth) + desktop.SystemMetric(Metric::SizingFrameWidth) / 2;
    const long long newLeft = Checked32(Checked32((r.right - 3 * d + 2) * m.TwipsX) - Width());
    const long long newTop = Checked32(std::llabs(Checked32(desktop.SystemMetric(Metric::CaptionButtonHeight) * static_cast<long long>(m.TwipsY)) - Height()) / 2 +
                                       Checked32((static_cast<long long>(r.top) + 1) * m.TwipsY));
    Move(newLeft, newTop);

    const platform::Rect again = desktop.WindowRect(ActiveHandle);
    SettingsFile settings = m.Settings();
    WriteFollowedRecord(settings, {std::to_string(again.left), std::to_string(again.right), std::to_string(again.top),
                                   std::to_string(again.bottom), std::to_string(newLeft), std::to_string(newTop),
                                   m.ActiveTitle, std::to_string(ActiveHandle)});
}

void Form1::ReturnHome() {
    SettingsFile settings = m.Settings();
    const platform::Rect screen = Screen();
    const long long defaultLeft = PixelsToTwips(screen.left, m.TwipsX) + (PixelsToTwips(screen.Width(), m.TwipsX) - Width()) / 2;
    const long long defaultTop = PixelsToTwips(screen.top, m.TwipsY) + (PixelsToTwips(screen.Height(), m.TwipsY) - Height()) / 2;
    // A stored home beyond 16 bits (a clock dragged far out on a very wide
    // desktop) cannot be held: the clock goes to the default home instead
    // of ending the program from the tick.
    auto home = [&](std::string_view key, long long fallback) {
        const std::int32_t stored = settings.ReadInt(key, static_cast<std::int32_t>(fallback));
        if (stored < std::numeric_limits<std::int16_t>::min() || stored > std::numeric_limits<std::int16_t>::max())
            return ToInt16(fallback);
        return static_cast<std::int16_t>(stored);
    };
    m.HomeLeft = home(keys::HomeLeft, defaultLeft);
    m.HomeTop = home(keys::HomeTop, defaultTop);
    Move(m.HomeLeft, m.HomeTop);
    if (!m.ActiveTitle.empty()) m.ActiveTitle.clear();

    // No handle held is written as empty text.
    WriteFollowedRecord(settings, {"", "", "", "", std::to_string(m.HomeLeft), std::to_string(m.HomeTop), m.ActiveTitle,
                                   ActiveHandle == 0 ? std::string() : std::to_string(ActiveHandle)});
}

}  // namespace morix
