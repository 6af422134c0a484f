// A calendar date, and the date as the program writes it: the year, then the
// month and the day with a "0" before 1..9 (7 December 2026 -> "20261207").
// It names the memo files and is the exit date in the settings file.
#pragma once

#include <string>

namespace morix {

struct CalendarDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

std::string DateStamp(const CalendarDate& date);

// Whether the calendar has that day (30 February has not; 29 February only
// in a leap year).
bool IsCalendarDate(const CalendarDate& date);

long long DayNumber(const CalendarDate& date);  // days from 1970-01-01
CalendarDate DateOfDay(long long dayNumber);

// 0 Monday .. 6 Sunday.
inline constexpr int WeekdayCount = 7;
inline constexpr const char* WeekdayNames[WeekdayCount] = {"月", "火", "水", "木", "金", "土", "日"};
int WeekdayOf(long long dayNumber);

// "07" for 7, "10" for 10: a "0" before a number of 9 or less.
std::string TwoDigits(int n);

}  // namespace morix
