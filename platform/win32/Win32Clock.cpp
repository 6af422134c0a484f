#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace morix::platform::win32 {

LocalTime Win32Clock::Now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    LocalTime now;
    now.year = t.wYear;
    now.month = t.wMonth;
    now.day = t.wDay;
    now.hour = t.wHour;
    now.minute = t.wMinute;
    now.second = t.wSecond;
    return now;
}

}  // namespace morix::platform::win32
