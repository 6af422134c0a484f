// The clock the chimes and clips follow is the local wall clock, also in a
// time zone 30 or 45 minutes off the hour (run with TZ set, see CMake).
#include "platform/win32/Win32Clock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

long long Minutes(const SYSTEMTIME& t) {
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    ULARGE_INTEGER u{};
    u.LowPart = f.dwLowDateTime;
    u.HighPart = f.dwHighDateTime;
    return static_cast<long long>(u.QuadPart / 600000000ULL);
}

TEST(Win32Clock, NowIsTheLocalWallClock) {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    morix::platform::LocalTime now = morix::platform::win32::Win32Clock().Now();
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(now.year);
    local.wMonth = static_cast<WORD>(now.month);
    local.wDay = static_cast<WORD>(now.day);
    local.wHour = static_cast<WORD>(now.hour);
    local.wMinute = static_cast<WORD>(now.minute);
    local.wSecond = static_cast<WORD>(now.second);
    const long long offset = Minutes(local) - Minutes(utc);

    TIME_ZONE_INFORMATION zone{};
    DWORD kind = GetTimeZoneInformation(&zone);
    long long bias = -(zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias));
    // The readings may straddle a minute.
    EXPECT_LE(std::llabs(offset - bias), 1) << "offset " << offset << " bias " << bias;

    const char* tz = std::getenv("MORIX_EXPECT_OFFSET_MINUTES");
    if (tz) {
        EXPECT_LE(std::llabs(offset - std::atoll(tz)), 1) << "zone " << (std::getenv("TZ") ? std::getenv("TZ") : "");
    }
}

}  // namespace
