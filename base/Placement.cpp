#include "base/Placement.h"

#include <algorithm>

namespace morix {

BalloonPlacement PlaceBalloon(long long clockLeft, long long clockTop, long long clockWidth, long long balloonWidth,
                              long long balloonHeight, const TwipsRect& screen, long long lift) {
    const bool fitsRight = clockLeft + clockWidth + balloonWidth <= screen.right;
    const bool fitsBelow = clockTop + balloonHeight <= screen.bottom;
    BalloonPlacement p;
    p.left = fitsRight ? clockLeft + clockWidth : clockLeft - balloonWidth;
    p.top = fitsBelow ? clockTop : clockTop - balloonHeight + lift;
    p.picture = std::string("Msg") + (fitsRight ? "R" : "L") + (fitsBelow ? "D" : "U") + ".gif";
    return p;
}

DialogPlacement PlaceBesideClock(long long clockLeft, long long clockTop, long long clockWidth, long long dialogWidth,
                                 long long dialogHeight, const TwipsRect& screen) {
    DialogPlacement p;
    p.left = clockLeft + clockWidth + dialogWidth > screen.right ? clockLeft - dialogWidth : clockLeft + clockWidth;
    p.top = clockTop + dialogHeight > screen.bottom ? screen.bottom - dialogHeight : clockTop;
    // Too wide for either side (a large scale on a small screen), or too
    // tall: the dialog keeps its caption and left edge on the screen, where
    // the user can reach them.
    p.left = std::max(p.left, screen.left);
    p.top = std::max(p.top, screen.top);
    return p;
}

}  // namespace morix
