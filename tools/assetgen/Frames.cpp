#include "tools/assetgen/Frames.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

#include "base/Scale.h"
#include "tools/assetgen/Shapes.h"

namespace assetgen {

namespace {

bool IsLeft(Corner c) { return c == Corner::LU || c == Corner::LD; }
bool IsUp(Corner c) { return c == Corner::LU || c == Corner::RU; }

// Shapes are described for a balloon right of the clock (tail on the left);
// the left-hand pictures are their mirror images.
Point Unmirror(Point p, Corner c) { return IsLeft(c) ? Point{kBalloonWidth - p.x, p.y} : p; }

struct FrameStyle {
    std::string name;
    std::function<double(Point, bool up)> distance;  // signed, right-hand layout
    Colour outline, fill;
    double outlineWidth = 2;
    std::function<Colour(Colour fill, double depth)> inner;  // shading of the inside
};

// Squared distances along one row or column to the nearest zero of f (f is
// 0 at cut-away pixels, huge elsewhere): the lower envelope of parabolas.
void SquaredDistances1D(std::vector<double>& f, std::vector<int>& v, std::vector<double>& z) {
    const int n = int(f.size());
    const double inf = std::numeric_limits<double>::infinity();
    const auto cross = [&](int q, int p) { return ((f[q] + q * q) - (f[p] + p * p)) / (2.0 * q - 2.0 * p); };
    int k = 0;
    v[0] = 0, z[0] = -inf, z[1] = inf;
    for (int q = 1; q < n; ++q) {
        double s = cross(q, v[k]);
        while (s <= z[k]) s = cross(q, v[--k]);
        ++k, v[k] = q, z[k] = s, z[k + 1] = inf;
    }
    std::vector<double> d(f.size());
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        d[q] = double(q - v[k]) * (q - v[k]) + f[v[k]];
    }
    f = std::move(d);
}

// Depth of every inside pixel below the outline, in pixels. A union of
// distance functions tells the depth well only near its edge (inside a puff
// it measures from the puff's own rim), so the depth is also bounded by the
// distance to the nearest cut-away pixel, up to `reach`; the picture's
// border counts as cut away, since the window ends there.
std::vector<double> Depths(const std::vector<double>& sdf, int w, int h, double reach) {
    constexpr double kFar = 1e12;  // beyond any picture, still exact in sums
    std::vector<double> d2(sdf.size());
    for (std::size_t i = 0; i < sdf.size(); ++i) d2[i] = sdf[i] > 0 ? 0 : kFar;
    std::vector<int> v(std::size_t(std::max(w, h)));
    std::vector<double> z(std::size_t(std::max(w, h)) + 1), line;
    for (int x = 0; x < w; ++x) {
        line.resize(std::size_t(h));
        for (int y = 0; y < h; ++y) line[y] = d2[std::size_t(y) * w + x];
        SquaredDistances1D(line, v, z);
        for (int y = 0; y < h; ++y) d2[std::size_t(y) * w + x] = line[y];
    }
    for (int y = 0; y < h; ++y) {
        line.assign(d2.begin() + long(y) * w, d2.begin() + long(y + 1) * w);
        SquaredDistances1D(line, v, z);
        std::copy(line.begin(), line.end(), d2.begin() + long(y) * w);
    }
    std::vector<double> depth(sdf.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * w + x;
            if (sdf[i] > 0) continue;
            const double border = std::min({double(std::min({x + 1, y + 1, w - x, h - y})), reach});
            depth[i] = std::min(-sdf[i], std::min(border, std::sqrt(d2[i])) - 0.5);
        }
    return depth;
}

// The shapes are in balloon pixels at 100 %; at another scale each pixel's
// centre is looked up there, and distances come back in the scale's pixels,
// so the outline keeps one pixel of soft edge and grows thicker, not blurred.
BalloonFrame Build(const FrameStyle& s, int percent) {
    BalloonFrame f;
    f.name = s.name;
    f.percent = percent;
    const double scale = percent / 100.0;
    const int w = morix::ScaledPixels(kBalloonWidth, percent), h = morix::ScaledPixels(kBalloonHeight, percent);
    for (std::size_t k = 0; k < kCorners.size(); ++k) {
        const Corner corner = kCorners[k];
        std::vector<double> sdf(std::size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Point p{(x + 0.5) / scale, (y + 0.5) / scale};
                double& d = sdf[std::size_t(y) * w + x];
                d = s.distance(Unmirror(p, corner), IsUp(corner)) * scale;
                // The controls' rounded places reach up to half a pixel past
                // their places at 100 %; an outline that passes close by
                // bends around them rather than cut into a control.
                for (const Area& a : kBalloonControls)
                    if (std::abs(p.x - (a.left + a.width / 2.0)) < a.width / 2.0 + 0.5 &&
                        std::abs(p.y - (a.top + a.height / 2.0)) < a.height / 2.0 + 0.5)
                        d = std::min(d, 0.0);
            }
        const std::vector<double> depth = Depths(sdf, w, h, 16 * scale);
        Canvas c(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::size_t i = std::size_t(y) * w + x;
                if (sdf[i] > 0) continue;  // cut away: the outline's edge is a pixel edge
                const double inward = depth[i] / scale;  // balloon pixels at 100 %
                const Colour inside = s.inner ? s.inner(s.fill, inward) : s.fill;
                const double t = SmoothStep(s.outlineWidth - 0.6 / scale, s.outlineWidth + 0.6 / scale, inward);
                c.At(x, y) = Mix(s.outline, inside, float(t));
            }
        const Image drawn = c.ToImage();
        Image picture(w, h, kMaskColour);
        for (std::size_t i = 0; i < sdf.size(); ++i)
            if (sdf[i] <= 0) picture.pixels[i] = drawn.pixels[i];
        f.palettes[k] = BuildPalette({&picture}, 256, {kMaskColour}, {kMaskColour});
        f.indexed[k] = MapToPalette(picture, f.palettes[k], 1);
        f.pictures[k] = Expand(f.indexed[k], f.palettes[k]);
    }
    return f;
}

// A horn: a curve from a to b through the pull of `control`, as wide as
// r0 at a and r1 at b.
double HornDistance(Point p, Point a, Point control, Point b, double r0, double r1) {
    const Polyline curve = QuadraticBezier(a, control, b, 24);
    double best = 1e9;
    for (std::size_t i = 1; i < curve.size(); ++i) {
        const Point u = curve[i - 1], v = curve[i];
        const double vx = v.x - u.x, vy = v.y - u.y, len2 = vx * vx + vy * vy;
        const double t = std::clamp(((p.x - u.x) * vx + (p.y - u.y) * vy) / len2, 0.0, 1.0);
        const double along = (double(i - 1) + t) / double(curve.size() - 1);
        const double r = r0 + (r1 - r0) * along;
        best = std::min(best, std::hypot(p.x - u.x - t * vx, p.y - u.y - t * vy) - r);
    }
    return best;
}

Point TipPoint(bool up) {
    const TipPosition t = Tip(up ? Corner::RU : Corner::RD);
    return {t.x + 0.5, t.y + 0.5};
}

}  // namespace

