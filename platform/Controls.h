// The outside components of the clock window and the options dialog: the
// clip display (SysAnimate32), the shaping control (outline from a mask
// picture, with a drag surface), the timer and the sound device (MCI). Events
// are callbacks, called through the event guard.
#pragma once

#include "platform/Window.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace morix::platform {

class Picture;

// Plays an AVI clip; after a single play the last frame stays shown until
// another clip is opened.
class Animation {
public:
    virtual ~Animation() = default;
    virtual void Move(int left, int top) = 0;  // pixels in its container
    virtual void SetVisible(bool visible) = 0;
    virtual void SetAutoPlay(bool autoPlay) = 0;
    // Raises RuntimeError 53 (no file), 76 (no folder) or 75 (a file the
    // control cannot play); the control is then left empty.
    virtual void Open(std::string_view path) = 0;
    virtual void Play(int repeatCount) = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
    // A mouse button released on the clip.
    virtual void OnMouseUp(std::function<void(MouseButton)> handler) = 0;
};

// Cuts its window to a mask picture's outline (pixels of MaskColour are cut
// away) and, while visible, is a surface over the window from its place to
// the given size (to the window's right and bottom edges when none is given)
// that drags the whole window with the mouse.
class Shaper {
public:
    virtual ~Shaper() = default;
    virtual void Move(int left, int top) = 0;
    // The drag surface's size; 0 x 0 (the default) reaches to the window's
    // right and bottom edges.
    virtual void SetSurfaceSize(int width, int height) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    virtual void SetTooltip(std::string_view text) = 0;
    virtual void SetMaskPicture(std::shared_ptr<Picture> picture) = 0;
    virtual void ApplyShape(bool apply) = 0;
    // The user right-clicked the visible drag surface.
    virtual void OnRightClick(std::function<void()> handler) = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual void OnTimer(std::function<void()> handler) = 0;
};

// Why a playback ended.
enum class SoundEnd {
    Finished,    // it played to its end
    Failed,      // it could not start or broke off (no device, a file the device refuses)
    Stopped,     // "stop", "close" or a new "open" ended it
};

// The MCI device: a file name and the commands "open", "play", "stop",
// "close". Results of the commands are not reported.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    virtual void SetFileName(std::string_view path) = 0;
    virtual void SetCommand(std::string_view command) = 0;
    // A playback started with "play" has ended, by itself, through "stop",
    // or because it could not start: reported once per play, never from
    // inside a command. A playback replaced by a newer "play" before it ended
    // leaves the report to the newer one.
    virtual void OnDone(std::function<void(SoundEnd)> handler) = 0;
};

}  // namespace morix::platform
