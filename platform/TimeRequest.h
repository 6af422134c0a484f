// What the program hands the helper that sets the system's date and time
// with an administrator's rights: the local date and time the user chose, and
// the moment they chose it as the system's tick count. The helper starts only
// after the system's elevation prompt has been answered, which may take the
// user a while; it sets the chosen time moved on by what passed since, so the
// clock reads what the user chose at the moment they pressed OK.
#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morix::platform {

struct TimeRequest {
    LocalTime chosen;
    std::uint64_t chosenAtMs = 0;  // Clock::TickCountMs() when OK was pressed
    friend bool operator==(const TimeRequest&, const TimeRequest&) = default;
};

// "2027-01-05 09:04:03 123456": the helper's command line after its name.
std::string FormatTimeRequest(const TimeRequest& request);

// The request of a command line written by FormatTimeRequest; nothing for
// any other text, a date the calendar does not have, or a time of day out of
// range. The helper runs with an administrator's rights: it takes no text it
// does not fully understand.
std::optional<TimeRequest> ParseTimeRequest(std::string_view arguments);

struct TimeToSet {
    LocalTime time;
    int milliseconds = 0;  // into the second
    friend bool operator==(const TimeToSet&, const TimeToSet&) = default;
};

// The longest a request waits for the prompt's answer and still holds: a
// tick count further back belongs to a choice nobody waits for any more.
inline constexpr std::uint64_t RequestLifetimeMs = 24ULL * 60 * 60 * 1000;

// The chosen time moved on by the milliseconds from the choice to `nowMs`,
// across midnight and the month's and year's ends as the calendar goes. A
// tick count before the choice counts as no time passed; nothing when more
// than RequestLifetimeMs passed.
std::optional<TimeToSet> TimeToSetAt(const TimeRequest& request, std::uint64_t nowMs);

}  // namespace morix::platform
