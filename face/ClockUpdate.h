// The per-second clock update: keeps the hour and minute clips current, shows
// the new day's memo at midnight when so set, and rings the chime.
#pragma once

#include <string_view>

namespace morix {

class Module1;
namespace platform {
class Animation;
}

// The five steps that play one clip on a display: move, show, no auto-play,
// open, play once (the last frame then stays).
void PlayClip(platform::Animation& display, int left, std::string_view clipPath);

inline constexpr int HourClipLeft = 5;
inline constexpr int MinuteClipLeft = 36;

void UpdateClockAndChime(Module1& m);

}  // namespace morix
