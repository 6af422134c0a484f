// The asset generator's files, read back by small independent decoders: the
// AVI chunk tree as the animation control walks it, RLE8 frames, GIF LZW,
// MIDI tracks, bitmap headers and the RTF's CP932 escapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <unistd.h>

#include "base/Scale.h"
#include "face/picture/Avi.h"
#include "face/picture/Bmp.h"
#include "face/picture/Gif.h"
#include "tools/assetgen/Chimes.h"
#include "tools/assetgen/Designs.h"
#include "tools/assetgen/Frames.h"
#include "tools/assetgen/Icon.h"
#include "tools/assetgen/Midi.h"
#include "tools/assetgen/ProgramFolder.h"
#include "tools/assetgen/Rtf.h"
#include "tools/assetgen/SampleMemo.h"

namespace {

using namespace assetgen;
using namespace morix::picture;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size()) throw std::out_of_range("read past the end");
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
           (std::uint32_t(b[at + 3]) << 24);
}
std::uint16_t Le16(const Bytes& b, std::size_t at) {
    if (at + 2 > b.size()) throw std::out_of_range("read past the end");
    return std::uint16_t(b[at] | (b[at + 1] << 8));
}
std::uint32_t Be32(const Bytes& b, std::size_t at) {
    return (std::uint32_t(b.at(at)) << 24) | (std::uint32_t(b.at(at + 1)) << 16) | (std::uint32_t(b.at(at + 2)) << 8) |
           b.at(at + 3);
}
std::string Tag(const Bytes& b, std::size_t at) { return std::string(b.begin() + long(at), b.begin() + long(at + 4)); }

const std::vector<Design>& Designs() {
    static const std::vector<Design> d = BuildDesigns();
    return d;
}
const std::vector<BalloonFrame>& Frames() {
    static const std::vector<BalloonFrame> f = BuildFrames();
    return f;
}

// ---------------------------------------------------------------- AVI

struct Chunk {
    std::string id;      // "LIST" chunks carry their list type in `list`
    std::string list;
    std::size_t data;    // offset of the chunk's data
    std::uint32_t size;  // as written in the chunk header
    std::vector<Chunk> children;
};

// Parses chunks in [at, end) strictly: every size must fit its parent.
std::vector<Chunk> ParseChunks(const Bytes& b, std::size_t at, std::size_t end) {
    std::vector<Chunk> out;
    while (at < end) {
        if (at + 8 > end) throw std::runtime_error("chunk header past its parent");
        Chunk c{Tag(b, at), "", at + 8, Le32(b, at + 4), {}};
        if (c.data + c.size > end) throw std::runtime_error("chunk " + c.id + " past its parent");
        if (c.id == "LIST") {
            c.list = Tag(b, c.data);
            c.children = ParseChunks(b, c.data + 4, c.data + c.size);
        }
        at = c.data + c.size + (c.size & 1);
        out.push_back(std::move(c));
    }
    return out;
}

const Chunk* Find(const std::vector<Chunk>& cs, const std::string& id, const std::string& list = "") {
    for (auto& c : cs)
        if (c.id == id && c.list == list) return &c;
    return nullptr;
}

struct AviInfo {
    std::uint32_t totalFrames, suggested, width, height, usPerFrame;
    std::uint32_t streamLength, streamSuggested;
    std::string handler;
    int bitCount, compression;
    std::uint32_t sizeImage, clrUsed;
    Palette palette;
    std::vector<Bytes> frames;  // 'movi' chunk data, in file order
};

AviInfo ReadAvi(const Bytes& b) {
    if (Tag(b, 0) != "RIFF" || Tag(b, 8) != "AVI ") throw std::runtime_error("not RIFF AVI");
    if (Le32(b, 4) + 8 != b.size()) throw std::runtime_error("RIFF size is not the file size");
    const auto top = ParseChunks(b, 12, b.size());
    const Chunk* hdrl = Find(top, "LIST", "hdrl");
    const Chunk* movi = Find(top, "LIST", "movi");
    const Chunk* idx1 = Find(top, "idx1");
    if (!hdrl || !movi || !idx1) throw std::runtime_error("hdrl, movi or idx1 missing");
    const Chunk* avih = Find(hdrl->children, "avih");
    const Chunk* strl = Find(hdrl->children, "LIST", "strl");
    if (!avih || !strl || avih->size != 56) throw std::runtime_error("avih");
    const Chunk* strh = Find(strl->children, "strh");
    const Chunk* strf = Find(strl->children, "strf");
    if (!strh || !strf || Tag(b, strh->data) != "vids") throw std::runtime_error("strh/strf");

    AviInfo info;
    info.usPerFrame = Le32(b, avih->data);
    info.totalFrames = Le32(b, avih->data + 16);
    info.suggested = Le32(b, avih->data + 28);
    info.width = Le32(b, avih->data + 32);
    info.height = Le32(b, avih->data + 36);
    info.handler = Tag(b, strh->data + 4);
    info.streamLength = Le32(b, strh->data + 32);
    info.streamSuggested = Le32(b, strh->data + 36);
    const std::size_t bih = strf->data;
    if (Le32(b, bih) != 40) throw std::runtime_error("biSize");
    if (Le32(b, bih + 4) != info.width || Le32(b, bih + 8) != info.height) throw std::runtime_error("biWidth/biHeight");
    info.bitCount = Le16(b, bih + 14);
    info.compression = int(Le32(b, bih + 16));
    info.sizeImage = Le32(b, bih + 20);
    info.clrUsed = Le32(b, bih + 32);
    if (strf->size != 40 + 4 * info.clrUsed) throw std::runtime_error("strf holds no full palette");
    for (std::uint32_t i = 0; i < info.clrUsed; ++i)
        info.palette.push_back({b[bih + 40 + 4 * i + 2], b[bih + 40 + 4 * i + 1], b[bih + 40 + 4 * i]});
    for (auto& c : movi->children) {
        if (c.id != "00dc") throw std::runtime_error("a chunk other than a frame inside movi: " + c.id);
        info.frames.emplace_back(b.begin() + long(c.data), b.begin() + long(c.data + c.size));
    }
    // idx1: offsets from the 'movi' list type, each naming its frame chunk.
    const std::size_t moviTag = movi->data;
    if (idx1->size != 16 * info.frames.size()) throw std::runtime_error("idx1 entry count");
    for (std::size_t i = 0; i < info.frames.size(); ++i) {
        const std::size_t e = idx1->data + 16 * i;
        const std::size_t chunk = moviTag + Le32(b, e + 8);
        if (Tag(b, e) != "00dc" || Tag(b, chunk) != "00dc" || Le32(b, chunk + 4) != Le32(b, e + 12) ||
            Le32(b, e + 12) != info.frames[i].size() || !(Le32(b, e + 4) & 0x10))
            throw std::runtime_error("idx1 entry " + std::to_string(i) + " does not point at its frame");
        if (chunk + 8 != movi->children[i].data) throw std::runtime_error("idx1 entries out of order");
    }
    return info;
}

