// GIF pictures: the balloon frames, as OleLoadPicture reads them.
#pragma once

#include <optional>

#include "face/picture/PictureFile.h"

namespace morix::picture {

// The LZW code stream of the GIF image data (before it is cut into
// sub-blocks), starting with a clear code and ending with the end code.
// minCodeSize is the GIF "LZW minimum code size" (2..8).
Bytes LzwCompress(const std::vector<std::uint8_t>& indices, int minCodeSize);

// GIF89a with a global colour table and one image. Our own pictures mark
// their cut-away parts with the mask colour and need no see-through index;
// a picture that had one (transparent >= 0) keeps it.
Bytes EncodeGif(const IndexedImage& picture, const Palette& palette, int transparent = -1);

// The first image of a GIF87a or GIF89a file, on its logical screen, with
// its local colour table or else the global one.
std::optional<PictureFile> DecodeGif(const ByteReader& file);

}  // namespace morix::picture
