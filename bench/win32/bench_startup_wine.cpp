// Under Wine (or Windows): how long Morix.exe takes from CreateProcess to its
// clock window shown. Starts the program in its own folder, watches for a
// visible window of class "MorixForm" titled "Morix" that belongs to the new
// process (polled every millisecond), prints the time, then closes the clock
// with WM_CLOSE and waits for the process to end.
//   bench_startup_wine <folder\Morix.exe> [timeout-ms]
// Output: "visible_ms=<ms>" and "exit=<code>"; exit code 1 when the clock
// did not come up in time (the process is then ended).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    DWORD pid;
    HWND found = nullptr;
};

BOOL CALLBACK FindClockOf(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    wchar_t cls[64] = {}, title[64] = {};
    GetClassNameW(h, cls, 64);
    if (std::wcscmp(cls, L"MorixForm") != 0) return TRUE;
    GetWindowTextW(h, title, 64);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (std::wcscmp(title, L"Morix") == 0 && pid == s->pid && IsWindowVisible(h)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup_wine <folder\\Morix.exe> [timeout-ms]\n");
        return 2;
    }
    const std::wstring exe = argv[1];
    const int timeoutMs = argc > 2 ? _wtoi(argv[2]) : 30000;
    const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + exe + L"\"";

    using Clock = std::chrono::steady_clock;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const auto start = Clock::now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        std::fprintf(stderr, "CreateProcessW failed: %lu\n", GetLastError());
        return 2;
    }
    Search search{pi.dwProcessId};
    double ms = -1;
    for (;;) {
        EnumWindows(FindClockOf, reinterpret_cast<LPARAM>(&search));
        const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (search.found) {
            ms = elapsed;
            break;
        }
        if (elapsed > timeoutMs || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    if (ms < 0) {
        std::fprintf(stderr, "no visible clock within %d ms\n", timeoutMs);
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
        return 1;
    }
    std::printf("visible_ms=%.1f\n", ms);
    // A moment for the start-up's last step before the close, as a user's
    // first click would come.
    Sleep(500);
    PostMessageW(search.found, WM_CLOSE, 0, 0);
    DWORD code = 0;
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    GetExitCodeProcess(pi.hProcess, &code);
    std::printf("exit=%lu\n", code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}