// A strict RLE8 decoder: no delta codes allowed (frames must stand alone),
// every pixel written exactly once, rows bottom-up.
IndexedImage DecodeRle8(const Bytes& d, int width, int height) {
    IndexedImage out{width, height, std::vector<std::uint8_t>(std::size_t(width) * height)};
    std::vector<bool> written(out.pixels.size());
    int x = 0, row = 0;  // row 0 is the bottom row
    std::size_t i = 0;
    auto put = [&](std::uint8_t v) {
        if (x >= width || row >= height) throw std::runtime_error("RLE8 writes past the row");
        const std::size_t at = std::size_t(height - 1 - row) * width + x++;
        if (written[at]) throw std::runtime_error("pixel written twice");
        written[at] = true;
        out.pixels[at] = v;
    };
    for (;;) {
        if (i + 2 > d.size()) throw std::runtime_error("RLE8 ends without end-of-bitmap");
        const std::uint8_t n = d[i], v = d[i + 1];
        i += 2;
        if (n > 0) {
            for (int k = 0; k < n; ++k) put(v);
        } else if (v == 0) {
            if (x != width) throw std::runtime_error("row ended early");
            x = 0, ++row;
        } else if (v == 1) {
            if (x != width || row != height - 1) throw std::runtime_error("bitmap ended early");
            if (i != d.size()) throw std::runtime_error("data after end-of-bitmap");
            break;
        } else if (v == 2) {
            throw std::runtime_error("delta code in a key frame");
        } else {
            if (i + v > d.size()) throw std::runtime_error("absolute run past the data");
            for (int k = 0; k < v; ++k) put(d[i + k]);
            i += v + (v & 1);
        }
    }
    return out;
}

TEST(AssetgenAvi, ChunkTreeIndexAndHeadersAreWhatTheAnimationControlReads) {
    for (const Design& design : Designs()) {
        for (int n : {0, 7, 23, 59}) {
            SCOPED_TRACE(design.name + " clip " + std::to_string(n));
            const Bytes file = EncodeAvi(design.clips[n], design.palette, design.framesPerSecond);
            const AviInfo info = ReadAvi(file);
            EXPECT_EQ(info.totalFrames, design.clips[n].size());
            EXPECT_EQ(info.totalFrames, info.frames.size());
            EXPECT_EQ(info.streamLength, info.frames.size());
            EXPECT_TRUE(info.handler == "RLE " || info.handler == "DIB " || info.handler == std::string(4, '\0'));
            EXPECT_EQ(info.bitCount, 8);
            EXPECT_EQ(info.compression, 1);  // BI_RLE8
            EXPECT_EQ(info.palette, design.palette);
            std::uint32_t largest = 0;
            for (auto& f : info.frames) largest = std::max<std::uint32_t>(largest, std::uint32_t(f.size()));
            // The control reads each frame into a buffer of the suggested size
            // and decodes biSizeImage bytes of it.
            EXPECT_GE(info.sizeImage, largest);
            EXPECT_LE(info.sizeImage, info.streamSuggested);
            EXPECT_GE(info.suggested, largest);
            EXPECT_GT(info.usPerFrame, 0u);
            EXPECT_LE(info.usPerFrame * info.totalFrames, 1000000u) << "a clip restarts every second from :57";
        }
    }
}

TEST(AssetgenAvi, ClipFitsTheFaceAtBothDisplays) {
    for (const Design& design : Designs()) {
        const AviInfo info = ReadAvi(EncodeAvi(design.clips[12], design.palette, design.framesPerSecond));
        EXPECT_LE(kHourLeft + int(info.width), kMinuteLeft) << design.name << ": hour clip would cover the minute";
        EXPECT_LE(kMinuteLeft + int(info.width), kFaceWidth) << design.name;
        EXPECT_LE(kClipTop + int(info.height), kFaceHeight) << design.name;
    }
}

