// Plain geometry in screen pixels, and the handle of another program's window.
#pragma once

#include <cstdint>

namespace morix::platform {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A top-level window of any program, as the system numbers it (stored in the
// settings file as a decimal number). 0 is no window.
using WindowHandle = std::int64_t;

}  // namespace morix::platform
