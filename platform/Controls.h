// The controls that sit on the program's windows: the clip display
// (SysAnimate32), the shaping control (outline from a mask picture, with a
// drag surface), the timer and the sound device (MCI).
#pragma once

#include "platform/Window.h"

#include <memory>
#include <string>
#include <string_view>

namespace morix::platform {

class AnimationEvents {
public:
    virtual ~AnimationEvents() = default;
    virtual void OnMouseButton(MouseButton button) = 0;
};

// Plays an AVI clip; after a single play the last frame stays shown until
// another clip is opened.
class Animation {
public:
    virtual ~Animation() = default;
    virtual void Move(int left, int top) = 0;  // pixels in the parent window
    virtual void SetVisible(bool visible) = 0;
    virtual void SetAutoPlay(bool autoPlay) = 0;
    // Raises RuntimeError 53 (no file), 76 (no folder) or 75 (a file the
    // control cannot play); the control is then left empty.
    virtual void Open(std::string_view path) = 0;
    virtual void Play(int repeatCount) = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
};

class ShaperEvents {
public:
    virtual ~ShaperEvents() = default;
    // The user right-clicked the visible drag surface.
    virtual void OnRightClick() = 0;
};

// Cuts its window to a mask picture's outline (pixels of the mask colour,
// RGB(192,192,192), are cut away) and, while visible, is a surface over the
// window that drags the whole window with the mouse.
class Shaper {
public:
    static constexpr unsigned MaskColour = 0xC0C0C0;  // RGB(192,192,192)
    virtual ~Shaper() = default;
    virtual void Move(int left, int top) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    virtual void SetTooltip(std::string_view text) = 0;
    virtual void SetMaskPicture(std::shared_ptr<Picture> picture) = 0;
    virtual void ApplyShape(bool apply) = 0;
};

class TimerEvents {
public:
    virtual ~TimerEvents() = default;
    virtual void OnTimer() = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

class SoundEvents {
public:
    virtual ~SoundEvents() = default;
    // A playback started with "play" has ended, by itself, through "stop",
    // or because it could not start. A playback replaced by a newer "open"
    // or "play" before it ended leaves the report to the newer one.
    virtual void OnDone(int notifyCode) = 0;
};

// The MCI device: a file name and the commands "open", "play", "stop",
// "close". Results of the commands are not reported.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    virtual void SetFileName(std::string_view path) = 0;
    virtual void SetCommand(std::string_view command) = 0;
};

}  // namespace morix::platform