TEST(AssetgenAvi, EveryFrameDecodesBackToTheDrawnPixels) {
    for (const Design& design : Designs())
        for (int n = 0; n < 60; ++n) {
            const AviInfo info = ReadAvi(EncodeAvi(design.clips[n], design.palette, design.framesPerSecond));
            ASSERT_EQ(info.frames.size(), design.clips[n].size());
            for (std::size_t f = 0; f < info.frames.size(); ++f)
                ASSERT_EQ(DecodeRle8(info.frames[f], int(info.width), int(info.height)), design.clips[n][f])
                    << design.name << " clip " << n << " frame " << f;
        }
}

TEST(AssetgenAvi, Rle8HandlesLongRunsLiteralsOddWidthsAndSinglePixels) {
    std::mt19937 rng(7);
    const auto check = [](const IndexedImage& im) {
        EXPECT_EQ(DecodeRle8(EncodeRle8(im), im.width, im.height), im) << im.width << "x" << im.height;
    };
    check({1, 1, {5}});
    check({300, 2, std::vector<std::uint8_t>(600, 9)});  // runs longer than 255
    IndexedImage ramp{301, 3, {}};                      // literals longer than 255, odd lengths
    for (int i = 0; i < 301 * 3; ++i) ramp.pixels.push_back(std::uint8_t(i * 7));
    check(ramp);
    for (int w : {2, 3, 4, 5, 25}) {  // literal stretches of 1, 2, 3 between runs
        IndexedImage im{w, 4, {}};
        for (int i = 0; i < w * 4; ++i) im.pixels.push_back(std::uint8_t(rng() % 3));
        check(im);
    }
    IndexedImage noise{25, 22, {}};
    for (int i = 0; i < 25 * 22; ++i) noise.pixels.push_back(std::uint8_t(rng()));
    check(noise);
}

TEST(AssetgenAvi, RejectsFramesThatDisagreeWithThePalette) {
    const Palette two{{0, 0, 0}, {255, 255, 255}};
    EXPECT_THROW(EncodeAvi({{2, 1, {0, 2}}}, two, 10), std::invalid_argument);
    EXPECT_THROW(EncodeAvi({{2, 1, {0, 1}}, {3, 1, {0, 1, 1}}}, two, 10), std::invalid_argument);
    EXPECT_THROW(EncodeAvi({}, two, 10), std::invalid_argument);
}

// ---------------------------------------------------------------- the faces

TEST(AssetgenDesigns, TidewalkAndAnotherDesignThatLooksDifferent) {
    ASSERT_GE(Designs().size(), 2u);
    EXPECT_EQ(Designs()[0].name, "Tidewalk");
    std::set<std::string> names;
    for (auto& d : Designs()) names.insert(d.name);
    EXPECT_EQ(names.size(), Designs().size());
    // Clearly different: the same time on the two faces differs in most pixels.
    const Image a = Expand(Designs()[0].clips[34].back(), Designs()[0].palette);
    const Image b = Expand(Designs()[1].clips[34].back(), Designs()[1].palette);
    int differ = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) differ += !(a.pixels[i] == b.pixels[i]);
    EXPECT_GT(differ, int(a.pixels.size()) * 3 / 4);
}

TEST(AssetgenDesigns, LastFramesShowEachNumberWithConsistentDigits) {
    // Left digit in columns 0..11, right digit in 13..24 of the clip: the
    // left part depends only on the tens, the right part only on the units.
    const auto part = [](const IndexedImage& im, int x0, int x1) {
        std::vector<std::uint8_t> out;
        for (int y = 0; y < im.height; ++y)
            for (int x = x0; x < x1; ++x) out.push_back(im.At(x, y));
        return out;
    };
    for (const Design& d : Designs()) {
        SCOPED_TRACE(d.name);
        std::set<std::vector<std::uint8_t>> lasts;
        std::map<int, std::vector<std::uint8_t>> tens, units;
        for (int n = 0; n < 60; ++n) {
            const IndexedImage& last = d.clips[n].back();
            lasts.insert(last.pixels);
            const auto l = part(last, 0, 12), r = part(last, 13, kClipWidth);
            if (auto [it, fresh] = tens.try_emplace(n / 10, l); !fresh) {
                EXPECT_EQ(it->second, l) << n;
            }
            if (auto [it, fresh] = units.try_emplace(n % 10, r); !fresh) {
                EXPECT_EQ(it->second, r) << n;
            }
        }
        EXPECT_EQ(lasts.size(), 60u) << "two numbers end on the same picture";
        std::set<std::vector<std::uint8_t>> distinctUnits;
        for (auto& [k, v] : units) distinctUnits.insert(v);
        EXPECT_EQ(distinctUnits.size(), 10u);
    }
}

TEST(AssetgenDesigns, ClipsAnimateAndEndOnASteadyPicture) {
    for (const Design& d : Designs())
        for (int n : {0, 8, 47}) {
            const auto& frames = d.clips[n];
            ASSERT_GE(frames.size(), 5u) << d.name;
            std::set<std::vector<std::uint8_t>> distinct;
            for (auto& f : frames) distinct.insert(f.pixels);
            EXPECT_GE(distinct.size(), frames.size() - 2) << d.name << ": frames repeat, no animation";
            EXPECT_NE(frames.front(), frames.back()) << d.name;
        }
}

