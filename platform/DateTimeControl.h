// The month calendar (a selected day) and the time picker (a time of day).
#pragma once

#include "platform/Clock.h"
#include "platform/Control.h"

namespace morix::platform {

enum class DateTimeKind {
    Calendar,    // the date of the value counts
    TimePicker,  // the time of day of the value counts
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
};

}  // namespace morix::platform
