#include "platform/win32/Win32ListBox.h"

#include "base/RuntimeError.h"
#include "platform/win32/Wide.h"

namespace morix::platform::win32 {

Win32ListBox::Win32ListBox(Win32Window& window, HWND parent, const ControlSpec& request, EventRunner run)
    : ChildControlOf(window, parent, request, run) {
    child_.Create(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                  WS_EX_CLIENTEDGE);
}

Win32ListBox::~Win32ListBox() { child_.Destroy(); }

void Win32ListBox::SetVisible(bool visible) {
    // A hidden list (the balloon's collections of lines and drives) is never
    // drawn: with its redraw on, each item added or cleared asks the system
    // to repaint it. Shown or hidden first, as the default handling of
    // WM_SETREDRAW sets or clears the visible style as well.
    child_.SetVisible(visible);
    SendMessageW(Hwnd(), WM_SETREDRAW, visible ? TRUE : FALSE, 0);
    if (visible) InvalidateRect(Hwnd(), nullptr, TRUE);
}

void Win32ListBox::AddItem(std::string_view text) {
    SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void Win32ListBox::Clear() { SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0); }

int Win32ListBox::Count() const {
    const LRESULT n = SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0);
    return n == LB_ERR ? 0 : static_cast<int>(n);
}

std::string Win32ListBox::Item(int index) const {
    // An index outside the list is error 5, as the simulated list box
    // raises it: the program meets one rule on every platform.
    if (index < 0 || index >= Count()) Raise(err::InvalidCall, Name());
    const LRESULT length = SendMessageW(Hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) Raise(err::InvalidCall, Name());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(Hwnd(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return Narrow(text);
}

int Win32ListBox::ListIndex() const {
    const LRESULT index = SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32ListBox::SetListIndex(int index) {
    // -1 selects nothing; anything else outside the list is error 5, as for Item.
    if (index < -1 || index >= Count()) Raise(err::InvalidCall, Name());
    SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32ListBox::OnCommand(WORD code) {
    if (code == LBN_SELCHANGE) Fire(run_, onClick_);
}

}  // namespace morix::platform::win32
