#include "platform/win32/Win32Window.h"

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Picture.h"

#include <algorithm>
#include <stdexcept>

namespace morix::platform::win32 {

namespace {

// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW, as the program
// has always passed it.
constexpr UINT TopmostFlags = 0x53;
static_assert(TopmostFlags == (SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW));

// What a window without a background picture shows. Not the system's
// button-face colour: that differs between systems (and under Wine).
constexpr COLORREF BlankColour = RGB(255, 255, 255);

}  // namespace

Win32Window::Win32Window(WindowEvents& events, EventRunner run) : events_(events), run_(run) {
    FormWindowParams params;
    params.exStyle = WS_EX_TOOLWINDOW;
    params.style = WS_POPUP | WS_CLIPCHILDREN;
    hwnd_.Reset(CreateFormWindow(params, this));
    if (!hwnd_) throw std::runtime_error("CreateWindowExW failed for a MorixForm window");
}

Win32Window::~Win32Window() {
    DetachTarget(hwnd_.Get());
    // Copy: a control may detach itself while it is told.
    std::vector<WindowAttachment*> attachments = attachments_;
    for (WindowAttachment* a : attachments) a->OnOwnerGone();
    hwnd_.Reset();
}

void Win32Window::SetTitle(std::string_view title) { SetWindowTextW(hwnd_.Get(), Widen(title).c_str()); }

void Win32Window::Move(int left, int top, int width, int height) {
    SetWindowPos(hwnd_.Get(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32Window::Bounds() const {
    RECT r{};
    if (!GetWindowRect(hwnd_.Get(), &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

void Win32Window::SetBackground(std::shared_ptr<Picture> picture) {
    background_ = AsWin32(std::move(picture));
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

void Win32Window::SetVisible(bool visible) { ShowWindow(hwnd_.Get(), visible ? SW_SHOWNOACTIVATE : SW_HIDE); }

bool Win32Window::Visible() const { return IsWindowVisible(hwnd_.Get()) != FALSE; }

void Win32Window::SetEnabled(bool enabled) { EnableWindow(hwnd_.Get(), enabled ? TRUE : FALSE); }

bool Win32Window::Enabled() const { return IsWindowEnabled(hwnd_.Get()) != FALSE; }

void Win32Window::MakeTopmost() { SetWindowPos(hwnd_.Get(), HWND_TOPMOST, 0, 0, 0, 0, TopmostFlags); }

WindowHandle Win32Window::Handle() const {
    return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(hwnd_.Get()));
}

void Win32Window::Attach(WindowAttachment* attachment) { attachments_.push_back(attachment); }

void Win32Window::Detach(WindowAttachment* attachment) {
    attachments_.erase(std::remove(attachments_.begin(), attachments_.end(), attachment), attachments_.end());
}

LRESULT Win32Window::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: return OnPaint(window);
    case WM_LBUTTONUP: return OnButtonUp(MouseButton::Left);
    case WM_RBUTTONUP: return OnButtonUp(MouseButton::Right);
    case WM_MBUTTONUP: return OnButtonUp(MouseButton::Middle);
    case WM_CLOSE: return OnClose();
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: return OnEndSession(wParam != FALSE);
    case WM_TIMER: return OnTimer(window, static_cast<UINT_PTR>(wParam));
    // A click on the clock does not take the front from the window it rides on.
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
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
    int pictureWidth = 0, pictureHeight = 0;
    if (background_ && background_->Bitmap() != nullptr) {
        pictureWidth = background_->Width();
        pictureHeight = background_->Height();
        UniqueMemoryDc source(CreateCompatibleDC(dc));
        SelectedObject selected(source.Get(), background_->Bitmap());
        BitBlt(dc, 0, 0, pictureWidth, pictureHeight, source.Get(), 0, 0, SRCCOPY);
    }
    // Whatever the picture does not cover stays blank.
    UniqueBrush blank(CreateSolidBrush(BlankColour));
    RECT right{pictureWidth, 0, client.right, client.bottom};
    RECT below{0, pictureHeight, std::min<LONG>(pictureWidth, client.right), client.bottom};
    if (right.left < right.right) FillRect(dc, &right, blank.Get());
    if (below.top < below.bottom) FillRect(dc, &below, blank.Get());
    EndPaint(window, &ps);
    return 0;
}

LRESULT Win32Window::OnButtonUp(MouseButton button) {
    run_([&] { events_.OnMouseUp(button); });
    return 0;
}

LRESULT Win32Window::OnClose() {
    // Not DefWindowProc: the program decides whether and how it closes.
    run_([&] { events_.OnCloseRequest(); });
    return 0;
}

LRESULT Win32Window::OnEndSession(bool ending) {
    if (ending) run_([&] { events_.OnEndSession(); });
    return 0;
}

LRESULT Win32Window::OnTimer(HWND window, UINT_PTR timerId) {
    std::vector<WindowAttachment*> attachments = attachments_;
    for (WindowAttachment* a : attachments)
        if (a->OnOwnerTimer(timerId)) return 0;
    return DefWindowProcW(window, WM_TIMER, timerId, 0);
}

Win32Window& AsWin32(Window& window) {
    auto* win32 = dynamic_cast<Win32Window*>(&window);
    if (win32 == nullptr) throw std::invalid_argument("the window was not made by the Win32 user interface");
    return *win32;
}

}  // namespace morix::platform::win32
