// Implements the outline of a shaped window: the pixels of a bitmap that are
// not the mask colour, as a region built from one rectangle per horizontal
// run (GetDIBits to read the pixels, ExtCreateRegion to make the region in
// one call rather than a CombineRgn per pixel).
#pragma once

#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace morix::platform::win32 {

// The runs of pixels other than `maskRgb` (0xRRGGBB) in a top-down 32-bit
// BGRX image, one rectangle per run; rows with the same runs as the row above
// are folded into the rectangles above.
std::vector<RECT> OpaqueRuns(const std::uint32_t* pixels, int width, int height, std::uint32_t maskRgb);

// The region of `bitmap`'s pixels other than `maskRgb`, in the bitmap's
// coordinates; an empty region when every pixel is the mask colour, nullptr
// when the bitmap cannot be read.
UniqueRegion RegionFromMask(HBITMAP bitmap, std::uint32_t maskRgb);

}  // namespace morix::platform::win32
