#include "platform/win32/Win32Control.h"

#include "base/RuntimeError.h"
#include "base/Twips.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Picture.h"
#include "platform/win32/Win32Window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

namespace morix::platform::win32 {

namespace {

COLORREF ToColorref(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// True when the container (or window) already holds an option button of ours.
bool HoldsOptionButton(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        ControlTarget* target = ControlTargetOf(child);
        if (target != nullptr && target->IsOptionButton()) return true;
    }
    return false;
}

}  // namespace

Win32Control::Win32Control(Win32Window& window, HWND parent, ControlKind kind, const ControlSpec& request,
                           EventRunner run)
    : ChildControlOf(window, parent, request, run), kind_(kind) {
    CreateNative();
}

Win32Control::~Win32Control() {
    child_.Destroy();
    // The group box was a child of the container, and went with it.
    groupBox_.Release();
}

void Win32Control::CreateNative() {
    // Every control but the second and later option buttons of a container
    // starts a group: the arrow keys move only among the option buttons.
    const DWORD group = WS_GROUP;
    switch (kind_) {
    case ControlKind::Label: child_.Create(L"STATIC", SS_LEFT | SS_NOTIFY | group, 0); break;
    case ControlKind::Button: child_.Create(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | group, 0); break;
    case ControlKind::CheckBox: child_.Create(L"BUTTON", BS_3STATE | WS_TABSTOP | group, 0); break;
    case ControlKind::OptionButton: {
        const DWORD first = HoldsOptionButton(child_.Parent()) ? 0 : (group | WS_TABSTOP);
        child_.Create(L"BUTTON", BS_AUTORADIOBUTTON | first, 0);
        break;
    }
    case ControlKind::TextBox:
        child_.Create(L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | group, WS_EX_CLIENTEDGE);
        break;
    case ControlKind::Line: {
        const Rect place = child_.Place();
        child_.DrawFlatAsLine();
        const DWORD direction = place.Width() == 0 ? SS_ETCHEDVERT : SS_ETCHEDHORZ;
        child_.Create(L"STATIC", direction | group, 0);
        break;
    }
    case ControlKind::Frame: {
        child_.Create(FormClassName, group, WS_EX_CONTROLPARENT, this);
        RECT client{};
        GetClientRect(child_.Hwnd(), &client);
        groupBox_.Reset(CreateWindowExW(0, L"BUTTON", Widen(child_.Text()).c_str(),
                                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, client.right,
                                        client.bottom, child_.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                                        GetModuleHandleW(nullptr), nullptr));
        if (!groupBox_) throw std::runtime_error("CreateWindowExW failed for the frame " + Name());
        SendMessageW(groupBox_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont(groupBox_.Get())), FALSE);
        break;
    }
    case ControlKind::Picture:
        // No WS_CLIPCHILDREN: neither has a frame, whose group box covers
        // the whole container.
        child_.Create(FormClassName, group, WS_EX_CONTROLPARENT, this);
        break;
    }
}

void Win32Control::SetText(std::string_view text) {
    child_.SetText(text);
    if (groupBox_) SetWindowTextW(groupBox_.Get(), Widen(text).c_str());
}

std::string Win32Control::Text() const { return child_.Text(); }

int Win32Control::CaptionWidth() const {
    switch (kind_) {
    case ControlKind::Button: {
        int width = MeasureCaption(Hwnd(), kind_).cx;
        // The shield is a small icon with a gap before the caption.
        if (shield_) width += MulDiv(16 + 4, WindowDpi(Hwnd()), UnscaledDpi);
        return width;
    }
    case ControlKind::Label:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: return MeasureCaption(Hwnd(), kind_).cx;
    // The group box draws the frame's caption, in its own font.
    case ControlKind::Frame: return MeasureCaption(groupBox_.Get(), kind_).cx;
    default: return 0;
    }
}

void Win32Control::SetShield(bool shown) {
    if (kind_ != ControlKind::Button) return;
    shield_ = shown;
    SendMessageW(Hwnd(), BCM_SETSHIELD, 0, shown ? TRUE : FALSE);
}

int Win32Control::CaptionHeight() const { return kind_ == ControlKind::Label ? MeasureCaption(Hwnd(), kind_).cy : 0; }

