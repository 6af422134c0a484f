// Implements platform::Animation with a SysAnimate32 child control of the
// form window or of a container on it (ACM_OPENW, ACM_PLAY from frame 0 to
// the last, ACM_STOP, ACS_AUTOPLAY); Open raises the file errors of
// platform/FileErrors first. The control is subclassed (GWLP_WNDPROC): it
// answers WM_NCHITTEST with HTCLIENT instead of the control's own
// HTTRANSPARENT, so a click on a clip reaches its OnMouseUp handler alone and
// never the window under it; its WM_L/R/MBUTTONUP go to that handler through
// the event guard. A rest of the pointer on it (WM_MOUSEHOVER, asked for
// at each move) is handed to its form window.
#pragma once

#include "platform/Controls.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>

#include <functional>

namespace morix::platform::win32 {

class Win32Animation final : public Animation, private WindowAttachment {
public:
    // `parent`: the form window's HWND or a container's on it.
    Win32Animation(Win32Window& window, HWND parent, EventRunner run);
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
    void OnMouseUp(std::function<void(MouseButton)> handler) override { onMouseUp_ = std::move(handler); }

    HWND Hwnd() const { return hwnd_.Get(); }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonUp(MouseButton button);
    void OnOwnerGone() override;

    Win32Window* window_;
    EventRunner run_;
    std::function<void(MouseButton)> onMouseUp_;
    UniqueWindow hwnd_;
    WNDPROC controlProc_ = nullptr;
    bool watchingRest_ = false;
};

}  // namespace morix::platform::win32
