#include "base/Placement.h"

namespace morix {

BalloonPlacement PlaceBalloon(long long clockLeft, long long clockTop, long long clockWidth, long long balloonWidth,
                              long long balloonHeight, const TwipsRect& screen, int twipsY) {
    const bool fitsRight = clockLeft + clockWidth + balloonWidth <= screen.right;
    const bool fitsBelow = clockTop + balloonHeight <= screen.bottom;
    BalloonPlacement p;
    p.left = fitsRight ? clockLeft + clockWidth : clockLeft - balloonWidth;
    p.top = fitsBelow ? clockTop : clockTop - balloonHeight + static_cast<long long>(twipsY) * 20;
    p.picture = std::string("Msg") + (fitsRight ? "R" : "L") + (fitsBelow ? "D" : "U") + ".gif";
    return p;
}

DialogPlacement PlaceBesideClock(long long clockLeft, long long clockTop, long long clockWidth, long long dialogWidth,
                                 long long dialogHeight, const TwipsRect& screen) {
    DialogPlacement p;
    p.left = clockLeft + clockWidth + dialogWidth > screen.right ? clockLeft - dialogWidth : clockLeft + clockWidth;
    p.top = clockTop + dialogHeight > screen.bottom ? screen.bottom - dialogHeight : clockTop;
    return p;
}

}  // namespace morix