const char* PictureName(Corner c) {
    switch (c) {
        case Corner::LU: return "MsgLU.gif";
        case Corner::LD: return "MsgLD.gif";
        case Corner::RU: return "MsgRU.gif";
        case Corner::RD: return "MsgRD.gif";
    }
    return "";
}

TipPosition Tip(Corner c) {
    // The clock covers the rows 0..21 beside a level balloon and the rows
    // 120..139 beside a raised one; the tip points at the middle of that.
    const int y = IsUp(c) ? 129 : 9;
    return {IsLeft(c) ? kBalloonWidth - 2 : 1, y};
}

BalloonFrame BuildEllip01(int percent) {
    FrameStyle s;
    s.name = "Ellip01";
    const Point centre{140, 72};
    const double rx = 122, ry = 64;
    s.distance = [=](Point p, bool up) {
        const double body = EllipseDistance(p, centre, rx, ry);
        const Point tip = TipPoint(up);
        // The tail grows out of the body towards the clock, bending a little
        // as a spoken word's tail does.
        const double sy = up ? -1 : 1;
        const Point root{58, centre.y - sy * 26}, bend{26, tip.y + sy * 16};
        const double tail = HornDistance(p, root, bend, tip, 17, 1.0);
        return SmoothUnion(body, tail, 6);
    };
    s.outline = Colour::Of(40, 48, 66);
    s.fill = Colour::Of(255, 255, 255);
    s.outlineWidth = 2.3;
    s.inner = [](Colour fill, double depth) {
        // a faint grey-blue line just inside the outline softens the edge
        const double band = std::exp(-std::pow((depth - 3.4) / 0.9, 2));
        return Mix(fill, Colour::Of(206, 214, 228), float(0.6 * band));
    };
    return Build(s, percent);
}

BalloonFrame BuildCloud01(int percent) {
    FrameStyle s;
    s.name = "Cloud01";
    const Point centre{143, 72};
    s.distance = [=](Point p, bool up) {
        double d = RoundedBoxDistance(p, centre, 102, 48, 34);
        // Puffs along the rim of the core.
        const int puffs = 22;
        for (int i = 0; i < puffs; ++i) {
            const double a = 2 * std::numbers::pi * (i + 0.5) / puffs;
            const Point q{centre.x + 100 * std::cos(a), centre.y + 46 * std::sin(a)};
            const double r = 18 + 2 * std::cos(3.0 * i);
            d = SmoothUnion(d, CircleDistance(p, q, r), 3);
        }
        // Thought bubbles towards the clock, smallest next to it.
        const Point tip = TipPoint(up);
        const double sy = up ? -1 : 1;
        const Point b1{tip.x + 4.5, tip.y + sy * 1.5}, b2{tip.x + 15, tip.y + sy * 9}, b3{tip.x + 30, tip.y + sy * 19};
        d = std::min({d, CircleDistance(p, b1, 3.5), CircleDistance(p, b2, 5.5), CircleDistance(p, b3, 8)});
        return d;
    };
    s.outline = Colour::Of(74, 132, 204);
    s.fill = Colour::Of(255, 255, 255);
    s.outlineWidth = 2;
    s.inner = [](Colour fill, double depth) {
        // sky-blue haze near the rim, white where the text sits
        return Mix(Colour::Of(206, 226, 250), fill, float(SmoothStep(2.5, 8, depth)));
    };
    return Build(s, percent);
}

std::vector<BalloonFrame> BuildFrames(int percent) { return {BuildEllip01(percent), BuildCloud01(percent)}; }

}  // namespace assetgen
