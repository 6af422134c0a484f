// The simulated desktop's user interface: it makes the fake windows and
// controls, the clips, shaping controls, timers and sound devices, and
// answers the modal pieces (menu, message box, file dialog) from scripts. It
// logs the clip and sound commands, and counts what is alive.
#pragma once

#include "platform/EventGuard.h"
#include "platform/Process.h"
#include "platform/Ui.h"
#include "tests/fake/FakeWindows.h"
#include "platform/Desktop.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morix::test {

class FakeUi;

class FakeAnimation final : public platform::Animation {
public:
    FakeAnimation(FakeUi& ui, FakeWindow& window, std::string name);
    ~FakeAnimation() override;
    void Move(int l, int t) override { left = l, top = t; }
    void SetVisible(bool v) override { visible = v; }
    void SetAutoPlay(bool a) override { autoPlay = a; }
    void Open(std::string_view path) override;
    void Play(int repeatCount) override;
    void Stop() override;
    void Close() override;
    void OnMouseUp(std::function<void(platform::MouseButton)> h) override { onMouseUp = std::move(h); }

    // The user releases a mouse button on the clip.
    void MouseUp(platform::MouseButton button);

    FakeUi& ui;
    FakeWindow& window;
    std::string name;  // "Animation1" ... in the order made on its window
    int left = 0, top = 0;
    bool visible = false, autoPlay = true;
    std::string openPath;  // the clip now shown ("" when closed)
    std::function<void(platform::MouseButton)> onMouseUp;
};

class FakeShaper final : public platform::Shaper {
public:
    FakeShaper(FakeUi& ui, FakeWindow& window);
    ~FakeShaper() override;
    void Move(int l, int t) override { left = l, top = t; }
    void SetSurfaceSize(int w, int h) override { surfaceWidth = w, surfaceHeight = h; }
    void SetVisible(bool v) override { visible = v; }
    bool Visible() const override { return visible; }
    void SetTooltip(std::string_view text) override { tooltip = text; }
    void SetMaskPicture(std::shared_ptr<platform::Picture> p) override { mask = std::move(p); }
    void ApplyShape(bool apply) override { shaped = apply && mask != nullptr; }
    void OnRightClick(std::function<void()> h) override { onRightClick = std::move(h); }

    void RightClick();
    // The user drags the surface: the whole window moves by the distance.
    void Drag(int dx, int dy);
    // The surface's place in the window's client area.
    platform::Rect Surface() const;

    FakeUi& ui;
    FakeWindow& window;
    int left = 0, top = 0, surfaceWidth = 0, surfaceHeight = 0;
    bool visible = true, shaped = false;
    std::string tooltip;
    std::shared_ptr<platform::Picture> mask;
    std::function<void()> onRightClick;
};

class FakeTimer final : public platform::Timer {
public:
    FakeTimer(FakeUi& ui, FakeWindow& window);
    ~FakeTimer() override;
    void SetInterval(int ms) override { interval = ms; }
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
    void OnTimer(std::function<void()> h) override { onTimer = std::move(h); }

    // The interval has passed: raises the timer's event when it is enabled.
    void Fire();

    FakeUi& ui;
    FakeWindow& window;
    int interval = 0;
    bool enabled = false;
    std::function<void()> onTimer;
};

class FakeSoundDevice final : public platform::SoundDevice {
public:
    explicit FakeSoundDevice(FakeUi& ui);
    ~FakeSoundDevice() override;
    void SetFileName(std::string_view path) override;
    void SetCommand(std::string_view command) override;
    void OnDone(std::function<void(platform::SoundEnd)> h) override { onDone = std::move(h); }

    // The device reports the end of the playback.
    void Done(platform::SoundEnd end = platform::SoundEnd::Finished);

    FakeUi& ui;
    std::string fileName;
    std::function<void(platform::SoundEnd)> onDone;
};

struct ShownMessage {
    std::string text, title;
    platform::MessageButtons buttons;
    platform::MessageIcon icon;
    platform::Window* owner;
    // The buttons and icon as the flag value of the system's message box
    // (OK 0, Yes/No 4; stop 16, question 32, exclamation 48).
    int Flags() const {
        const int b = buttons == platform::MessageButtons::YesNo ? 4 : 0;
        const int i = icon == platform::MessageIcon::Stop ? 16 : icon == platform::MessageIcon::Question ? 32
                    : icon == platform::MessageIcon::Exclamation ? 48 : 0;
        return b | i;
    }
};

