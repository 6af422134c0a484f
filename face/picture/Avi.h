// AVI clips for the Windows animation control (SysAnimate32): one video
// stream of 8-bit frames with the palette in the stream format. We write
// RLE8 frames, every frame a key frame, an idx1 index, and no other chunk
// inside 'movi' (the control counts every chunk there as a frame).
#pragma once

#include <optional>

#include "face/picture/PictureFile.h"

namespace morix::picture {

// One frame as a BI_RLE8 bitmap, rows bottom-up as DIBs store them. Every row
// is written out in full (no delta codes), so a frame never depends on the
// one before it, and the data ends with the end-of-bitmap code.
Bytes EncodeRle8(const IndexedImage& frame);

// The clip: all frames share the size and the palette (at most 256 entries),
// shown at rate / scale frames per second.
Bytes EncodeAvi(const std::vector<IndexedImage>& frames, const Palette& palette, int rate, int scale = 1);

// The frames of the first stream as the control plays them: uncompressed
// 8-bit (BI_RGB) or BI_RLE8 frames, delta codes drawn over the frame before.
std::optional<PictureFile> DecodeAvi(const ByteReader& file);

}  // namespace morix::picture
