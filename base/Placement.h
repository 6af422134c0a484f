// Where windows go beside the clock. All positions and sizes in twips; the
// screen is the monitor that holds the clock.
#pragma once

#include "base/Geometry.h"

#include <string>

namespace morix {

struct BalloonPlacement {
    long long left = 0, top = 0;
    std::string picture;  // "MsgRD.gif", "MsgRU.gif", "MsgLD.gif" or "MsgLU.gif"
};

// A balloon to the right of the clock when it fits there, else to its left;
// level with the clock's top when it fits below, else raised so that its
// bottom lies `lift` (20 pixels) below the clock's top.
BalloonPlacement PlaceBalloon(long long clockLeft, long long clockTop, long long clockWidth, long long balloonWidth,
                              long long balloonHeight, const TwipsRect& screen, long long lift);

struct DialogPlacement {
    long long left = 0, top = 0;
};

// A dialog right of the clock, or left of it when it would cross the screen's
// right edge; level with the clock, or moved up to end at the screen's bottom.
DialogPlacement PlaceBesideClock(long long clockLeft, long long clockTop, long long clockWidth, long long dialogWidth,
                                 long long dialogHeight, const TwipsRect& screen);

}  // namespace morix
