// The one place where the program's twips meet the platform's pixels.
#pragma once

#include "base/Geometry.h"

namespace morix {

// Twips to the nearest pixel.
inline int TwipsToPixels(long long twips, int twipsPerPixel) {
    if (twipsPerPixel <= 0) return static_cast<int>(twips);
    long long half = twipsPerPixel / 2;
    return static_cast<int>(twips >= 0 ? (twips + half) / twipsPerPixel : -((-twips + half) / twipsPerPixel));
}

inline long long PixelsToTwips(int pixels, int twipsPerPixel) {
    return static_cast<long long>(pixels) * twipsPerPixel;
}

// A control's place given in twips (left, top, width, height) as the pixel
// rectangle the platform takes: each of the four rounded on its own, so that
// a control is as wide as its width says wherever it stands.
inline Rect PixelRect(long long left, long long top, long long width, long long height, int twipsX, int twipsY) {
    const int l = TwipsToPixels(left, twipsX), t = TwipsToPixels(top, twipsY);
    return {l, t, l + TwipsToPixels(width, twipsX), t + TwipsToPixels(height, twipsY)};
}

// A pixel rectangle (a screen, another window) in twips.
inline TwipsRect TwipsOf(const Rect& r, int twipsX, int twipsY) {
    return {PixelsToTwips(r.left, twipsX), PixelsToTwips(r.top, twipsY), PixelsToTwips(r.right, twipsX),
            PixelsToTwips(r.bottom, twipsY)};
}

}  // namespace morix
