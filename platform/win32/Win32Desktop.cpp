#include "platform/win32/Win32Desktop.h"

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Handles.h"

#include <atomic>
#include <cstdint>
#include <cwchar>

namespace morix::platform::win32 {

namespace {

std::atomic<unsigned> displayChanges{0};

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle)); }

WindowHandle FromHwnd(HWND window) { return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(window)); }

// GetDpiForMonitor (Windows 8.1 and later; Wine has it) from shcore.dll,
// looked up once: older systems scale every monitor alike.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
GetDpiForMonitorFunction DpiForMonitor() {
    static const GetDpiForMonitorFunction function = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFunction>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return function;
}

// DwmGetWindowAttribute from dwmapi.dll, looked up once: a system without
// the window manager's library has neither cloaking nor caption bounds.
using GetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
GetWindowAttributeFunction DwmWindowAttribute() {
    static const GetWindowAttributeFunction function = [] {
        HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
        return dwm ? reinterpret_cast<GetWindowAttributeFunction>(
                         reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")))
                   : nullptr;
    }();
    return function;
}

}  // namespace

Rect Win32Desktop::PrimaryScreen() const { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Rect Win32Desktop::ScreenOf(const Rect& area) const {
    RECT r{area.left, area.top, area.right, area.bottom};
    HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return PrimaryScreen();
    return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
}

bool Win32Desktop::OnAnyMonitor(const Rect& area) const {
    RECT r{area.left, area.top, area.right, area.bottom};
    return MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}

int Win32Desktop::SystemDpi() const {
    WindowDc screen(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    return dotsPerInch > 0 ? dotsPerInch : 96;
}

int Win32Desktop::MonitorDpi(const Rect& area) const {
    RECT r{area.left, area.top, area.right, area.bottom};
    UINT x = 0, y = 0;
    // MDT_EFFECTIVE_DPI: what the user chose for the monitor.
    if (const GetDpiForMonitorFunction function = DpiForMonitor();
        function && SUCCEEDED(function(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return SystemDpi();
}

WindowHandle Win32Desktop::ForegroundWindow() const { return FromHwnd(GetForegroundWindow()); }

WindowHandle Win32Desktop::DesktopWindow() const { return FromHwnd(GetDesktopWindow()); }

std::string Win32Desktop::WindowTitle(WindowHandle window) const {
    // One call where the title fits the buffer, as every title the clock
    // compares does (it keeps 255 ANSI bytes); asking for the length first
    // and whether the window exists would be two more round trips to the
    // Wine server every second. A window that is gone gives 0.
    std::wstring title(1024, L'\0');
    int got = GetWindowTextW(ToHwnd(window), title.data(), static_cast<int>(title.size()));
    if (got >= static_cast<int>(title.size()) - 1) {
        title.assign(static_cast<std::size_t>(GetWindowTextLengthW(ToHwnd(window))) + 1, L'\0');
        got = GetWindowTextW(ToHwnd(window), title.data(), static_cast<int>(title.size()));
    }
    title.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return Narrow(title);
}

void NoteDisplayChange() { displayChanges.fetch_add(1); }

Rect Win32Desktop::WindowRect(WindowHandle window) const {
    // The desktop is asked for every second while it is in front; under Wine
    // each time checks the display settings with three server requests.
    if (window != 0 && ToHwnd(window) == GetDesktopWindow()) {
        const unsigned changes = displayChanges.load();
        if (!desktopRect_ || desktopRectAfter_ != changes) {
            RECT r{};
            if (!GetWindowRect(ToHwnd(window), &r)) return {};
            desktopRect_ = Rect{r.left, r.top, r.right, r.bottom};
            desktopRectAfter_ = changes;
        }
        return *desktopRect_;
    }
    RECT r{};
    if (window == 0 || !GetWindowRect(ToHwnd(window), &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

bool Win32Desktop::SetForegroundWindow(WindowHandle window) { return ::SetForegroundWindow(ToHwnd(window)) != FALSE; }

int Win32Desktop::SystemMetric(Metric metric) const {
    switch (metric) {
    case Metric::CaptionButtonWidth: return GetSystemMetrics(SM_CXSIZE);
    case Metric::CaptionButtonHeight: return GetSystemMetrics(SM_CYSIZE);
    case Metric::SizingFrameWidth: return GetSystemMetrics(SM_CXFRAME);
    }
    return 0;
}

std::optional<CaptionButtons> Win32Desktop::CaptionButtonsOf(WindowHandle window) const {
    const GetWindowAttributeFunction get = DwmWindowAttribute();
    if (get == nullptr || window == 0) return std::nullopt;
    constexpr DWORD CaptionButtonBounds = 5, ExtendedFrameBounds = 9;
    HWND hwnd = ToHwnd(window);
    RECT buttons{}, frame{}, outer{};
    if (FAILED(get(hwnd, CaptionButtonBounds, &buttons, sizeof buttons)) ||
        FAILED(get(hwnd, ExtendedFrameBounds, &frame, sizeof frame)) || !GetWindowRect(hwnd, &outer))
        return std::nullopt;
    if (buttons.right <= buttons.left || buttons.bottom <= buttons.top) return std::nullopt;
    // The buttons' bounds are given from the window's top-left corner.
    return CaptionButtons{{outer.left + buttons.left, outer.top + buttons.top, outer.left + buttons.right,
                           outer.top + buttons.bottom},
                          {frame.left, frame.top, frame.right, frame.bottom}};
}

bool Win32Desktop::IsCloaked(WindowHandle window) const {
    const GetWindowAttributeFunction get = DwmWindowAttribute();
    if (get == nullptr || window == 0) return false;
    constexpr DWORD Cloaked = 14;  // DWMWA_CLOAKED: a set of DWM_CLOAKED_* reasons, 0 for none
    DWORD reasons = 0;
    return SUCCEEDED(get(ToHwnd(window), Cloaked, &reasons, sizeof reasons)) && reasons != 0;
}

bool Win32Desktop::IsMinimized(WindowHandle window) const { return IsIconic(ToHwnd(window)) != FALSE; }

Point Win32Desktop::CursorPos() const {
    POINT p{};
    if (!GetCursorPos(&p)) return {};
    return {p.x, p.y};
}

Point Win32Desktop::PointerAtLastMessage() const {
    const DWORD at = GetMessagePos();
    return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
}

bool Win32Desktop::HasTitleBar(WindowHandle window) const {
    // A window that is gone has no style (0): no title bar.
    return (GetWindowLongPtrW(ToHwnd(window), GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

bool Win32Desktop::IsShellWindow(WindowHandle window) const {
    HWND hwnd = ToHwnd(window);
    if (hwnd == nullptr) return false;
    if (hwnd == GetShellWindow() || hwnd == GetDesktopWindow()) return true;
    // The icons live in Progman, or, once the wallpaper has been changed by
    // a slide show or an animation, in a WorkerW window before it; a click
    // on the desktop brings either to the front.
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return std::wcscmp(name, L"Progman") == 0 || std::wcscmp(name, L"WorkerW") == 0;
}

bool Win32Desktop::ShellReportsFullScreen() const {
    // QUERY_USER_NOTIFICATION_STATE is an enumeration, passed as an int.
    using Query = HRESULT(WINAPI*)(int*);
    static const Query query = [] {
        HMODULE shell = LoadLibraryW(L"shell32.dll");
        return shell ? reinterpret_cast<Query>(
                           reinterpret_cast<void*>(GetProcAddress(shell, "SHQueryUserNotificationState")))
                     : nullptr;
    }();
    if (query == nullptr) return false;
    int state = 0;
    if (FAILED(query(&state))) return false;
    constexpr int RunningD3dFullScreen = 3, PresentationMode = 4;  // QUNS_RUNNING_D3D_FULL_SCREEN, QUNS_PRESENTATION_MODE
    return state == RunningD3dFullScreen || state == PresentationMode;
}

}  // namespace morix::platform::win32
