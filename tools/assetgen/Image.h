// Pictures as the generator draws them: float colours on a canvas while
// drawing, then the picture files' own 8-bit RGB, and palette-indexed for the
// formats that want a palette (AVI frames, GIF). One palette can serve many pictures, so
// a clip and the face behind it map the same colour to the same entry.
#pragma once

#include <cstdint>
#include <vector>

#include "face/picture/Pixels.h"

namespace assetgen {

namespace picture = morix::picture;

using picture::Expand;
using picture::Image;
using picture::IndexedImage;
using picture::kMaskColour;
using picture::Palette;
using picture::Rgb;

struct Colour {
    float r = 0, g = 0, b = 0;
    static Colour Of(int r, int g, int b) { return {float(r), float(g), float(b)}; }
};

Colour Mix(Colour a, Colour b, float t);  // t = 0 gives a, 1 gives b

class Canvas {
public:
    Canvas(int w, int h, Colour fill = {});
    int Width() const { return width_; }
    int Height() const { return height_; }
    Colour& At(int x, int y) { return px_[std::size_t(y) * width_ + x]; }
    const Colour& At(int x, int y) const { return px_[std::size_t(y) * width_ + x]; }
    // Lays colour c over the pixel with coverage a (0..1); outside is ignored.
    void Blend(int x, int y, Colour c, float a);
    Image ToImage() const;

private:
    int width_, height_;
    std::vector<Colour> px_;
};

// A palette of at most maxColours entries for all the pictures together.
// Every colour of `exact` gets an entry of its own and keeps it unchanged;
// when the pictures hold no more colours than fit, every colour is kept.
// No entry apart from those of `exact` equals a colour in `avoid`.
Palette BuildPalette(const std::vector<const Image*>& pictures, int maxColours,
                     const std::vector<Rgb>& exact = {}, const std::vector<Rgb>& avoid = {});

// Each pixel to its nearest palette entry. The first `exactOnly` entries take
// only pixels of exactly their colour (a mask colour must never swallow a
// pixel that merely comes close to it).
IndexedImage MapToPalette(const Image& picture, const Palette& palette, std::size_t exactOnly = 0);

}  // namespace assetgen
