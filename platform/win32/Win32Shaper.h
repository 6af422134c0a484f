// Implements platform::Shaper: SetWindowRgn on the parent window with the
// region of the mask picture's pixels other than RGB(192,192,192)
// (MaskRegion), and the drag surface: a child window of class "MorixForm"
// with WS_EX_TRANSPARENT (it draws nothing, so the face and the clips show
// through it) from its top-left to the window's right and bottom edges, on
// top of the clips. A left-button drag on it moves the whole window (capture
// and SetWindowPos, tracked by hand so that it works alike with and without a
// window manager); WM_RBUTTONUP on it is ShaperEvents::OnRightClick. Its
// tooltip is a tooltips_class32 tool (TTF_IDISHWND | TTF_SUBCLASS).
#pragma once

#include "platform/Controls.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/FormWindowClass.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace morix::platform::win32 {

class Win32Picture;

class Win32Shaper final : public Shaper, private MessageTarget, private WindowAttachment {
public:
    Win32Shaper(Win32Window& parent, EventRunner run);
    ~Win32Shaper() override;
    Win32Shaper(const Win32Shaper&) = delete;
    Win32Shaper& operator=(const Win32Shaper&) = delete;

    void Move(int left, int top) override;
    void SetSurfaceSize(int width, int height) override;
    void SetVisible(bool visible) override;
    bool Visible() const override;
    void SetTooltip(std::string_view text) override;
    void SetMaskPicture(std::shared_ptr<Picture> picture) override;
    void ApplyShape(bool apply) override;
    void OnRightClick(std::function<void()> handler) override { onRightClick_ = std::move(handler); }

    HWND SurfaceHwnd() const { return surface_.Get(); }
    HWND TooltipHwnd() const { return tooltip_.Get(); }

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint(HWND window);
    LRESULT OnLeftButtonDown(HWND window);
    LRESULT OnMouseMove();
    LRESULT OnLeftButtonUp();
    LRESULT OnCaptureChanged();
    LRESULT OnRightButtonUp();
    void OnOwnerGone() override;
    void CoverFace();

    Win32Window* parent_;
    EventRunner run_;
    std::function<void()> onRightClick_;
    std::shared_ptr<Win32Picture> mask_;
    std::wstring tooltipText_;
    int left_ = 0, top_ = 0;
    int width_ = 0, height_ = 0;  // 0 x 0: to the window's edges
    bool toolAdded_ = false;
    bool dragging_ = false;
    POINT dragStartCursor_{};
    POINT dragStartWindow_{};
    UniqueWindow tooltip_;
    UniqueWindow surface_;
};

}  // namespace morix::platform::win32
