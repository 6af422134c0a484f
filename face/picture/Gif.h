// GIF89a pictures with a global colour table and one LZW-compressed image,
// as OleLoadPicture reads them. No transparency: the balloon pictures mark
// their cut-away parts with the mask colour instead.
#pragma once

#include "tools/assetgen/Bytes.h"
#include "tools/assetgen/Image.h"

namespace assetgen {

// The LZW code stream of the GIF image data (before it is cut into
// sub-blocks), starting with a clear code and ending with the end code.
// minCodeSize is the GIF "LZW minimum code size" (2..8).
Bytes LzwCompress(const std::vector<std::uint8_t>& indices, int minCodeSize);

Bytes EncodeGif(const IndexedImage& picture, const Palette& palette);

}  // namespace assetgen
