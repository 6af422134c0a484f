// The one place where the program's twips meet the platform's pixels, and
// where the pixel sizes the program is drawn in meet the display's scale.
#pragma once

#include "base/Geometry.h"

namespace morix {

// Dots per inch of an unscaled display: the pixel sizes of the clock, its
// balloons and dialogs are given for it.
inline constexpr int UnscaledDpi = 96;

namespace detail {
// numerator / denominator to the nearest whole number, halves away from zero.
inline long long RoundedQuotient(long long numerator, long long denominator) {
    const long long half = denominator / 2;
    return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}
}  // namespace detail

// Twips per pixel: 1440 ÷ the display's dots per inch, held as the dots per
// inch themselves so that 7.5 at 192 dpi is kept exact. A twip is the finer
// unit: pixels to twips and back gives the same pixels at every scale.
class TwipsPerPixel {
public:
    constexpr explicit TwipsPerPixel(int dpi = UnscaledDpi) : dpi_(dpi > 0 ? dpi : UnscaledDpi) {}
    constexpr int Dpi() const { return dpi_; }
    long long Twips(long long pixels) const { return detail::RoundedQuotient(pixels * 1440, dpi_); }
    int Pixels(long long twips) const { return static_cast<int>(detail::RoundedQuotient(twips * dpi_, 1440)); }
    // A size given in unscaled pixels (the 66 x 22 face, the 280 x 140
    // balloon) in this display's pixels.
    int Scaled(int unscaledPixels) const {
        return static_cast<int>(detail::RoundedQuotient(static_cast<long long>(unscaledPixels) * dpi_, UnscaledDpi));
    }
    Rect Scaled(const Rect& unscaled) const {
        const int left = Scaled(unscaled.left), top = Scaled(unscaled.top);
        return {left, top, left + Scaled(unscaled.Width()), top + Scaled(unscaled.Height())};
    }
    friend bool operator==(const TwipsPerPixel&, const TwipsPerPixel&) = default;

private:
    int dpi_;
};

// Positions on the screen (a home, where the clock was put) are twips of the
// screen's own pixels at a fixed 15 twips a pixel, whatever the display's
// scale: a stored place is the same pixel at the next start at any scale, and
// files written on an unscaled display keep their meaning. Only sizes follow
// the scale.
inline constexpr TwipsPerPixel ScreenTwipsPerPixel{UnscaledDpi};

inline int TwipsToPixels(long long twips, TwipsPerPixel scale) { return scale.Pixels(twips); }
inline long long PixelsToTwips(long long pixels, TwipsPerPixel scale) { return scale.Twips(pixels); }

// A control's place given in twips (left, top, width, height) as the pixel
// rectangle the platform takes: each of the four rounded on its own, so that
// a control is as wide as its width says wherever it stands.
inline Rect PixelRect(long long left, long long top, long long width, long long height, TwipsPerPixel x,
                      TwipsPerPixel y) {
    const int l = x.Pixels(left), t = y.Pixels(top);
    return {l, t, l + x.Pixels(width), t + y.Pixels(height)};
}

// A pixel rectangle (a screen, another window) in twips.
inline TwipsRect TwipsOf(const Rect& r, TwipsPerPixel x, TwipsPerPixel y) {
    return {x.Twips(r.left), y.Twips(r.top), x.Twips(r.right), y.Twips(r.bottom)};
}

}  // namespace morix
