#include "platform/win32/Win32Ui.h"

#include "platform/win32/EventRunner.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Animation.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Shaper.h"
#include "platform/win32/Win32SoundDevice.h"
#include "platform/win32/Win32Timer.h"
#include "platform/win32/Win32Window.h"

#include <commctrl.h>

namespace morix::platform::win32 {

namespace {

void RegisterCommonControls() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_ANIMATE_CLASS | ICC_BAR_CLASSES;  // SysAnimate32, tooltips_class32
    InitCommonControlsEx(&icc);
}

// A popup menu holding `items`; submenus belong to it and go with it.
UniqueMenu BuildMenu(const std::vector<MenuItem>& items) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    for (const MenuItem& item : items) {
        UINT grayed = item.enabled ? 0 : MF_GRAYED;
        if (item.caption == "-") {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
        } else if (!item.children.empty()) {
            UniqueMenu sub = BuildMenu(item.children);
            if (AppendMenuW(menu.Get(), MF_POPUP | MF_STRING | grayed, reinterpret_cast<UINT_PTR>(sub.Get()),
                            Widen(item.caption).c_str()))
                sub.Release();
        } else {
            AppendMenuW(menu.Get(), MF_STRING | grayed, static_cast<UINT_PTR>(item.id), Widen(item.caption).c_str());
        }
    }
    return menu;
}

// Lets the messages that a change of focus sends arrive; input stays queued
// for the menu's own loop.
void LetFocusSettle() {
    const DWORD settle = 100;  // milliseconds
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < settle) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Without the foreground the menu would not close on a click elsewhere.
//
// Wine's X11 driver turns a window that has become active into a "managed"
// X window at its next SetWindowPos, unmapping and mapping it again; the
// focus it loses on the way cancels an open menu. The clock's tick raises
// its window every second, so the first menu after start closed by itself.
// The change is made to happen here, once per window, before the menu
// opens: a SetWindowPos that changes nothing while the window is active,
// the focus let settle, the foreground taken again. On Windows the extra
// steps change nothing.
void TakeForeground(Win32Window& owner) {
    HWND window = owner.Hwnd();
    ::SetForegroundWindow(window);
    if (!owner.FirstMenu()) return;
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LetFocusSettle();
    if (GetForegroundWindow() != window) {
        ::SetForegroundWindow(window);
        LetFocusSettle();
    }
}

}  // namespace

Win32Ui::Win32Ui(Process& process) : process_(process) { RegisterCommonControls(); }

std::unique_ptr<Window> Win32Ui::CreateWindow(WindowEvents& events) {
    return std::make_unique<Win32Window>(events, EventRunner(*this, process_));
}

std::unique_ptr<Animation> Win32Ui::CreateAnimation(Window& parent, AnimationEvents& events) {
    return std::make_unique<Win32Animation>(AsWin32(parent), events, EventRunner(*this, process_));
}

std::unique_ptr<Shaper> Win32Ui::CreateShaper(Window& parent, ShaperEvents& events) {
    return std::make_unique<Win32Shaper>(AsWin32(parent), events, EventRunner(*this, process_));
}

std::unique_ptr<Timer> Win32Ui::CreateTimer(Window& owner, TimerEvents& events) {
    return std::make_unique<Win32Timer>(AsWin32(owner), events, EventRunner(*this, process_));
}

std::unique_ptr<SoundDevice> Win32Ui::CreateSoundDevice(Window& owner, SoundEvents& events) {
    // The notifications go to the device's own hidden window, so that they
    // outlive neither the device nor depend on the owner's messages.
    (void)owner;
    return std::make_unique<Win32SoundDevice>(events, EventRunner(*this, process_));
}

int Win32Ui::TrackPopupMenu(Window& owner, const std::vector<MenuItem>& items) {
    Win32Window& win32 = AsWin32(owner);
    HWND window = win32.Hwnd();
    UniqueMenu menu = BuildMenu(items);
    if (!menu) return 0;
    // The menu needs its owner in front; afterwards the window that was in
    // front gets the front back, so that the clock keeps riding on it.
    HWND previous = GetForegroundWindow();
    TakeForeground(win32);
    POINT at{};
    GetCursorPos(&at);
    int chosen = static_cast<int>(::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                                   window, nullptr));
    // Lets the menu's modal loop see the next click at once.
    PostMessageW(window, WM_NULL, 0, 0);
    if (previous != nullptr && previous != window && IsWindow(previous) && GetForegroundWindow() == window)
        ::SetForegroundWindow(previous);
    return chosen;
}

int Win32Ui::ShowMessageBox(std::string_view text, std::string_view title, int flags) {
    return MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(),
                       static_cast<UINT>(flags) | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace morix::platform::win32
