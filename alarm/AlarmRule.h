// When an alarm is due. Times are local wall-clock minutes counted from
// 1970 with every day 1,440 of them, so a day is a day whatever the zone's
// daylight saving did to it; what the wall clock itself does (a late tick, a
// step back, a jump, a night's sleep) is told apart by AlarmWatch.
#pragma once

#include "base/DateStamp.h"
#include "platform/Clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morix {

using MinuteStamp = long long;

enum class AlarmRepeat {
    Once,        // 一度だけ, on `date`
    Daily,       // 毎日
    Weekdays,    // the days of `weekdays`
    EveryNDays,  // every `everyDays` days from `date`
};

// `weekdays`: bit 0 Monday (月) to bit 6 Sunday (日), as WeekdayOf counts.

struct Alarm {
    bool enabled = true;
    int hour = 7, minute = 0;
    AlarmRepeat repeat = AlarmRepeat::Daily;
    CalendarDate date;
    std::uint8_t weekdays = 0;
    int everyDays = 2;
    std::string sound;  // a file of the Sound folders; empty: none
    std::string message;
};

MinuteStamp MinuteOf(const platform::LocalTime& t);
platform::LocalTime TimeOfMinute(MinuteStamp minute);

// Whether the alarm falls due on that day, switched on or not.
bool DueOnDay(const Alarm& alarm, long long dayNumber);
// The first minute after `after` at which the switched-on alarm falls due;
// nothing when it never will again (or is switched off).
std::optional<MinuteStamp> NextDue(const Alarm& alarm, MinuteStamp after);

// One due time of one alarm, as a look at the clock finds it.
struct DueAlarm {
    std::size_t index = 0;  // into the alarms looked at
    MinuteStamp at = 0;
    // Fell due while nobody could hear it: told, without sound.
    bool missed = false;
    friend bool operator==(const DueAlarm&, const DueAlarm&) = default;
};

// Due times further back than this are not told.
inline constexpr MinuteStamp MissedWindowMinutes = 24 * 60;

// The running clock's look at the alarms, once a tick, with the chime's rule
// for the wall clock: the first tick of a minute acts for it, also a few
// seconds late; a clock set back a little crosses a minute's start again
// without acting twice; a jump is one step.
class AlarmWatch {
public:
    // The minute the clock last looked at before this run (from the settings
    // file), if any: due times after it and before now are missed ones.
    void Start(std::optional<MinuteStamp> lastLookedBefore) { stored_ = lastLookedBefore; }

    // The due times this reading reaches, oldest first. `tickCountMs` is the
    // time since the system started: a jump of the wall clock that real time
    // did not make (a zone's daylight saving, a clock set forward) leaves the
    // alarms it passed ringing; one real time made (sleep, a stalled program)
    // leaves them missed, except one due in the minute woken in.
    std::vector<DueAlarm> Look(const std::vector<Alarm>& alarms, const platform::LocalTime& now,
                               std::uint64_t tickCountMs);

    // The minute last looked at: kept in the settings file so that the next
    // run knows which due times it missed.
    std::optional<MinuteStamp> LastLooked() const { return lastLooked_; }
    // Forgets the earliest due time known, after the alarms changed.
    void AlarmsChanged() { nextDue_.reset(); }

private:
    std::optional<MinuteStamp> EarliestDue(const std::vector<Alarm>& alarms, MinuteStamp after) const;
    void Collect(const std::vector<Alarm>& alarms, MinuteStamp from, MinuteStamp to, MinuteStamp ringFrom,
                 std::vector<DueAlarm>& out) const;

    std::optional<MinuteStamp> stored_;
    std::optional<MinuteStamp> lastLooked_;
    long long lastSeconds_ = 0;
    std::uint64_t lastTickMs_ = 0;
    // The earliest due time after lastLooked_, while the alarms are unchanged.
    std::optional<std::optional<MinuteStamp>> nextDue_;
};

}  // namespace morix
