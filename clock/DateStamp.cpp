#include "clock/DateStamp.h"

namespace morix {

std::string DateStamp(const CalendarDate& date) {
    auto twoDigits = [](int n) { return (n <= 9 ? "0" : "") + std::to_string(n); };
    return std::to_string(date.year) + twoDigits(date.month) + twoDigits(date.day);
}

}  // namespace morix
