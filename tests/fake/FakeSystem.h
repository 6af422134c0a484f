// A small simulated desktop implementing the platform for the native tests:
// screens, other programs' windows, the pointer, a settable clock, scripted
// message-box answers and menu choices, and a log of the clip and sound
// commands. Files are real files in a temporary program folder.
#pragma once

#include "platform/EventGuard.h"
#include "platform/Platform.h"
#include "platform/posix/PosixCodePage.h"
#include "platform/posix/PosixDynamicLibraries.h"
#include "platform/posix/PosixFiles.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace morix::test {

// What the fake's Exit throws: it unwinds to the test, past every handler
// (it is no std::exception).
struct ProcessEnded {
    int code;
};

// Real files, with a count of the writes that reach the disk.
class FakeFiles final : public platform::Files {
public:
    std::optional<std::string> ReadAll(std::string_view p) const override { return real.ReadAll(p); }
    bool ReplaceAtomically(std::string_view p, std::string_view b) override {
        ++writes;
        return real.ReplaceAtomically(p, b);
    }
    bool FileExists(std::string_view p) const override { return real.FileExists(p); }
    bool FolderExists(std::string_view p) const override { return real.FolderExists(p); }
    std::vector<std::string> ListFiles(std::string_view f, std::string_view s) const override { return real.ListFiles(f, s); }
    bool RemoveFile(std::string_view p) override { return real.RemoveFile(p); }
    platform::PosixFiles real;
    int writes = 0;
};

class FakeProcess final : public platform::Process {
public:
    std::string ProgramFolder() const override { return folder; }
    bool AnotherInstanceRunning() override { return anotherInstance; }
    [[noreturn]] void Exit(int code) override { throw ProcessEnded{code}; }
    std::string folder;
    bool anotherInstance = false;
};

class FakeClock final : public platform::Clock {
public:
    // Each reading takes the next scripted time; the last one then stays.
    platform::LocalTime Now() const override;
    void Set(int hour, int minute, int second);
    void SetDate(int year, int month, int day);
    // The readings of the next run, one per call of Now().
    void Script(std::vector<std::array<int, 3>> hms);
    mutable std::deque<platform::LocalTime> script;
    platform::LocalTime now{2026, 12, 8, 10, 15, 20};
    mutable int reads = 0;
};

struct FakeOtherWindow {
    std::string title;
    platform::Rect rect;
};

class FakeDesktop final : public platform::Desktop {
public:
    FakeDesktop();
    platform::Rect PrimaryScreen() const override { return monitors.front(); }
    platform::Rect ScreenOf(const platform::Rect& area) const override;
    int TwipsPerPixelX() const override { return twipsX; }
    int TwipsPerPixelY() const override { return twipsY; }
    platform::WindowHandle ForegroundWindow() const override { return foreground; }
    platform::WindowHandle DesktopWindow() const override { return desktopHandle; }
    std::string WindowTitle(platform::WindowHandle window) const override;
    platform::Rect WindowRect(platform::WindowHandle window) const override;
    bool SetForegroundWindow(platform::WindowHandle window) override;
    int SystemMetric(int index) const override;
    platform::Point CursorPos() const override { return cursor; }

    // Adds another program's window and brings it to the front.
    platform::WindowHandle Open(std::string title, platform::Rect rect);
    void Close(platform::WindowHandle window);

    std::vector<platform::Rect> monitors{{0, 0, 1024, 768}};
    int twipsX = 15, twipsY = 15;
    std::map<int, int> metrics{{platform::metric::CxSize, 18}, {platform::metric::CySize, 18}, {platform::metric::CxFrame, 4}};
    std::map<platform::WindowHandle, FakeOtherWindow> windows;
    platform::WindowHandle desktopHandle = 0x10010;
    platform::WindowHandle foreground = 0x10010;
    platform::WindowHandle nextHandle = 0x20000;
    std::vector<platform::WindowHandle> foregroundRequests;
    platform::Point cursor{0, 0};
};

class FakeUi;

class FakeWindow final : public platform::Window {
public:
    FakeWindow(FakeUi& ui, platform::WindowEvents& events, platform::WindowHandle handle)
        : ui(ui), events(events), handle(handle) {}
    ~FakeWindow() override;
    void SetTitle(std::string_view t) override { title = t; }
    void Move(int left, int top, int width, int height) override { bounds = {left, top, left + width, top + height}; }
    platform::Rect Bounds() const override { return bounds; }
    void SetBackground(std::shared_ptr<platform::Picture> picture) override { background = std::move(picture); }
    void SetVisible(bool v) override { visible = v; }
    bool Visible() const override { return visible; }
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
    void MakeTopmost() override {
        visible = true;
        ++topmostCalls;
    }
    platform::WindowHandle Handle() const override { return handle; }

    FakeUi& ui;
    platform::WindowEvents& events;
    platform::WindowHandle handle;
    std::string title;
    platform::Rect bounds;
    std::shared_ptr<platform::Picture> background;
    bool visible = false, enabled = true;
    int topmostCalls = 0;
    int animations = 0;
};

