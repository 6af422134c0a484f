// AVI clips for the Windows animation control (SysAnimate32): one video
// stream of 8-bit RLE8 frames with the palette in the stream format, every
// frame a key frame, an idx1 index, and no other chunk inside 'movi' (the
// control counts every chunk there as a frame).
#pragma once

#include "tools/assetgen/Bytes.h"
#include "tools/assetgen/Image.h"

namespace assetgen {

// One frame as a BI_RLE8 bitmap, rows bottom-up as DIBs store them. Every row
// is written out in full (no delta codes), so a frame never depends on the
// one before it, and the data ends with the end-of-bitmap code.
Bytes EncodeRle8(const IndexedImage& frame);

// The clip: all frames share the size and the palette (at most 256 entries).
Bytes EncodeAvi(const std::vector<IndexedImage>& frames, const Palette& palette, int framesPerSecond);

}  // namespace assetgen
