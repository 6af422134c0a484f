#include "face/picture/Avi.h"

#include <algorithm>
#include <stdexcept>

namespace morix::picture {

namespace {

// Encoded mode: a count and one index, for runs of two or more.
// Absolute mode: 0, count (3..255), the indices, padded to a 16-bit boundary;
// counts 1 and 2 would be escape codes there, so shorter stretches go as runs.
void EncodeRow(const std::uint8_t* row, int width, ByteWriter& w) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
        if (run >= 2) {
            w.U8(unsigned(run)), w.U8(row[x]);
            x += run;
            continue;
        }
        // A literal stretch ends where a run of three equal indices begins.
        int end = x + 1;
        while (end < width && end - x < 255) {
            if (end + 2 < width && row[end] == row[end + 1] && row[end] == row[end + 2]) break;
            ++end;
        }
        const int n = end - x;
        if (n < 3) {
            for (int i = 0; i < n; ++i) w.U8(1), w.U8(row[x + i]);
        } else {
            w.U8(0), w.U8(unsigned(n));
            for (int i = 0; i < n; ++i) w.U8(row[x + i]);
            if (n % 2) w.U8(0);
        }
        x = end;
    }
}

std::uint32_t FourCC(const char* s) {
    return std::uint32_t(std::uint8_t(s[0])) | (std::uint32_t(std::uint8_t(s[1])) << 8) |
           (std::uint32_t(std::uint8_t(s[2])) << 16) | (std::uint32_t(std::uint8_t(s[3])) << 24);
}

}  // namespace

Bytes EncodeRle8(const IndexedImage& frame) {
    ByteWriter w;
    for (int y = frame.height - 1; y >= 0; --y) {
        EncodeRow(frame.pixels.data() + std::size_t(y) * frame.width, frame.width, w);
        if (y > 0) w.U8(0), w.U8(0);  // end of line
    }
    w.U8(0), w.U8(1);  // end of bitmap
    return w.out;
}

