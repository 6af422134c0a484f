#include "face/ClockUpdate.h"

#include "base/RuntimeError.h"
#include "face/AssetPaths.h"
#include "platform/Clock.h"
#include "platform/Controls.h"

#include <chrono>
#include <utility>

namespace morix {

void PlayClip(platform::Animation& display, int left, std::string_view clipPath) {
    display.Move(left, 0);
    display.SetVisible(true);
    display.SetAutoPlay(false);
    display.Open(clipPath);
    display.Play(1);
}


namespace {

// Seconds from 1970 to a local date and time, every day 86,400 of them:
// enough to tell how far the wall clock moved between two readings.
long long LocalSeconds(const platform::LocalTime& t) {
    using namespace std::chrono;
    const sys_days date{year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)}};
    return date.time_since_epoch().count() * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
}

void RingChime(const ClockFace& face) {
    face.chimeDevice.SetFileName(face.chimeFile(face.settings.ReadString(keys::ChimeFile)));
    face.chimeDevice.SetCommand("open");
    face.chimeDevice.SetCommand("play");
}

}  // namespace

void UpdateClockAndChime(ClipState& s, const ClockFace& face) {
    try {
        const platform::Clock& clock = face.clock;
        // One reading: the hour, minute, second and date must belong together
        // to be compared with the last reading.
        const platform::LocalTime now = clock.Now();
        const std::optional<platform::LocalTime> last = std::exchange(s.LastReading, now);
        s.CurrentHour = static_cast<std::int16_t>(now.hour);
        s.CurrentMinute = static_cast<std::int16_t>(now.minute);
        s.CurrentSecond = static_cast<std::int16_t>(now.second);
        s.HourFile = ClipPath(s.ClipFolder, s.CurrentHour);
        s.MinuteFile = ClipPath(s.ClipFolder, s.CurrentMinute);
        const std::string comingMinute = ClipPath(s.ClipFolder, (s.CurrentMinute + 1) % 60);
        const int hourLeft = face.scale.Scaled(HourClipLeft), minuteLeft = face.scale.Scaled(MinuteClipLeft);

        const long long nowSeconds = LocalSeconds(now);
        const long long minute = (nowSeconds - s.CurrentSecond) / 60;
        const long long elapsed = last ? nowSeconds - LocalSeconds(*last) : 0;
        const bool jump = elapsed < -LateTickLimit || elapsed > LateTickLimit;
        // The minutes jumped over neither ring nor bring the new day's memo,
        // nor does the one landed in.
        if (jump) s.LastMinuteActed = minute;
        if (elapsed < 0 || jump) {
            // Set, moved to another zone, woken from sleep, or set back a
            // little by a time sync: the face shows the time at once.
            if (s.CurrentSecond >= 57) s.MinuteFile = comingMinute;
            PlayClip(face.minuteDisplay, minuteLeft, s.MinuteFile);
            PlayClip(face.hourDisplay, hourLeft, s.HourFile);
            s.LastSecond = static_cast<std::int16_t>(clock.Now().second);
            return;
        }

        // The first tick of a minute acts for it, at second 0 or up to a few
        // seconds late.
        const bool firstOfMinute = last ? nowSeconds - s.CurrentSecond > LocalSeconds(*last) : s.CurrentSecond == 0;
        if (!firstOfMinute) {
            if (s.CurrentSecond < 57) {
                s.LastSecond = static_cast<std::int16_t>(clock.Now().second);
                return;
            }
            if (s.CurrentSecond == s.LastSecond) return;
            // From second 57 the minute display shows the coming minute.
            s.MinuteFile = comingMinute;
            PlayClip(face.minuteDisplay, minuteLeft, s.MinuteFile);
            s.LastSecond = static_cast<std::int16_t>(clock.Now().second);
            return;
        }

        PlayClip(face.minuteDisplay, minuteLeft, s.MinuteFile);
        if (s.CurrentMinute == 0) PlayClip(face.hourDisplay, hourLeft, s.HourFile);
        // A clock set back a few seconds over the start of a minute crosses it
        // again: the face is set again, the chime and the memo come once.
        if (s.LastMinuteActed && minute <= *s.LastMinuteActed) {
            s.LastSecond = static_cast<std::int16_t>(clock.Now().second);
            return;
        }
        s.LastMinuteActed = minute;

        if (s.CurrentHour == 0 && s.CurrentMinute == 0 && face.settings.ReadInt(keys::AutoShowMemo) == 2)
            face.showTodayMemo();

        const std::int32_t chime = face.settings.ReadInt(keys::ChimeMode);
        if (((chime == 1 && s.CurrentMinute == 0) || (chime == 2 && (s.CurrentMinute == 0 || s.CurrentMinute == 30))) &&
            !face.chimeGivesWay(minute))
            RingChime(face);

        s.LastSecond = static_cast<std::int16_t>(clock.Now().second);
    } catch (const RuntimeError& e) {
        face.handleError(e);
    }
}

}  // namespace morix
