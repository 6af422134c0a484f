#include "tools/assetgen/Bmp.h"

namespace assetgen {

Bytes EncodeBmp24(const Image& picture) {
    const std::uint32_t stride = (std::uint32_t(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * std::uint32_t(picture.height);
    const std::uint32_t offBits = 14 + 40;
    ByteWriter w;
    w.Tag("BM");
    w.U32(offBits + imageSize);
    w.U16(0), w.U16(0);
    w.U32(offBits);
    w.U32(40);
    w.I32(picture.width);
    w.I32(picture.height);  // positive: bottom-up
    w.U16(1);
    w.U16(24);
    w.U32(0);  // BI_RGB
    w.U32(imageSize);
    w.I32(3780), w.I32(3780);  // 96 dpi
    w.U32(0), w.U32(0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgb c = picture.At(x, y);
            w.U8(c.b), w.U8(c.g), w.U8(c.r);
        }
        for (std::uint32_t pad = std::uint32_t(picture.width) * 3; pad < stride; ++pad) w.U8(0);
    }
    return w.out;
}

}  // namespace assetgen
