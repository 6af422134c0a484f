// The program's icon: a small clock face on a rounded teal tile, drawn at
// 16, 32 and 48 pixels, and the Windows icon file that holds the three
// (each a 32-bit image with its own transparency and an AND mask).
#pragma once

#include "face/picture/Bytes.h"
#include "tools/assetgen/Image.h"

#include <vector>

namespace assetgen {

using morix::picture::Bytes;
using morix::picture::ByteWriter;

struct IconImage {
    int size = 0;
    Image colour;                 // rows top to bottom
    std::vector<std::uint8_t> alpha;  // 0..255, rows top to bottom
};

IconImage DrawIcon(int size);
inline constexpr int kIconSizes[] = {16, 32, 48};

Bytes EncodeIco(const std::vector<IconImage>& images);

}  // namespace assetgen
