#include "platform/win32/Win32Ui.h"

#include "platform/win32/EventRunner.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Animation.h"
#include "platform/win32/Win32Control.h"
#include "platform/win32/Win32DateTime.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32ListBox.h"
#include "platform/win32/Win32RichTextBox.h"
#include "platform/win32/Win32Shaper.h"
#include "platform/win32/Win32SoundDevice.h"
#include "platform/win32/Win32Timer.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cwchar>

namespace morix::platform::win32 {

namespace {

void RegisterCommonControls() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    // Buttons, edits, lists and statics of version 6; SysAnimate32;
    // tooltips_class32; SysMonthCal32 and SysDateTimePick32.
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_ANIMATE_CLASS | ICC_BAR_CLASSES | ICC_DATE_CLASSES;
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

// The filter of the open-file dialog: "a|b|c|d" as "a\0b\0c\0d\0\0".
std::wstring FileDialogFilter(std::string_view filter) {
    std::wstring list = Widen(filter);
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

}  // namespace

Win32Ui::Win32Ui(Process& process) : process_(process) { RegisterCommonControls(); }

std::unique_ptr<Window> Win32Ui::NewWindow(WindowKind kind, Point origin) {
    return std::make_unique<Win32Window>(kind, EventRunner(*this, process_), origin);
}

std::unique_ptr<Control> Win32Ui::NewControl(Window& window, ControlKind kind, const ControlSpec& request) {
    Win32Window& owner = AsWin32(window);
    return std::make_unique<Win32Control>(owner, ParentFor(owner, request.container), kind, request,
                                          EventRunner(*this, process_));
}

std::unique_ptr<ListBox> Win32Ui::NewListBox(Window& window, const ControlSpec& request) {
    Win32Window& owner = AsWin32(window);
    return std::make_unique<Win32ListBox>(owner, ParentFor(owner, request.container), request, EventRunner(*this, process_));
}

std::unique_ptr<DateTimeControl> Win32Ui::NewDateTime(Window& window, DateTimeKind kind, const ControlSpec& request) {
    Win32Window& owner = AsWin32(window);
    return std::make_unique<Win32DateTime>(owner, ParentFor(owner, request.container), kind, request,
                                           EventRunner(*this, process_));
}

std::unique_ptr<RichTextBox> Win32Ui::NewRichTextBox(Window& window, const ControlSpec& request) {
    Win32Window& owner = AsWin32(window);
    return std::make_unique<Win32RichTextBox>(owner, ParentFor(owner, request.container), request,
                                              EventRunner(*this, process_));
}

std::unique_ptr<Animation> Win32Ui::NewAnimation(Window& window, Control* container) {
    Win32Window& owner = AsWin32(window);
    return std::make_unique<Win32Animation>(owner, ParentFor(owner, container), EventRunner(*this, process_));
}

std::unique_ptr<Shaper> Win32Ui::NewShaper(Window& window) {
    return std::make_unique<Win32Shaper>(AsWin32(window), EventRunner(*this, process_));
}

std::unique_ptr<Timer> Win32Ui::NewTimer(Window& window) {
    return std::make_unique<Win32Timer>(AsWin32(window), EventRunner(*this, process_));
}

std::unique_ptr<SoundDevice> Win32Ui::NewSoundDevice() {
    // The notifications go to the device's own hidden window, so that they
    // depend on no window of the program.
    return std::make_unique<Win32SoundDevice>(EventRunner(*this, process_));
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

MessageAnswer Win32Ui::RunMessageBox(std::string_view text, std::string_view title, MessageButtons buttons,
                                     MessageIcon icon, Window* owner) {
    UINT flags = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
    case MessageIcon::None: break;
    case MessageIcon::Stop: flags |= MB_ICONSTOP; break;
    case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
    case MessageIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
    }
    HWND ownerHwnd = owner != nullptr ? AsWin32(*owner).Hwnd() : nullptr;
    const int answer =
        MessageBoxW(ownerHwnd, Widen(text).c_str(), Widen(title).c_str(), flags | MB_TOPMOST | MB_SETFOREGROUND);
    if (answer == IDYES) return MessageAnswer::Yes;
    if (answer == IDNO) return MessageAnswer::No;
    return MessageAnswer::Ok;
}

std::optional<std::string> Win32Ui::ShowOpenFileDialog(Window* owner, std::string_view filter,
                                                       std::string_view initialFolder) {
    const std::wstring filters = FileDialogFilter(filter);
    const std::wstring folder = Widen(initialFolder);
    // Room for any path the file system holds.
    std::wstring file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner != nullptr ? AsWin32(*owner).Hwnd() : nullptr;
    dialog.lpstrFilter = filter.empty() ? nullptr : filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;  // cancelled, or the dialog failed
    file.resize(std::wcslen(file.c_str()));
    return Narrow(file);
}

void Win32Ui::DeleteToRecycleBin(Window* owner, std::string_view path) {
    // A list of names, each ended by a NUL, the list by another.
    std::wstring from = Widen(path);
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner != nullptr ? AsWin32(*owner).Hwnd() : nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    // The shell asks and reports by itself; the program goes on either way.
    SHFileOperationW(&operation);
}

}  // namespace morix::platform::win32
