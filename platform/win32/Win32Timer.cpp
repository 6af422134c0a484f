#include "platform/win32/Win32Timer.h"

namespace morix::platform::win32 {

Win32Timer::Win32Timer(Win32Window& owner, EventRunner run) : owner_(&owner), run_(run), id_(owner.NewTimerId()) {
    owner.Attach(this);
}

Win32Timer::~Win32Timer() {
    if (owner_ == nullptr) return;
    Disarm();
    owner_->Detach(this);
}

void Win32Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    // As the timer control behaves: a new interval restarts the count, and
    // an interval of 0 stops the ticks without clearing Enabled.
    if (enabled_) Arm();
}

void Win32Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled_)
        Arm();
    else
        Disarm();
}

void Win32Timer::Arm() {
    if (owner_ == nullptr) return;
    if (interval_ <= 0) {
        Disarm();
        return;
    }
    SetTimer(owner_->Hwnd(), id_, static_cast<UINT>(interval_), nullptr);
}

void Win32Timer::Disarm() {
    if (owner_ != nullptr) KillTimer(owner_->Hwnd(), id_);
}

void Win32Timer::OnOwnerGone() { owner_ = nullptr; }

bool Win32Timer::OnOwnerTimer(UINT_PTR timerId) {
    if (timerId != id_) return false;
    // The handler may destroy this timer; nothing of it is touched after.
    if (enabled_) Fire(run_, onTimer_);
    return true;
}

}  // namespace morix::platform::win32
