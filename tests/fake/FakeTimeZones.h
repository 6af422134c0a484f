// A small zone table of the system's kind: real zones with their real
// yearly rules, held as Windows holds them (a standard bias, a daylight
// bias, and the two changes as "the n-th weekday of a month at a local
// time", week 5 meaning the last). The local zone turns the fake clock's
// wall-clock time into the instant, as the system's clock does.
#pragma once

#include "platform/TimeZones.h"

#include <string>
#include <vector>

namespace morix::test {

class FakeClock;

struct FakeChange {
    int month = 0, week = 0, weekday = 0, hour = 0;  // weekday 0 = Sunday
};

struct FakeZone {
    std::string key, displayName;
    int bias = 0;          // minutes: UTC = local standard time + bias
    int daylightBias = 0;  // minutes added while daylight saving holds (-60), 0 for none
    FakeChange daylightStart;  // in local standard time
    FakeChange daylightEnd;    // in local daylight time
};

// The zones of this table as the system has them today.
std::vector<FakeZone> RealZones();

// The zone's wall-clock time at the instant by its rules.
platform::LocalTime ZoneTimeAt(const FakeZone& zone, platform::UtcSeconds instant);

class FakeTimeZones final : public platform::TimeZones {
public:
    explicit FakeTimeZones(const FakeClock& clock) : clock_(clock) {}
    std::vector<platform::ZoneName> List() const override;
    std::unique_ptr<platform::TimeZone> Find(std::string_view key) const override;
    // The fake clock's local time in the local zone, as an instant.
    platform::UtcSeconds Now() const override;
    std::vector<platform::AdditionalClock> AdditionalClocks() const override { return additionalClocks; }

    std::vector<FakeZone> zones = RealZones();
    std::string localZone = "Tokyo Standard Time";
    std::vector<platform::AdditionalClock> additionalClocks;  // those switched on
    mutable int finds = 0;

private:
    const FakeClock& clock_;
};

}  // namespace morix::test
