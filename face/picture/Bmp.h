// Windows bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER), as LoadImage
// and OleLoadPicture read them.
#pragma once

#include <optional>

#include "face/picture/PictureFile.h"

namespace morix::picture {

// 24 bits per pixel, uncompressed, bottom-up: every colour exactly as
// drawn, which an outline picture needs for its mask colour.
Bytes EncodeBmp24(const Image& picture);

// Uncompressed bitmaps of 1, 4, 8, 24 or 32 bits, bottom-up or top-down.
std::optional<PictureFile> DecodeBmp(const ByteReader& file);

}  // namespace morix::picture