TEST(AssetgenDesigns, ClipsBlendIntoTheFaceAtBothDisplays) {
    // A clip's border must be the face behind it, at the hour and at the
    // minute place alike, or the clip would show as a patch.
    for (const Design& d : Designs())
        for (int n = 0; n < 60; ++n)
            for (const IndexedImage& frame : d.clips[n]) {
                const Image f = Expand(frame, d.palette);
                for (int left : {kHourLeft, kMinuteLeft})
                    for (int y = 0; y < kClipHeight; ++y)
                        for (int x = 0; x < kClipWidth; ++x) {
                            if (x != 0 && y != 0 && x != kClipWidth - 1 && y != kClipHeight - 1) continue;
                            ASSERT_EQ(f.At(x, y), d.back.At(left + x, kClipTop + y))
                                << d.name << " clip " << n << " at (" << x << "," << y << ") left " << left;
                        }
            }
}

TEST(AssetgenDesigns, OutlineCutsTheCornersAndKeepsTheFace) {
    for (const Design& d : Designs()) {
        SCOPED_TRACE(d.name);
        ASSERT_EQ(d.outline.width, kFaceWidth);
        ASSERT_EQ(d.outline.height, kFaceHeight);
        int cut = 0;
        for (auto c : d.outline.pixels) {
            EXPECT_TRUE(c == kMaskColour || c == (Rgb{0, 0, 0}));
            cut += c == kMaskColour;
        }
        for (auto [x, y] : {std::pair{0, 0}, {65, 0}, {0, 21}, {65, 21}}) EXPECT_EQ(d.outline.At(x, y), kMaskColour);
        EXPECT_GT(cut, 4);
        EXPECT_LT(cut, 100) << "the outline cuts more than the corners";
        // Nothing under the clips is cut away.
        for (int left : {kHourLeft, kMinuteLeft})
            for (int y = 0; y < kClipHeight; ++y)
                for (int x = 0; x < kClipWidth; ++x) EXPECT_NE(d.outline.At(left + x, y), kMaskColour);
    }
}

// ---------------------------------------------------------------- scales

// Each set is drawn at its scale, not enlarged: the sizes of the scale, one
// clip file fitting both places over the same face, the outline uncut under
// the clips, and the balloon's controls inside its outline.
TEST(AssetgenScales, EverySetHasItsScalesSizesAndKeepsTheRulesOfTheFirst) {
    struct Row {
        int percent, faceWidth, faceHeight, hourLeft, minuteLeft, clipWidth, balloonWidth, balloonHeight;
    };
    for (const Row& r : {Row{100, 66, 22, 5, 36, 25, 280, 140}, Row{125, 83, 28, 6, 45, 31, 350, 175},
                         Row{150, 99, 33, 8, 54, 38, 420, 210}, Row{200, 132, 44, 10, 72, 50, 560, 280}}) {
        SCOPED_TRACE(r.percent);
        for (const Design& d : BuildDesigns(r.percent)) {
            ASSERT_EQ(std::pair(d.back.width, d.back.height), std::pair(r.faceWidth, r.faceHeight)) << d.name;
            EXPECT_EQ(std::pair(d.outline.width, d.outline.height), std::pair(r.faceWidth, r.faceHeight));
            EXPECT_EQ(std::pair(d.grid.hourLeft, d.grid.minuteLeft), std::pair(r.hourLeft, r.minuteLeft));
            const IndexedImage& frame = d.clips[12].back();
            ASSERT_EQ(std::pair(frame.width, frame.height), std::pair(r.clipWidth, r.faceHeight));
            for (int y = 0; y < frame.height; ++y)
                for (int x = 0; x < frame.width; ++x) {
                    ASSERT_EQ(d.back.At(r.hourLeft + x, y), d.back.At(r.minuteLeft + x, y)) << d.name << " " << x;
                    ASSERT_NE(d.outline.At(r.minuteLeft + x, y), kMaskColour) << d.name;
                }
        }
        for (const BalloonFrame& f : BuildFrames(r.percent))
            for (const Image& p : f.pictures) {
                ASSERT_EQ(std::pair(p.width, p.height), std::pair(r.balloonWidth, r.balloonHeight)) << f.name;
                for (const Area& a : kBalloonControls) {
                    const auto px = [&](int v) { return morix::ScaledPixels(v, r.percent); };
                    for (int y = px(a.top); y < px(a.top) + px(a.height); ++y)
                        for (int x = px(a.left); x < px(a.left) + px(a.width); ++x)
                            ASSERT_NE(p.At(x, y), kMaskColour) << f.name << " control cut at " << x << "," << y;
                }
            }
    }
}

// ---------------------------------------------------------------- BMP

Image DecodeBmp24(const Bytes& b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error("not BM");
    if (Le32(b, 2) != b.size()) throw std::runtime_error("bfSize");
    const std::uint32_t off = Le32(b, 10);
    if (Le32(b, 14) != 40 || Le16(b, 26) != 1 || Le16(b, 28) != 24 || Le32(b, 30) != 0)
        throw std::runtime_error("not a plain 24-bit BITMAPINFOHEADER");
    const int w = int(Le32(b, 18)), h = int(Le32(b, 22));
    const std::size_t stride = (std::size_t(w) * 3 + 3) & ~std::size_t(3);
    if (Le32(b, 34) != stride * h || off + stride * h != b.size()) throw std::runtime_error("biSizeImage");
    Image im(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t p = off + std::size_t(h - 1 - y) * stride + std::size_t(x) * 3;
            im.At(x, y) = {b[p + 2], b[p + 1], b[p]};
        }
    return im;
}

