#include "alarm/AlarmRule.h"

#include "face/ClockUpdate.h"

#include <algorithm>

namespace morix {

namespace {

constexpr MinuteStamp MinutesPerDay = 24 * 60;

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

MinuteStamp MinuteOf(const platform::LocalTime& t) {
    return DayNumber({t.year, t.month, t.day}) * MinutesPerDay + t.hour * 60 + t.minute;
}

platform::LocalTime TimeOfMinute(MinuteStamp minute) {
    const long long day = FloorDiv(minute, MinutesPerDay);
    const CalendarDate d = DateOfDay(day);
    const int inDay = static_cast<int>(minute - day * MinutesPerDay);
    return {d.year, d.month, d.day, inDay / 60, inDay % 60, 0};
}

bool DueOnDay(const Alarm& a, long long dayNumber) {
    switch (a.repeat) {
    case AlarmRepeat::Once: return dayNumber == DayNumber(a.date);
    case AlarmRepeat::Daily: return true;
    case AlarmRepeat::Weekdays: return (a.weekdays >> WeekdayOf(dayNumber)) & 1;
    case AlarmRepeat::EveryNDays: {
        const long long start = DayNumber(a.date);
        return a.everyDays >= 1 && dayNumber >= start && (dayNumber - start) % a.everyDays == 0;
    }
    }
    return false;
}

std::optional<MinuteStamp> NextDue(const Alarm& a, MinuteStamp after) {
    if (!a.enabled) return std::nullopt;
    const int timeOfDay = a.hour * 60 + a.minute;
    // The first day whose alarm time lies after `after`.
    long long day = FloorDiv(after, MinutesPerDay);
    if (after - day * MinutesPerDay >= timeOfDay) ++day;
    const auto at = [timeOfDay](long long d) -> MinuteStamp { return d * MinutesPerDay + timeOfDay; };
    switch (a.repeat) {
    case AlarmRepeat::Once: {
        const long long d = DayNumber(a.date);
        if (d < day) return std::nullopt;
        return at(d);
    }
    case AlarmRepeat::Daily: return at(day);
    case AlarmRepeat::Weekdays:
        for (int i = 0; i < WeekdayCount; ++i)
            if (DueOnDay(a, day + i)) return at(day + i);
        return std::nullopt;
    case AlarmRepeat::EveryNDays: {
        if (a.everyDays < 1) return std::nullopt;
        const long long start = DayNumber(a.date);
        if (day < start) return at(start);
        const long long off = (day - start) % a.everyDays;
        return at(off == 0 ? day : day + a.everyDays - off);
    }
    }
    return std::nullopt;
}

std::optional<MinuteStamp> AlarmWatch::EarliestDue(const std::vector<Alarm>& alarms, MinuteStamp after) const {
    std::optional<MinuteStamp> earliest;
    for (const Alarm& a : alarms)
        if (const std::optional<MinuteStamp> t = NextDue(a, after); t && (!earliest || *t < *earliest)) earliest = t;
    return earliest;
}

// Due times in (from, to], those before `ringFrom` missed, oldest first.
void AlarmWatch::Collect(const std::vector<Alarm>& alarms, MinuteStamp from, MinuteStamp to, MinuteStamp ringFrom,
                         std::vector<DueAlarm>& out) const {
    for (std::size_t i = 0; i < alarms.size(); ++i)
        for (std::optional<MinuteStamp> t = NextDue(alarms[i], from); t && *t <= to; t = NextDue(alarms[i], *t))
            out.push_back({i, *t, *t < ringFrom});
    std::stable_sort(out.begin(), out.end(), [](const DueAlarm& a, const DueAlarm& b) { return a.at < b.at; });
}

std::vector<DueAlarm> AlarmWatch::Look(const std::vector<Alarm>& alarms, const platform::LocalTime& now,
                                       std::uint64_t tickCountMs) {
    // A step back up to an hour (a time sync, or the hour daylight saving
    // gives back) crosses minutes already acted on again without acting; a
    // longer one is a clock set back, which starts afresh where it landed.
    constexpr MinuteStamp RepeatedHour = 60;
    const MinuteStamp minute = MinuteOf(now);
    const long long seconds = minute * 60 + now.second;
    std::vector<DueAlarm> out;
    const auto oldest = [minute](MinuteStamp from) { return std::max(from, minute - MissedWindowMinutes - 1); };

    if (!lastLooked_) {
        // The run's first look: what fell due since the last run looked is
        // missed; an alarm of the minute started in rings.
        MinuteStamp from = minute - 1;
        if (stored_ && (*stored_ < minute || *stored_ - minute <= RepeatedHour)) from = *stored_;
        lastSeconds_ = seconds;
        lastTickMs_ = tickCountMs;
        Collect(alarms, oldest(from), minute, minute, out);
        lastLooked_ = std::max(from, minute);
        return out;
    }

    const long long elapsed = seconds - lastSeconds_;
    const long long realMs = static_cast<long long>(tickCountMs - lastTickMs_);
    lastSeconds_ = seconds;
    lastTickMs_ = tickCountMs;
    if (minute <= *lastLooked_) {
        if (*lastLooked_ - minute > RepeatedHour) {
            lastLooked_ = minute;
            nextDue_.reset();
        }
        return out;
    }
    if (!nextDue_) nextDue_ = EarliestDue(alarms, *lastLooked_);
    if (!*nextDue_ || **nextDue_ > minute) {
        // Nothing due up to now: the earliest due time stays the same.
        lastLooked_ = minute;
        return out;
    }
    // A jump that real time made (the machine slept, the program stood
    // still) leaves the due times it passed missed; one the wall clock made
    // alone leaves them ringing, late.
    const bool jump = elapsed > LateTickLimit;
    const bool realTimePassed = elapsed * 1000 - realMs <= 60 * 1000;
    Collect(alarms, oldest(*lastLooked_), minute, jump && realTimePassed ? minute : *lastLooked_ + 1, out);
    lastLooked_ = minute;
    nextDue_.reset();
    return out;
}

}  // namespace morix
