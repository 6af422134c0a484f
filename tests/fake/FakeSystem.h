// A small simulated desktop implementing the platform for the native tests:
// screens, other programs' windows, the pointer, a settable clock, the
// system's figures, the user interface of tests/fake/FakeUi.h. Files are real
// files in a temporary program folder.
#pragma once

#include "platform/Platform.h"
#include "platform/TimeRequest.h"
#include "tests/fake/FakeLibraries.h"
#include "tests/fake/FakeTimeZones.h"
#include "tests/fake/FakeUi.h"
#include "platform/posix/PosixCodePage.h"
#include "platform/posix/PosixDynamicLibraries.h"
#include "platform/posix/PosixFiles.h"

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <set>
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
    std::optional<std::string> ReadAll(std::string_view p) const override {
        ++reads;
        return real.ReadAll(p);
    }
    std::optional<platform::FileStamp> Stamp(std::string_view p) const override {
        ++stamps;
        return real.Stamp(p);
    }
    platform::ReplaceResult TryReplace(std::string_view p, std::string_view b) override {
        ++writes;
        if (onReplace) onReplace(p, b);
        // The new file is made beside the old one, then renamed over it.
        if (Locked(p) || Locked(Parent(p))) return platform::ReplaceResult::Failed;
        // The rename over a file another program has open without delete
        // sharing is refused until it lets go.
        auto held = heldUntil.find(std::string(p));
        if (held != heldUntil.end() && clock != nullptr && clock->TickCountMs() < held->second)
            return platform::ReplaceResult::Held;
        return real.TryReplace(p, b);
    }
    // Another program opens the file for `ms` milliseconds of the clock's
    // tick count from now, reading it but letting no one replace it.
    void HoldFor(std::string_view p, std::uint64_t ms) { heldUntil[std::string(p)] = clock->TickCountMs() + ms; }
    bool FileExists(std::string_view p) const override { return real.FileExists(p); }
    bool CanWrite(std::string_view p) const override { return !Locked(p) && real.CanWrite(p); }
    bool FolderExists(std::string_view p) const override { return real.FolderExists(p); }
    std::vector<std::string> ListFiles(std::string_view f, std::string_view s) const override { return real.ListFiles(f, s); }
    std::vector<std::string> ListFolders(std::string_view f) const override { return real.ListFolders(f); }
    bool CreateFolder(std::string_view p) override {
        if (real.FolderExists(p)) return true;
        return !Locked(Parent(p)) && real.CreateFolder(p);
    }
    bool RemoveFile(std::string_view p) override { return !Locked(p) && !Locked(Parent(p)) && real.RemoveFile(p); }
    std::unique_ptr<platform::FolderWatch> WatchFolder(std::string_view f) const override {
        watched.emplace_back(f);
        if (!watchable) return nullptr;
        if (silentWatch) return std::make_unique<SilentWatch>();
        return real.WatchFolder(f);
    }
    // A watch that never reports a change, as on a share that sends none.
    struct SilentWatch final : platform::FolderWatch {
        bool Changed() override { return false; }
    };
    platform::PosixFiles real;
    int writes = 0;
    // Sees every write's new content, in the order of the writes.
    std::function<void(std::string_view path, std::string_view bytes)> onReplace;
    mutable int reads = 0;
    mutable int stamps = 0;
    // False: a system that cannot watch folders.
    bool watchable = true;
    // True: a folder whose watch stays quiet whatever changes in it.
    bool silentWatch = false;
    // The folders asked to be watched, in order.
    mutable std::vector<std::string> watched;
    // Files and folders the user may not write, with everything inside them
    // (a program folder under Program Files): nothing in them is made,
    // replaced or removed.
    std::vector<std::string> locked;
    // Files another program holds open, until a tick count of `clock`.
    std::map<std::string, std::uint64_t> heldUntil;
    const platform::Clock* clock = nullptr;

private:
    bool Locked(std::string_view p) const {
        for (const std::string& l : locked)
            if (p == l || (p.size() > l.size() && p.substr(0, l.size()) == l && p[l.size()] == '\\')) return true;
        return false;
    }
    static std::string_view Parent(std::string_view p) { return p.substr(0, std::min(p.size(), p.find_last_of('\\'))); }
};

class FakeProcess final : public platform::Process {
public:
    std::string ProgramFolder() const override { return folder; }
    std::string ExecutablePath() const override { return folder + "\\Morix.exe"; }
    std::string LocalDataFolder() const override { return localData; }
    std::string RoamingDataFolder() const override { return roamingData; }
    bool AnotherInstanceRunning() override { return anotherInstance; }
    void RegisterForRestart() override { ++restartRegistrations; }
    // Elevated, the user's normal run may not write the folders it could
    // not write if it were not elevated.
    bool NormalRunMayWrite(std::string_view f) const override {
        return !elevated || std::find(normalRunLocked.begin(), normalRunLocked.end(), f) == normalRunLocked.end();
    }
    bool elevated = false;
    std::vector<std::string> normalRunLocked;
    [[noreturn]] void Exit(int code) override { throw ProcessEnded{code}; }
    std::string folder;
    std::string localData;  // none unless a test gives one
    std::string roamingData;  // likewise
    bool anotherInstance = false;
    int restartRegistrations = 0;
};

