#include "tools/assetgen/Icon.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// Coverage of a pixel by a shape given as a signed distance (negative
// inside), with one pixel of soft edge.
float Coverage(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

float RoundedSquare(float x, float y, float half, float radius) {
    const float qx = std::fabs(x) - (half - radius), qy = std::fabs(y) - (half - radius);
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// Distance from (x, y) to the segment from the origin to (ex, ey), minus half the width.
float Hand(float x, float y, float ex, float ey, float width) {
    const float t = std::clamp((x * ex + y * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
    return std::hypot(x - t * ex, y - t * ey) - width / 2;
}

}  // namespace

IconImage DrawIcon(int size) {
    const Colour tile = Colour::Of(28, 92, 112), tileEdge = Colour::Of(14, 48, 62);
    const Colour face = Colour::Of(246, 250, 252), ink = Colour::Of(24, 40, 56), amber = Colour::Of(236, 150, 40);
    Canvas canvas(size, size);
    std::vector<float> cover(std::size_t(size) * size, 0.0f);
    const float s = float(size), c = s / 2, half = s / 2 - 0.5f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float px = x + 0.5f - c, py = y + 0.5f - c;
            const float tileDistance = RoundedSquare(px, py, half, s * 0.2f);
            cover[std::size_t(y) * size + x] = Coverage(tileDistance);
            canvas.At(x, y) = Mix(tile, tileEdge, Coverage(tileDistance + std::max(1.0f, s / 24)) < 1 ? 1.0f : 0.0f);
            const float faceDistance = std::hypot(px, py) - s * 0.36f;
            canvas.Blend(x, y, face, Coverage(faceDistance));
            // Ten past ten: the hour hand short and dark, the minute hand long.
            canvas.Blend(x, y, ink, Coverage(Hand(px, py, -s * 0.16f, -s * 0.09f, std::max(2.2f, s / 11))));
            canvas.Blend(x, y, ink, Coverage(Hand(px, py, s * 0.2f, -s * 0.22f, std::max(1.8f, s / 16))));
            canvas.Blend(x, y, amber, Coverage(std::hypot(px, py) - std::max(1.0f, s / 16)));
        }
    IconImage icon;
    icon.size = size;
    icon.colour = canvas.ToImage();
    icon.alpha.resize(cover.size());
    std::transform(cover.begin(), cover.end(), icon.alpha.begin(),
                   [](float a) { return std::uint8_t(std::lround(a * 255)); });
    return icon;
}

Bytes EncodeIco(const std::vector<IconImage>& images) {
    ByteWriter w;
    w.U16(0), w.U16(1), w.U16(unsigned(images.size()));  // ICONDIR: reserved, type icon, count
    std::vector<Bytes> bodies;
    for (const IconImage& icon : images) {
        ByteWriter b;
        const int n = icon.size;
        const int maskStride = ((n + 31) / 32) * 4;
        // BITMAPINFOHEADER; the height counts the colour rows and the mask rows.
        b.U32(40), b.I32(n), b.I32(2 * n), b.U16(1), b.U16(32), b.U32(0);
        b.U32(std::uint32_t(n * n * 4 + maskStride * n)), b.I32(0), b.I32(0), b.U32(0), b.U32(0);
        for (int y = n - 1; y >= 0; --y)  // bottom-up, BGRA
            for (int x = 0; x < n; ++x) {
                const Rgb& p = icon.colour.At(x, y);
                b.U8(p.b), b.U8(p.g), b.U8(p.r), b.U8(icon.alpha[std::size_t(y) * n + x]);
            }
        for (int y = n - 1; y >= 0; --y) {  // AND mask: 1 where transparent
            std::vector<std::uint8_t> row(std::size_t(maskStride), 0);
            for (int x = 0; x < n; ++x)
                if (icon.alpha[std::size_t(y) * n + x] < 128) row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
            for (std::uint8_t v : row) b.U8(v);
        }
        bodies.push_back(std::move(b.out));
    }
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {  // ICONDIRENTRY
        const int n = images[i].size;
        w.U8(n >= 256 ? 0 : unsigned(n)), w.U8(n >= 256 ? 0 : unsigned(n)), w.U8(0), w.U8(0);
        w.U16(1), w.U16(32), w.U32(std::uint32_t(bodies[i].size())), w.U32(offset);
        offset += std::uint32_t(bodies[i].size());
    }
    for (const Bytes& body : bodies) w.Append(body);
    return w.out;
}

}  // namespace assetgen
