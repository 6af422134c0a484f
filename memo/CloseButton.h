// The picture of the memo window's close button: 56 x 13 unscaled pixels, a small
// rounded button with a cross and "CLOSE", drawn here so that it ships
// inside the program.
#pragma once

#include "base/Twips.h"

#include <cstdint>
#include <vector>

namespace morix {

inline constexpr int CloseButtonWidth = 56;
inline constexpr int CloseButtonHeight = 13;

// Drawn for the scale, row by row from the top, each 0xRRGGBB.
std::vector<std::uint32_t> CloseButtonPixels(TwipsPerPixel scale);

}  // namespace morix
