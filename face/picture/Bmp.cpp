#include "face/picture/Bmp.h"

#include <cstdlib>

namespace morix::picture {

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

std::optional<PictureFile> DecodeBmp(const ByteReader& b) {
    if (!b.TagAt(0, "BM")) return std::nullopt;
    const std::uint32_t offBits = b.U32(10), headerSize = b.U32(14);
    const std::int32_t width = b.I32(18), signedHeight = b.I32(22);
    const unsigned bits = b.U16(28);
    // The OS/2 header and compressed or bit-field bitmaps are not what a
    // design folder holds.
    if (headerSize < 40 || b.U16(26) != 1 || b.U32(30) != 0) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const long long height = std::llabs(signedHeight);
    if (width <= 0 || height <= 0 || std::size_t(width) * std::size_t(height) > kMaxPixels) return std::nullopt;
    const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
    const auto rows = b.Slice(offBits, stride * std::size_t(height));

    PictureFile p;
    p.format = PictureFile::Format::Bmp;
    p.width = width, p.height = int(height);
    const auto row = [&](int y) {  // y from the top
        return rows.subspan(std::size_t(signedHeight < 0 ? y : int(height) - 1 - y) * stride, stride);
    };
    if (bits <= 8) {
        const std::uint32_t used = b.U32(46);
        const std::size_t entries = used ? used : std::size_t(1) << bits;
        if (entries > (std::size_t(1) << bits)) return std::nullopt;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::size_t at = 14 + headerSize + 4 * i;
            p.palette.push_back({b.U8(at + 2), b.U8(at + 1), b.U8(at)});
        }
        IndexedImage im{p.width, p.height, std::vector<std::uint8_t>(std::size_t(width) * height)};
        for (int y = 0; y < p.height; ++y) {
            const auto r = row(y);
            for (int x = 0; x < p.width; ++x) {
                const std::size_t bit = std::size_t(x) * bits;
                const unsigned v = (r[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (v >= entries) return std::nullopt;
                im.pixels[std::size_t(y) * width + x] = std::uint8_t(v);
            }
        }
        p.frames.push_back(std::move(im));
    } else {
        p.colours = Image(p.width, p.height);
        const std::size_t step = bits / 8;
        for (int y = 0; y < p.height; ++y) {
            const auto r = row(y);
            for (int x = 0; x < p.width; ++x)
                p.colours.At(x, y) = {r[x * step + 2], r[x * step + 1], r[x * step]};
        }
    }
    return p;
}

}  // namespace morix::picture
