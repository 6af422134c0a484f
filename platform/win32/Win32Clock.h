// Implements platform::Clock: the wall-clock time of the system's time zone,
// daylight saving included, from GetLocalTime; the date or the time of day
// set through SetLocalTime (the other half kept from GetLocalTime), with the
// right to change the system time (SE_SYSTEMTIME_NAME) enabled in the
// process token for the call (AdjustTokenPrivileges) and put back as it was
// after. ERROR_PRIVILEGE_NOT_HELD and ERROR_ACCESS_DENIED are Denied, any
// other refusal Failed. The tick count is GetTickCount64 (read from memory
// the system shares with the process: no call into the kernel). A pause
// waits in MsgWaitForMultipleObjects for sent messages and paints only,
// answering them as they come.
#pragma once

#include "platform/Clock.h"

namespace morix::platform::win32 {

class Win32Clock final : public Clock {
public:
    LocalTime Now() const override;
    SetTimeResult SetDate(int year, int month, int day) override;
    SetTimeResult SetTimeOfDay(int hour, int minute, int second) override;
    std::uint64_t TickCountMs() const override;
    void Pause(unsigned ms) override;
};

}  // namespace morix::platform::win32
