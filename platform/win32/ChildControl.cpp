#include "platform/win32/ChildControl.h"

#include "base/Twips.h"
#include "platform/win32/Wide.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

namespace morix::platform::win32 {

namespace {

// The ChildControl of a subclassed control window.
constexpr wchar_t ChildProperty[] = L"Morix.ChildControl";

// The per-monitor functions of Windows 10 1607 and later (Wine has them),
// looked up once: without them every window is drawn for the system's scale.
template <typename Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}
using ForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using DpiForWindowFunction = UINT(WINAPI*)(HWND);

UniqueFont CreateMessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    static const auto forDpi = User32Function<ForDpiFunction>("SystemParametersInfoForDpi");
    if (dpi != 0 && forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        // Systems before Vista know the structure without its last field.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return {};
    }
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

ChildControl* ChildOf(HWND window) {
    return window != nullptr ? static_cast<ChildControl*>(GetPropW(window, ChildProperty)) : nullptr;
}

// Keeps a window from being activated while it lives: a CBT hook of the
// thread refuses its HCBT_ACTIVATE. A control gives itself the focus on a
// click, and the focus activates the window it is on.
class NoActivation {
public:
    explicit NoActivation(HWND window)
        : previous_(std::exchange(Refused(), window)),
          hook_(SetWindowsHookExW(WH_CBT, &NoActivation::Hook, nullptr, GetCurrentThreadId())) {}
    ~NoActivation() {
        hook_.Reset();
        Refused() = previous_;
    }
    NoActivation(const NoActivation&) = delete;
    NoActivation& operator=(const NoActivation&) = delete;

private:
    static HWND& Refused() {
        thread_local HWND window = nullptr;
        return window;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wParam) == Refused()) return 1;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HWND previous_;
    UniqueHook hook_;
};

bool IsButtonDown(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: return true;
    default: return false;
    }
}

}  // namespace

int WindowDpi(HWND window) {
    static const auto dpiForWindow = User32Function<DpiForWindowFunction>("GetDpiForWindow");
    if (dpiForWindow && window) return static_cast<int>(dpiForWindow(window));
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

HFONT MessageFont(HWND window) { return MessageFontForDpi(WindowDpi(window)); }

HFONT MessageFontForDpi(int dotsPerInch) {
    // One font per scale, made once and kept for the life of the process:
    // every control of every window on monitors of that scale shares it.
    const UINT dpi = static_cast<UINT>(dotsPerInch);
    static std::map<UINT, UniqueFont> fonts;
    auto it = fonts.find(dpi);
    if (it == fonts.end()) it = fonts.emplace(dpi, CreateMessageFont(dpi)).first;
    if (it->second) return it->second.Get();
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void StackAboveContainers(HWND control) {
    HWND below = nullptr;  // the sibling it goes right under; none: the top
    for (HWND sibling = GetWindow(control, GW_HWNDFIRST); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == control) return;  // already above every container
        ControlTarget* target = ControlTargetOf(sibling);
        if (target != nullptr && target->StacksBelowControls()) break;
        below = sibling;
    }
    SetWindowPos(control, below != nullptr ? below : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- routing ----

// The window property holds the ChildControl; the ChildControl names the
// object, which it forgets first when it is destroyed.
ControlTarget* ControlTargetOf(HWND window) {
    ChildControl* child = ChildOf(window);
    return child != nullptr ? child->Target() : nullptr;
}

std::string ControlNameOf(HWND window) {
    ChildControl* child = ChildOf(window);
    return child != nullptr ? child->Name() : std::string();
}

bool RouteToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND: {
        ControlTarget* target = ControlTargetOf(reinterpret_cast<HWND>(lParam));
        if (target == nullptr) return false;
        result = 0;
        target->OnCommand(HIWORD(wParam));
        return true;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        ControlTarget* target = header != nullptr ? ControlTargetOf(header->hwndFrom) : nullptr;
        if (target == nullptr) return false;
        result = target->OnNotify(*header);
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        ControlTarget* target = ControlTargetOf(reinterpret_cast<HWND>(lParam));
        HBRUSH brush = target != nullptr ? target->OnColour(reinterpret_cast<HDC>(wParam)) : nullptr;
        if (brush == nullptr) return false;
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
    default: return false;
    }
}

std::vector<ChildControl*> ChildControlsOn(HWND parent) {
    std::vector<ChildControl*> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        ChildControl* control = ChildOf(child);
        if (control == nullptr) continue;
        found.push_back(control);
        if (control->Target() != nullptr && control->Target()->StacksBelowControls()) {
            const std::vector<ChildControl*> held = ChildControlsOn(child);
            found.insert(found.end(), held.begin(), held.end());
        }
    }
    return found;
}

SIZE MeasureCaption(HWND window, ControlKind kind) {
    if (window == nullptr) return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(0, GetWindowTextW(window, text.data(), length + 1))));
    const int dpi = WindowDpi(window);
    HDC dc = GetDC(window);
    if (dc == nullptr) return {};
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    const HGDIOBJ before = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    // A static breaks its lines only where the text does; the buttons show
    // one line. Both read "&" as the mark of a key.
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | (kind == ControlKind::Label ? 0 : DT_SINGLELINE));
    int around = 0;
    switch (kind) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: {
        // The box, then a gap of half a digit's width before the text.
        INT digit = 0;
        GetCharWidth32W(dc, L'0', L'0', &digit);
        around = MulDiv(13, dpi, UnscaledDpi) + std::max(static_cast<int>(digit) / 2, MulDiv(3, dpi, UnscaledDpi));
        break;
    }
    // Two pixels of edge and the focus frame inside them, on either side.
    case ControlKind::Button: around = 2 * MulDiv(5, dpi, UnscaledDpi); break;
    // The caption stands 7 pixels in from either end of the border, with a
    // pixel of cleared background on each side.
    case ControlKind::Frame: around = 2 * MulDiv(8, dpi, UnscaledDpi); break;
    default: break;
    }
    SelectObject(dc, before);
    ReleaseDC(window, dc);
    return {r.right - r.left + around, r.bottom - r.top};
}

