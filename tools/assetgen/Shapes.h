// Geometry for drawing at small sizes: signed distances (negative inside),
// polylines for strokes, and coverage from a distance for anti-aliasing.
#pragma once

#include <vector>

namespace assetgen {

struct Point {
    double x = 0, y = 0;
};

using Polyline = std::vector<Point>;

// Distance from p to the nearest segment of the polylines.
double DistanceToStrokes(Point p, const std::vector<Polyline>& strokes);

// Points along an elliptic arc; angles in degrees, 0 = right, 90 = down
// (screen coordinates), from a0 to a1 in the direction of increasing angle.
Polyline Arc(Point centre, double rx, double ry, double a0, double a1, int steps = 24);
Polyline QuadraticBezier(Point a, Point control, Point b, int steps = 16);

double RoundedBoxDistance(Point p, Point centre, double halfWidth, double halfHeight, double radius);
double EllipseDistance(Point p, Point centre, double rx, double ry);
double TriangleDistance(Point p, Point a, Point b, Point c);
double CircleDistance(Point p, Point centre, double r);

// Union that rounds the joint over about k pixels.
double SmoothUnion(double a, double b, double k);

// Coverage of a pixel whose centre lies at signed distance d from an edge.
double CoverageFromDistance(double d);

double Clamp01(double v);
double SmoothStep(double e0, double e1, double x);

}  // namespace assetgen
