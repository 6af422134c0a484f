// MorixSetTime.exe: the clock's date and time dialog starts it through the
// system's elevation prompt when the clock's own process may not change the
// system time. Its command line is the dialog's request (the chosen local
// date and time and the tick count of the choice); it sets that time moved on
// by what passed since, and its exit code is the system's answer: 0 when set,
// else the error (ERROR_PRIVILEGE_NOT_HELD when even this token may not,
// ERROR_BAD_ARGUMENTS for a command line that is no request, ERROR_TIMEOUT
// for a request older than it may be). No window, no file: it does nothing
// else, whoever starts it.
#include "platform/TimeRequest.h"
#include "platform/win32/SystemTime.h"
#include "platform/win32/Wide.h"

#include <windows.h>

#include <string>

namespace {

using namespace morix::platform;

DWORD SetRequestedTime(std::wstring_view arguments) {
    while (!arguments.empty() && (arguments.front() == L' ' || arguments.front() == L'\t')) arguments.remove_prefix(1);
    while (!arguments.empty() && (arguments.back() == L' ' || arguments.back() == L'\t')) arguments.remove_suffix(1);
    const std::optional<TimeRequest> request = ParseTimeRequest(win32::Narrow(arguments));
    if (!request) return ERROR_BAD_ARGUMENTS;
    const std::optional<TimeToSet> target = TimeToSetAt(*request, GetTickCount64());
    if (!target) return ERROR_TIMEOUT;
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(target->time.year);
    time.wMonth = static_cast<WORD>(target->time.month);
    time.wDay = static_cast<WORD>(target->time.day);
    time.wHour = static_cast<WORD>(target->time.hour);
    time.wMinute = static_cast<WORD>(target->time.minute);
    time.wSecond = static_cast<WORD>(target->time.second);
    time.wMilliseconds = static_cast<WORD>(target->milliseconds);
    return win32::SetSystemLocalTime(time);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    return static_cast<int>(SetRequestedTime(arguments != nullptr ? arguments : L""));
}
