#include "tools/assetgen/Frames.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

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

// Depth of every inside pixel below the outline. A union of distance
// functions tells the depth well only near its edge (inside a puff it
// measures from the puff's own rim), so the depth is also bounded by the
// distance to the nearest cut-away pixel; the picture's border counts as
// cut away, since the window ends there.
std::vector<double> Depths(const std::vector<double>& sdf, int w, int h) {
    constexpr int kReach = 16;
    std::vector<double> depth(sdf.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * w + x;
            if (sdf[i] > 0) continue;
            double nearest = std::min({x + 1, y + 1, w - x, h - y, kReach}) - 0.5;
            for (int dy = -kReach; dy <= kReach; ++dy)
                for (int dx = -kReach; dx <= kReach; ++dx) {
                    const int qx = x + dx, qy = y + dy;
                    if (qx < 0 || qy < 0 || qx >= w || qy >= h) continue;
                    if (sdf[std::size_t(qy) * w + qx] > 0)
                        nearest = std::min(nearest, std::sqrt(double(dx * dx + dy * dy)) - 0.5);
                }
            depth[i] = std::min(-sdf[i], nearest);
        }
    return depth;
}

BalloonFrame Build(const FrameStyle& s) {
    BalloonFrame f;
    f.name = s.name;
    for (std::size_t k = 0; k < kCorners.size(); ++k) {
        const Corner corner = kCorners[k];
        std::vector<double> sdf(std::size_t(kBalloonWidth) * kBalloonHeight);
        for (int y = 0; y < kBalloonHeight; ++y)
            for (int x = 0; x < kBalloonWidth; ++x)
                sdf[std::size_t(y) * kBalloonWidth + x] =
                    s.distance(Unmirror({x + 0.5, y + 0.5}, corner), IsUp(corner));
        const std::vector<double> depth = Depths(sdf, kBalloonWidth, kBalloonHeight);
        Canvas c(kBalloonWidth, kBalloonHeight);
        for (int y = 0; y < kBalloonHeight; ++y)
            for (int x = 0; x < kBalloonWidth; ++x) {
                const std::size_t i = std::size_t(y) * kBalloonWidth + x;
                if (sdf[i] > 0) continue;  // cut away: the outline's edge is a pixel edge
                const Colour inside = s.inner ? s.inner(s.fill, depth[i]) : s.fill;
                const double t = SmoothStep(s.outlineWidth - 0.6, s.outlineWidth + 0.6, depth[i]);
                c.At(x, y) = Mix(s.outline, inside, float(t));
            }
        const Image drawn = c.ToImage();
        Image picture(kBalloonWidth, kBalloonHeight, kMaskColour);
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

BalloonFrame BuildEllip01() {
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
    return Build(s);
}

BalloonFrame BuildCloud01() {
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
    return Build(s);
}

std::vector<BalloonFrame> BuildFrames() { return {BuildEllip01(), BuildCloud01()}; }

}  // namespace assetgen
