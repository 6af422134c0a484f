// Geometry as the platform speaks it (screen pixels), and the handle of
// another program's window.
#pragma once

#include "base/Geometry.h"

#include <cstdint>

namespace morix::platform {

using morix::Point;
using morix::Rect;

// A top-level window of any program, as the system numbers it (stored in the
// settings file as a decimal number). 0 is no window.
using WindowHandle = std::int64_t;

}  // namespace morix::platform
