// Setting the system's local date and time, shared by the clock of the
// program (when its process holds the right) and the helper that sets it
// with an administrator's rights: the right to change the system time
// (SE_SYSTEMTIME_NAME) enabled in the process token for the call
// (AdjustTokenPrivileges) and put back as it was after.
#pragma once

#include <windows.h>

namespace morix::platform::win32 {

// ERROR_SUCCESS, or the system's error for the refusal (ERROR_PRIVILEGE_NOT_HELD
// without the right, ERROR_INVALID_PARAMETER for a time it does not take).
DWORD SetSystemLocalTime(const SYSTEMTIME& time);

// Whether the process token carries the right at all (enabled or not).
bool HoldsSystemTimeRight();

}  // namespace morix::platform::win32