// ---- the control's window ----

ChildControl::ChildControl(Win32Window& window, HWND parent, const ControlSpec& request, ControlTarget& target)
    : window_(&window),
      parent_(parent),
      target_(&target),
      name_(request.name),
      caption_(Widen(request.caption)),
      place_(request.place),
      asked_(request.place),
      id_(window.NewControlId()) {
    window.Attach(this);
}

ChildControl::~ChildControl() {
    Destroy();
    if (window_ != nullptr) window_->Detach(this);
}

void ChildControl::Create(const wchar_t* className, DWORD style, DWORD exStyle, MessageTarget* messages) {
    const RECT at = NativePlace();
    style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    HWND created = nullptr;
    if (messages != nullptr) {
        FormWindowParams params;
        params.exStyle = exStyle;
        params.style = style;
        params.parent = parent_;
        params.id = id_;
        params.left = at.left;
        params.top = at.top;
        params.width = at.right - at.left;
        params.height = at.bottom - at.top;
        created = CreateFormWindow(params, messages);
        formWindow_ = created != nullptr;
        if (created != nullptr) SetWindowTextW(created, caption_.c_str());
    } else {
        created = CreateWindowExW(exStyle, className, caption_.c_str(), style, at.left, at.top, at.right - at.left,
                                  at.bottom - at.top, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                                  GetModuleHandleW(nullptr), nullptr);
    }
    if (created == nullptr) throw std::runtime_error("CreateWindowExW failed for the control " + name_);
    hwnd_.Reset(created);
    SetPropW(created, ChildProperty, this);
    originalProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildControl::SubclassProc)));
    SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont(created)), FALSE);
    if (!target_->StacksBelowControls()) StackAboveContainers(created);
}

void ChildControl::Destroy() {
    // Notifications the window sends while it goes reach no one.
    target_ = nullptr;
    tooltip_.Reset();
    HWND window = hwnd_.Release();
    if (window == nullptr) return;
    if (formWindow_) DetachTarget(window);
    DestroyWindow(window);  // its WM_NCDESTROY lets go of the subclass
}