Bytes EncodeAvi(const std::vector<IndexedImage>& frames, const Palette& palette, int rate, int scale) {
    if (frames.empty() || palette.empty() || palette.size() > 256 || rate <= 0 || scale <= 0)
        throw std::invalid_argument("clip");
    const int width = frames[0].width, height = frames[0].height;
    std::vector<Bytes> data;
    std::uint32_t largest = 0;
    for (auto& f : frames) {
        if (f.width != width || f.height != height) throw std::invalid_argument("frame size");
        for (auto i : f.pixels)
            if (i >= palette.size()) throw std::invalid_argument("frame index outside the palette");
        data.push_back(EncodeRle8(f));
        largest = std::max<std::uint32_t>(largest, std::uint32_t(data.back().size()));
    }
    const std::uint32_t count = std::uint32_t(frames.size());
    const std::uint32_t usPerFrame = std::uint32_t(1000000LL * scale / rate);

    ByteWriter w;
    w.Tag("RIFF");
    const std::size_t riffSize = w.Size();
    w.U32(0);
    w.Tag("AVI ");

    w.Tag("LIST");
    const std::size_t hdrlSize = w.Size();
    w.U32(0);
    w.Tag("hdrl");

    w.Tag("avih");
    w.U32(56);
    w.U32(usPerFrame);
    w.U32(std::uint32_t(std::uint64_t(largest) * rate / scale));  // dwMaxBytesPerSec
    w.U32(0);                                          // dwPaddingGranularity
    w.U32(0x10);                                       // AVIF_HASINDEX
    w.U32(count);                                      // dwTotalFrames
    w.U32(0);                                          // dwInitialFrames
    w.U32(1);                                          // dwStreams
    w.U32(largest);                                    // dwSuggestedBufferSize
    w.U32(std::uint32_t(width));
    w.U32(std::uint32_t(height));
    for (int i = 0; i < 4; ++i) w.U32(0);

    w.Tag("LIST");
    const std::size_t strlSize = w.Size();
    w.U32(0);
    w.Tag("strl");

    w.Tag("strh");
    w.U32(56);
    w.Tag("vids");
    w.Tag("RLE ");  // the handler the control draws itself, without a codec
    w.U32(0);       // dwFlags
    w.U16(0), w.U16(0);
    w.U32(0);  // dwInitialFrames
    w.U32(std::uint32_t(scale));
    w.U32(std::uint32_t(rate));
    w.U32(0);  // dwStart
    w.U32(count);
    w.U32(largest);
    w.U32(0xFFFFFFFFu);  // dwQuality: default
    w.U32(0);            // dwSampleSize
    w.U16(0), w.U16(0), w.U16(unsigned(width)), w.U16(unsigned(height));

    w.Tag("strf");
    w.U32(40 + 4 * std::uint32_t(palette.size()));
    w.U32(40);
    w.I32(width);
    w.I32(height);
    w.U16(1);
    w.U16(8);
    w.U32(1);  // BI_RLE8
    // The control decodes every frame with this header; RLE8 frames come out
    // black when the size is 0, and each frame's data ends with its own
    // end-of-bitmap code, so the largest frame's size serves them all.
    w.U32(largest);
    w.I32(2835), w.I32(2835);
    w.U32(std::uint32_t(palette.size()));
    w.U32(0);
    for (Rgb c : palette) w.U8(c.b), w.U8(c.g), w.U8(c.r), w.U8(0);

    w.PatchU32(strlSize, std::uint32_t(w.Size() - strlSize - 4));
    w.PatchU32(hdrlSize, std::uint32_t(w.Size() - hdrlSize - 4));

    w.Tag("LIST");
    const std::size_t moviSize = w.Size();
    w.U32(0);
    const std::size_t moviTag = w.Size();
    w.Tag("movi");
    std::vector<std::uint32_t> offsets;
    for (auto& d : data) {
        offsets.push_back(std::uint32_t(w.Size() - moviTag));
        w.Tag("00dc");
        w.U32(std::uint32_t(d.size()));
        w.Append(d);
        if (d.size() % 2) w.U8(0);
    }
    w.PatchU32(moviSize, std::uint32_t(w.Size() - moviSize - 4));

    w.Tag("idx1");
    w.U32(16 * count);
    for (std::size_t i = 0; i < data.size(); ++i) {
        w.U32(FourCC("00dc"));
        w.U32(0x10);  // AVIIF_KEYFRAME
        w.U32(offsets[i]);
        w.U32(std::uint32_t(data[i].size()));
    }
    w.PatchU32(riffSize, std::uint32_t(w.Size() - 8));
    return w.out;
}

