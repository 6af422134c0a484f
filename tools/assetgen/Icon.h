// The program's icon: a small clock face on a rounded teal tile, drawn at
// the sizes Windows asks for at 100, 125, 150 and 200 % (16 to 64 pixels),
// and the Windows icon file that holds them (each a 32-bit image with its
// own transparency and an AND mask).
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
inline constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64};

Bytes EncodeIco(const std::vector<IconImage>& images);

}  // namespace assetgen
