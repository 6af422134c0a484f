// Implements platform::Clock with GetLocalTime: the wall-clock time of the
// system's time zone, daylight saving included.
#pragma once

#include "platform/Clock.h"

namespace morix::platform::win32 {

class Win32Clock final : public Clock {
public:
    LocalTime Now() const override;
};

}  // namespace morix::platform::win32