TEST(AssetgenBmp, FacePicturesRoundTripWithExactColours) {
    for (const Design& d : Designs()) {
        EXPECT_EQ(DecodeBmp24(EncodeBmp24(d.back)), d.back) << d.name;
        EXPECT_EQ(DecodeBmp24(EncodeBmp24(d.outline)), d.outline) << d.name;
    }
    Image odd(3, 2);  // rows padded to four bytes
    odd.At(2, 1) = {1, 2, 3};
    EXPECT_EQ(DecodeBmp24(EncodeBmp24(odd)), odd);
    EXPECT_EQ(EncodeBmp24(odd).size(), 54u + 12u * 2u);
}

// ---------------------------------------------------------------- GIF

struct DecodedGif {
    int width, height;
    Palette palette;
    std::vector<std::uint8_t> indices;
};

std::vector<std::uint8_t> LzwDecode(const Bytes& data, int minCodeSize, std::size_t expect) {
    const int clear = 1 << minCodeSize, end = clear + 1;
    std::vector<std::vector<std::uint8_t>> table;
    auto reset = [&] {
        table.assign(std::size_t(end + 1), {});
        for (int i = 0; i < clear; ++i) table[i] = {std::uint8_t(i)};
    };
    reset();
    int width = minCodeSize + 1;
    std::size_t bit = 0;
    auto read = [&]() -> int {
        if (bit + std::size_t(width) > data.size() * 8) throw std::runtime_error("LZW data ends without end code");
        int v = 0;
        for (int k = 0; k < width; ++k, ++bit) v |= ((data[bit / 8] >> (bit % 8)) & 1) << k;
        return v;
    };
    std::vector<std::uint8_t> out;
    int prev = -1;  // no code since the last clear
    for (;;) {
        const int code = read();
        if (code == clear) {
            reset();
            width = minCodeSize + 1;
            prev = -1;
            continue;
        }
        if (code == end) break;
        std::vector<std::uint8_t> entry;
        if (code < int(table.size()) && (code < clear || code > end)) {
            entry = table[code];
        } else if (code == int(table.size()) && prev >= 0) {
            entry = table[prev];
            entry.push_back(table[prev][0]);
        } else {
            throw std::runtime_error("LZW code " + std::to_string(code) + " not in the table");
        }
        out.insert(out.end(), entry.begin(), entry.end());
        if (prev >= 0 && table.size() < 4096) {
            auto grown = table[prev];
            grown.push_back(entry[0]);
            table.push_back(std::move(grown));
        }
        if (table.size() == (std::size_t(1) << width) && width < 12) ++width;
        prev = code;
    }
    if (out.size() != expect) throw std::runtime_error("LZW gives " + std::to_string(out.size()) + " pixels");
    return out;
}

DecodedGif DecodeGif(const Bytes& b) {
    if (std::string(b.begin(), b.begin() + 6) != "GIF89a" && std::string(b.begin(), b.begin() + 6) != "GIF87a")
        throw std::runtime_error("signature");
    DecodedGif g{Le16(b, 6), Le16(b, 8), {}, {}};
    const std::uint8_t flags = b.at(10);
    if (!(flags & 0x80)) throw std::runtime_error("no global colour table");
    const int entries = 2 << (flags & 7);
    std::size_t at = 13;
    for (int i = 0; i < entries; ++i, at += 3) g.palette.push_back({b.at(at), b.at(at + 1), b.at(at + 2)});
    if (b.at(at) != 0x2C) throw std::runtime_error("image descriptor expected");
    if (Le16(b, at + 1) || Le16(b, at + 3) || Le16(b, at + 5) != g.width || Le16(b, at + 7) != g.height ||
        b.at(at + 9) != 0)
        throw std::runtime_error("image descriptor");
    at += 10;
    const int minCode = b.at(at++);
    Bytes data;
    while (b.at(at) != 0) {
        const std::size_t n = b.at(at);
        data.insert(data.end(), b.begin() + long(at + 1), b.begin() + long(at + 1 + n));
        at += n + 1;
    }
    if (b.at(at + 1) != 0x3B || at + 2 != b.size()) throw std::runtime_error("trailer");
    g.indices = LzwDecode(data, minCode, std::size_t(g.width) * g.height);
    return g;
}

TEST(AssetgenGif, LzwRoundTripsThroughTableResetsAndSmallCodeSizes) {
    std::mt19937 rng(3);
    for (int minCode : {2, 3, 8}) {
        std::vector<std::uint8_t> noise(40000);  // fills the 4096-entry table several times
        for (auto& v : noise) v = std::uint8_t(rng() % (1u << minCode));
        EXPECT_EQ(LzwDecode(LzwCompress(noise, minCode), minCode, noise.size()), noise) << minCode;
    }
    const std::vector<std::uint8_t> flat(50000, 1);  // long strings, few codes
    EXPECT_EQ(LzwDecode(LzwCompress(flat, 2), 2, flat.size()), flat);
    EXPECT_EQ(LzwDecode(LzwCompress({}, 2), 2, 0), std::vector<std::uint8_t>{});
    EXPECT_THROW(LzwCompress({4}, 2), std::invalid_argument);
}

TEST(AssetgenGif, SmallPalettesUseTheMinimumCodeSize) {
    const IndexedImage two{3, 1, {0, 1, 1}};
    const DecodedGif g = DecodeGif(EncodeGif(two, {{0, 0, 0}, {9, 9, 9}}));
    EXPECT_EQ(g.indices, two.pixels);
    EXPECT_EQ(g.palette[1], (Rgb{9, 9, 9}));
}

