// The month calendar (a selected day) and the time picker (a time of day).
#pragma once

#include "platform/Clock.h"
#include "platform/Control.h"

#include <functional>
#include <vector>

namespace morix::platform {

enum class DateTimeKind {
    Calendar,          // the date of the value counts
    CalendarBoldDays,  // a calendar that draws in bold the days its owner names
    TimePicker,        // the time of day of the value counts
};

// A calendar takes at least the room its whole month needs in the system's
// font, right and down from the place it was given; Place() tells the room
// it took.
class DateTimeControl : public ControlBase {
public:
    virtual DateTimeKind Kind() const = 0;
    virtual LocalTime Value() const = 0;
    virtual void SetValue(const LocalTime& value) = 0;
    // The user clicked a day of the calendar, or changed the time.
    virtual void OnChange(std::function<void()> handler) = 0;
    // A calendar of bold days asks which days to draw in bold whenever it
    // comes to show months (once the handler is given, when its value takes
    // it to another month, when the user goes to another month): the handler
    // gets the first day of the first month shown, even in part, and the
    // number of months from there, and answers the days (days outside them
    // are passed over).
    virtual void OnGetDayBold(std::function<std::vector<LocalTime>(const LocalTime& first, int months)> handler) = 0;
};

}  // namespace morix::platform
