// The local wall-clock time, setting the system's date and time, and the
// time since the system started.
#pragma once

#include <cstdint>

namespace morix::platform {

struct LocalTime {
    int year = 0, month = 0, day = 0;       // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0;   // hour 0..23
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

enum class SetTimeResult {
    Done,
    Denied,  // the user lacks the right to change the system time
    Failed,  // any other refusal (a date the system does not take, ...)
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    // Sets the system's local date, keeping the time of day.
    virtual SetTimeResult SetDate(int year, int month, int day) = 0;
    // Sets the system's local time of day, keeping the date.
    virtual SetTimeResult SetTimeOfDay(int hour, int minute, int second) = 0;
    // Milliseconds since the system started. It never goes back and does not
    // move with the date or time set, so it tells how long ago something was.
    virtual std::uint64_t TickCountMs() const = 0;
    // Lets about `ms` milliseconds pass on the user-interface thread while
    // the program's windows go on painting and answering the system; input
    // and timer messages wait in the queue, so no handler of the program
    // runs meanwhile.
    virtual void Pause(unsigned ms) = 0;
};

}  // namespace morix::platform