TEST(AssetgenFrames, BalloonPicturesDecodeToTheDrawnBalloons) {
    ASSERT_GE(Frames().size(), 2u);
    EXPECT_EQ(Frames()[0].name, "Ellip01");
    for (const BalloonFrame& f : Frames())
        for (std::size_t k = 0; k < kCorners.size(); ++k) {
            SCOPED_TRACE(f.name + "/" + PictureName(kCorners[k]));
            const DecodedGif g = DecodeGif(EncodeGif(f.indexed[k], f.palettes[k]));
            ASSERT_EQ(g.width, kBalloonWidth);
            ASSERT_EQ(g.height, kBalloonHeight);
            Image shown(g.width, g.height);
            for (std::size_t i = 0; i < g.indices.size(); ++i) shown.pixels[i] = g.palette.at(g.indices[i]);
            EXPECT_EQ(shown, f.pictures[k]);
        }
}

TEST(AssetgenFrames, PointersReachTheClocksCornerAndControlsLieInside) {
    for (const BalloonFrame& f : Frames())
        for (std::size_t k = 0; k < kCorners.size(); ++k) {
            const Corner c = kCorners[k];
            const Image& p = f.pictures[k];
            SCOPED_TRACE(f.name + "/" + PictureName(c));
            const bool left = c == Corner::LU || c == Corner::LD, up = c == Corner::LU || c == Corner::RU;
            // The clock stands beside the balloon's edge on its own side: at
            // rows 0..21 of a level balloon, at rows 120..139 of a raised one.
            const int edge = left ? kBalloonWidth - 1 : 0;
            const int near0 = up ? 120 : 0, far0 = up ? 0 : 118;
            int reach = 0, wrong = 0;
            for (int x = std::min(edge, edge + (left ? -5 : 5)); x <= std::max(edge, edge + (left ? -5 : 5)); ++x)
                for (int y = 0; y < 22; ++y) {
                    reach += !(p.At(x, near0 + y) == kMaskColour);
                    wrong += !(p.At(x, far0 + y) == kMaskColour);
                }
            EXPECT_GT(reach, 0) << "the pointer does not reach the clock";
            EXPECT_EQ(wrong, 0) << "something reaches the other corner";
            // The far side of the picture is cut away at the clock's rows.
            const int otherEdge = left ? 0 : kBalloonWidth - 1;
            EXPECT_EQ(p.At(otherEdge, near0 + 10), kMaskColour);
            for (const Area& a : kBalloonControls)
                for (int y = a.top; y < a.top + a.height; ++y)
                    for (int x = a.left; x < a.left + a.width; ++x)
                        ASSERT_FALSE(p.At(x, y) == kMaskColour) << "control area cut at " << x << "," << y;
            // Where the text sits the balloon is white, as the rich-text box is.
            EXPECT_EQ(p.At(140, 75), (Rgb{255, 255, 255}));
        }
}

TEST(AssetgenFrames, MaskColourIsOnlyWhereTheBalloonIsCut) {
    for (const BalloonFrame& f : Frames())
        for (std::size_t k = 0; k < kCorners.size(); ++k) {
            const Palette& pal = f.palettes[k];
            ASSERT_EQ(pal[0], kMaskColour);
            EXPECT_EQ(std::count(pal.begin(), pal.end(), kMaskColour), 1) << f.name;
            // An anti-aliased pixel close to the mask colour must not become a hole:
            // the cut-away pixels form the outside only (no hole inside the body).
            const Image& p = f.pictures[k];
            for (int x = 30; x < 250; ++x) EXPECT_FALSE(p.At(x, 72) == kMaskColour) << f.name << " x " << x;
        }
}

TEST(AssetgenPalette, MaskColourEntryTakesOnlyExactMaskPixels) {
    Image im(3, 1);
    im.At(0, 0) = kMaskColour;
    im.At(1, 0) = {191, 192, 192};
    im.At(2, 0) = {10, 20, 30};
    const Palette pal = BuildPalette({&im}, 256, {kMaskColour}, {kMaskColour});
    const IndexedImage ix = MapToPalette(im, pal, 1);
    EXPECT_EQ(ix.pixels[0], 0);
    EXPECT_NE(ix.pixels[1], 0);
    EXPECT_EQ(Expand(ix, pal), im);
}

TEST(AssetgenPalette, ManyColoursAreReducedToAtMost256) {
    Image im(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) im.At(x, y) = {std::uint8_t(x * 4), std::uint8_t(y * 4), std::uint8_t(x ^ y)};
    const Palette pal = BuildPalette({&im}, 256);
    EXPECT_LE(pal.size(), 256u);
    const Image back = Expand(MapToPalette(im, pal), pal);
    double err = 0;
    for (std::size_t i = 0; i < im.pixels.size(); ++i)
        err += std::abs(im.pixels[i].r - back.pixels[i].r) + std::abs(im.pixels[i].g - back.pixels[i].g);
    EXPECT_LT(err / double(im.pixels.size()), 16.0);
}

// ---------------------------------------------------------------- MIDI

struct Track {
    int format = 0, tracks = 0, division = 0;
    long endTick = -1;
    std::uint32_t usPerBeat = 0;
    int noteOns = 0, noteOffs = 0;
    std::set<int> programs;
};

