// The system's time zones: their list as the system names them, each zone's
// wall-clock time at an instant by its own yearly daylight-saving rules, and
// the additional clocks the user set in Windows' date and time settings.
#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morix::platform {

// Seconds since 1970-01-01 00:00:00 UTC.
using UtcSeconds = std::int64_t;

struct ZoneName {
    std::string key;          // the zone's key name, ASCII ("Eastern Standard Time")
    std::string displayName;  // as the system shows it ("(UTC-05:00) 東部標準時 (米国およびカナダ)")
    friend bool operator==(const ZoneName&, const ZoneName&) = default;
};

// One zone with its rules, found once and asked every second.
class TimeZone {
public:
    virtual ~TimeZone() = default;
    // The zone's wall-clock time at the instant, daylight saving included.
    virtual LocalTime At(UtcSeconds instant) const = 0;
};

// An additional clock of Windows' date and time settings.
struct AdditionalClock {
    std::string key;    // the zone's key name
    std::string label;  // the name the user gave the clock there
    friend bool operator==(const AdditionalClock&, const AdditionalClock&) = default;
};

class TimeZones {
public:
    virtual ~TimeZones() = default;
    // Every zone the system has, in the order its own settings list them
    // (west to east).
    virtual std::vector<ZoneName> List() const = 0;
    // The zone of that key name, or nullptr when the system has none.
    virtual std::unique_ptr<TimeZone> Find(std::string_view key) const = 0;
    virtual UtcSeconds Now() const = 0;
    // The additional clocks that are switched on, first then second.
    virtual std::vector<AdditionalClock> AdditionalClocks() const = 0;
};

}  // namespace morix::platform
