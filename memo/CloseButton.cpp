#include "memo/CloseButton.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace morix {

namespace {

constexpr std::uint32_t Outline = 0x2B3F66;  // the balloons' outline blue
constexpr std::uint32_t Face = 0xE6EEF8;
constexpr std::uint32_t Ink = 0x24324F;
constexpr std::uint32_t Paper = 0xFFFFFF;   // the balloon's inside

// Letters of 4 x 5 pixels, rows from the top, '#' inked.
constexpr std::string_view Glyph(char c) {
    switch (c) {
    case 'C': return ".###" "#..." "#..." "#..." ".###";
    case 'L': return "#..." "#..." "#..." "#..." "####";
    case 'O': return ".##." "#..#" "#..#" "#..#" ".##.";
    case 'S': return ".###" "#..." ".##." "...#" "###.";
    case 'E': return "####" "#..." "###." "#..." "####";
    default: return "";
    }
}

}  // namespace

namespace {

std::vector<std::uint32_t> UnscaledPixels() {
    const int w = CloseButtonWidth, h = CloseButtonHeight;
    std::vector<std::uint32_t> p(static_cast<std::size_t>(w * h), Paper);
    auto at = [&](int x, int y) -> std::uint32_t& { return p[static_cast<std::size_t>(y * w + x)]; };
    // A rounded rectangle: the outline, the corners left as paper.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool corner = (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
            if (corner) continue;
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            at(x, y) = edge ? Outline : Face;
        }
    // The cross, 7 x 7 at the left.
    for (int i = 0; i < 7; ++i) {
        at(4 + i, 3 + i) = Ink;
        at(10 - i, 3 + i) = Ink;
    }
    // "CLOSE", each letter 4 wide with a gap of 1.
    int x0 = 16;
    for (char c : std::string_view("CLOSE")) {
        const std::string_view g = Glyph(c);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 4; ++x)
                if (g[static_cast<std::size_t>(y * 4 + x)] == '#') at(x0 + x, 4 + y) = Ink;
        x0 += 5;
    }
    return p;
}

}  // namespace

// Each pixel of the small picture becomes a cell of the scale, so that the
// letters and the cross stay as sharp as the pixel font they are drawn in.
std::vector<std::uint32_t> CloseButtonPixels(TwipsPerPixel scale) {
    const std::vector<std::uint32_t> unscaled = UnscaledPixels();
    const int w = scale.Scaled(CloseButtonWidth), h = scale.Scaled(CloseButtonHeight);
    std::vector<std::uint32_t> p(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int ux = std::min(x * CloseButtonWidth / w, CloseButtonWidth - 1);
            const int uy = std::min(y * CloseButtonHeight / h, CloseButtonHeight - 1);
            p[static_cast<std::size_t>(y) * w + x] = unscaled[static_cast<std::size_t>(uy) * CloseButtonWidth + ux];
        }
    return p;
}

}  // namespace morix
