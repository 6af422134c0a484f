// The local wall-clock time.
#pragma once

namespace morix::platform {

struct LocalTime {
    int year = 0, month = 0, day = 0;       // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0;   // hour 0..23
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

}  // namespace morix::platform
