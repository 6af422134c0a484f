// The one place where the program's twips meet the platform's pixels.
#pragma once

#include <cstdint>

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

}  // namespace morix
