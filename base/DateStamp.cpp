#include "base/DateStamp.h"

namespace morix {

std::string TwoDigits(int n) {
    std::string text(n <= 9 ? "0" : "");
    text += std::to_string(n);
    return text;
}

std::string DateStamp(const CalendarDate& date) {
    return std::to_string(date.year) + TwoDigits(date.month) + TwoDigits(date.day);
}

}  // namespace morix