Track ReadMidi(const Bytes& b) {
    if (Tag(b, 0) != "MThd" || Be32(b, 4) != 6) throw std::runtime_error("MThd");
    Track t;
    t.format = (b.at(8) << 8) | b.at(9);
    t.tracks = (b.at(10) << 8) | b.at(11);
    t.division = (b.at(12) << 8) | b.at(13);
    if (Tag(b, 14) != "MTrk") throw std::runtime_error("MTrk");
    const std::size_t end = 22 + Be32(b, 18);
    if (end != b.size()) throw std::runtime_error("track length is not the rest of the file");
    std::size_t at = 22;
    long tick = 0;
    std::uint8_t status = 0;
    std::map<int, int> sounding;
    while (at < end) {
        std::uint32_t delta = 0;
        for (;;) {
            const std::uint8_t c = b.at(at++);
            delta = (delta << 7) | (c & 0x7F);
            if (!(c & 0x80)) break;
        }
        tick += long(delta);
        if (t.endTick >= 0) throw std::runtime_error("event after end of track");
        std::uint8_t s = b.at(at);
        if (s & 0x80) ++at, status = s;
        else s = status;  // running status
        if (s == 0xFF) {
            const std::uint8_t type = b.at(at), len = b.at(at + 1);
            if (type == 0x2F) {
                if (len != 0) throw std::runtime_error("end of track with data");
                t.endTick = tick;
            }
            if (type == 0x51) t.usPerBeat = (b.at(at + 2) << 16) | (b.at(at + 3) << 8) | b.at(at + 4);
            at += 2 + len;
        } else if ((s & 0xF0) == 0x90 || (s & 0xF0) == 0x80) {
            const int key = b.at(at), vel = b.at(at + 1);
            at += 2;
            const int k = (s & 0x0F) * 128 + key;
            if ((s & 0xF0) == 0x90 && vel > 0) {
                if (sounding[k]++) throw std::runtime_error("key struck while sounding");
                ++t.noteOns;
            } else {
                if (sounding[k]-- != 1) throw std::runtime_error("note-off without note-on");
                ++t.noteOffs;
            }
        } else if ((s & 0xF0) == 0xC0) {
            t.programs.insert(b.at(at++));
        } else if ((s & 0xF0) == 0xB0) {
            at += 2;
        } else {
            throw std::runtime_error("unexpected event");
        }
    }
    if (at != end) throw std::runtime_error("track runs past its length");
    return t;
}

TEST(AssetgenMidi, ChimesAreStandardFilesThatEndCleanly) {
    const auto chimes = BuildChimes();
    ASSERT_GE(chimes.size(), 2u);
    EXPECT_EQ(chimes[0].fileName, "lt37xga.mid");
    for (const Chime& c : chimes) {
        SCOPED_TRACE(c.fileName);
        const Track t = ReadMidi(EncodeMidi(c.song));
        EXPECT_TRUE(t.format == 0 || t.format == 1);
        EXPECT_EQ(t.tracks, 1);
        EXPECT_EQ(t.division, kTicksPerBeat);
        EXPECT_GT(t.usPerBeat, 0u);
        ASSERT_GE(t.endTick, 0) << "no end of track";
        EXPECT_GE(t.noteOns, 8);
        EXPECT_EQ(t.noteOns, t.noteOffs);
        EXPECT_FALSE(t.programs.empty());
        const double seconds = double(t.endTick) / t.division * t.usPerBeat / 1e6;
        EXPECT_NEAR(seconds, SongSeconds(c.song), 0.01);
        EXPECT_GE(seconds, 2.0);
        EXPECT_LE(seconds, 15.0);
    }
}

TEST(AssetgenMidi, RepeatedKeyIsReleasedBeforeItIsStruckAgain) {
    Song s;
    s.programs = {{0, 14}};
    s.notes = {{0, 4, 64, 90}, {1, 1, 64, 90}, {1, 1, 66, 90}};
    const Track t = ReadMidi(EncodeMidi(s));  // throws on a key struck while sounding
    EXPECT_EQ(t.noteOns, 3);
    EXPECT_EQ(t.noteOffs, 3);
    s.notes.push_back({0, 1, 200, 90});
    EXPECT_THROW(EncodeMidi(s), std::invalid_argument);
}

// ---------------------------------------------------------------- RTF

// Reads the plain text of the writer's RTF: skips the header groups, takes
// \'xx escapes as CP932 bytes and \par as a line break.
std::string RtfText(const std::string& rtf) {
    std::string bytes;
    int depth = 0, skipDepth = -1;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            if (skipDepth < 0 && (rtf.compare(i, 9, "{\\fonttbl") == 0 || rtf.compare(i, 10, "{\\colortbl") == 0))
                skipDepth = depth;
            continue;
        }
        if (c == '}') {
            if (depth == skipDepth) skipDepth = -1;
            --depth;
            continue;
        }
        if (c == '\r' || c == '\n') continue;
        const bool keep = skipDepth < 0;
        if (c != '\\') {
            if (keep) bytes += c;
            continue;
        }
        const char n = rtf.at(i + 1);
        if (n == '\'') {
            if (keep) bytes += char(std::stoi(rtf.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else if (n == '\\' || n == '{' || n == '}') {
            if (keep) bytes += n;
            ++i;
        } else {
            std::size_t j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) ++j;
            const std::string word = rtf.substr(i + 1, j - i - 1);
            while (j < rtf.size() && (std::isdigit(static_cast<unsigned char>(rtf[j])) || rtf[j] == '-')) ++j;
            if (j < rtf.size() && rtf[j] == ' ') ++j;
            if (word == "par" && keep) bytes += '\n';
            i = j - 1;
        }
    }
    return FromCp932(bytes);
}