void Win32Control::SetValue(int value) {
    switch (kind_) {
    case ControlKind::CheckBox: {
        static constexpr WPARAM States[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
        if (value < 0 || value > 2) Raise(err::InvalidProperty, Name());
        SendMessageW(Hwnd(), BM_SETCHECK, States[value], 0);
        break;
    }
    case ControlKind::OptionButton:
        if (value != 0)
            Choose();
        else
            SendMessageW(Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
        break;
    default: value_ = value; break;
    }
}

int Win32Control::Value() const {
    switch (kind_) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: {
        const LRESULT state = SendMessageW(Hwnd(), BM_GETCHECK, 0, 0);
        if (state == BST_CHECKED) return 1;
        return state == BST_INDETERMINATE ? 2 : 0;
    }
    default: return value_;
    }
}

void Win32Control::SetStretch(bool stretch) {
    stretch_ = stretch;
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void Win32Control::SetPicture(std::shared_ptr<Picture> picture) {
    picture_ = AsWin32(std::move(picture));
    Repaint();
}

void Win32Control::SetBackColour(std::uint32_t rgb) {
    backColour_ = ToColorref(rgb);
    backBrush_.Reset(CreateSolidBrush(*backColour_));
    Repaint();
}

void Win32Control::Repaint() {
    if (Hwnd() != nullptr) InvalidateRect(Hwnd(), nullptr, TRUE);
    if (groupBox_) InvalidateRect(groupBox_.Get(), nullptr, TRUE);
}

void Win32Control::Choose() {
    // The other option buttons of the same container let go, whether the
    // system's own group (which skips hidden and disabled buttons) reached
    // them or not.
    for (HWND sibling = GetWindow(child_.Parent(), GW_CHILD); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        ControlTarget* target = ControlTargetOf(sibling);
        if (sibling != Hwnd() && target != nullptr && target->IsOptionButton())
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageW(Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
}

void Win32Control::UserClick() {
    if (kind_ == ControlKind::CheckBox) SetValue(Value() == 0 ? 1 : 0);
    if (kind_ == ControlKind::OptionButton) Choose();
    // The handler may unload the form: nothing of this control is touched after.
    Fire(run_, onClick_);
}

void Win32Control::OnCommand(WORD code) {
    // BN_CLICKED and STN_CLICKED are both 0; an edit sends no click.
    if (code != BN_CLICKED || kind_ == ControlKind::TextBox) return;
    UserClick();
}

void Win32Control::PressFromKey() { UserClick(); }

void Win32Control::ShowAsDefault(bool isDefault) {
    if (kind_ != ControlKind::Button) return;
    SendMessageW(Hwnd(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

HBRUSH Win32Control::OnColour(HDC dc) {
    if (!backBrush_) return nullptr;
    SetBkColor(dc, *backColour_);
    return backBrush_.Get();
}

// ---- frames and pictures ----

LRESULT Win32Control::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return OnContainerErase(window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        if (kind_ == ControlKind::Picture) return OnContainerPaint(window);
        break;
    case WM_SIZE:
        if (groupBox_)
            SetWindowPos(groupBox_.Get(), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        return 0;
    case WM_PARENTNOTIFY:
        // A control put into the frame goes above its group box.
        if (LOWORD(wParam) == WM_CREATE && groupBox_)
            SetWindowPos(groupBox_.Get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
    case WM_LBUTTONDOWN:
        if (kind_ != ControlKind::Picture) break;
        pressed_ = true;
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP:
        if (kind_ == ControlKind::Picture) return OnContainerButtonUp(window, lParam);
        break;
    case WM_CAPTURECHANGED: pressed_ = false; return 0;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == groupBox_.Get()) {
            if (HBRUSH brush = OnColour(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        [[fallthrough]];
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // The form routes its controls' notifications, wherever they sit.
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Control::OnContainerErase(HWND window, HDC dc) {
    if (kind_ == ControlKind::Picture) return 1;  // WM_PAINT draws every pixel
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, backBrush_ ? backBrush_.Get() : GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

LRESULT Win32Control::OnContainerPaint(HWND window) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    RECT client{};
    GetClientRect(window, &client);
    PaintPicture(dc, client, picture_.get(), backBrush_ ? backBrush_.Get() : GetSysColorBrush(COLOR_BTNFACE), stretch_);
    EndPaint(window, &ps);
    return 0;
}

LRESULT Win32Control::OnContainerButtonUp(HWND window, LPARAM lParam) {
    const bool wasPressed = std::exchange(pressed_, false);
    if (GetCapture() == window) ReleaseCapture();
    RECT client{};
    GetClientRect(window, &client);
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (wasPressed && PtInRect(&client, at)) Fire(run_, onClick_);
    return 0;
}

// ---- lookups ----

HWND HwndOf(Control* control) {
    if (control == nullptr) return nullptr;
    auto* win32 = dynamic_cast<Win32Control*>(control);
    if (win32 == nullptr) throw std::invalid_argument("the control was not made by the Win32 user interface");
    return win32->Hwnd();
}

HWND ParentFor(Win32Window& window, Control* container) {
    if (container == nullptr) return window.Hwnd();
    auto* win32 = dynamic_cast<Win32Control*>(container);
    if (win32 == nullptr || !win32->IsContainer() || win32->Hwnd() == nullptr ||
        GetAncestor(win32->Hwnd(), GA_ROOT) != window.Hwnd())
        throw std::invalid_argument("a control's container must be a frame or picture of the same window");
    return win32->Hwnd();
}

}  // namespace morix::platform::win32
