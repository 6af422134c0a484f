// Windows bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows),
// as LoadImage and OleLoadPicture read them.
#pragma once

#include "tools/assetgen/Bytes.h"
#include "tools/assetgen/Image.h"

namespace assetgen {

// 24 bits per pixel, uncompressed: every colour exactly as drawn, which an
// outline picture needs for its mask colour.
Bytes EncodeBmp24(const Image& picture);

}  // namespace assetgen
