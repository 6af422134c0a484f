#include "tools/assetgen/Image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <unordered_map>

namespace assetgen {

namespace {

std::uint8_t ToByte(float v) {
    return std::uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

std::uint32_t Key(Rgb c) { return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b; }
Rgb FromKey(std::uint32_t k) { return {std::uint8_t(k >> 16), std::uint8_t(k >> 8), std::uint8_t(k)}; }

int Distance2(Rgb a, Rgb b) {
    // Weighted towards green, as the eye is; enough for picking entries.
    const int dr = int(a.r) - b.r, dg = int(a.g) - b.g, db = int(a.b) - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

struct Weighted {
    Rgb colour;
    double weight;
};

struct Box {
    std::vector<Weighted> items;
    double Weight() const {
        double w = 0;
        for (auto& i : items) w += i.weight;
        return w;
    }
    // The channel with the widest weighted spread, and that spread.
    std::pair<int, double> Spread() const {
        std::array<double, 3> mean{}, var{};
        double total = 0;
        for (auto& i : items) {
            const double c[3] = {double(i.colour.r), double(i.colour.g), double(i.colour.b)};
            for (int k = 0; k < 3; ++k) mean[k] += c[k] * i.weight;
            total += i.weight;
        }
        for (int k = 0; k < 3; ++k) mean[k] /= total;
        for (auto& i : items) {
            const double c[3] = {double(i.colour.r), double(i.colour.g), double(i.colour.b)};
            for (int k = 0; k < 3; ++k) var[k] += (c[k] - mean[k]) * (c[k] - mean[k]) * i.weight;
        }
        const double scale[3] = {3, 4, 2};
        int best = 0;
        for (int k = 1; k < 3; ++k)
            if (var[k] * scale[k] > var[best] * scale[best]) best = k;
        return {best, var[best] * scale[best]};
    }
};

std::uint8_t Channel(Rgb c, int k) { return k == 0 ? c.r : k == 1 ? c.g : c.b; }

Rgb Mean(const std::vector<Weighted>& items) {
    double r = 0, g = 0, b = 0, w = 0;
    for (auto& i : items) {
        r += i.colour.r * i.weight;
        g += i.colour.g * i.weight;
        b += i.colour.b * i.weight;
        w += i.weight;
    }
    return {ToByte(float(r / w)), ToByte(float(g / w)), ToByte(float(b / w))};
}

std::size_t Nearest(Rgb c, const Palette& palette, std::size_t from = 0) {
    std::size_t best = from;
    int bestD = Distance2(c, palette[from]);
    for (std::size_t i = from + 1; i < palette.size() && bestD != 0; ++i) {
        const int d = Distance2(c, palette[i]);
        if (d < bestD) best = i, bestD = d;
    }
    return best;
}

}  // namespace

Colour Mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Canvas::Canvas(int w, int h, Colour fill) : width_(w), height_(h), px_(std::size_t(w) * h, fill) {}

void Canvas::Blend(int x, int y, Colour c, float a) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || a <= 0) return;
    Colour& p = At(x, y);
    p = Mix(p, c, std::min(a, 1.0f));
}

Image Canvas::ToImage() const {
    Image out(width_, height_);
    for (std::size_t i = 0; i < px_.size(); ++i)
        out.pixels[i] = {ToByte(px_[i].r), ToByte(px_[i].g), ToByte(px_[i].b)};
    return out;
}

Palette BuildPalette(const std::vector<const Image*>& pictures, int maxColours,
                     const std::vector<Rgb>& exact, const std::vector<Rgb>& avoid) {
    if (maxColours < int(exact.size()) + 1 || maxColours > 256)
        throw std::invalid_argument("palette size");
    std::unordered_map<std::uint32_t, double> counts;
    for (const Image* p : pictures)
        for (Rgb c : p->pixels) counts[Key(c)] += 1;
    for (Rgb c : exact) counts.erase(Key(c));

    Palette palette(exact.begin(), exact.end());
    const int room = maxColours - int(exact.size());
    const auto forbidden = [&](Rgb c) {
        return std::find(avoid.begin(), avoid.end(), c) != avoid.end();
    };
    // A colour that must not appear moves one step away (the exact entries
    // are already in place and never pass through here).
    const auto clean = [&](Rgb c) {
        while (forbidden(c)) c = {std::uint8_t(c.r < 255 ? c.r + 1 : c.r - 1), c.g, c.b};
        return c;
    };

    if (int(counts.size()) <= room) {
        std::vector<std::uint32_t> keys;
        for (auto& [k, n] : counts) keys.push_back(k);
        std::sort(keys.begin(), keys.end());
        for (auto k : keys) palette.push_back(clean(FromKey(k)));
        if (palette.empty()) palette.push_back({});
        return palette;
    }

    // Median cut by weighted variance, then a few rounds of k-means so the
    // entries sit where the pixels are (the background gradients above all).
    std::vector<Box> boxes(1);
    for (auto& [k, n] : counts) boxes[0].items.push_back({FromKey(k), n});
    while (int(boxes.size()) < room) {
        int pick = -1;
        double widest = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].items.size() < 2) continue;
            const double s = boxes[i].Spread().second;
            if (s > widest) widest = s, pick = i;
        }
        if (pick < 0) break;
        Box& box = boxes[pick];
        const int k = box.Spread().first;
        std::sort(box.items.begin(), box.items.end(), [k](const Weighted& a, const Weighted& b) {
            return Channel(a.colour, k) < Channel(b.colour, k);
        });
        const double half = box.Weight() / 2;
        double acc = 0;
        std::size_t cut = 1;
        for (; cut < box.items.size() - 1; ++cut) {
            acc += box.items[cut - 1].weight;
            if (acc >= half) break;
        }
        Box other;
        other.items.assign(box.items.begin() + long(cut), box.items.end());
        box.items.resize(cut);
        boxes.push_back(std::move(other));
    }
    std::vector<Rgb> centres;
    for (auto& b : boxes) centres.push_back(Mean(b.items));

    std::vector<Weighted> all;
    for (auto& [k, n] : counts) all.push_back({FromKey(k), n});
    for (int round = 0; round < 6; ++round) {
        std::vector<std::array<double, 4>> sums(centres.size(), {0, 0, 0, 0});
        for (auto& w : all) {
            const std::size_t i = Nearest(w.colour, centres);
            sums[i][0] += w.colour.r * w.weight;
            sums[i][1] += w.colour.g * w.weight;
            sums[i][2] += w.colour.b * w.weight;
            sums[i][3] += w.weight;
        }
        for (std::size_t i = 0; i < centres.size(); ++i)
            if (sums[i][3] > 0)
                centres[i] = {ToByte(float(sums[i][0] / sums[i][3])), ToByte(float(sums[i][1] / sums[i][3])),
                              ToByte(float(sums[i][2] / sums[i][3]))};
    }
    for (Rgb c : centres) palette.push_back(clean(c));
    return palette;
}

IndexedImage MapToPalette(const Image& picture, const Palette& palette, std::size_t exactOnly) {
    if (exactOnly >= palette.size()) throw std::invalid_argument("palette has no free entries");
    IndexedImage out{picture.width, picture.height, std::vector<std::uint8_t>(picture.pixels.size())};
    std::unordered_map<std::uint32_t, std::uint8_t> cache;
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const Rgb c = picture.pixels[i];
        auto [it, fresh] = cache.try_emplace(Key(c), 0);
        if (fresh) {
            const auto reserved = std::find(palette.begin(), palette.begin() + long(exactOnly), c);
            it->second = reserved != palette.begin() + long(exactOnly)
                             ? std::uint8_t(reserved - palette.begin())
                             : std::uint8_t(Nearest(c, palette, exactOnly));
        }
        out.pixels[i] = it->second;
    }
    return out;
}

}  // namespace assetgen
