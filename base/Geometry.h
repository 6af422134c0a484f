// Plain geometry: rectangles and points in screen pixels, and rectangles in
// twips, the unit the program holds its own windows' places in.
#pragma once

namespace morix {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Pixels: left and top inclusive, right and bottom exclusive.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct TwipsRect {
    long long left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

}  // namespace morix
