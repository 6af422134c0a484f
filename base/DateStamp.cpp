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

}  // namespace morix
