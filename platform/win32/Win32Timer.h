// Implements platform::Timer with SetTimer/KillTimer on its owner window
// (a Win32Window): the owner's WM_TIMER with this timer's id calls the
// OnTimer handler, through the event guard.
#pragma once

#include "platform/Controls.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/Win32Window.h"

#include <functional>

namespace morix::platform::win32 {

class Win32Timer final : public Timer, private WindowAttachment {
public:
    Win32Timer(Win32Window& owner, EventRunner run);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    void SetInterval(int milliseconds) override;
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }
    void OnTimer(std::function<void()> handler) override { onTimer_ = std::move(handler); }

private:
    void OnOwnerGone() override;
    bool OnOwnerTimer(UINT_PTR timerId) override;
    void Arm();
    void Disarm();

    Win32Window* owner_;
    EventRunner run_;
    std::function<void()> onTimer_;
    UINT_PTR id_;
    int interval_ = 0;
    bool enabled_ = false;
};

}  // namespace morix::platform::win32
