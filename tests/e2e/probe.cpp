// The end-to-end tests' eyes inside Wine: a small console program that looks
// at the clock's windows from outside (class, title, rectangle, visibility,
// topmost, region), reads message boxes and controls, tells where on the
// screen a control, a list item, a message box's button or a calendar's day
// is, so that the test can click there as a user does, and which window and
// control have the keyboard. It never presses, picks or types for the test:
// it only moves or closes other programs' windows, as the system would, and
// counts what the clock's process holds (for bench/soak.sh); and it can be a
// full-screen program of its own: a window without a title bar over the
// whole monitor, in front, as a film or a slide show is. One command per
// run; results on standard output as "key=value" lines; exit code 0 on
// success, 1 when what was asked for is not there (after waiting), 2 on a bad
// command.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring ClassOf(HWND h) {
    wchar_t buffer[256] = {};
    GetClassNameW(h, buffer, 256);
    return buffer;
}

std::wstring TextOf(HWND h) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(h, buffer, 1024);
    return buffer;
}

// Prints UTF-8 with C escapes for line breaks, so that one value stays on one line.
void Print(const char* key, const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    std::printf("%s=%s\n", key, out.c_str());
}

HWND WaitFor(const std::function<HWND()>& find, int timeoutMs) {
    for (int waited = 0;; waited += 100) {
        if (HWND h = find()) return h;
        if (waited >= timeoutMs) return nullptr;
        Sleep(100);
    }
}

HWND FindClock() { return FindWindowW(L"MorixForm", L"Morix"); }
// The clock once its start-up has shown it.
HWND FindShownClock() {
    HWND h = FindClock();
    return h && IsWindowVisible(h) ? h : nullptr;
}

