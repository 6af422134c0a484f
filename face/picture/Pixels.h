// Pictures as the picture files hold them: 8-bit RGB, or indices into a
// palette of at most 256 entries, rows top to bottom.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morix::picture {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour that outline pictures use for their cut-away parts: the
// platform's mask colour, RGB(192,192,192).
inline constexpr Rgb kMaskColour{192, 192, 192};

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Rgb& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    friend bool operator==(const Image&, const Image&) = default;
};

using Palette = std::vector<Rgb>;

struct IndexedImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    std::uint8_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    friend bool operator==(const IndexedImage&, const IndexedImage&) = default;
};

// The picture an indexed image stands for.
inline Image Expand(const IndexedImage& indexed, const Palette& palette) {
    Image out(indexed.width, indexed.height);
    for (std::size_t i = 0; i < indexed.pixels.size(); ++i) out.pixels[i] = palette.at(indexed.pixels[i]);
    return out;
}

}  // namespace morix::picture