class FakeUi final : public platform::Ui {
public:
    explicit FakeUi(platform::Process& process) : process(process) {}

    std::unique_ptr<platform::Window> NewWindow(platform::WindowKind kind, platform::Point origin = {}) override;
    std::unique_ptr<platform::Control> NewControl(platform::Window& window, platform::ControlKind kind,
                                                  const platform::ControlSpec& request) override;
    std::unique_ptr<platform::ListBox> NewListBox(platform::Window& window, const platform::ControlSpec& request) override;
    std::unique_ptr<platform::DateTimeControl> NewDateTime(platform::Window& window, platform::DateTimeKind kind,
                                                           const platform::ControlSpec& request) override;
    std::unique_ptr<platform::RichTextBox> NewRichTextBox(platform::Window& window,
                                                          const platform::ControlSpec& request) override;
    std::unique_ptr<platform::Animation> NewAnimation(platform::Window& window, platform::Control* container) override;
    std::unique_ptr<platform::Shaper> NewShaper(platform::Window& window) override;
    std::unique_ptr<platform::Timer> NewTimer(platform::Window& window) override;
    std::unique_ptr<platform::SoundDevice> NewSoundDevice() override;
    int TrackPopupMenu(platform::Window& owner, const std::vector<platform::MenuItem>& items) override;
    std::optional<std::string> ShowOpenFileDialog(platform::Window* owner, std::string_view filter,
                                                  std::string_view initialFolder) override;
    void DeleteToRecycleBin(platform::Window* owner, std::string_view path) override;

    // Runs an event as the platform does: through the guard.
    void Raise(const std::function<void()>& event) { platform::RunGuarded(*this, process, event); }

    // The live window of this title (the newest when several); nullptr when none.
    FakeWindow* FindWindow(std::string_view title) const;
    // The timer made on the window (the first one when several).
    FakeTimer& TimerOf(const FakeWindow& window) const;

    platform::Process& process;
    // The monitors' scales a window takes (none: every window at 96 dpi).
    const platform::Desktop* desktop = nullptr;
    // How the simulated system's message font measures text, at 96 dpi: a
    // half-width character (ASCII, half-width katakana) this many pixels,
    // any other character twice as many; at another scale, as many times
    // wider as the window's dpi says, rounded up. 5 fits every caption of
    // the program's tables, as the Japanese fonts the forms were drawn for.
    int halfWidthPixels = 5;
    // And a line of text this many pixels high at 96 dpi.
    int lineHeightPixels = 15;
    // The program's window that has the keyboard (keys go there), or nullptr.
    FakeWindow* active = nullptr;
    // Alive, in creation order.
    std::vector<FakeWindow*> windows;
    std::vector<FakeShaper*> shapers;
    std::vector<FakeTimer*> timers;
    std::vector<FakeSoundDevice*> sounds;
    std::vector<FakeAnimation*> animations;
    // "Animation2 Open 10.avi", "Animation2 Play 1", "Sound open" ...: file
    // names without their folders.
    std::vector<std::string> log;
    std::deque<platform::MessageAnswer> messageAnswers;  // default: Yes / OK
    std::vector<ShownMessage> messages;
    std::function<void(const ShownMessage&)> whileMessageShown;
    std::deque<int> menuChoices;  // default: nothing chosen
    std::function<void()> whileMenuOpen;
    std::vector<std::vector<platform::MenuItem>> menusShown;
    // The file dialog's answers (default: cancelled) and what it was asked.
    std::deque<std::optional<std::string>> fileDialogAnswers;
    std::vector<std::pair<std::string, std::string>> fileDialogsShown;  // filter, initial folder
    std::vector<std::string> recycled;  // paths deleted to the recycle bin
    // Files another program holds open: the rich-text box cannot read them (75).
    std::vector<std::string> lockedFiles;
    platform::WindowHandle nextHandle = 0x30000;

protected:
    // Logs the box, lets whileMessageShown act as the user meanwhile, and
    // answers from messageAnswers.
    platform::MessageAnswer RunMessageBox(std::string_view text, std::string_view title,
                                          platform::MessageButtons buttons, platform::MessageIcon icon,
                                          platform::Window* owner) override;
};

}  // namespace morix::test
