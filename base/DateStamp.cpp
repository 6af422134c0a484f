#include "base/DateStamp.h"

#include <chrono>

namespace morix {

std::string TwoDigits(int n) {
    std::string text(n <= 9 ? "0" : "");
    text += std::to_string(n);
    return text;
}

std::string DateStamp(const CalendarDate& date) {
    return std::to_string(date.year) + TwoDigits(date.month) + TwoDigits(date.day);
}

bool IsCalendarDate(const CalendarDate& date) {
    using namespace std::chrono;
    // A month or day below 1 turns into a large unsigned value: not ok.
    return year_month_day{year{date.year} / month{static_cast<unsigned>(date.month)} / day{static_cast<unsigned>(date.day)}}.ok();
}

long long DayNumber(const CalendarDate& date) {
    using namespace std::chrono;
    const sys_days d{year{date.year} / month{static_cast<unsigned>(date.month)} / day{static_cast<unsigned>(date.day)}};
    return d.time_since_epoch().count();
}

CalendarDate DateOfDay(long long dayNumber) {
    using namespace std::chrono;
    const year_month_day ymd{sys_days{days{dayNumber}}};
    return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

// 1970-01-01 was a Thursday.
int WeekdayOf(long long dayNumber) { return static_cast<int>(((dayNumber + 3) % 7 + 7) % 7); }

}  // namespace morix