namespace {

// Draws one BI_RLE8 frame over `frame` (rows bottom-up in the data): runs,
// literal stretches, ends of line and deltas, which skip pixels and so keep
// the frame before. Pixels beyond the frame are dropped, as a DIB would.
bool DecodeRle8(std::span<const std::uint8_t> d, IndexedImage& frame, std::size_t colours) {
    int x = 0, row = 0;
    const auto put = [&](std::uint8_t v) {
        if (x < frame.width && row < frame.height && v < colours)
            frame.pixels[std::size_t(frame.height - 1 - row) * frame.width + x] = v;
        ++x;
        return v < colours;
    };
    for (std::size_t i = 0; i + 1 < d.size();) {
        const std::uint8_t n = d[i], v = d[i + 1];
        i += 2;
        if (n > 0) {
            for (int k = 0; k < n; ++k)
                if (!put(v)) return false;
        } else if (v == 0) {
            x = 0, ++row;
        } else if (v == 1) {
            return true;
        } else if (v == 2) {
            if (i + 2 > d.size()) return false;
            x += d[i], row += d[i + 1];
            i += 2;
        } else {
            if (i + v > d.size()) return false;
            for (int k = 0; k < v; ++k)
                if (!put(d[i + k])) return false;
            i += v + (v & 1);
        }
    }
    return true;  // data that ends without the end-of-bitmap code ends the frame
}

struct Span {
    std::size_t at, end;  // the chunks between
};

// The chunk of that id among those of the span, or of the list of that type.
std::optional<Span> FindChunk(const ByteReader& b, Span in, std::string_view id, std::string_view list = {}) {
    for (std::size_t at = in.at; at + 8 <= in.end;) {
        const std::uint32_t size = b.U32(at + 4);
        if (size > in.end - at - 8) return std::nullopt;
        if (b.TagAt(at, id) && (list.empty() || b.TagAt(at + 8, list)))
            return Span{at + 8 + (list.empty() ? 0 : 4), at + 8 + size};
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

// The first stream's frame chunks ("00dc" or "00db"), also inside 'rec '
// lists, in file order.
void FrameChunks(const ByteReader& b, Span in, std::vector<Span>& out) {
    for (std::size_t at = in.at; at + 8 <= in.end;) {
        const std::uint32_t size = b.U32(at + 4);
        if (size > in.end - at - 8) throw std::out_of_range("chunk past its list");
        if (b.TagAt(at, "LIST") && b.TagAt(at + 8, "rec ")) FrameChunks(b, {at + 12, at + 8 + size}, out);
        if (b.TagAt(at, "00dc") || b.TagAt(at, "00db")) out.push_back({at + 8, at + 8 + size});
        at += 8 + size + (size & 1);
    }
}

}  // namespace

std::optional<PictureFile> DecodeAvi(const ByteReader& b) {
    if (!b.TagAt(0, "RIFF") || !b.TagAt(8, "AVI ")) return std::nullopt;
    const Span riff{12, std::min<std::size_t>(b.Size(), std::size_t(b.U32(4)) + 8)};
    const auto hdrl = FindChunk(b, riff, "LIST", "hdrl");
    const auto movi = FindChunk(b, riff, "LIST", "movi");
    if (!hdrl || !movi) return std::nullopt;
    const auto strl = FindChunk(b, *hdrl, "LIST", "strl");
    if (!strl) return std::nullopt;
    const auto strh = FindChunk(b, *strl, "strh"), strf = FindChunk(b, *strl, "strf");
    if (!strh || !strf || !b.TagAt(strh->at, "vids")) return std::nullopt;

    PictureFile p;
    p.format = PictureFile::Format::Avi;
    p.scale = b.U32(strh->at + 20), p.rate = b.U32(strh->at + 24);
    const std::size_t bih = strf->at;
    const std::uint32_t headerSize = b.U32(bih);
    const std::int32_t width = b.I32(bih + 4), height = b.I32(bih + 8);
    const unsigned bits = b.U16(bih + 14);
    const std::uint32_t compression = b.U32(bih + 16), used = b.U32(bih + 32);
    if (headerSize < 40 || bits != 8 || (compression != 0 && compression != 1)) return std::nullopt;
    if (p.rate == 0 || p.scale == 0 || p.rate > 0x7FFFFFFF || p.scale > 0x7FFFFFFF) return std::nullopt;
    if (width <= 0 || height == 0) return std::nullopt;
    // Negated as 64 bits: a top-down height of -2^31 has no positive int.
    const long long rows = height < 0 ? -static_cast<long long>(height) : height;
    if (std::size_t(width) * std::size_t(rows) > kMaxPixels) return std::nullopt;
    p.width = width, p.height = int(rows);
    const std::size_t entries = used ? used : 256;
    if (entries > 256 || bih + headerSize + 4 * entries > strf->end) return std::nullopt;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = bih + headerSize + 4 * i;
        p.palette.push_back({b.U8(at + 2), b.U8(at + 1), b.U8(at)});
    }

    std::vector<Span> chunks;
    FrameChunks(b, *movi, chunks);
    if (chunks.empty() || chunks.size() * p.width * p.height > 4 * kMaxPixels) return std::nullopt;
    IndexedImage frame{p.width, p.height, std::vector<std::uint8_t>(std::size_t(p.width) * p.height, 0)};
    const std::size_t stride = (std::size_t(p.width) + 3) & ~std::size_t(3);
    for (const Span& c : chunks) {
        const auto data = b.Slice(c.at, c.end - c.at);
        // An empty chunk repeats the frame before.
        if (compression == 1) {
            if (!DecodeRle8(data, frame, entries)) return std::nullopt;
        } else if (!data.empty()) {
            if (data.size() < stride * p.height) return std::nullopt;
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) {
                    const std::uint8_t v = data[std::size_t(height < 0 ? y : p.height - 1 - y) * stride + x];
                    if (v >= entries) return std::nullopt;
                    frame.pixels[std::size_t(y) * p.width + x] = v;
                }
        }
        p.frames.push_back(frame);
    }
    return p;
}

}  // namespace morix::picture
