#include "platform/win32/Win32Clock.h"

#include "platform/win32/SystemTime.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Wide.h"

#include <windows.h>

namespace morix::platform::win32 {

namespace {

bool ToWord(int value, WORD& out) {
    if (value < 0 || value > 0xFFFF) return false;
    out = static_cast<WORD>(value);
    return true;
}

SetTimeResult SetLocal(const SYSTEMTIME& time) {
    const DWORD error = SetSystemLocalTime(time);
    if (error == ERROR_SUCCESS) return SetTimeResult::Done;
    if (error == ERROR_PRIVILEGE_NOT_HELD || error == ERROR_ACCESS_DENIED) return SetTimeResult::Denied;
    return SetTimeResult::Failed;
}

}  // namespace

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

SetTimeResult Win32Clock::SetDate(int year, int month, int day) {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    // A number a SYSTEMTIME cannot even hold is no date.
    if (!ToWord(year, t.wYear) || !ToWord(month, t.wMonth) || !ToWord(day, t.wDay)) return SetTimeResult::Failed;
    t.wDayOfWeek = 0;  // ignored by the system
    return SetLocal(t);
}

SetTimeResult Win32Clock::SetTimeOfDay(int hour, int minute, int second) {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    if (!ToWord(hour, t.wHour) || !ToWord(minute, t.wMinute) || !ToWord(second, t.wSecond))
        return SetTimeResult::Failed;
    t.wMilliseconds = 0;
    return SetLocal(t);
}

bool Win32Clock::HoldsTimeRight() const { return HoldsSystemTimeRight(); }

void Win32Clock::SetAsAdministrator(const TimeRequest& request, WindowHandle owner,
                                    std::function<void(SetTimeOutcome)> done) {
    if (!elevated_)
        elevated_ = std::make_unique<ElevatedTimeSetter>(run_, ExecutableFolder() + L"\\" + SetTimeHelperName);
    elevated_->Start(request, reinterpret_cast<HWND>(static_cast<INT_PTR>(owner)), std::move(done));
}

std::uint64_t Win32Clock::TickCountMs() const { return GetTickCount64(); }

void Win32Clock::Pause(unsigned ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_SENDMESSAGE | QS_PAINT);
        MSG msg;
        // Messages sent by other threads and programs are answered inside
        // this peek; paints are handed on so the windows stay drawn.
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

}  // namespace morix::platform::win32
