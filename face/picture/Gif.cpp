#include "tools/assetgen/Gif.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace assetgen {

namespace {

class BitPacker {
public:
    void Put(unsigned code, int width) {
        acc_ |= std::uint32_t(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            out_.push_back(std::uint8_t(acc_ & 0xFF));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    Bytes Finish() {
        if (bits_ > 0) out_.push_back(std::uint8_t(acc_ & 0xFF));
        acc_ = 0, bits_ = 0;
        return std::move(out_);
    }

private:
    Bytes out_;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
};

}  // namespace

Bytes LzwCompress(const std::vector<std::uint8_t>& indices, int minCodeSize) {
    if (minCodeSize < 2 || minCodeSize > 8) throw std::invalid_argument("LZW code size");
    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    for (auto i : indices)
        if (i >= clear) throw std::invalid_argument("index wider than the code size");
    BitPacker out;
    int width = minCodeSize + 1;
    unsigned next = end + 1;
    // (prefix code << 8 | next index) -> code of the longer string
    std::unordered_map<std::uint32_t, unsigned> table;
    out.Put(clear, width);
    if (indices.empty()) {
        out.Put(end, width);
        return out.Finish();
    }
    unsigned current = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const std::uint32_t key = (current << 8) | indices[i];
        if (auto it = table.find(key); it != table.end()) {
            current = it->second;
            continue;
        }
        out.Put(current, width);
        if (next < 4096) {
            // The decoder learns each string one code later than we do, so the
            // code width grows when the entry about to be made needs it.
            if (next == (1u << width) && width < 12) ++width;
            table.emplace(key, next++);
        } else {
            out.Put(clear, width);
            table.clear();
            width = minCodeSize + 1;
            next = end + 1;
        }
        current = indices[i];
    }
    out.Put(current, width);
    out.Put(end, width);
    return out.Finish();
}

Bytes EncodeGif(const IndexedImage& picture, const Palette& palette) {
    if (palette.empty() || palette.size() > 256) throw std::invalid_argument("palette size");
    int bits = 1;
    while ((1u << bits) < palette.size()) ++bits;
    ByteWriter w;
    w.Tag("GIF89a");
    w.U16(unsigned(picture.width));
    w.U16(unsigned(picture.height));
    w.U8(0x80 | ((bits - 1) << 4) | (bits - 1));  // global table, its size
    w.U8(0);                                      // background index
    w.U8(0);                                      // no aspect ratio
    for (std::size_t i = 0; i < (1u << bits); ++i) {
        const Rgb c = i < palette.size() ? palette[i] : Rgb{};
        w.U8(c.r), w.U8(c.g), w.U8(c.b);
    }
    w.U8(0x2C);
    w.U16(0), w.U16(0);
    w.U16(unsigned(picture.width));
    w.U16(unsigned(picture.height));
    w.U8(0);  // no local table, not interlaced
    const int minCodeSize = bits < 2 ? 2 : bits;
    w.U8(unsigned(minCodeSize));
    const Bytes codes = LzwCompress(picture.pixels, minCodeSize);
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, codes.size() - at);
        w.U8(unsigned(n));
        w.out.insert(w.out.end(), codes.begin() + long(at), codes.begin() + long(at + n));
    }
    w.U8(0);     // block terminator
    w.U8(0x3B);  // trailer
    return w.out;
}

}  // namespace assetgen
