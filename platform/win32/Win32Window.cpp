#include "platform/win32/Win32Window.h"

#include "platform/Layout.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/TabOrder.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Control.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Picture.h"
#include "platform/win32/Win32SystemInfo.h"

#include <algorithm>
#include <stdexcept>

namespace morix::platform::win32 {

namespace {

// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW, as the program
// has always passed it.
constexpr UINT TopmostFlags = 0x53;
static_assert(TopmostFlags == (SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW));

// What a borderless window without a background picture shows. Not the
// system's button-face colour: that differs between systems (and under Wine).
constexpr COLORREF BlankColour = RGB(255, 255, 255);

FormWindowParams ParamsFor(WindowKind kind, Point origin) {
    FormWindowParams params;
    // A pixel at the corner, wholly on the monitor the window is made for:
    // the system gives the window that monitor's scale from the start.
    params.left = origin.x;
    params.top = origin.y;
    params.width = params.height = 1;
    if (kind == WindowKind::Dialog) {
        params.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
        params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    } else {
        params.exStyle = WS_EX_TOOLWINDOW;
        params.style = WS_POPUP | WS_CLIPCHILDREN;
    }
    return params;
}

// A key presses only a control the user could click: shown, and neither it
// nor a container around it disabled.
bool CanBeClicked(HWND control) {
    if (!IsWindowVisible(control)) return false;
    for (HWND w = control; w != nullptr; w = GetParent(w)) {
        if (!IsWindowEnabled(w)) return false;
        if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD)) break;
    }
    return true;
}

}  // namespace

Win32Window::Win32Window(WindowKind kind, EventRunner run, Point origin) : kind_(kind), run_(run) {
    hwnd_.Reset(CreateFormWindow(ParamsFor(kind, origin), this));
    if (!hwnd_) throw std::runtime_error("CreateWindowExW failed for a MorixForm window");
    dpi_ = WindowDpi(hwnd_.Get());
    if (kind_ == WindowKind::Dialog) RegisterDialogWindow(hwnd_.Get());
}

Win32Window::~Win32Window() {
    const bool wasActive = IsActive();
    if (kind_ == WindowKind::Dialog) UnregisterDialogWindow(hwnd_.Get());
    DetachTarget(hwnd_.Get());
    // Copy: a control may detach itself while it is told.
    std::vector<WindowAttachment*> attachments = attachments_;
    for (WindowAttachment* a : attachments) a->OnOwnerGone();
    hwnd_.Reset();
    if (wasActive) GiveFrontBack();
}

void Win32Window::SetTitle(std::string_view title) { SetWindowTextW(hwnd_.Get(), Widen(title).c_str()); }

