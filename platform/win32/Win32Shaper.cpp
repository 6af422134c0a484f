#include "platform/win32/Win32Shaper.h"

#include "platform/win32/MaskRegion.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Picture.h"

#include <commctrl.h>

#include <stdexcept>

namespace morix::platform::win32 {

namespace {

POINT MessageCursor() {
    DWORD pos = GetMessagePos();
    return POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
}

TOOLINFOW ToolFor(HWND owner, HWND surface, const std::wstring& text) {
    TOOLINFOW tool{};
    // The version-2 size: accepted by every comctl32, with or without the
    // version 6 manifest.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(surface);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return tool;
}

}  // namespace

Win32Shaper::Win32Shaper(Win32Window& parent, EventRunner run) : parent_(&parent), run_(run) {
    FormWindowParams params;
    params.exStyle = WS_EX_TRANSPARENT;
    // Visible as placed, like every control; the clock window hides its
    // surface until drag mode, the memo window keeps its corner.
    params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE;
    params.parent = parent.Hwnd();
    surface_.Reset(CreateFormWindow(params, this));
    if (!surface_) throw std::runtime_error("CreateWindowExW failed for the drag surface");
    // The tooltip has no owner: under Wine a topmost popup owned by the
    // window takes the window's place when it is made topmost, and the
    // window itself never gets WS_EX_TOPMOST.
    tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr));
    parent.Attach(this);
}

Win32Shaper::~Win32Shaper() {
    if (parent_ == nullptr) return;
    parent_->Detach(this);
    if (GetCapture() == surface_.Get()) ReleaseCapture();
    DetachTarget(surface_.Get());
    tooltip_.Reset();
    surface_.Reset();
}

void Win32Shaper::Move(int left, int top) {
    left_ = left;
    top_ = top;
    CoverFace();
}

void Win32Shaper::SetSurfaceSize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    CoverFace();
}

void Win32Shaper::CoverFace() {
    if (parent_ == nullptr) return;
    RECT client{};
    GetClientRect(parent_->Hwnd(), &client);
    int width = client.right > left_ ? client.right - left_ : 0;
    int height = client.bottom > top_ ? client.bottom - top_ : 0;
    if (width_ > 0 || height_ > 0) {
        width = width_;
        height = height_;
    }
    SetWindowPos(surface_.Get(), HWND_TOP, left_, top_, width, height, SWP_NOACTIVATE);
}

void Win32Shaper::SetVisible(bool visible) {
    if (visible) {
        // Above the clips, and over the face as the window is now sized.
        CoverFace();
        ShowWindow(surface_.Get(), SW_SHOWNA);
    } else {
        if (GetCapture() == surface_.Get()) ReleaseCapture();
        ShowWindow(surface_.Get(), SW_HIDE);
    }
}

bool Win32Shaper::Visible() const {
    return surface_ && (GetWindowLongPtrW(surface_.Get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Shaper::SetTooltip(std::string_view text) {
    tooltipText_ = Widen(text);
    if (!tooltip_ || parent_ == nullptr) return;
    TOOLINFOW tool = ToolFor(parent_->Hwnd(), surface_.Get(), tooltipText_);
    if (!toolAdded_)
        toolAdded_ = SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
    else
        SendMessageW(tooltip_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Shaper::SetMaskPicture(std::shared_ptr<Picture> picture) { mask_ = AsWin32(std::move(picture)); }

void Win32Shaper::ApplyShape(bool apply) {
    if (parent_ == nullptr) return;
    if (!apply || !mask_) {
        SetWindowRgn(parent_->Hwnd(), nullptr, TRUE);
        return;
    }
    UniqueRegion region = RegionFromMask(mask_->Bitmap(), MaskColour);
    if (!region) return;
    // The system owns the region from here on.
    if (SetWindowRgn(parent_->Hwnd(), region.Get(), TRUE) != 0) region.Release();
}

LRESULT Win32Shaper::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: return OnPaint(window);
    case WM_LBUTTONDOWN: return OnLeftButtonDown(window);
    case WM_MOUSEMOVE: return OnMouseMove();
    case WM_LBUTTONUP: return OnLeftButtonUp();
    case WM_CAPTURECHANGED: return OnCaptureChanged();
    case WM_RBUTTONUP: return OnRightButtonUp();
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT Win32Shaper::OnPaint(HWND window) {
    // Nothing is drawn: the face and the clips beneath show through.
    PAINTSTRUCT ps{};
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
    return 0;
}

LRESULT Win32Shaper::OnLeftButtonDown(HWND window) {
    if (parent_ == nullptr) return 0;
    RECT r{};
    GetWindowRect(parent_->Hwnd(), &r);
    dragStartWindow_ = POINT{r.left, r.top};
    dragStartCursor_ = MessageCursor();
    dragging_ = true;
    SetCapture(window);
    return 0;
}

LRESULT Win32Shaper::OnMouseMove() {
    if (!dragging_ || parent_ == nullptr) return 0;
    POINT now = MessageCursor();
    SetWindowPos(parent_->Hwnd(), nullptr, dragStartWindow_.x + (now.x - dragStartCursor_.x),
                 dragStartWindow_.y + (now.y - dragStartCursor_.y), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT Win32Shaper::OnLeftButtonUp() {
    if (dragging_) {
        OnMouseMove();  // the release point is where the window ends up
        dragging_ = false;
        ReleaseCapture();
    }
    return 0;
}

LRESULT Win32Shaper::OnCaptureChanged() {
    dragging_ = false;
    return 0;
}

LRESULT Win32Shaper::OnRightButtonUp() {
    Fire(run_, onRightClick_);
    return 0;
}

void Win32Shaper::OnOwnerGone() {
    // The surface (a child) dies with the window; the tooltip has no owner
    // and is destroyed here.
    parent_ = nullptr;
    DetachTarget(surface_.Get());
    surface_.Release();
    tooltip_.Reset();
}

}  // namespace morix::platform::win32
