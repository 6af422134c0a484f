// The per-second clock update: keeps the hour and minute clips current, shows
// the new day's memo at midnight when so set, and rings the chime.
#pragma once

#include "base/Twips.h"
#include "platform/Clock.h"
#include "settings/SettingsFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace morix {

class RuntimeError;
namespace platform {
class Animation;
class SoundDevice;
}  // namespace platform

// The clip state of the clock update. It lives for the whole process and
// survives reloads of the clock window; its numbers are signed 16-bit.
struct ClipState {
    std::string DesignName;  // the design folder's name, set by the design's loading only
    // Where the clips are read from: the design folder, or its pictures for
    // the display's scale; set with the design.
    std::string ClipFolder;
    std::string HourFile;
    std::string MinuteFile;
    std::int16_t CurrentHour = 0;
    std::int16_t CurrentMinute = 0;
    std::int16_t CurrentSecond = 0;
    std::int16_t LastSecond = 0;
    // The wall clock as the last run read it (before the first run: as the
    // first loading of the design read it). Comparing the next reading with
    // it tells a late tick, which still acts on the minute it crossed, from a
    // clock that was set, a zone that changed or a machine that slept.
    std::optional<platform::LocalTime> LastReading;
    // The minute (counted from 1970) whose start was last acted on, or
    // landed in by a jump: a clock set back by a few seconds crosses that
    // start again, and it is not acted on twice.
    std::optional<long long> LastMinuteActed;
};

// A tick may come this many seconds after the last one and still count as
// the one that crossed a minute, and the wall clock may be set back as far
// (a time sync's correction) without it being a jump; a longer gap, or a
// longer step back, is a jump.
inline constexpr int LateTickLimit = 5;

// What one run of the update drives and reads: the clock window's two
// displays and its chime device, the clock, the settings file, and the two
// steps that belong to other subsystems (the memo of the day, the error
// prompt).
struct ClockFace {
    platform::Animation& hourDisplay;
    platform::Animation& minuteDisplay;
    platform::SoundDevice& chimeDevice;
    const platform::Clock& clock;
    const SettingsFile& settings;
    // The chime's file by its name.
    const std::function<std::string(std::string_view chimeName)>& chimeFile;
    // The scale the face is drawn for: the clips' places scale with it.
    TwipsPerPixel scale;
    const std::function<void()>& showTodayMemo;
    // The update's own error handler: stores the error and shows the prompt.
    const std::function<void(const RuntimeError&)>& handleError;
    // Another sound rings in that minute (counted from 1970): the chime
    // stays quiet for it.
    const std::function<bool(long long minute)>& chimeGivesWay;
};

// The five steps that play one clip on a display: move, show, no auto-play,
// open, play once (the last frame then stays).
void PlayClip(platform::Animation& display, int left, std::string_view clipPath);

inline constexpr int HourClipLeft = 5;
inline constexpr int MinuteClipLeft = 36;

void UpdateClockAndChime(ClipState& state, const ClockFace& face);

}  // namespace morix
