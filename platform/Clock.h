// The local wall-clock time, setting the system's date and time, and the
// time since the system started.
#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <functional>

namespace morix::platform {

struct TimeRequest;

struct LocalTime {
    int year = 0, month = 0, day = 0;       // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0;   // hour 0..23
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

enum class SetTimeResult {
    Done,
    Denied,      // the user lacks the right to change the system time
    Failed,      // any other refusal (a date the system does not take, ...)
    Declined,    // the user said no to the system's elevation prompt
    NotStarted,  // the helper that sets the time could not be started
};

struct SetTimeOutcome {
    SetTimeResult result = SetTimeResult::Done;
    std::uint32_t error = 0;  // the system's error code behind it; 0 when none
    friend bool operator==(const SetTimeOutcome&, const SetTimeOutcome&) = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    // Sets the system's local date, keeping the time of day.
    virtual SetTimeResult SetDate(int year, int month, int day) = 0;
    // Sets the system's local time of day, keeping the date.
    virtual SetTimeResult SetTimeOfDay(int hour, int minute, int second) = 0;
    // Whether this process holds the system's right to change the date and
    // time. On today's Windows only an elevated administrator's does; an
    // everyday token, an administrator's too, has it taken out.
    virtual bool HoldsTimeRight() const = 0;
    // Sets the local date and time through a helper the system starts with
    // an administrator's rights once the user consents in its prompt
    // (`owner` is the window the prompt belongs to). Returns at once; `done`
    // runs later on the user-interface thread, through the event guard,
    // with how it ended. `request.chosenAtMs` is TickCountMs() at the
    // user's choice: the helper adds the time the prompt stood.
    virtual void SetAsAdministrator(const TimeRequest& request, WindowHandle owner,
                                    std::function<void(SetTimeOutcome)> done) = 0;
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
