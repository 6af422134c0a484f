// The probe as a user's everyday session on Windows, and its eyes on other
// processes. Under Wine every program runs with an administrator's full
// token, which holds the right to change the system time; on Windows a
// user's programs run without it. `without-time-right` plays that session:
// it takes the right out of its own token, starts the command line given
// (which inherits the token) and waits for its end. `process` watches for a
// process of an image name and reports its command line and how it ended.
#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

bool RemoveTimeRight() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES removed{};
    removed.PrivilegeCount = 1;
    removed.Privileges[0].Attributes = SE_PRIVILEGE_REMOVED;
    bool ok = LookupPrivilegeValueW(nullptr, L"SeSystemtimePrivilege", &removed.Privileges[0].Luid) &&
              AdjustTokenPrivileges(token, FALSE, &removed, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return ok;
}

DWORD FindProcess(const std::wstring& image, DWORD parent) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && found == 0; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, image.c_str()) == 0 && (parent == 0 || entry.th32ParentProcessID == parent))
            found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

// Read from the process's own parameters, where the system keeps the
// command line it was started with.
std::wstring CommandLineOf(HANDLE process) {
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return {};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return {};
    std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, text.data(), parameters.CommandLine.Length, nullptr))
        return {};
    return text;
}

}  // namespace

// without-time-right <command line>: the started program's exit code.
int ProbeWithoutTimeRight(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    if (!RemoveTimeRight()) {
        std::printf("error=the right to change the time could not be taken out (%lu)\n", GetLastError());
        return 1;
    }
    std::wstring command = argv[2];
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        std::printf("error=not started (%lu)\n", GetLastError());
        return 1;
    }
    std::printf("pid=%lu\n", started.dwProcessId);
    std::fflush(stdout);
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hProcess);
    return static_cast<int>(code);
}

// process <image name> [ms]: waits, looking every millisecond, for a process
// of that name; prints its command line and, once it ended, its exit code.
int ProbeProcess(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(argc > 3 ? _wtoi(argv[3]) : 10000);
    DWORD pid = 0;
    while ((pid = FindProcess(argv[2], 0)) == 0) {
        if (GetTickCount64() >= until) return 1;
        Sleep(1);
    }
    std::printf("pid=%lu\n", pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
    if (process == nullptr) {
        std::printf("error=not opened (%lu)\n", GetLastError());
        return 0;
    }
    std::printf("command=%s\n", Utf8(CommandLineOf(process)).c_str());
    if (WaitForSingleObject(process, 30000) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        std::printf("exit=%lu\n", code);
    }
    CloseHandle(process);
    return 0;
}
