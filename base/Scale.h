// Sizes at a display scale. Every size the behaviour gives in pixels is a
// size at 100 %; at another scale it is rounded half up in integers, so the
// program and the asset generator agree on every picture's size.
#pragma once

#include <array>

namespace morix {

constexpr int ScaledPixels(int pixels, int percent) { return (pixels * percent + 50) / 100; }

// The scales a design or frame folder may hold pictures for: 100 % in the
// folder itself, the others in subfolders named by their percent.
inline constexpr std::array<int, 4> kScaleSets = {100, 125, 150, 200};

}  // namespace morix
