// Following the window in front: onto its title bar, left of its caption
// buttons, or home for the desktop and for untitled or too small windows. The
// settings file remembers what was done, for the tick to compare with.
#include "clock/Form1.h"
#include "clock/Module1.h"
#include "base/Twips.h"

#include <array>

#include <algorithm>
#include <cstdlib>

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

// The window manager's caption-button rectangle is trusted only where it
// makes sense for the window: the system leaves it undefined for a
// minimised or hidden window. Buttons whose top right corner is not within
// a button's height of the visible frame's (they may stand out of it by a
// few pixels, as on a maximised window or at a high scale), or that reach
// past its left or bottom edge, are no buttons the clock could sit beside.
bool Plausible(const platform::CaptionButtons& c) {
    const platform::Rect& b = c.buttons;
    const platform::Rect& f = c.visibleFrame;
    if (b.Width() <= 0 || b.Height() <= 0 || f.Width() <= 0 || f.Height() <= 0) return false;
    if (b.left < f.left || b.bottom > f.bottom) return false;
    return std::abs(f.right - b.right) <= b.Height() && std::abs(b.top - f.top) <= b.Height();
}

// Writes the record of the followed window, its keys in their order, in one
// replacement of the file.
void WriteFollowedRecord(SettingsFile& settings, const std::array<std::string, 8>& values) {
    SettingsWrites writes;
    for (std::size_t i = 0; i < values.size(); ++i) writes.emplace_back(keys::FollowedRecord[i], values[i]);
    settings.WriteValues(writes);
}

}  // namespace

void Form1::PlaceByActiveWindow() {
    platform::Desktop& desktop = m.platform.desktop;
    if (m.RestoreFollowedWindow) {
        m.RestoreFollowedWindow = false;
        // Giving the front to a window the user cannot see would take them
        // to its virtual desktop.
        if (m.StoredTitle.empty() || desktop.IsCloaked(SavedHandle)) {
            ReturnHome();
        } else {
            ActiveHandle = SavedHandle;
            desktop.SetForegroundWindow(ActiveHandle);
            MoveOntoActiveWindow();
        }
        return;
    }
    // A cloaked window is followed no more than an invisible one.
    if (ActiveHandle == desktop.DesktopWindow() || m.ActiveTitle.empty() || ActiveHandle == ReservedHandle ||
        m.ActiveTitle == "Program Manager" || desktop.IsCloaked(ActiveHandle)) {
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
    std::optional<platform::CaptionButtons> caption = desktop.CaptionButtonsOf(ActiveHandle);
    if (caption && (!Plausible(*caption) || desktop.IsMinimized(ActiveHandle) || desktop.IsCloaked(ActiveHandle)))
        caption.reset();
    using platform::Metric;
    const long long d = caption ? 0
                                : desktop.SystemMetric(Metric::CaptionButtonWidth) +
                                      desktop.SystemMetric(Metric::SizingFrameWidth) / 2;
    const long long buttonHeight = caption ? 0 : desktop.SystemMetric(Metric::CaptionButtonHeight);
    // The place depends on the clock's size, and so on the scale of the
    // monitor it lands on: worked out first for the window's own monitor.
    const auto placeFor = [&](TwipsPerPixel scale) {
        const long long width = FaceWidth(scale), height = FaceHeight(scale);
        TwipsPlace p;
        if (caption) {
            // The window manager's own buttons are wider than the system's
            // metric says and the outer rectangle has an invisible border:
            // the clock goes a few pixels left of the buttons, centred on
            // their height, inside the visible frame.
            const int gap = scale.Scaled(4);
            const platform::Rect& b = caption->buttons;
            p.left = Checked32(Checked32(m.TwipsX.Twips(static_cast<long long>(b.left) - gap)) - width);
            p.top = Checked32(m.TwipsY.Twips(b.top) + (m.TwipsY.Twips(b.Height()) - height) / 2);
            p.top = std::max(p.top, m.TwipsY.Twips(caption->visibleFrame.top));
        } else {
            p.left = Checked32(Checked32(m.TwipsX.Twips(r.right - 3 * d + 2)) - width);
            p.top = Checked32(std::llabs(Checked32(m.TwipsY.Twips(buttonHeight)) - height) / 2 +
                              Checked32(m.TwipsY.Twips(static_cast<long long>(r.top) + 1)));
        }
        return p;
    };
    const TwipsPlace placed = MoveFor(TwipsPerPixel(desktop.MonitorDpi(r)), placeFor);
    const long long newLeft = placed.left, newTop = placed.top;

    const platform::Rect again = desktop.WindowRect(ActiveHandle);
    SettingsFile settings = m.Settings();
    WriteFollowedRecord(settings, {std::to_string(again.left), std::to_string(again.right), std::to_string(again.top),
                                   std::to_string(again.bottom), std::to_string(newLeft), std::to_string(newTop),
                                   m.ActiveTitle, std::to_string(ActiveHandle)});
}

void Form1::ReturnHome() {
    SettingsFile settings = m.Settings();
    LoadHome(settings);
    Move(m.HomeLeft, m.HomeTop);
    if (!m.ActiveTitle.empty()) m.ActiveTitle.clear();

    // No handle held is written as empty text.
    WriteFollowedRecord(settings, {"", "", "", "", std::to_string(m.HomeLeft), std::to_string(m.HomeTop), m.ActiveTitle,
                                   ActiveHandle == 0 ? std::string() : std::to_string(ActiveHandle)});
}

}  // namespace morix

namespace morix {

// One home for the start-up and for every return home: the stored place, or
// the centre of the primary screen. Held in 32 bits, so that a home on a wide
// desktop fits; a stored home that lies on no monitor (one unplugged, a file
// edited by hand) gives way to the default for this run, and is not written
// back.
void Form1::LoadHome(const SettingsFile& settings) {
    const platform::Rect screen = m.platform.desktop.PrimaryScreen();
    const std::int32_t defaultLeft = ToInt32((m.TwipsX.Twips(screen.Width()) - Width()) / 2);
    const std::int32_t defaultTop = ToInt32((m.TwipsY.Twips(screen.Height()) - Height()) / 2);
    const std::int32_t left = settings.ReadInt(keys::HomeLeft, defaultLeft);
    const std::int32_t top = settings.ReadInt(keys::HomeTop, defaultTop);
    const int x = m.TwipsX.Pixels(left), y = m.TwipsY.Pixels(top);
    const platform::Rect place{x, y, x + m.TwipsX.Pixels(Width()), y + m.TwipsY.Pixels(Height())};
    const bool onAMonitor = m.platform.desktop.OnAnyMonitor(place);
    m.HomeLeft = onAMonitor ? left : defaultLeft;
    m.HomeTop = onAMonitor ? top : defaultTop;
}

}  // namespace morix
