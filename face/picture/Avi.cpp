#include "tools/assetgen/Avi.h"

#include <algorithm>
#include <stdexcept>

namespace assetgen {

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

Bytes EncodeAvi(const std::vector<IndexedImage>& frames, const Palette& palette, int framesPerSecond) {
    if (frames.empty() || palette.empty() || palette.size() > 256 || framesPerSecond <= 0)
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
    const std::uint32_t usPerFrame = std::uint32_t(1000000 / framesPerSecond);

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
    w.U32(largest * std::uint32_t(framesPerSecond));  // dwMaxBytesPerSec
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
    w.U32(1);  // dwScale
    w.U32(std::uint32_t(framesPerSecond));
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

}  // namespace assetgen
