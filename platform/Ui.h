// Making the program's windows and controls, and the two modal pieces of user
// interface: the pop-up menu and the message box.
#pragma once

#include "platform/Controls.h"
#include "platform/Window.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morix::platform {

struct MenuItem {
    int id = 0;                 // returned when chosen; 0 for separators and submenus
    std::string caption;        // "-" is a separator
    bool enabled = true;
    std::vector<MenuItem> children;  // non-empty: a submenu
};

namespace mb {
inline constexpr int Ok = 0, YesNo = 4;
inline constexpr int IconStop = 16, IconQuestion = 32;
inline constexpr int AnswerOk = 1, AnswerYes = 6, AnswerNo = 7;
}  // namespace mb

class Ui {
public:
    virtual ~Ui() = default;
    virtual std::unique_ptr<Window> CreateWindow(WindowEvents& events) = 0;
    virtual std::unique_ptr<Animation> CreateAnimation(Window& parent, AnimationEvents& events) = 0;
    virtual std::unique_ptr<Shaper> CreateShaper(Window& parent, ShaperEvents& events) = 0;
    virtual std::unique_ptr<Timer> CreateTimer(Window& owner, TimerEvents& events) = 0;
    virtual std::unique_ptr<SoundDevice> CreateSoundDevice(Window& owner, SoundEvents& events) = 0;

    // Pops the menu up at the pointer and blocks until it closes (events such
    // as timer ticks go on meanwhile). Returns the chosen item's id, or 0.
    virtual int TrackPopupMenu(Window& owner, const std::vector<MenuItem>& items) = 0;

    // A modal message box with the given buttons and icon (mb:: flags); returns
    // the answer (mb::Answer...).
    virtual int ShowMessageBox(std::string_view text, std::string_view title, int flags) = 0;
};

}  // namespace morix::platform
