#include "face/PictureScaling.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>
#include <unordered_map>

#include "face/picture/PictureFile.h"

namespace morix {

namespace {

using namespace picture;

// A picture larger than this is no window face or balloon at any scale.
constexpr int kMaxSide = 4096;

struct Tap {
    int source;
    double weight;
};

// Which source columns (or rows) each destination column takes, and how
// much: the area it covers when shrinking, its two nearest neighbours when
// enlarging (a box would only repeat pixels).
std::vector<std::vector<Tap>> Taps(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    const double ratio = double(from) / to;
    for (int d = 0; d < to; ++d) {
        if (to <= from) {
            const double a = d * ratio, b = (d + 1) * ratio;
            for (int s = int(a); s < b && s < from; ++s) {
                const double w = std::min(s + 1.0, b) - std::max(double(s), a);
                if (w > 1e-9) taps[d].push_back({s, w});
            }
        } else {
            const double u = (d + 0.5) * ratio - 0.5;
            const int s = int(std::floor(u));
            const double t = u - s;
            taps[d].push_back({std::clamp(s, 0, from - 1), 1 - t});
            taps[d].push_back({std::clamp(s + 1, 0, from - 1), t});
        }
    }
    return taps;
}

// The source pixel under a destination pixel's centre.
int NearestSource(int d, int from, int to) { return int((2LL * d + 1) * from / (2LL * to)); }

struct Resampled {
    Image colours;
    std::vector<std::size_t> nearest;  // per destination pixel, its source pixel
};

// Cut pixels travel nearest-neighbour and take no part in the averages, so
// the outline stays as sharp as drawn and no edge turns grey-ish.
Resampled Resample(const Image& src, const std::vector<bool>& cut, int width, int height) {
    const auto tx = Taps(src.width, width), ty = Taps(src.height, height);
    Resampled out{Image(width, height), std::vector<std::size_t>(std::size_t(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t i = std::size_t(y) * width + x;
            const std::size_t n = std::size_t(NearestSource(y, src.height, height)) * src.width +
                                  std::size_t(NearestSource(x, src.width, width));
            out.nearest[i] = n;
            out.colours.pixels[i] = src.pixels[n];
            if (cut[n]) continue;
            double r = 0, g = 0, b = 0, total = 0;
            for (const Tap& v : ty[y])
                for (const Tap& h : tx[x]) {
                    const std::size_t s = std::size_t(v.source) * src.width + std::size_t(h.source);
                    if (cut[s]) continue;
                    const double w = v.weight * h.weight;
                    r += src.pixels[s].r * w, g += src.pixels[s].g * w, b += src.pixels[s].b * w, total += w;
                }
            if (total == 0) continue;
            Rgb c{std::uint8_t(std::lround(r / total)), std::uint8_t(std::lround(g / total)),
                  std::uint8_t(std::lround(b / total))};
            if (c == kMaskColour) c.r = 191;  // an average that happens to be the mask colour would cut a hole
            out.colours.pixels[i] = c;
        }
    return out;
}

// The entry nearest to each colour among those that do not cut.
class PaletteMatch {
public:
    PaletteMatch(const Palette& palette, int transparent) : palette_(palette) {
        for (std::size_t i = 0; i < palette.size(); ++i)
            if (!(palette[i] == kMaskColour) && int(i) != transparent) usable_.push_back(std::uint8_t(i));
    }
    std::uint8_t operator()(Rgb c) {
        const std::uint32_t key = (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
        if (auto it = cache_.find(key); it != cache_.end()) return it->second;
        std::uint8_t best = usable_.empty() ? 0 : usable_[0];
        long bestD = -1;
        for (std::uint8_t i : usable_) {
            const long dr = long(c.r) - palette_[i].r, dg = long(c.g) - palette_[i].g, db = long(c.b) - palette_[i].b;
            const long d = dr * dr + dg * dg + db * db;
            if (bestD < 0 || d < bestD) best = i, bestD = d;
        }
        return cache_[key] = best;
    }

private:
    const Palette& palette_;
    std::vector<std::uint8_t> usable_;
    std::unordered_map<std::uint32_t, std::uint8_t> cache_;
};

IndexedImage ScaleIndexed(const IndexedImage& src, const Palette& palette, int transparent, int width, int height,
                          PaletteMatch& match) {
    std::vector<bool> cut(src.pixels.size());
    for (std::size_t i = 0; i < cut.size(); ++i)
        cut[i] = palette[src.pixels[i]] == kMaskColour || src.pixels[i] == transparent;
    const Resampled r = Resample(Expand(src, palette), cut, width, height);
    IndexedImage out{width, height, std::vector<std::uint8_t>(r.nearest.size())};
    for (std::size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = cut[r.nearest[i]] ? src.pixels[r.nearest[i]] : match(r.colours.pixels[i]);
    return out;
}

}  // namespace

std::optional<std::string> ScalePictureFile(std::string_view bytes, int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
    auto picture = ReadPictureFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!picture) return std::nullopt;
    if (picture->palette.empty()) {
        std::vector<bool> cut(picture->colours.pixels.size());
        for (std::size_t i = 0; i < cut.size(); ++i) cut[i] = picture->colours.pixels[i] == kMaskColour;
        picture->colours = Resample(picture->colours, cut, width, height).colours;
    } else {
        PaletteMatch match(picture->palette, picture->transparent);
        for (IndexedImage& frame : picture->frames)
            frame = ScaleIndexed(frame, picture->palette, picture->transparent, width, height, match);
    }
    picture->width = width, picture->height = height;
    const Bytes out = WritePictureFile(*picture);
    return std::string(out.begin(), out.end());
}

}  // namespace morix
