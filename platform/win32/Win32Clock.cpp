#include "platform/win32/Win32Clock.h"

#include "platform/win32/Wide.h"

#include <windows.h>

namespace morix::platform::win32 {

namespace {

HANDLE OpenOwnToken() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return INVALID_HANDLE_VALUE;
    return token;
}

// SE_SYSTEMTIME_NAME enabled in the process token while it lives, then put
// back as it was.
class SystemTimeRight {
public:
    SystemTimeRight() : token_(OpenOwnToken()) {
        if (!token_.Valid()) return;
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &wanted.Privileges[0].Luid)) return;
        DWORD size = sizeof previous_;
        // Succeeds also when the token lacks the right (ERROR_NOT_ALL_ASSIGNED):
        // the setting is then refused and reported by the call itself.
        adjusted_ = AdjustTokenPrivileges(token_.Get(), FALSE, &wanted, sizeof previous_, &previous_, &size) != FALSE;
    }
    ~SystemTimeRight() {
        if (adjusted_) AdjustTokenPrivileges(token_.Get(), FALSE, &previous_, 0, nullptr, nullptr);
    }
    SystemTimeRight(const SystemTimeRight&) = delete;
    SystemTimeRight& operator=(const SystemTimeRight&) = delete;

private:
    Handle token_;
    TOKEN_PRIVILEGES previous_{};
    bool adjusted_ = false;
};

bool ToWord(int value, WORD& out) {
    if (value < 0 || value > 0xFFFF) return false;
    out = static_cast<WORD>(value);
    return true;
}

SetTimeResult SetLocal(const SYSTEMTIME& time) {
    DWORD error = ERROR_SUCCESS;
    {
        SystemTimeRight right;
        if (!SetLocalTime(&time))
            error = GetLastError();
        else
            // The first call moves the clock with the daylight saving rule of
            // the old time; the second applies the rule of the new one.
            SetLocalTime(&time);
    }
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