class FakeClock final : public platform::Clock {
public:
    // Each reading takes the next scripted time; the last one then stays.
    platform::LocalTime Now() const override;
    void Set(int hour, int minute, int second);
    void SetDay(int year, int month, int day);
    // The clock runs on by that many seconds (or back, when negative),
    // across midnight as the calendar goes; running on, the tick count goes
    // with it.
    void Advance(int seconds);
    // The readings of the next run, one per call of Now().
    void Script(std::vector<std::array<int, 3>> hms);
    // Setting the system's date and time: each call takes the next scripted
    // result, else Done with the right and Denied without, as Windows
    // answers; when done, it changes `now`.
    platform::SetTimeResult SetDate(int year, int month, int day) override;
    platform::SetTimeResult SetTimeOfDay(int hour, int minute, int second) override;
    bool HoldsTimeRight() const override { return timeRight; }
    // Records the start; the prompt and the helper answer when the test says
    // (FakeSystem::AnswerTimeHelper).
    void SetAsAdministrator(const platform::TimeRequest& request, platform::WindowHandle owner,
                            std::function<void(platform::SetTimeOutcome)> done) override;
    // Moved only by Advance and by the tests themselves.
    std::uint64_t TickCountMs() const override { return tickCountMs; }
    // The time passes on the tick count only: a pause is shorter than the
    // clock's second.
    void Pause(unsigned ms) override {
        pauses.push_back(ms);
        tickCountMs += ms;
    }
    std::uint64_t tickCountMs = 1000000;
    std::vector<unsigned> pauses;
    mutable std::deque<platform::LocalTime> script;
    platform::LocalTime now{2026, 12, 8, 10, 15, 20};
    mutable int reads = 0;
    std::deque<platform::SetTimeResult> setResults;
    std::vector<std::string> sets;  // "date 2027-1-5", "time 9:05:00"
    // As an everyday token on Windows, an administrator's too: no right to
    // change the time.
    bool timeRight = false;
    struct HelperStart {
        platform::TimeRequest request;
        platform::WindowHandle owner = 0;
        std::function<void(platform::SetTimeOutcome)> done;  // emptied by the answer
    };
    std::vector<HelperStart> helperStarts;
};

struct FakeOtherWindow {
    std::string title;
    platform::Rect rect;
    // As the system's windows: with a title bar unless the program dropped
    // it (a film or a game in full screen); the desktop has none.
    bool titleBar = true;
};

class FakeDesktop final : public platform::Desktop {
public:
    FakeDesktop();
    platform::Rect PrimaryScreen() const override { return monitors.front(); }
    platform::Rect ScreenOf(const platform::Rect& area) const override;
    bool OnAnyMonitor(const platform::Rect& area) const override;
    int SystemDpi() const override { return systemDpi; }
    int MonitorDpi(const platform::Rect& area) const override;
    platform::WindowHandle ForegroundWindow() const override { return foreground; }
    platform::WindowHandle DesktopWindow() const override { return desktopHandle; }
    std::string WindowTitle(platform::WindowHandle window) const override;
    platform::Rect WindowRect(platform::WindowHandle window) const override;
    bool SetForegroundWindow(platform::WindowHandle window) override;
    int SystemMetric(platform::Metric metric) const override;
    std::optional<platform::CaptionButtons> CaptionButtonsOf(platform::WindowHandle window) const override {
        auto it = captionButtons.find(window);
        if (it == captionButtons.end()) return std::nullopt;
        return it->second;
    }
    bool IsCloaked(platform::WindowHandle window) const override { return cloaked.count(window) > 0; }
    bool IsMinimized(platform::WindowHandle window) const override { return minimized.count(window) > 0; }
    platform::Point CursorPos() const override { return ++cursorReads, cursor; }
    // Where the system's input has the pointer: where it is, as Windows
    // hears of every move, unless a test makes it lag as Wine's may.
    platform::Point PointerAtLastMessage() const override { return inputPointer.value_or(cursor); }
    bool HasTitleBar(platform::WindowHandle window) const override {
        auto it = windows.find(window);
        return it != windows.end() && it->second.titleBar;
    }
    // The desktop window stands for the shell's desktop windows too.
    bool IsShellWindow(platform::WindowHandle window) const override { return window == desktopHandle; }
    bool ShellReportsFullScreen() const override { return shellFullScreen; }

