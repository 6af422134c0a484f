#include "face/picture/Gif.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <unordered_map>

namespace morix::picture {

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

Bytes EncodeGif(const IndexedImage& picture, const Palette& palette, int transparent) {
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
    if (transparent >= 0) {  // graphic control extension
        w.U8(0x21), w.U8(0xF9), w.U8(4), w.U8(1), w.U16(0), w.U8(unsigned(transparent)), w.U8(0);
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

namespace {

// LZW codes to indices; nothing when a code is not in the table or the data
// ends before `count` indices came out.
std::optional<std::vector<std::uint8_t>> LzwDecode(const Bytes& data, int minCodeSize, std::size_t count) {
    if (minCodeSize < 2 || minCodeSize > 8) return std::nullopt;
    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    std::array<std::uint16_t, 4096> prefix{};
    std::array<std::uint8_t, 4096> suffix{}, first{};
    for (unsigned i = 0; i < clear; ++i) suffix[i] = first[i] = std::uint8_t(i);
    std::vector<std::uint8_t> out, string;
    out.reserve(count);
    unsigned next = end + 1, width = minCodeSize + 1;
    int prev = -1;
    std::size_t bit = 0;
    while (out.size() < count) {
        if (bit + width > data.size() * 8) return std::nullopt;
        unsigned code = 0;
        for (unsigned k = 0; k < width; ++k, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1u) << k;
        if (code == clear) {
            next = end + 1, width = minCodeSize + 1, prev = -1;
            continue;
        }
        if (code == end) break;
        const bool known = code < clear || (code > end && code < next);
        if (!known && !(code == next && prev >= 0)) return std::nullopt;
        // The one code the decoder cannot know yet is the string it is
        // about to learn: the previous string and its own first index.
        const unsigned start = known ? code : unsigned(prev);
        string.clear();
        for (unsigned c = start;; c = prefix[c]) {
            string.push_back(suffix[c]);
            if (c < clear) break;
        }
        std::reverse(string.begin(), string.end());
        if (!known) string.push_back(first[prev]);
        out.insert(out.end(), string.begin(), string.end());
        if (prev >= 0 && next < 4096) {
            prefix[next] = std::uint16_t(prev), suffix[next] = string[0], first[next] = first[prev];
            ++next;
            if (next == (1u << width) && width < 12) ++width;
        }
        prev = int(code);
    }
    if (out.size() < count) return std::nullopt;
    out.resize(count);
    return out;
}

Palette ColourTable(const ByteReader& b, std::size_t at, unsigned flags) {
    Palette p;
    for (std::size_t i = 0; i < (std::size_t(2) << (flags & 7)); ++i, at += 3)
        p.push_back({b.U8(at), b.U8(at + 1), b.U8(at + 2)});
    return p;
}

}  // namespace

std::optional<PictureFile> DecodeGif(const ByteReader& b) {
    if (!b.TagAt(0, "GIF87a") && !b.TagAt(0, "GIF89a")) return std::nullopt;
    PictureFile p;
    p.format = PictureFile::Format::Gif;
    p.width = int(b.U16(6)), p.height = int(b.U16(8));
    if (p.width == 0 || p.height == 0 || std::size_t(p.width) * p.height > kMaxPixels) return std::nullopt;
    const unsigned screenFlags = b.U8(10), background = b.U8(11);
    std::size_t at = 13;
    if (screenFlags & 0x80) {
        p.palette = ColourTable(b, at, screenFlags);
        at += 3 * p.palette.size();
    }
    for (;;) {
        const unsigned block = b.U8(at);
        if (block == 0x21) {
            const unsigned label = b.U8(at + 1);
            if (label == 0xF9 && b.U8(at + 2) >= 4 && (b.U8(at + 3) & 1)) p.transparent = b.U8(at + 6);
            for (at += 2; b.U8(at) != 0;) at += 1 + b.U8(at);
            ++at;
        } else if (block == 0x2C) {
            break;
        } else {
            return std::nullopt;  // the trailer, or garbage, before any image
        }
    }
    const int left = int(b.U16(at + 1)), top = int(b.U16(at + 3));
    const int w = int(b.U16(at + 5)), h = int(b.U16(at + 7));
    const unsigned flags = b.U8(at + 9);
    at += 10;
    if (flags & 0x80) {
        p.palette = ColourTable(b, at, flags);
        at += 3 * p.palette.size();
    }
    if (p.palette.empty() || std::size_t(w) * h > kMaxPixels) return std::nullopt;
    const int minCodeSize = b.U8(at++);
    Bytes data;
    for (unsigned n; (n = b.U8(at)) != 0; at += 1 + n) {
        const auto chunk = b.Slice(at + 1, n);
        data.insert(data.end(), chunk.begin(), chunk.end());
    }
    const auto indices = LzwDecode(data, minCodeSize, std::size_t(w) * h);
    if (!indices) return std::nullopt;
    for (auto i : *indices)
        if (i >= p.palette.size()) return std::nullopt;
    if (p.transparent >= int(p.palette.size())) p.transparent = -1;

    // What the image leaves of the screen shows the background (or nothing).
    const unsigned fill = p.transparent >= 0 ? unsigned(p.transparent) : background < p.palette.size() ? background : 0;
    IndexedImage im{p.width, p.height, std::vector<std::uint8_t>(std::size_t(p.width) * p.height, std::uint8_t(fill))};
    const bool interlaced = flags & 0x40;
    std::vector<int> order;  // the rows in the order the data holds them
    if (interlaced) {
        for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
            for (int y = start; y < h; y += step) order.push_back(y);
    } else {
        for (int y = 0; y < h; ++y) order.push_back(y);
    }
    for (int r = 0; r < h; ++r)
        for (int x = 0; x < w; ++x) {
            const int sx = left + x, sy = top + order[std::size_t(r)];
            if (sx < p.width && sy < p.height)
                im.pixels[std::size_t(sy) * p.width + sx] = (*indices)[std::size_t(r) * w + x];
        }
    p.frames.push_back(std::move(im));
    return p;
}

}  // namespace morix::picture
