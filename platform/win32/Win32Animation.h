// Implements platform::Animation with a SysAnimate32 child control
// (ACM_OPENW, ACM_PLAY from frame 0 to the last, ACM_STOP, ACS_AUTOPLAY).
// The control is subclassed (GWLP_WNDPROC): it answers WM_NCHITTEST with
// HTCLIENT instead of the control's own HTTRANSPARENT, so a click on a clip
// reaches AnimationEvents::OnMouseButton alone and never the window under
// it; its WM_L/R/MBUTTONUP go to AnimationEvents through the event guard.
#pragma once

#include "platform/Controls.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>

namespace morix::platform::win32 {

class Win32Animation final : public Animation, private WindowAttachment {
public:
    Win32Animation(Win32Window& parent, AnimationEvents& events, EventRunner run);
    ~Win32Animation() override;
    Win32Animation(const Win32Animation&) = delete;
    Win32Animation& operator=(const Win32Animation&) = delete;

    void Move(int left, int top) override;
    void SetVisible(bool visible) override;
    void SetAutoPlay(bool autoPlay) override;
    void Open(std::string_view path) override;
    void Play(int repeatCount) override;
    void Stop() override;
    void Close() override;

    HWND Hwnd() const { return hwnd_.Get(); }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonUp(MouseButton button);
    void OnOwnerGone() override;

    Win32Window* parent_;
    AnimationEvents& events_;
    EventRunner run_;
    UniqueWindow hwnd_;
    WNDPROC controlProc_ = nullptr;
};

}  // namespace morix::platform::win32
