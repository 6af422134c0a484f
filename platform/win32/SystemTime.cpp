#include "platform/win32/SystemTime.h"

#include "platform/win32/Wide.h"

#include <vector>

namespace morix::platform::win32 {

namespace {

HANDLE OpenOwnToken(DWORD access) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), access, &token)) return INVALID_HANDLE_VALUE;
    return token;
}

// SE_SYSTEMTIME_NAME enabled in the process token while it lives, then put
// back as it was.
class SystemTimeRight {
public:
    SystemTimeRight() : token_(OpenOwnToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY)) {
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

}  // namespace

DWORD SetSystemLocalTime(const SYSTEMTIME& time) {
    SystemTimeRight right;
    if (!SetLocalTime(&time)) return GetLastError();
    // The first call moves the clock with the daylight saving rule of the old
    // time; the second applies the rule of the new one.
    SetLocalTime(&time);
    return ERROR_SUCCESS;
}

bool HoldsSystemTimeRight() {
    const Handle token(OpenOwnToken(TOKEN_QUERY));
    if (!token.Valid()) return false;
    LUID right{};
    if (!LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &right)) return false;
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenPrivileges, nullptr, 0, &size);
    if (size < sizeof(TOKEN_PRIVILEGES)) return false;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenPrivileges, buffer.data(), size, &size)) return false;
    const auto* held = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < held->PrivilegeCount; ++i) {
        const LUID& luid = held->Privileges[i].Luid;
        if (luid.LowPart == right.LowPart && luid.HighPart == right.HighPart) return true;
    }
    return false;
}

}  // namespace morix::platform::win32
