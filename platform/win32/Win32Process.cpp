#include "platform/win32/Win32Process.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace morix::platform::win32 {

std::wstring ExecutableFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: a longer path
    }
}

std::wstring ExecutableFolder() {
    const std::wstring path = ExecutableFile();
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = Narrow(path);
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::string Win32Process::ProgramFolder() const { return Narrow(ExecutableFolder()); }

std::string Win32Process::ExecutablePath() const { return Narrow(ExecutableFile()); }

std::string Win32Process::LocalDataFolder() const { return KnownFolder(FOLDERID_LocalAppData); }

std::string Win32Process::RoamingDataFolder() const { return KnownFolder(FOLDERID_RoamingAppData); }

bool Win32Process::AnotherInstanceRunning() {
    if (!another_) {
        SetLastError(ERROR_SUCCESS);
        HANDLE mutex = CreateMutexW(nullptr, FALSE, MutexName);
        // The mutex of the first instance exists, whether or not this
        // process got a handle to it.
        DWORD error = GetLastError();
        mutex_.emplace(mutex);
        another_ = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
    }
    return *another_;
}

void Win32Process::RegisterForRestart() { RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG); }

bool Win32Process::NormalRunMayWrite(std::string_view folder) const {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return true;
    const Handle token(own);
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    // Not raised above the user's everyday token: what this process may
    // write is what the normal run may.
    if (!GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof type, &size) ||
        type != TokenElevationTypeFull)
        return true;
    TOKEN_LINKED_TOKEN linked{};
    if (!GetTokenInformation(token.Get(), TokenLinkedToken, &linked, sizeof linked, &size)) return false;
    const Handle normal(linked.LinkedToken);
    HANDLE duplicate = nullptr;
    if (!DuplicateToken(normal.Get(), SecurityIdentification, &duplicate)) return false;
    const Handle asUser(duplicate);
    const std::wstring path = Widen(folder);
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    GetFileSecurityW(path.c_str(), what, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<BYTE> security(needed);
    if (!GetFileSecurityW(path.c_str(), what, security.data(), needed, &needed)) return false;
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    DWORD desired = FILE_ADD_FILE;
    MapGenericMask(&desired, &mapping);
    PRIVILEGE_SET privileges{};
    DWORD privilegesSize = sizeof privileges, granted = 0;
    BOOL allowed = FALSE;
    if (!AccessCheck(security.data(), asUser.Get(), desired, &mapping, &privileges, &privilegesSize, &granted, &allowed))
        return false;
    return allowed != FALSE;
}

void Win32Process::Exit(int code) { ExitProcess(static_cast<UINT>(code)); }

}  // namespace morix::platform::win32