void Win32Window::Move(int left, int top, int width, int height) {
    // A window already there is left alone: a position change is a round of
    // messages and server requests for nothing (the balloon opens where it
    // closed, the clock stays on the window it follows).
    RECT now{};
    if (GetWindowRect(hwnd_.Get(), &now) && now.left == left && now.top == top && now.right - now.left == width &&
        now.bottom - now.top == height)
        return;
    SetWindowPos(hwnd_.Get(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32Window::Bounds() const {
    RECT r{};
    if (!GetWindowRect(hwnd_.Get(), &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

void Win32Window::SetClientSize(int width, int height) {
    RECT outer{0, 0, width, height};
    if (kind_ == WindowKind::Dialog) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_.Get(), GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_.Get(), GWL_EXSTYLE));
        // The caption and frame of the window's own scale (Windows 10 1607
        // and later, Wine): on a monitor of another scale than the system's
        // they differ from the system's metrics.
        using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
        static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFunction>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
        if (!(adjustForDpi && dpi_ > 0 && adjustForDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi_))))
            AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    }
    SetWindowPos(hwnd_.Get(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::FitToCaptions() {
    // The width a control took beyond its place the form has made room for
    // (the calendar's); its height is laid out here.
    const auto laidOut = [](const ChildControl& c) {
        const Rect asked = c.Asked();
        return Rect{asked.left, asked.top, std::max(asked.right, c.Place().right), asked.bottom};
    };
    const std::vector<ChildControl*> controls = ChildControlsOn(hwnd_.Get());
    std::vector<CaptionFit> fits;
    fits.reserve(controls.size());
    for (const ChildControl* c : controls) {
        const ControlTarget* target = c->Target();
        CaptionFit fit{laidOut(*c), InClientArea, target != nullptr ? target->CaptionWidth() : 0,
                       std::max(c->Place().bottom > c->Asked().bottom ? c->Place().Height() : 0,
                                target != nullptr ? target->CaptionHeight() : 0)};
        // Containers come before what they hold.
        for (std::size_t k = 0; k < fits.size(); ++k)
            if (controls[k]->Hwnd() == c->Parent()) fit.container = k;
        fits.push_back(fit);
    }
    RECT client{};
    GetClientRect(hwnd_.Get(), &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    const ClientGrowth growth = GrowToCaptions(fits, width, height);
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (fits[i].place != laidOut(*controls[i]) && controls[i]->Target() != nullptr)
            controls[i]->Target()->MoveByLayout(fits[i].place);
    if (growth.width > 0 || growth.height > 0) SetClientSize(width + growth.width, height + growth.height);
}

void Win32Window::SetBackground(std::shared_ptr<Picture> picture) {
    background_ = AsWin32(std::move(picture));
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

void Win32Window::SetVisible(bool visible) {
    if (visible) {
        ShowWindow(hwnd_.Get(), SW_SHOWNOACTIVATE);
        return;
    }
    const bool wasActive = IsActive();
    ShowWindow(hwnd_.Get(), SW_HIDE);
    if (wasActive) GiveFrontBack();
}

bool Win32Window::Visible() const { return IsWindowVisible(hwnd_.Get()) != FALSE; }

void Win32Window::SetEnabled(bool enabled) { EnableWindow(hwnd_.Get(), enabled ? TRUE : FALSE); }

bool Win32Window::Enabled() const { return IsWindowEnabled(hwnd_.Get()) != FALSE; }

namespace {

// True when the window is shown topmost and first of all windows. The clock
// asks for its place every second; a position change is a round of messages
// and, under Wine, some thirty server requests, for nothing when the window
// is already where it asks to be. Only the first window is looked at: each
// further one is another server request every second (the balloon kept
// hidden and its tooltip lie above the clock once it has been open), and a
// window found below another, even a hidden one, is raised once to be first.
bool StandsFirst(HWND window) {
    if (!IsWindowVisible(window) || (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0) return false;
    return GetTopWindow(nullptr) == window;
}

}  // namespace

void Win32Window::ShowAndActivate() {
    HWND self = hwnd_.Get();
    // The window in front before, to have the front back when this one goes.
    HWND front = GetForegroundWindow();
    if (front != nullptr && front != self && GetAncestor(front, GA_ROOTOWNER) != self) frontBefore_ = front;
    ShowWindow(self, SW_SHOW);
    SetForegroundWindow(self);
}

void Win32Window::ShowTopmostInactive() {
    if (StandsFirst(hwnd_.Get())) return;
    SetWindowPos(hwnd_.Get(), HWND_TOPMOST, 0, 0, 0, 0, TopmostFlags);
}

WindowHandle Win32Window::Handle() const {
    return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(hwnd_.Get()));
}

void Win32Window::SetCancelControl(Control* button) { cancelControl_ = HwndOf(button); }

void Win32Window::SetDefaultControl(Control* button) {
    HWND next = HwndOf(button);
    if (next == defaultControl_) return;
    if (ControlTarget* old = IsWindow(defaultControl_) ? ControlTargetOf(defaultControl_) : nullptr)
        old->ShowAsDefault(false);
    defaultControl_ = next;
    if (ControlTarget* now = next != nullptr ? ControlTargetOf(next) : nullptr) now->ShowAsDefault(true);
}

void Win32Window::Attach(WindowAttachment* attachment) { attachments_.push_back(attachment); }

void Win32Window::Detach(WindowAttachment* attachment) { std::erase(attachments_, attachment); }

void Win32Window::NoteActivationByClick() {
    HWND front = GetForegroundWindow();
    if (front != nullptr && front != hwnd_.Get()) frontBefore_ = front;
}

void Win32Window::FocusControl(HWND control) {
    if (control == nullptr) return;
    if (GetActiveWindow() == hwnd_.Get())
        ::SetFocus(control);
    else
        focusOnActivation_ = control;
}

bool Win32Window::IsActive() const {
    HWND self = hwnd_.Get();
    return self != nullptr && (GetActiveWindow() == self || GetForegroundWindow() == self);
}

void Win32Window::GiveFrontBack() {
    HWND front = std::exchange(frontBefore_, nullptr);
    if (front != nullptr && IsWindow(front) && IsWindowVisible(front)) ::SetForegroundWindow(front);
}

// A dialog the user moves onto a monitor of another scale is laid out again
// for it: its controls' places scaled by the change, the font of the new
// scale, the size the system proposes. The clock and its balloons are placed
// and drawn by the program for the monitor it puts them on.
LRESULT Win32Window::OnDpiChanged(HWND window, WPARAM wParam, const RECT& suggested) {
    const bool dialog = kind_ == WindowKind::Dialog;
    const int oldDpi = std::exchange(dpi_, static_cast<int>(HIWORD(wParam))), newDpi = dpi_;
    if (oldDpi > 0 && newDpi > 0 && oldDpi != newDpi) {
        // A balloon's controls are placed by the program; only those in the
        // system's message font take the new scale's (the memo window's
        // check box), the rich-text boxes keep the fonts they were given.
        struct Rescale {
            int from, to;
            bool places;
            static BOOL CALLBACK Child(HWND child, LPARAM p) {
                const Rescale& r = *reinterpret_cast<const Rescale*>(p);
                if (!r.places) {
                    if (reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == MessageFontForDpi(r.from))
                        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFontForDpi(r.to)), TRUE);
                    return TRUE;
                }
                RECT place{};
                GetWindowRect(child, &place);
                MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
                const auto s = [&r](LONG v) { return MulDiv(v, r.to, r.from); };
                SetWindowPos(child, nullptr, s(place.left), s(place.top), s(place.right) - s(place.left),
                             s(place.bottom) - s(place.top), SWP_NOZORDER | SWP_NOACTIVATE);
                SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont(child)), TRUE);
                return TRUE;
            }
        } rescale{oldDpi, newDpi, dialog};
        EnumChildWindows(window, &Rescale::Child, reinterpret_cast<LPARAM>(&rescale));
    }
    if (!dialog) return 0;
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT Win32Window::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: return OnPaint(window);
    case WM_LBUTTONUP: return OnButtonUp(MouseButton::Left);
    case WM_RBUTTONUP: return OnButtonUp(MouseButton::Right);
    case WM_MBUTTONUP: return OnButtonUp(MouseButton::Middle);
    case WM_MOUSEMOVE: return OnMouseMove(window);
    case WM_MOUSEHOVER: return OnMouseHover();
    case WM_MOUSELEAVE: watchingRest_ = false; return 0;
    case WM_CLOSE: return OnClose();
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: return OnEndSession(wParam != FALSE);
    case WM_TIMER: return OnTimer(window, static_cast<UINT_PTR>(wParam));
    case WM_MOUSEACTIVATE: return OnMouseActivate(window, wParam, lParam);
    case WM_ACTIVATE: return OnActivate(window, wParam, lParam);
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return OnRouted(window, message, wParam, lParam);
    case WM_DEVICECHANGE:
        NoteDeviceChange();
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DISPLAYCHANGE:
        NoteDisplayChange();
        return DefWindowProcW(window, message, wParam, lParam);
    case 0x02E0 /* WM_DPICHANGED */: return OnDpiChanged(window, wParam, *reinterpret_cast<const RECT*>(lParam));
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT Win32Window::OnEraseBackground(HWND, HDC) {
    return 1;  // WM_PAINT draws every pixel; erasing first would flicker
}

LRESULT Win32Window::OnPaint(HWND window) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    RECT client{};
    GetClientRect(window, &client);
    // Whatever the picture does not cover stays blank.
    UniqueBrush blank(CreateSolidBrush(kind_ == WindowKind::Dialog ? GetSysColor(COLOR_BTNFACE) : BlankColour));
    PaintPicture(dc, client, background_.get(), blank.Get());
    EndPaint(window, &ps);
    return 0;
}

LRESULT Win32Window::OnButtonUp(MouseButton button) {
    Fire(run_, onMouseUp_, button);
    return 0;
}

// The hover is reported once and then no longer watched for: the next move
// asks for it again, so a pointer that stays put is told of once.
LRESULT Win32Window::OnMouseMove(HWND window) {
    if (watchingRest_ || !onPointerRest_) return 0;
    TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, window, HOVER_DEFAULT};
    watchingRest_ = TrackMouseEvent(&track) != FALSE;
    return 0;
}

LRESULT Win32Window::OnMouseHover() {
    watchingRest_ = false;
    Fire(run_, onPointerRest_);
    return 0;
}

LRESULT Win32Window::OnClose() {
    // Not DefWindowProc: the program decides whether and how it closes.
    Fire(run_, onCloseRequest_);
    return 0;
}

LRESULT Win32Window::OnEndSession(bool ending) {
    if (ending) Fire(run_, onEndSession_);
    return 0;
}

LRESULT Win32Window::OnTimer(HWND window, UINT_PTR timerId) {
    std::vector<WindowAttachment*> attachments = attachments_;
    for (WindowAttachment* a : attachments)
        if (a->OnOwnerTimer(timerId)) return 0;
    return DefWindowProcW(window, WM_TIMER, timerId, 0);
}

LRESULT Win32Window::OnMouseActivate(HWND window, WPARAM wParam, LPARAM lParam) {
    // A click on the clock or a balloon does not take the front from the
    // window it rides on.
    if (kind_ == WindowKind::Borderless) return MA_NOACTIVATE;
    NoteActivationByClick();
    return DefWindowProcW(window, WM_MOUSEACTIVATE, wParam, lParam);
}

LRESULT Win32Window::OnActivate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (kind_ == WindowKind::Dialog && focus != nullptr && IsChild(window, focus)) focusOnActivation_ = focus;
        return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
    }
    // Activated from a window of this thread: that one is known here. One of
    // another program shows only in the WM_MOUSEACTIVATE before.
    HWND other = reinterpret_cast<HWND>(lParam);
    if (other != nullptr && other != window && !IsChild(window, other)) frontBefore_ = other;
    HWND focus = std::exchange(focusOnActivation_, nullptr);
    if (focus == nullptr || !IsWindow(focus) || !IsChild(window, focus))
        focus = kind_ == WindowKind::Dialog ? NextTabStop(window, nullptr, false) : nullptr;
    if (focus == nullptr) return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
    ::SetFocus(focus);
    return 0;
}

LRESULT Win32Window::OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    HWND from = reinterpret_cast<HWND>(lParam);
    // IsDialogMessageW sends Enter and Esc as IDOK and IDCANCEL, from no
    // control (no control of ours has those ids).
    if ((id == IDOK || id == IDCANCEL) && (from == nullptr || ControlTargetOf(from) == nullptr)) {
        PressFromKey(id == IDOK ? defaultControl_ : cancelControl_);
        return 0;  // the press may have unloaded the form: nothing of it is touched
    }
    LRESULT result = 0;
    if (RouteToControl(WM_COMMAND, wParam, lParam, result)) return result;
    return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
}

LRESULT Win32Window::OnRouted(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (RouteToControl(message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

void Win32Window::PressFromKey(HWND control) {
    if (control == nullptr || !IsWindow(control) || !CanBeClicked(control)) return;
    if (ControlTarget* target = ControlTargetOf(control)) target->PressFromKey();
}

Win32Window& AsWin32(Window& window) {
    auto* win32 = dynamic_cast<Win32Window*>(&window);
    if (win32 == nullptr) throw std::invalid_argument("the window was not made by the Win32 user interface");
    return *win32;
}

}  // namespace morix::platform::win32