class FakeAnimation final : public platform::Animation {
public:
    FakeAnimation(FakeUi& ui, std::string name, platform::AnimationEvents& events) : ui(ui), name(std::move(name)), events(events) {}
    void Move(int l, int t) override { left = l, top = t; }
    void SetVisible(bool v) override { visible = v; }
    void SetAutoPlay(bool a) override { autoPlay = a; }
    void Open(std::string_view path) override;
    void Play(int repeatCount) override;
    void Stop() override;
    void Close() override;

    FakeUi& ui;
    std::string name;
    platform::AnimationEvents& events;
    int left = 0, top = 0;
    bool visible = false, autoPlay = true;
    std::string openPath;  // the clip now shown ("" when closed)
};

class FakeShaper final : public platform::Shaper {
public:
    explicit FakeShaper(platform::ShaperEvents& events) : events(events) {}
    void Move(int l, int t) override { left = l, top = t; }
    void SetVisible(bool v) override { visible = v; }
    bool Visible() const override { return visible; }
    void SetTooltip(std::string_view text) override { tooltip = text; }
    void SetMaskPicture(std::shared_ptr<platform::Picture> p) override { mask = std::move(p); }
    void ApplyShape(bool apply) override { shaped = apply && mask != nullptr; }

    platform::ShaperEvents& events;
    int left = 0, top = 0;
    bool visible = true, shaped = false;
    std::string tooltip;
    std::shared_ptr<platform::Picture> mask;
};

class FakeTimer final : public platform::Timer {
public:
    explicit FakeTimer(platform::TimerEvents& events) : events(events) {}
    void SetInterval(int ms) override { interval = ms; }
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
    platform::TimerEvents& events;
    int interval = 0;
    bool enabled = false;
};

class FakeSoundDevice final : public platform::SoundDevice {
public:
    FakeSoundDevice(FakeUi& ui, platform::SoundEvents& events) : ui(ui), events(events) {}
    void SetFileName(std::string_view path) override;
    void SetCommand(std::string_view command) override;
    FakeUi& ui;
    platform::SoundEvents& events;
    std::string fileName;
};

struct ShownMessage {
    std::string text, title;
    int flags;
};

class FakeUi final : public platform::Ui {
public:
    explicit FakeUi(platform::Process& process) : process(process) {}
    std::unique_ptr<platform::Window> CreateWindow(platform::WindowEvents& events) override;
    std::unique_ptr<platform::Animation> CreateAnimation(platform::Window& parent, platform::AnimationEvents& events) override;
    std::unique_ptr<platform::Shaper> CreateShaper(platform::Window& parent, platform::ShaperEvents& events) override;
    std::unique_ptr<platform::Timer> CreateTimer(platform::Window& owner, platform::TimerEvents& events) override;
    std::unique_ptr<platform::SoundDevice> CreateSoundDevice(platform::Window& owner, platform::SoundEvents& events) override;
    int TrackPopupMenu(platform::Window& owner, const std::vector<platform::MenuItem>& items) override;
    int ShowMessageBox(std::string_view text, std::string_view title, int flags) override;

    // Runs an event as the platform does: through the guard.
    void Raise(const std::function<void()>& event) { platform::RunGuarded(*this, process, event); }

    platform::Process& process;
    std::vector<FakeWindow*> windows;  // alive, in creation order
    std::vector<FakeShaper*> shapers;
    std::vector<FakeTimer*> timers;
    std::vector<FakeSoundDevice*> sounds;
    std::vector<FakeAnimation*> animations;
    // "Animation2 Open 10.avi", "Animation2 Play 1", "Sound open" ...: file
    // names without their folders.
    std::vector<std::string> log;
    std::deque<int> messageAnswers;  // default: Yes / OK
    std::vector<ShownMessage> messages;
    std::deque<int> menuChoices;     // default: nothing chosen
    std::function<void()> whileMenuOpen;
    std::vector<std::vector<platform::MenuItem>> menusShown;
    platform::WindowHandle nextHandle = 0x30000;
};

class FakePictures final : public platform::Pictures {
public:
    std::shared_ptr<platform::Picture> Load(std::string_view path) override;
    std::vector<std::string> loaded;
};

// The whole simulated system, and the platform made of it.
struct FakeSystem {
    explicit FakeSystem(std::string programFolder);
    FakeProcess process;
    FakeClock clock;
    FakeDesktop desktop;
    FakeUi ui{process};
    FakePictures pictures;
    platform::PosixCodePage codePage;
    FakeFiles files;
    platform::PosixDynamicLibraries libraries;
    platform::Platform platform;

    // Helpers for the tests.
    FakeWindow& ClockWindow() const { return *ui.windows.at(0); }
    FakeTimer& ClockTimer() const { return *ui.timers.at(0); }
    void Tick() { ui.Raise([&] { ClockTimer().events.OnTimer(); }); }
    std::vector<std::string> TakeLog();
};

std::string BaseName(std::string_view path);

}  // namespace morix::test
