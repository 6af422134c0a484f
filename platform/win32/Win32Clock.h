// Implements platform::Clock: the wall-clock time of the system's time zone,
// daylight saving included, from GetLocalTime; the date or the time of day
// set through SetLocalTime (the other half kept from GetLocalTime), with the
// right to change the system time enabled for the call (SystemTime.h).
// ERROR_PRIVILEGE_NOT_HELD and ERROR_ACCESS_DENIED are Denied, any other
// refusal Failed. Whether the process holds that right is read from its
// token's privileges; without it, the time is set by the helper beside the
// program (ElevatedTimeSetter.h). The tick count is GetTickCount64 (read
// from memory the system shares with the process: no call into the kernel).
// A pause waits in MsgWaitForMultipleObjects for sent messages and paints
// only, answering them as they come.
#pragma once

#include "platform/Clock.h"
#include "platform/win32/ElevatedTimeSetter.h"
#include "platform/win32/EventRunner.h"

#include <memory>
#include <optional>

namespace morix::platform::win32 {

class Win32Clock final : public Clock {
public:
    Win32Clock() = default;
    // The helper's answer comes through the program's event guard.
    explicit Win32Clock(EventRunner run) : run_(run) {}

    LocalTime Now() const override;
    SetTimeResult SetDate(int year, int month, int day) override;
    SetTimeResult SetTimeOfDay(int hour, int minute, int second) override;
    bool HoldsTimeRight() const override;
    void SetAsAdministrator(const TimeRequest& request, WindowHandle owner,
                            std::function<void(SetTimeOutcome)> done) override;
    std::uint64_t TickCountMs() const override;
    void Pause(unsigned ms) override;

private:
    std::optional<EventRunner> run_;
    std::unique_ptr<ElevatedTimeSetter> elevated_;  // made at the first use
};

}  // namespace morix::platform::win32
