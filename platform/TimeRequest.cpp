#include "platform/TimeRequest.h"

#include "base/DateStamp.h"

#include <chrono>
#include <cstdio>

namespace morix::platform {

namespace {

using namespace std::chrono;

// The range of years the system's own time structure and file times hold.
constexpr int FirstYear = 1601, LastYear = 30827;

bool IsCalendarDay(int y, int m, int d) { return y >= FirstYear && y <= LastYear && IsCalendarDate({y, m, d}); }

// Reads exactly `width` digits at `at`, then moves past them.
bool Digits(std::string_view text, std::size_t& at, std::size_t width, std::uint64_t& value) {
    if (text.size() - at < width) return false;
    value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    at += width;
    return true;
}

bool Mark(std::string_view text, std::size_t& at, char mark) {
    if (at >= text.size() || text[at] != mark) return false;
    ++at;
    return true;
}

}  // namespace

std::string FormatTimeRequest(const TimeRequest& request) {
    const LocalTime& t = request.chosen;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %llu", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, static_cast<unsigned long long>(request.chosenAtMs));
    return text;
}

std::optional<TimeRequest> ParseTimeRequest(std::string_view text) {
    std::uint64_t y, mo, d, h, mi, s;
    std::size_t at = 0;
    if (!Digits(text, at, 4, y) || !Mark(text, at, '-') || !Digits(text, at, 2, mo) || !Mark(text, at, '-') ||
        !Digits(text, at, 2, d) || !Mark(text, at, ' ') || !Digits(text, at, 2, h) || !Mark(text, at, ':') ||
        !Digits(text, at, 2, mi) || !Mark(text, at, ':') || !Digits(text, at, 2, s) || !Mark(text, at, ' '))
        return std::nullopt;
    // The tick count: 1 to 20 digits, the whole rest, no overflow.
    const std::size_t digits = text.size() - at;
    if (digits == 0 || digits > 20) return std::nullopt;
    std::uint64_t tick = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c < '0' || c > '9') return std::nullopt;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (tick > (UINT64_MAX - digit) / 10) return std::nullopt;
        tick = tick * 10 + digit;
    }
    TimeRequest request;
    request.chosen = {int(y), int(mo), int(d), int(h), int(mi), int(s)};
    request.chosenAtMs = tick;
    if (!IsCalendarDay(request.chosen.year, request.chosen.month, request.chosen.day) || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    return request;
}

std::optional<TimeToSet> TimeToSetAt(const TimeRequest& request, std::uint64_t nowMs) {
    const LocalTime& c = request.chosen;
    const std::uint64_t passed = nowMs > request.chosenAtMs ? nowMs - request.chosenAtMs : 0;
    if (passed > RequestLifetimeMs) return std::nullopt;
    const sys_days date{year{c.year} / month{unsigned(c.month)} / day{unsigned(c.day)}};
    const sys_time<milliseconds> then = date + hours{c.hour} + minutes{c.minute} + seconds{c.second} +
                                        milliseconds{static_cast<long long>(passed)};
    const sys_days newDate = floor<days>(then);
    const year_month_day ymd{newDate};
    const hh_mm_ss<milliseconds> time{then - newDate};
    TimeToSet result;
    result.time = {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), int(time.hours().count()),
                   int(time.minutes().count()), int(time.seconds().count())};
    result.milliseconds = int(time.subseconds().count());
    return result;
}

}  // namespace morix::platform