RECT ChildControl::NativePlace() const {
    RECT r{place_.left, place_.top, place_.right, place_.bottom};
    if (flatAsLine_) {
        if (r.bottom == r.top) r.bottom = r.top + 2;
        if (r.right == r.left) r.right = r.left + 2;
    }
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

void ChildControl::Move(const Rect& place) { MoveLarger(place, place); }

void ChildControl::MoveLarger(const Rect& asked, const Rect& place) {
    asked_ = asked;
    place_ = place;
    const RECT at = NativePlace();
    SetWindowPos(hwnd_.Get(), nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChildControl::SetVisible(bool visible) { ShowWindow(hwnd_.Get(), visible ? SW_SHOWNA : SW_HIDE); }

bool ChildControl::Visible() const {
    // Its own setting, whatever its container or window shows.
    return hwnd_ && (GetWindowLongPtrW(hwnd_.Get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void ChildControl::SetEnabled(bool enabled) { EnableWindow(hwnd_.Get(), enabled ? TRUE : FALSE); }

bool ChildControl::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_.Get()) != FALSE; }

void ChildControl::SetFocus() {
    if (window_ != nullptr && hwnd_) window_->FocusControl(hwnd_.Get());
}

void ChildControl::SetText(std::string_view text) {
    caption_ = Widen(text);
    if (hwnd_) SetWindowTextW(hwnd_.Get(), caption_.c_str());
}

std::string ChildControl::Text() const {
    if (!hwnd_) return Narrow(caption_);
    const int length = GetWindowTextLengthW(hwnd_.Get());
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_.Get(), text.data(), static_cast<int>(text.size()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return Narrow(text);
}

void ChildControl::SetTooltip(std::string_view text) {
    tooltipText_ = Widen(text);
    if (!hwnd_) return;
    if (!tooltip_) {
        if (tooltipText_.empty()) return;
        // No owner: under Wine a topmost popup owned by the window takes the
        // window's place when the window is made topmost.
        tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
        if (!tooltip_) return;
    }
    TOOLINFOW tool{};
    // The version-2 size: accepted by every comctl32, with or without the
    // version 6 manifest.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent_;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_.Get());
    tool.lpszText = tooltipText_.data();
    if (tooltipText_.empty()) {
        // No text is no tooltip.
        if (toolAdded_) SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        toolAdded_ = false;
    } else if (!toolAdded_) {
        toolAdded_ = SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
    } else {
        SendMessageW(tooltip_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

LRESULT CALLBACK ChildControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ChildControl* self = ChildOf(window);
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC original = self->originalProc_;
    switch (message) {
    case WM_MOUSEACTIVATE:
        // A click that types activates the window, so the user can write in
        // a balloon that otherwise never takes the front.
        if (self->target_ != nullptr && self->target_->TakesTyping() && self->window_ != nullptr) {
            if (GetActiveWindow() != self->window_->Hwnd()) self->window_->NoteActivationByClick();
            return MA_ACTIVATE;
        }
        break;
    case WM_NCDESTROY: self->OnWindowGone(window); break;
    default:
        // A click on a control that takes no typing leaves a borderless
        // window inactive, as a click on its face does.
        if (IsButtonDown(message) && self->window_ != nullptr && self->window_->Kind() == WindowKind::Borderless &&
            GetActiveWindow() != self->window_->Hwnd() &&
            (self->target_ == nullptr || !self->target_->TakesTyping())) {
            NoActivation inactive(self->window_->Hwnd());
            // The click may unload the form: nothing of it is touched after.
            return CallWindowProcW(original, window, message, wParam, lParam);
        }
        break;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

void ChildControl::OnWindowGone(HWND window) {
    // The window went with its container or its form, or through Destroy.
    // The subclass stays: the window never gets another message.
    RemovePropW(window, ChildProperty);
    hwnd_.Release();
    tooltip_.Reset();
    toolAdded_ = false;
}

void ChildControl::OnOwnerGone() {
    // The window destroys the control's window right after.
    window_ = nullptr;
}

}  // namespace morix::platform::win32