    // Adds another program's window and brings it to the front.
    platform::WindowHandle Open(std::string title, platform::Rect rect);
    void Close(platform::WindowHandle window);

    std::vector<platform::Rect> monitors{{0, 0, 1024, 768}};
    int systemDpi = 96;
    std::vector<int> monitorDpi;  // of monitors[i]; systemDpi where not given
    std::map<platform::Metric, int> metrics{{platform::Metric::CaptionButtonWidth, 18},
                                            {platform::Metric::CaptionButtonHeight, 18},
                                            {platform::Metric::SizingFrameWidth, 4}};
    std::map<platform::WindowHandle, FakeOtherWindow> windows;
    platform::WindowHandle desktopHandle = 0x10010;
    platform::WindowHandle foreground = 0x10010;
    platform::WindowHandle nextHandle = 0x20000;
    std::vector<platform::WindowHandle> foregroundRequests;
    // Windows whose caption buttons the window manager reports, as it
    // reports them (whether they make sense for the window or not).
    std::map<platform::WindowHandle, platform::CaptionButtons> captionButtons;
    // Windows the window manager keeps out of sight (another virtual
    // desktop, a suspended store app), and minimised windows.
    std::set<platform::WindowHandle> cloaked;
    std::set<platform::WindowHandle> minimized;
    platform::Point cursor{0, 0};
    mutable int cursorReads = 0;
    std::optional<platform::Point> inputPointer;
    // The shell's word on a full-screen Direct3D program or presentation mode.
    bool shellFullScreen = false;
};

class FakePictures final : public platform::Pictures {
public:
    std::shared_ptr<platform::Picture> Load(std::string_view path) override;
    std::shared_ptr<platform::Picture> FromPixels(int width, int height, const std::vector<std::uint32_t>& pixels) override;
    std::shared_ptr<platform::Picture> ProgramIcon(int size) override;
    std::vector<std::string> loaded;
    // Pictures loaded and not yet let go.
    int Alive() const;

private:
    std::vector<std::weak_ptr<platform::Picture>> handedOut_;
};

struct FakeDrive {
    std::string root;  // "C:\"
    platform::DriveKind kind;
    std::optional<std::uint64_t> freeBytes;  // none: cannot be read (no medium)
};

// The system's figures, set by the tests; reads are counted.
class FakeSystemInfo final : public platform::SystemInfo {
public:
    int MemoryLoad() const override { return ++reads, memoryLoad; }
    int ACStatus() const override { return ++reads, acStatus; }
    int BatteryStatus() const override { return ++reads, batteryStatus; }
    int BatteryLifePercent() const override { return ++reads, batteryLifePercent; }
    std::string LogicalDriveStrings() const override;
    platform::DriveKind DriveType(std::string_view root) const override;
    std::optional<std::uint64_t> FreeBytes(std::string_view root) const override;
    // Thousands separated by ",", a "." before the decimals.
    std::string FormatNumber(double value, int decimals) const override;

    int memoryLoad = 42, acStatus = 1, batteryStatus = 128, batteryLifePercent = 255;
    std::vector<FakeDrive> drives{{"C:\\", platform::DriveKind::Fixed, 50ull * 1024 * 1024 * 1024}};
    mutable int reads = 0;
    mutable std::vector<std::string> freeSpaceQueries;
};

// The user's Run key entry and Windows' switch for it, as plain state;
// `refuse` makes every change fail.
class FakeLogonStart final : public platform::LogonStart {
public:
    std::optional<std::string> Command() const override { return command; }
    bool SetCommand(std::string_view c) override {
        if (refuse) return false;
        command = std::string(c);
        return true;
    }
    bool Remove() override {
        if (refuse) return false;
        command.reset();
        return true;
    }
    std::optional<std::string> Switch() const override { return switchValue; }
    bool SetSwitch(std::string_view v) override {
        if (refuse) return false;
        switchValue = std::string(v);
        return true;
    }
    std::optional<std::string> command;
    std::optional<std::string> switchValue;
    bool refuse = false;
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
    FakeLibraries libraries;
    FakeSystemInfo systemInfo;
    FakeLogonStart logonStart;
    FakeTimeZones timeZones{clock};
    platform::Platform platform;

    // Helpers for the tests: the clock window is the one titled "Morix".
    FakeWindow& ClockWindow() const;
    FakeTimer& ClockTimer() const { return ui.TimerOf(ClockWindow()); }
    void Tick() { ClockTimer().Fire(); }
    // The elevation prompt and the helper answer the newest start, through
    // the event guard; Done sets the time the helper would: the request's,
    // moved on by the tick count since.
    void AnswerTimeHelper(platform::SetTimeOutcome outcome);
    std::vector<std::string> TakeLog();
};

std::string BaseName(std::string_view path);

}  // namespace morix::test
