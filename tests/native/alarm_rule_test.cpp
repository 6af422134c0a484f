// When an alarm is next due, and what the running clock's look at the alarms
// finds: rings, missed ones, and nothing twice.
#include "alarm/AlarmRule.h"

#include <gtest/gtest.h>

namespace morix::test {
namespace {

using platform::LocalTime;

MinuteStamp At(int y, int mo, int d, int h, int mi) { return MinuteOf(LocalTime{y, mo, d, h, mi, 0}); }

Alarm Make(AlarmRepeat repeat, int h, int mi, CalendarDate date = {}, std::uint8_t weekdays = 0, int every = 2) {
    Alarm a;
    a.repeat = repeat, a.hour = h, a.minute = mi, a.date = date, a.weekdays = weekdays, a.everyDays = every;
    return a;
}

TEST(AlarmRuleTest, NextDueAcrossTheCalendar) {
    constexpr std::uint8_t Mon = 1, Fri = 1 << 4, Sun = 1 << 6;
    struct Row {
        const char* what;
        Alarm alarm;
        MinuteStamp after;
        std::optional<MinuteStamp> due;
    } rows[] = {
        {"daily, later today", Make(AlarmRepeat::Daily, 7, 30), At(2026, 12, 10, 6, 0), At(2026, 12, 10, 7, 30)},
        {"daily, its own minute is past", Make(AlarmRepeat::Daily, 7, 30), At(2026, 12, 10, 7, 30), At(2026, 12, 11, 7, 30)},
        {"daily over a month's end", Make(AlarmRepeat::Daily, 0, 5), At(2026, 4, 30, 23, 59), At(2026, 5, 1, 0, 5)},
        {"daily over the year's end", Make(AlarmRepeat::Daily, 0, 0), At(2026, 12, 31, 23, 59), At(2027, 1, 1, 0, 0)},
        {"once, its date", Make(AlarmRepeat::Once, 9, 0, {2027, 2, 28}), At(2026, 12, 10, 9, 0), At(2027, 2, 28, 9, 0)},
        {"once, gone by", Make(AlarmRepeat::Once, 9, 0, {2026, 12, 10}), At(2026, 12, 10, 9, 0), std::nullopt},
        {"once on a leap day", Make(AlarmRepeat::Once, 12, 0, {2028, 2, 29}), At(2028, 2, 28, 12, 0), At(2028, 2, 29, 12, 0)},
        {"Monday, from a Sunday night (the week's turn)", Make(AlarmRepeat::Weekdays, 8, 0, {}, Mon),
         At(2026, 12, 13, 23, 0), At(2026, 12, 14, 8, 0)},
        {"Friday and Sunday, from a Friday after its time", Make(AlarmRepeat::Weekdays, 8, 0, {}, Fri | Sun),
         At(2026, 12, 11, 9, 0), At(2026, 12, 13, 8, 0)},
        {"no weekday chosen", Make(AlarmRepeat::Weekdays, 8, 0, {}, 0), At(2026, 12, 11, 9, 0), std::nullopt},
        {"every 3 days, before its first day", Make(AlarmRepeat::EveryNDays, 6, 0, {2026, 12, 20}, 0, 3),
         At(2026, 12, 10, 0, 0), At(2026, 12, 20, 6, 0)},
        {"every 3 days, across February of a leap year", Make(AlarmRepeat::EveryNDays, 6, 0, {2028, 2, 27}, 0, 3),
         At(2028, 2, 27, 6, 0), At(2028, 3, 1, 6, 0)},
        {"every 2 days, on an off day", Make(AlarmRepeat::EveryNDays, 6, 0, {2026, 11, 30}, 0, 2),
         At(2026, 12, 1, 5, 0), At(2026, 12, 2, 6, 0)},
        {"every 7 days from a Wednesday", Make(AlarmRepeat::EveryNDays, 6, 0, {2026, 12, 2}, 0, 7),
         At(2026, 12, 10, 0, 0), At(2026, 12, 16, 6, 0)},
    };
    for (const Row& r : rows) EXPECT_EQ(NextDue(r.alarm, r.after), r.due) << r.what;
    Alarm off = Make(AlarmRepeat::Daily, 7, 30);
    off.enabled = false;
    EXPECT_EQ(NextDue(off, At(2026, 12, 10, 6, 0)), std::nullopt);
}

// One run of the clock, looking once per reading.
class AlarmWatchTest : public ::testing::Test {
protected:
    std::vector<DueAlarm> LookAt(const LocalTime& t, std::uint64_t realSecondsSinceLast) {
        tickMs_ += realSecondsSinceLast * 1000;
        return watch.Look(alarms, t, tickMs_);
    }
    // A tick each second from `from` for `seconds` seconds, real time going
    // with the wall clock; every due time found.
    std::vector<DueAlarm> Run(LocalTime from, int seconds) {
        std::vector<DueAlarm> all;
        MinuteStamp m = MinuteOf(from);
        int s = from.second;
        for (int i = 0; i < seconds; ++i) {
            LocalTime t = TimeOfMinute(m);
            t.second = s;
            for (const DueAlarm& d : LookAt(t, 1)) all.push_back(d);
            if (++s == 60) s = 0, ++m;
        }
        return all;
    }
    AlarmWatch watch;
    std::vector<Alarm> alarms{Make(AlarmRepeat::Daily, 7, 0)};
    std::uint64_t tickMs_ = 5000000;
};

TEST_F(AlarmWatchTest, OncePerMinuteAsTheChime) {
    const MinuteStamp seven = At(2026, 12, 10, 7, 0);
    struct Row {
        const char* what;
        std::vector<std::pair<LocalTime, int>> ticks;  // reading, real seconds since the last
        std::vector<DueAlarm> found;
    } rows[] = {
        {"at second 0", {{{2026, 12, 10, 6, 59, 59}, 1}, {{2026, 12, 10, 7, 0, 0}, 1}, {{2026, 12, 10, 7, 0, 1}, 1}},
         {{0, seven, false}}},
        {"a tick 3 s late", {{{2026, 12, 10, 6, 59, 58}, 1}, {{2026, 12, 10, 7, 0, 1}, 3}}, {{0, seven, false}}},
        {"set back 2 s across the minute's start",
         {{{2026, 12, 10, 6, 59, 59}, 1}, {{2026, 12, 10, 7, 0, 1}, 2}, {{2026, 12, 10, 6, 59, 59}, 1},
          {{2026, 12, 10, 7, 0, 0}, 1}},
         {{0, seven, false}}},
        {"a jump the clock was set by, over the time", {{{2026, 12, 10, 6, 30, 0}, 1}, {{2026, 12, 10, 7, 30, 0}, 1}},
         {{0, seven, false}}},
        {"a jump landing past it, real time passing (a stall)",
         {{{2026, 12, 10, 6, 59, 50}, 1}, {{2026, 12, 10, 7, 1, 10}, 80}},
         {{0, seven, true}}},
        {"a jump landing in its minute after a sleep", {{{2026, 12, 10, 1, 0, 0}, 1}, {{2026, 12, 10, 7, 0, 30}, 6 * 3600}},
         {{0, seven, false}}},
    };
    for (const Row& r : rows) {
        watch = AlarmWatch();
        std::vector<DueAlarm> all;
        for (const auto& [t, real] : r.ticks)
            for (const DueAlarm& d : LookAt(t, real)) all.push_back(d);
        EXPECT_EQ(all, r.found) << r.what;
    }
}

TEST_F(AlarmWatchTest, DaylightSavingThroughTheWallClock) {
    // Spring: 01:59:59 is followed by 03:00:00; the 02:30 alarm of that day
    // rings at 03:00, once.
    alarms = {Make(AlarmRepeat::Daily, 2, 30)};
    LookAt({2027, 3, 14, 1, 59, 59}, 1);
    EXPECT_EQ(LookAt({2027, 3, 14, 3, 0, 0}, 1), (std::vector<DueAlarm>{{0, At(2027, 3, 14, 2, 30), false}}));
    EXPECT_TRUE(Run({2027, 3, 14, 3, 0, 1}, 3600).empty());
    // Autumn: the hour from 01:00 comes twice; the 01:30 alarm rings once.
    watch = AlarmWatch();
    alarms = {Make(AlarmRepeat::Daily, 1, 30)};
    std::vector<DueAlarm> first = Run({2026, 11, 1, 1, 29, 0}, 31 * 60);
    EXPECT_EQ(first, (std::vector<DueAlarm>{{0, At(2026, 11, 1, 1, 30), false}}));
    EXPECT_TRUE(LookAt({2026, 11, 1, 1, 0, 0}, 1).empty());
    EXPECT_TRUE(Run({2026, 11, 1, 1, 0, 1}, 3600).empty());
}

TEST_F(AlarmWatchTest, MissedAfterAStopOrASleepAreToldOnceWithinADay) {
    alarms = {Make(AlarmRepeat::Daily, 7, 0), Make(AlarmRepeat::Once, 23, 0, {2026, 12, 8})};
    struct Row {
        const char* what;
        std::optional<MinuteStamp> stored;
        LocalTime start;
        std::vector<DueAlarm> found;
    } rows[] = {
        {"first run ever: nothing missed", std::nullopt, {2026, 12, 10, 9, 0, 0}, {}},
        {"stopped overnight", At(2026, 12, 9, 22, 0), {2026, 12, 10, 9, 0, 0}, {{0, At(2026, 12, 10, 7, 0), true}}},
        {"started in the alarm's minute", At(2026, 12, 9, 22, 0), {2026, 12, 10, 7, 0, 40},
         {{0, At(2026, 12, 10, 7, 0), false}}},
        {"stopped for 27 hours: the last day's, oldest first",
         At(2026, 12, 8, 6, 0), {2026, 12, 9, 9, 0, 0}, {{1, At(2026, 12, 8, 23, 0), true}, {0, At(2026, 12, 9, 7, 0), true}}},
        {"beyond 24 hours: not told (the once alarm of the 8th)", At(2026, 12, 7, 6, 0), {2026, 12, 10, 6, 0, 0},
         {{0, At(2026, 12, 9, 7, 0), true}}},
        {"restarted in the minute it rang in", At(2026, 12, 10, 7, 0), {2026, 12, 10, 7, 0, 50}, {}},
    };
    for (const Row& r : rows) {
        watch = AlarmWatch();
        watch.Start(r.stored);
        EXPECT_EQ(LookAt(r.start, 1), r.found) << r.what;
        // Never twice: the next minutes tell nothing more.
        LocalTime next = r.start;
        next.second = 0;
        EXPECT_TRUE(Run(TimeOfMinute(MinuteOf(next) + 1), 120).empty()) << r.what;
    }
    // A sleep from 22:00 to 08:00 while running: the 07:00 alarm missed,
    // told once.
    watch = AlarmWatch();
    LookAt({2026, 12, 9, 22, 0, 0}, 1);
    EXPECT_EQ(LookAt({2026, 12, 10, 8, 0, 5}, 10 * 3600), (std::vector<DueAlarm>{{0, At(2026, 12, 10, 7, 0), true}}));
    EXPECT_TRUE(Run({2026, 12, 10, 8, 0, 6}, 120).empty());
    EXPECT_EQ(watch.LastLooked(), At(2026, 12, 10, 8, 2));
}

}  // namespace
}  // namespace morix::test
