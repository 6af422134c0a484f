// Implements platform::Ui: makes the Win32 windows and controls
// (Win32Window, Win32Animation, Win32Shaper, Win32Timer, Win32SoundDevice),
// each calling the program's handlers through the event guard with this Ui
// and the Process; registers the common controls it needs
// (InitCommonControlsEx: animation, tooltips); pops up menus (CreatePopupMenu
// tree, SetForegroundWindow, TrackPopupMenu with TPM_RETURNCMD |
// TPM_RIGHTBUTTON at the cursor, WM_NULL after, the window that was in front
// given the front back) and shows message boxes
// (MessageBoxW with MB_TOPMOST | MB_SETFOREGROUND).
#pragma once

#include <windows.h>
// <windows.h> maps CreateWindow to CreateWindowW, which would rename
// Ui::CreateWindow in every file that sees both.
#ifdef CreateWindow
#undef CreateWindow
#endif

#include "platform/Process.h"
#include "platform/Ui.h"

namespace morix::platform::win32 {

class Win32Ui final : public Ui {
public:
    explicit Win32Ui(Process& process);

    std::unique_ptr<Window> CreateWindow(WindowEvents& events) override;
    std::unique_ptr<Animation> CreateAnimation(Window& parent, AnimationEvents& events) override;
    std::unique_ptr<Shaper> CreateShaper(Window& parent, ShaperEvents& events) override;
    std::unique_ptr<Timer> CreateTimer(Window& owner, TimerEvents& events) override;
    std::unique_ptr<SoundDevice> CreateSoundDevice(Window& owner, SoundEvents& events) override;

    int TrackPopupMenu(Window& owner, const std::vector<MenuItem>& items) override;
    int ShowMessageBox(std::string_view text, std::string_view title, int flags) override;

private:
    Process& process_;
};

}  // namespace morix::platform::win32