// A visible top-level window of the class, of any process.
HWND FindVisible(const wchar_t* className) {
    struct Search { const wchar_t* cls; HWND found = nullptr; } search{className};
    struct Visit {
        static BOOL CALLBACK Window(HWND h, LPARAM p) {
            auto* s = reinterpret_cast<Search*>(p);
            if (IsWindowVisible(h) && ClassOf(h) == s->cls) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumWindows(Visit::Window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A message box is a dialog box.
HWND FindMessageBox() { return FindVisible(L"#32770"); }

HWND FindByTitlePart(const std::wstring& part) {
    struct Search { std::wstring part; HWND found = nullptr; } search{part};
    struct Visit {
        static BOOL CALLBACK Window(HWND h, LPARAM p) {
            auto* s = reinterpret_cast<Search*>(p);
            if (IsWindowVisible(h) && TextOf(h).find(s->part) != std::wstring::npos) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumWindows(Visit::Window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PrintWindow(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    Print("class", Narrow(ClassOf(h)));
    Print("title", Narrow(TextOf(h)));
    std::printf("rect=%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    std::printf("size=%ld %ld\n", r.right - r.left, r.bottom - r.top);
    std::printf("visible=%d\n", IsWindowVisible(h) ? 1 : 0);
    std::printf("topmost=%d\n", (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    std::printf("toolwindow=%d\n", (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ? 1 : 0);
    std::printf("enabled=%d\n", IsWindowEnabled(h) ? 1 : 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(h, region);
    DeleteObject(region);
    Print("region", kind == COMPLEXREGION ? "complex" : kind == SIMPLEREGION ? "simple" : kind == NULLREGION ? "null" : "none");
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    std::printf("pid=%lu\n", pid);
    std::printf("handle=%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(h)));
}

// The text of a control as another program reads it.
std::wstring ControlText(HWND h) {
    const LRESULT n = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    SendMessageW(h, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(n));
    return text;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
           std::to_string(r.bottom);
}

// A control as a line: class, text, screen rectangle.
std::string ControlLine(HWND c) {
    RECT r{};
    GetWindowRect(c, &r);
    return Narrow(ClassOf(c)) + "|" + Narrow(ControlText(c)) + "|" + RectText(r);
}

// One line per control of the window, depth first: class, text, screen
// rectangle, visible, enabled, and the check state of buttons or the items
// and selection of list boxes.
void PrintControls(HWND parent, int depth) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const std::wstring cls = ClassOf(c);
        std::string line(static_cast<std::size_t>(depth) * 2, ' ');
        line += ControlLine(c);
        line += IsWindowVisible(c) ? "|v" : "|-";
        line += IsWindowEnabled(c) ? "e" : "-";
        if (cls == L"Button") line += "|check=" + std::to_string(SendMessageW(c, BM_GETCHECK, 0, 0));
        if (cls == L"ListBox") {
            const LRESULT count = SendMessageW(c, LB_GETCOUNT, 0, 0);
            line += "|selected=" + std::to_string(SendMessageW(c, LB_GETCURSEL, 0, 0)) + "|items=";
            for (LRESULT i = 0; i < count; ++i) {
                const LRESULT n = SendMessageW(c, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
                std::wstring item(static_cast<std::size_t>(n) + 1, L'\0');
                SendMessageW(c, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
                item.resize(static_cast<std::size_t>(n));
                if (i) line += ',';
                line += Narrow(item);
            }
        }
        Print("control", line);
        PrintControls(c, depth + 1);
    }
}

// The first descendant (depth first) of the class.
HWND FindChild(HWND parent, const std::wstring& cls) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == cls) return c;
        if (HWND inner = FindChild(c, cls)) return inner;
    }
    return nullptr;
}

// The screen rectangle of a list box's item, by its text, in the first list
// box of the window that holds it.
bool ListItemRect(HWND parent, const wchar_t* item, RECT& rect) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == L"ListBox") {
            const LRESULT index =
                SendMessageW(c, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
            // The system carries the rectangle across processes for list boxes.
            if (index != LB_ERR &&
                SendMessageW(c, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
                MapWindowPoints(c, nullptr, reinterpret_cast<POINT*>(&rect), 2);
                return true;
            }
        }
        if (ListItemRect(c, item, rect)) return true;
    }
    return false;
}

// The screen rectangle of a part of a month calendar of another process (a
// day, an arrow of its title). The calendar's messages carry pointers the
// system does not copy across processes, so the hit-test record lives in the
// clock's process; the calendar's client area is sampled on a grid and the
// part is where its hits lie.
bool CalendarPartRect(HWND calendar, const std::function<bool(LRESULT, const MCHITTESTINFO&)>& isPart, RECT& rect) {
    DWORD pid = 0;
    GetWindowThreadProcessId(calendar, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(MCHITTESTINFO), MEM_COMMIT, PAGE_READWRITE);
    bool found = false;
    RECT client{};
    GetClientRect(calendar, &client);
    const int step = 2;
    for (int y = 0; remote && y < client.bottom; y += step) {
        for (int x = 0; x < client.right; x += step) {
            MCHITTESTINFO hit{};
            hit.cbSize = sizeof(hit);
            hit.pt = {x, y};
            SIZE_T done = 0;
            if (!WriteProcessMemory(process, remote, &hit, sizeof(hit), &done)) continue;
            const LRESULT kind = SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(remote));
            // Only a day's hit says more than its kind.
            if (kind == MCHT_CALENDARDATE && !ReadProcessMemory(process, remote, &hit, sizeof(hit), &done)) continue;
            if (!isPart(kind, hit)) continue;
            if (!found) rect = {x, y, x + 1, y + 1};
            rect.left = std::min<LONG>(rect.left, x), rect.top = std::min<LONG>(rect.top, y);
            rect.right = std::max<LONG>(rect.right, x + 1), rect.bottom = std::max<LONG>(rect.bottom, y + 1);
            found = true;
        }
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (found) MapWindowPoints(calendar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return found;
}

bool CalendarDayRect(HWND calendar, WORD year, WORD month, WORD day, RECT& rect) {
    return CalendarPartRect(
        calendar,
        [&](LRESULT kind, const MCHITTESTINFO& hit) {
            return kind == MCHT_CALENDARDATE && hit.st.wYear == year && hit.st.wMonth == month && hit.st.wDay == day;
        },
        rect);
}

// The days a calendar of the clock draws in bold, as it keeps them in its
// window properties (platform/win32/Win32DateTime.h): yyyymmdd, in order.
std::string BoldDays(HWND calendar) {
    const auto number = [&](const std::wstring& part) {
        return reinterpret_cast<std::uintptr_t>(GetPropW(calendar, (L"Morix.DayState." + part).c_str()));
    };
    const int first = static_cast<int>(number(L"First")), count = static_cast<int>(number(L"Count"));
    std::string days;
    for (int i = 0; i < count && first != 0; ++i) {
        const int months = first / 100 * 12 + first % 100 - 1 + i;
        const std::uintptr_t bits = number(std::to_wstring(i));
        for (int d = 1; d <= 31; ++d)
            if (bits & (std::uintptr_t{1} << (d - 1)))
                days += (days.empty() ? "" : " ") + std::to_string((months / 12 * 100 + months % 12 + 1) * 100 + d);
    }
    return days;
}

// A program of ours in full screen: a window without a title bar over the
// whole of the primary monitor, in front until the probe is killed.
// Like a film's full screen, it ends on Esc.
LRESULT CALLBACK FullScreenProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_KEYDOWN && w == VK_ESCAPE) return DestroyWindow(window), 0;
    if (message == WM_DESTROY) return PostQuitMessage(0), 0;
    return DefWindowProcW(window, message, w, l);
}

int FullScreenWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW type{};
    type.lpfnWndProc = FullScreenProc;
    type.hInstance = instance;
    type.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    type.lpszClassName = L"MorixProbeFullScreen";
    RegisterClassW(&type);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& r = monitor.rcMonitor;
    HWND window = CreateWindowExW(0, type.lpszClassName, L"Morix probe full screen", WS_POPUP, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    PrintWindow(window);
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "probe clock [timeout-ms]            the clock window, once it is there\n"
                 "probe count-clocks                  how many clock windows there are\n"
                 "probe no-clock [ms]                 succeeds when no clock window appears within ms\n"
                 "probe gone [timeout-ms]             succeeds once the clock window is gone\n"
                 "probe message-box [timeout-ms]      the text, caption and buttons (text|screen rect) of a message box\n"
                 "probe count-message-boxes           how many message boxes are shown\n"
                 "probe popup-menu [timeout-ms]       a shown pop-up menu\n"
                 "probe close-clock                   sends WM_CLOSE to the clock\n"
                 "probe window <title part> [ms]      another window, by part of its title\n"
                 "probe appears|vanishes <title part> [ms]  at=<ms since 1970> when a window of it shows / goes\n"
                 "probe move <title part> x y w h     moves and sizes that window\n"
                 "probe front <title part>            brings it to the front\n"
                 "probe metrics                       caption button and frame sizes, dpi\n"
                 "probe controls <title part> [ms]    the window's controls, one per line\n"
                 "probe item <title part> <item>      the screen rect of that list box item\n"
                 "probe day <title part> <yyyymmdd>   the screen rect of that day in the window's calendar\n"
                 "probe calendar-next <title part>    the screen rect of the next-month arrow of the window's calendar\n"
                 "probe bold-days <title part>        the first month of the window's calendar's day states (yyyymm)\n"
                 "                                    and the days it draws in bold (yyyymmdd ...)\n"
                 "probe full-screen-window            a captionless window over the whole monitor, in front, until Esc\n"
                 "probe focus                         the active window and the focused control of the clock's thread\n"
                 "probe gui-objects                   the clock process's GDI and USER objects, handles, windows\n"
                 "probe hold-file <path> <ms>         holds the file as a virus scanner does (no delete sharing) for ms;\n"
                 "                                    held=, folder_changes=, unchanged=, released=\n");
    return 2;
}

int Timeout(int argc, wchar_t** argv, int index, int fallback) { return argc > index ? _wtoi(argv[index]) : fallback; }

// The wall clock in milliseconds since 1970, as `date +%s%3N` gives it on
// the same machine: the moment a window came or went, to compare with the
// moment the script moved the pointer.
long long UnixMs() {
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    const long long ticks = (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks / 10000 - 11644473600000LL;
}

// Waits, looking every 2 ms, until a visible window of the title is there
// (`shown`) or is not (`!shown`); prints at=<UnixMs> of that moment.
int WaitForTitleState(const std::wstring& part, bool shown, int timeoutMs) {
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if ((FindByTitlePart(part) != nullptr) == shown) {
            std::printf("at=%lld\n", UnixMs());
            return 0;
        }
        if (GetTickCount64() >= until) return 1;
        Sleep(2);
    }
}

// A file's bytes read through a handle, from its start.
std::string ReadThrough(HANDLE file) {
    std::string data;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
    return data;
}

// What is at the path now, opened as a reader that stands in nobody's way;
// empty when nothing can be opened there.
std::string ReadNow(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string data = ReadThrough(file);
    CloseHandle(file);
    return data;
}

// Another program's short look at a file, as a virus scanner, the search
// indexer or a backup client takes one: open for reading, others let to read
// and write it but not to delete it or rename over it, for `ms`. Prints
// held=<UnixMs> the moment it holds the file; then how often the file's
// folder changed meanwhile (someone else trying to write there), whether the
// file is still the one it held, and released=<UnixMs> once it let go.
int HoldFile(const std::wstring& path, int ms) {
    const std::wstring folder = path.substr(0, path.find_last_of(L"\\/"));
    HANDLE changes = FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("error=%lu\n", GetLastError());
        if (changes != INVALID_HANDLE_VALUE) FindCloseChangeNotification(changes);
        return 1;
    }
    const std::string held = ReadThrough(file);
    std::printf("held=%lld\n", UnixMs());
    std::fflush(stdout);
    int seen = 0;
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        if (changes == INVALID_HANDLE_VALUE) {
            Sleep(static_cast<DWORD>(until - now));
            break;
        }
        if (WaitForSingleObject(changes, static_cast<DWORD>(until - now)) != WAIT_OBJECT_0) break;
        ++seen;
        FindNextChangeNotification(changes);
    }
    std::printf("folder_watched=%d\n", changes != INVALID_HANDLE_VALUE ? 1 : 0);
    std::printf("folder_changes=%d\n", seen);
    std::printf("unchanged=%d\n", ReadNow(path) == held ? 1 : 0);
    CloseHandle(file);
    std::printf("released=%lld\n", UnixMs());
    std::fflush(stdout);
    if (changes != INVALID_HANDLE_VALUE) FindCloseChangeNotification(changes);
    return 0;
}

}  // namespace

// The face's clips and the local time (tests/e2e/probe_clips.cpp).
int ProbeClips(int argc, wchar_t** argv);
int ProbeLocalTime();
// A session without the right to change the time, and other processes
// (tests/e2e/probe_processes.cpp).
int ProbeWithoutTimeRight(int argc, wchar_t** argv);
int ProbeProcess(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const std::wstring command = argv[1];
    if (command == L"clips") return ProbeClips(argc, argv);
    if (command == L"local-time") return ProbeLocalTime();
    if (command == L"without-time-right") return ProbeWithoutTimeRight(argc, argv);
    if (command == L"process") return ProbeProcess(argc, argv);
    if (command == L"clock") {
        HWND h = WaitFor(FindShownClock, Timeout(argc, argv, 2, 10000));
        if (!h) return 1;
        // Shown is the last step of the start-up but one: let it finish.
        Sleep(300);
        PrintWindow(h);
        return 0;
    }
    if (command == L"count-clocks") {
        int count = 0;
        struct Visit {
            static BOOL CALLBACK Window(HWND h, LPARAM p) {
                if (ClassOf(h) == L"MorixForm" && TextOf(h) == L"Morix") ++*reinterpret_cast<int*>(p);
                return TRUE;
            }
        };
        EnumWindows(Visit::Window, reinterpret_cast<LPARAM>(&count));
        std::printf("count=%d\n", count);
        return 0;
    }
    if (command == L"no-clock") {
        return WaitFor(FindClock, Timeout(argc, argv, 2, 3000)) ? 1 : 0;
    }
    if (command == L"gone") {
        return WaitFor([] { return FindClock() ? nullptr : GetDesktopWindow(); }, Timeout(argc, argv, 2, 10000)) ? 0 : 1;
    }
    if (command == L"message-box") {
        HWND box = WaitFor(FindMessageBox, Timeout(argc, argv, 2, 10000));
        if (!box) return 1;
        Print("caption", Narrow(TextOf(box)));
        std::wstring text;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring cls = ClassOf(child);
            if (cls == L"Static" && GetWindowTextLengthW(child) > 0) text += TextOf(child);
            if (cls == L"Button") {
                RECT r{};
                GetWindowRect(child, &r);
                Print("button", Narrow(TextOf(child)) + "|" + RectText(r));
            }
        }
        Print("text", Narrow(text));
        return 0;
    }
    if (command == L"count-message-boxes") {
        int count = 0;
        struct Visit {
            static BOOL CALLBACK Window(HWND h, LPARAM p) {
                if (IsWindowVisible(h) && ClassOf(h) == L"#32770") ++*reinterpret_cast<int*>(p);
                return TRUE;
            }
        };
        EnumWindows(Visit::Window, reinterpret_cast<LPARAM>(&count));
        std::printf("count=%d\n", count);
        return 0;
    }
    if (command == L"popup-menu") {
        HWND menu = WaitFor([] { return FindVisible(L"#32768"); }, Timeout(argc, argv, 2, 3000));
        if (!menu) return 1;
        PrintWindow(menu);
        return 0;
    }
    if (command == L"close-clock") {
        HWND h = FindClock();
        if (!h) return 1;
        PostMessageW(h, WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == L"window" && argc >= 3) {
        HWND h = WaitFor([&] { return FindByTitlePart(argv[2]); }, Timeout(argc, argv, 3, 10000));
        if (!h) return 1;
        PrintWindow(h);
        return 0;
    }
    if ((command == L"appears" || command == L"vanishes") && argc >= 3)
        return WaitForTitleState(argv[2], command == L"appears", Timeout(argc, argv, 3, 10000));
    if (command == L"move" && argc >= 7) {
        HWND h = FindByTitlePart(argv[2]);
        if (!h) return 1;
        return MoveWindow(h, _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]), TRUE) ? 0 : 1;
    }
    if (command == L"front" && argc >= 3) {
        HWND h = FindByTitlePart(argv[2]);
        if (!h) return 1;
        return SetForegroundWindow(h) ? 0 : 1;
    }
    if (command == L"metrics") {
        std::printf("cxsize=%d\ncysize=%d\ncxframe=%d\n", GetSystemMetrics(SM_CXSIZE), GetSystemMetrics(SM_CYSIZE),
                    GetSystemMetrics(SM_CXFRAME));
        HDC dc = GetDC(nullptr);
        std::printf("dpix=%d\ndpiy=%d\n", GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY));
        ReleaseDC(nullptr, dc);
        std::printf("screen=%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        HWND fg = GetForegroundWindow();
        Print("foreground", Narrow(TextOf(fg)));
        return 0;
    }
    if (command == L"controls" && argc >= 3) {
        HWND h = WaitFor([&] { return FindByTitlePart(argv[2]); }, Timeout(argc, argv, 3, 10000));
        if (!h) return 1;
        Sleep(300);
        PrintWindow(h);
        PrintControls(h, 0);
        return 0;
    }
    if (command == L"item" && argc >= 4) {
        HWND h = FindByTitlePart(argv[2]);
        RECT r{};
        if (!h || !ListItemRect(h, argv[3], r)) return 1;
        std::printf("rect=%s\n", RectText(r).c_str());
        return 0;
    }
    if (command == L"day" && argc >= 4) {
        HWND h = FindByTitlePart(argv[2]);
        HWND calendar = h ? FindChild(h, MONTHCAL_CLASSW) : nullptr;
        const int date = _wtoi(argv[3]);
        RECT r{};
        if (!calendar || !CalendarDayRect(calendar, static_cast<WORD>(date / 10000), static_cast<WORD>(date / 100 % 100),
                                          static_cast<WORD>(date % 100), r))
            return 1;
        std::printf("rect=%s\n", RectText(r).c_str());
        return 0;
    }
    if (command == L"calendar-next" && argc >= 3) {
        HWND h = FindByTitlePart(argv[2]);
        HWND calendar = h ? FindChild(h, MONTHCAL_CLASSW) : nullptr;
        RECT r{};
        if (!calendar ||
            !CalendarPartRect(calendar, [](LRESULT kind, const MCHITTESTINFO&) { return kind == MCHT_TITLEBTNNEXT; }, r))
            return 1;
        std::printf("rect=%s\n", RectText(r).c_str());
        return 0;
    }
    if (command == L"bold-days" && argc >= 3) {
        HWND h = FindByTitlePart(argv[2]);
        HWND calendar = h ? FindChild(h, MONTHCAL_CLASSW) : nullptr;
        if (!calendar) return 1;
        const int first = static_cast<int>(reinterpret_cast<std::uintptr_t>(GetPropW(calendar, L"Morix.DayState.First")));
        std::printf("first=%d\n", first);
        Print("bold", BoldDays(calendar));
        return 0;
    }
    if (command == L"full-screen-window") return FullScreenWindow();
    if (command == L"focus") {
        // The clock's windows share one thread; its input state says which
        // window is active and which control takes the keys.
        HWND clock = WaitFor(FindClock, 5000);
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (!clock || !GetGUIThreadInfo(GetWindowThreadProcessId(clock, nullptr), &info)) return 1;
        Print("active", info.hwndActive ? Narrow(TextOf(info.hwndActive)) : "");
        Print("focus", info.hwndFocus ? ControlLine(info.hwndFocus) : "");
        return 0;
    }
    if (command == L"gui-objects") {
        HWND h = FindClock();
        if (!h) return 1;
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        std::printf("pid=%lu\n", pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
        if (!process) return 1;
        // Wine may not keep these counts; a zero comes with the reason.
        SetLastError(0);
        const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
        std::printf("gdi=%lu\ngdi_error=%lu\n", gdi, gdi ? 0ul : GetLastError());
        SetLastError(0);
        const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
        std::printf("user=%lu\nuser_error=%lu\n", user, user ? 0ul : GetLastError());
        DWORD handles = 0;
        if (GetProcessHandleCount(process, &handles)) std::printf("handles=%lu\n", handles);
        else std::printf("handles=-\nhandles_error=%lu\n", GetLastError());
        CloseHandle(process);
        // The windows of the process, top-level and child: USER objects the
        // system surely keeps.
        struct Count {
            DWORD pid;
            int top = 0, all = 0;
            static BOOL CALLBACK Child(HWND, LPARAM q) {
                ++reinterpret_cast<Count*>(q)->all;
                return TRUE;
            }
            static BOOL CALLBACK Top(HWND w, LPARAM p) {
                auto* c = reinterpret_cast<Count*>(p);
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner != c->pid) return TRUE;
                ++c->top, ++c->all;
                EnumChildWindows(w, Child, p);
                return TRUE;
            }
        } count{pid};
        EnumWindows(Count::Top, reinterpret_cast<LPARAM>(&count));
        std::printf("windows=%d\ntop_windows=%d\n", count.all, count.top);
        return 0;
    }
    if (command == L"hold-file" && argc >= 4) return HoldFile(argv[2], _wtoi(argv[3]));
    return Usage();
}
