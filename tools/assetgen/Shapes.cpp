#include "tools/assetgen/Shapes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace assetgen {

namespace {

double SegmentDistance(Point p, Point a, Point b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double wx = p.x - a.x, wy = p.y - a.y;
    const double len2 = vx * vx + vy * vy;
    const double t = len2 > 0 ? std::clamp((wx * vx + wy * vy) / len2, 0.0, 1.0) : 0.0;
    const double dx = wx - t * vx, dy = wy - t * vy;
    return std::sqrt(dx * dx + dy * dy);
}

double Cross(Point o, Point a, Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

}  // namespace

double DistanceToStrokes(Point p, const std::vector<Polyline>& strokes) {
    double best = std::numeric_limits<double>::infinity();
    for (const auto& s : strokes) {
        if (s.size() == 1) best = std::min(best, SegmentDistance(p, s[0], s[0]));
        for (std::size_t i = 1; i < s.size(); ++i) best = std::min(best, SegmentDistance(p, s[i - 1], s[i]));
    }
    return best;
}

Polyline Arc(Point c, double rx, double ry, double a0, double a1, int steps) {
    Polyline out;
    for (int i = 0; i <= steps; ++i) {
        const double a = (a0 + (a1 - a0) * i / steps) * std::numbers::pi / 180.0;
        out.push_back({c.x + rx * std::cos(a), c.y + ry * std::sin(a)});
    }
    return out;
}

Polyline QuadraticBezier(Point a, Point c, Point b, int steps) {
    Polyline out;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps, u = 1 - t;
        out.push_back({u * u * a.x + 2 * u * t * c.x + t * t * b.x, u * u * a.y + 2 * u * t * c.y + t * t * b.y});
    }
    return out;
}

double RoundedBoxDistance(Point p, Point c, double hw, double hh, double r) {
    const double qx = std::abs(p.x - c.x) - (hw - r), qy = std::abs(p.y - c.y) - (hh - r);
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

double EllipseDistance(Point p, Point c, double rx, double ry) {
    // First-order distance: the implicit function over its gradient's length;
    // close to exact near the outline, which is where it is used.
    const double x = (p.x - c.x), y = (p.y - c.y);
    const double f = x * x / (rx * rx) + y * y / (ry * ry) - 1;
    const double gx = 2 * x / (rx * rx), gy = 2 * y / (ry * ry);
    const double g = std::sqrt(gx * gx + gy * gy);
    return g > 1e-9 ? f / g : -std::min(rx, ry);
}

double TriangleDistance(Point p, Point a, Point b, Point c) {
    const double d = std::min({SegmentDistance(p, a, b), SegmentDistance(p, b, c), SegmentDistance(p, c, a)});
    const double s1 = Cross(a, b, p), s2 = Cross(b, c, p), s3 = Cross(c, a, p);
    const bool inside = (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
    return inside ? -d : d;
}

double CircleDistance(Point p, Point c, double r) { return std::hypot(p.x - c.x, p.y - c.y) - r; }

double SmoothUnion(double a, double b, double k) {
    const double h = std::clamp(0.5 + 0.5 * (b - a) / k, 0.0, 1.0);
    return b + (a - b) * h - k * h * (1 - h);
}

double CoverageFromDistance(double d) { return std::clamp(0.5 - d, 0.0, 1.0); }

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double SmoothStep(double e0, double e1, double x) {
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

}  // namespace assetgen