TEST(AssetgenRtf, SampleMemoIsCp932RtfThatReadsBackAsTheJapaneseText) {
    const std::string rtf = SampleMemoRtf();
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg932", 0), 0u);
    EXPECT_NE(rtf.find("\\fcharset128"), std::string::npos);
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        << "raw 8-bit bytes in the RTF";
    int depth = 0;
    for (char c : rtf) {
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
    std::string expected = std::string(kSampleMemoTitle) + "\n";
    for (auto line : kSampleMemoBody) expected += std::string(line) + "\n";
    EXPECT_EQ(RtfText(rtf), expected);
}

TEST(AssetgenRtf, TrailBytesThatLookLikeRtfSyntaxAreEscaped) {
    // 表 and ソ end in 0x5C (a backslash in ASCII); braces and backslashes of
    // the text itself are escaped too.
    const std::string rtf = EncodeRtf({{"表示ソフト {a}\\b", false, 18, 0}});
    EXPECT_NE(rtf.find("\\'95\\'5c"), std::string::npos);
    EXPECT_EQ(RtfText(rtf), "表示ソフト {a}\\b\n");
    EXPECT_THROW(EncodeRtf({{"絵文字 😀", false, 18, 0}}), std::runtime_error);
}

// ---------------------------------------------------------------- the folder

TEST(AssetgenProgramFolder, WritesEveryAssetAndLeavesOtherFilesAlone) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("assetgen_test_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "Tickdata");
    std::ofstream(dir / "Tickdata" / "20260101.rtf") << "{\\rtf1 memo}";
    WriteProgramFolder(dir);
    for (const Design& d : Designs()) {
        for (const char* f : {"Back.bmp", "TP.bmp"}) EXPECT_TRUE(fs::is_regular_file(dir / "Design" / d.name / f));
        for (int n = 0; n < 60; ++n) {
            char name[8];
            std::snprintf(name, sizeof name, "%02d.avi", n);
            const fs::path p = dir / "Design" / d.name / name;
            ASSERT_TRUE(fs::is_regular_file(p)) << p;
        }
    }
    for (const BalloonFrame& f : Frames())
        for (Corner c : kCorners) EXPECT_TRUE(fs::is_regular_file(dir / "Frame" / f.name / PictureName(c)));
    for (const char* set : {"125", "150", "200"}) {
        EXPECT_TRUE(fs::is_regular_file(dir / "Design" / "Lantern" / set / "59.avi")) << set;
        EXPECT_TRUE(fs::is_regular_file(dir / "Frame" / "Cloud01" / set / "MsgLU.gif")) << set;
    }
    EXPECT_TRUE(fs::is_regular_file(dir / "Sound" / "lt37xga.mid"));
    EXPECT_TRUE(fs::is_regular_file(dir / "Sample.rtf"));
    EXPECT_TRUE(fs::is_directory(dir / "Tickdata"));
    EXPECT_TRUE(fs::is_regular_file(dir / "Tickdata" / "20260101.rtf")) << "a memo was removed";
    EXPECT_FALSE(fs::exists(dir / "Morix.ini")) << "the first start needs no settings file";
    for (auto& e : fs::recursive_directory_iterator(dir))
        EXPECT_NE(e.path().extension(), ".tmp") << e.path();
    // The written clip is the encoder's clip.
    std::ifstream in(dir / "Design" / "Tidewalk" / "37.avi", std::ios::binary);
    const Bytes onDisk((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(onDisk, EncodeAvi(Designs()[0].clips[37], Designs()[0].palette, Designs()[0].framesPerSecond));
    fs::remove_all(dir);
}

}  // namespace

namespace assetgen {
namespace {

// The icon file: an image for each size Windows asks for at the four
// scales, each a 32-bit bitmap with its mask; the tile's corners are
// see-through, its middle is not.
TEST(Icon, EverySizeWithTransparentCorners) {
    std::vector<IconImage> icons;
    for (int size : kIconSizes) icons.push_back(DrawIcon(size));
    const Bytes ico = EncodeIco(icons);
    auto u16 = [&](std::size_t at) { return unsigned(ico.at(at) | ico.at(at + 1) << 8); };
    auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    ASSERT_EQ(u16(0), 0u);
    ASSERT_EQ(u16(2), 1u);
    const std::size_t count = std::size(kIconSizes);
    ASSERT_EQ(u16(4), count);
    std::size_t expectedOffset = 6 + count * 16;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const unsigned n = unsigned(kIconSizes[i]);
        EXPECT_EQ(ico[entry], n);
        EXPECT_EQ(u16(entry + 6), 32u) << "bits per pixel";
        EXPECT_EQ(u32(entry + 12), expectedOffset);
        const std::size_t body = u32(entry + 12);
        EXPECT_EQ(u32(body + 4), n);
        EXPECT_EQ(u32(body + 8), 2 * n) << "colour and mask rows";
        EXPECT_EQ(u32(entry + 8), 40 + n * n * 4 + ((n + 31) / 32) * 4 * n);
        expectedOffset += u32(entry + 8);
        EXPECT_EQ(icons[i].alpha.front(), 0) << n;
        EXPECT_EQ(icons[i].alpha[n / 2 * n + n / 2], 255) << n;
    }
    EXPECT_EQ(ico.size(), expectedOffset);
}

}  // namespace
}  // namespace assetgen
