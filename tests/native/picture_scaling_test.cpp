// A design or frame folder without the display scale's set: its pictures
// redrawn at the scale's size, format, palette and mask colour kept.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "face/PictureScaling.h"
#include "face/picture/Avi.h"
#include "face/picture/Bmp.h"
#include "face/picture/Gif.h"

namespace {

using namespace morix;
using namespace morix::picture;

std::string Str(const Bytes& b) { return std::string(b.begin(), b.end()); }

PictureFile Read(const std::string& s) {
    auto p = ReadPictureFile(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
    if (!p) throw std::runtime_error("does not read back");
    return *p;
}

// A bitmap of 1, 4 or 8 bits, as a paint program would write it.
std::string PaletteBmp(int bits, bool topDown, const Palette& palette, const IndexedImage& im) {
    const std::uint32_t stride = (std::uint32_t(im.width) * bits + 31) / 32 * 4;
    const std::uint32_t off = 54 + 4 * std::uint32_t(palette.size());
    ByteWriter w;
    w.Tag("BM"), w.U32(off + stride * im.height), w.U32(0), w.U32(off);
    w.U32(40), w.I32(im.width), w.I32(topDown ? -im.height : im.height), w.U16(1), w.U16(unsigned(bits));
    w.U32(0), w.U32(stride * im.height), w.U32(0), w.U32(0), w.U32(std::uint32_t(palette.size())), w.U32(0);
    for (Rgb c : palette) w.U8(c.b), w.U8(c.g), w.U8(c.r), w.U8(0);
    for (int r = 0; r < im.height; ++r) {
        const int y = topDown ? r : im.height - 1 - r;
        Bytes row(stride, 0);
        for (int x = 0; x < im.width; ++x)
            row[std::size_t(x) * bits / 8] |= std::uint8_t(im.At(x, y) << (8 - bits - x * bits % 8));
        w.out.insert(w.out.end(), row.begin(), row.end());
    }
    return Str(w.out);
}

const Palette kPalette = {{0, 0, 0}, kMaskColour, {255, 255, 255}, {40, 90, 200}};

// A picture of every palette entry: a cut-away left column, stripes beside.
IndexedImage Sample(int w, int h, unsigned entries = 4) {
    IndexedImage im{w, h, std::vector<std::uint8_t>(std::size_t(w) * h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) im.pixels[std::size_t(y) * w + x] = std::uint8_t(x < 2 ? 1 : (x + y) % entries);
    return im;
}

struct Sampled {
    const char* name;
    std::string file;
    bool palette;    // the output keeps the input's palette
    int transparent;
};

std::vector<Sampled> Samples() {
    Image colours = Expand(Sample(12, 8), kPalette);
    colours.At(5, 5) = {10, 200, 30};
    const Palette two = {{0, 0, 0}, kMaskColour};
    return {
        {"24-bit BMP", Str(EncodeBmp24(colours)), false, -1},
        {"8-bit BMP, top-down", PaletteBmp(8, true, kPalette, Sample(12, 8)), false, -1},
        {"4-bit BMP", PaletteBmp(4, false, kPalette, Sample(13, 7)), false, -1},
        {"1-bit BMP, an outline", PaletteBmp(1, false, two, Sample(11, 6, 1)), false, -1},
        {"GIF with a see-through index", Str(EncodeGif(Sample(12, 8), kPalette, 3)), true, 3},
        {"RLE8 clip", Str(EncodeAvi({Sample(12, 8), Sample(12, 8, 3)}, kPalette, 15, 2)), true, -1},
    };
}

TEST(PictureScaling, EachFormatComesBackInItsFormatAtTheSizeAsked) {
    for (const Sampled& s : Samples()) {
        const PictureFile before = Read(s.file);
        for (auto [w, h] : {std::pair{30, 20}, {5, 3}, {12, 8}}) {
            SCOPED_TRACE(std::string(s.name) + " at " + std::to_string(w) + "x" + std::to_string(h));
            const auto scaled = ScalePictureFile(s.file, w, h);
            ASSERT_TRUE(scaled);
            const PictureFile after = Read(*scaled);
            EXPECT_EQ(after.format, before.format);
            EXPECT_EQ(std::pair(after.width, after.height), std::pair(w, h));
            EXPECT_EQ(after.frames.size(), s.palette ? before.frames.size() : 0u);
            EXPECT_EQ(after.palette, s.palette ? before.palette : Palette{});
            EXPECT_EQ(after.transparent, s.transparent);
            EXPECT_EQ(std::pair(after.rate, after.scale), std::pair(before.rate, before.scale));
        }
    }
}

// A pixel is of the mask colour (or see-through) exactly when the old pixel
// nearest to it was; an outline of two colours keeps two.
TEST(PictureScaling, TheMaskColourIsNeverBlended) {
    for (const Sampled& s : Samples()) {
        const PictureFile before = Read(s.file);
        const auto shown = [](const PictureFile& p, std::size_t frame) {
            return p.palette.empty() ? p.colours : Expand(p.frames[frame], p.palette);
        };
        const auto cut = [&](const PictureFile& p, int x, int y, std::size_t frame) {
            const bool seeThrough = !p.frames.empty() && p.frames[frame].At(x, y) == p.transparent;
            return shown(p, frame).At(x, y) == kMaskColour || seeThrough;
        };
        for (auto [w, h] : {std::pair{31, 17}, {7, 5}}) {
            SCOPED_TRACE(std::string(s.name) + " at " + std::to_string(w) + "x" + std::to_string(h));
            const PictureFile after = Read(*ScalePictureFile(s.file, w, h));
            std::set<std::uint32_t> colours;
            for (std::size_t f = 0; f < std::max<std::size_t>(1, after.frames.size()); ++f)
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const int sx = (2 * x + 1) * before.width / (2 * w), sy = (2 * y + 1) * before.height / (2 * h);
                        ASSERT_EQ(cut(after, x, y, f), cut(before, sx, sy, f)) << x << "," << y;
                        const Rgb c = shown(after, f).At(x, y);
                        colours.insert(c.r << 16 | c.g << 8 | c.b);
                    }
            if (std::string(s.name).find("outline") != std::string::npos) EXPECT_EQ(colours.size(), 2u);
        }
    }
}

TEST(PictureScaling, ColoursAreAveragedOverTheAreaThenPutOnThePalette) {
    const Palette grey = {{0, 0, 0}, {255, 255, 255}, {120, 120, 120}, {250, 10, 10}, kMaskColour};
    const IndexedImage checker{2, 2, {0, 1, 1, 0}};
    // A pixel kept beside the cut-away parts takes no grey from them.
    const IndexedImage edge{2, 2, {4, 4, 4, 3}};
    struct Row {
        std::string file;
        Rgb expected;
    } rows[] = {{Str(EncodeBmp24(Expand(checker, grey))), {128, 128, 128}},
                {Str(EncodeGif(checker, grey)), {120, 120, 120}},
                {Str(EncodeBmp24(Expand(edge, grey))), {250, 10, 10}},
                {Str(EncodeGif(edge, grey)), {250, 10, 10}}};
    for (const Row& r : rows) {
        const PictureFile p = Read(*ScalePictureFile(r.file, 1, 1));
        EXPECT_EQ(p.palette.empty() ? p.colours.At(0, 0) : p.palette[p.frames[0].At(0, 0)], r.expected);
    }
}

// Broken files give nothing and never a read past their end: cut short
// anywhere before the data they cannot do without, or with bytes changed.
TEST(PictureScaling, BrokenFilesGiveNothing) {
    for (const Sampled& s : Samples()) {
        SCOPED_TRACE(s.name);
        // A GIF needs no trailer, a clip no index after its frames.
        const std::size_t needed = s.file.size() - (s.file[0] == 'G' ? 1 : s.file[0] == 'R' ? 8 + 16 * 2 : 0);
        for (std::size_t n = 0; n < needed; ++n) ASSERT_FALSE(ScalePictureFile(s.file.substr(0, n), 9, 9)) << n;
        std::mt19937 rng(7);
        for (int i = 0; i < 300; ++i) {
            std::string bent = s.file;
            for (int k = 0; k < 3; ++k) bent[rng() % bent.size()] = char(rng());
            if (const auto out = ScalePictureFile(bent, 9, 4)) EXPECT_EQ(Read(*out).width, 9);
        }
    }
    EXPECT_FALSE(ScalePictureFile("plain text, no picture", 9, 9));
    EXPECT_FALSE(ScalePictureFile(Samples()[0].file, 0, 9));
}

}  // namespace
