#include "tests/fake/FakeSystem.h"

#include "clock/RuntimeError.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace morix::test {

std::string BaseName(std::string_view path) {
    auto slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

namespace {

// The file checks of the real controls: a missing folder is 76, a missing
// file 53.
void CheckFile(const platform::Files& files, std::string_view path) {
    auto slash = path.find_last_of('\\');
    if (slash != std::string_view::npos && !files.FolderExists(path.substr(0, slash))) Raise(err::PathNotFound, path);
    if (!files.FileExists(path)) Raise(err::FileNotFound, path);
}

class FakePicture final : public platform::Picture {
public:
    FakePicture(int w, int h, std::string path) : w_(w), h_(h), path(std::move(path)) {}
    int Width() const override { return w_; }
    int Height() const override { return h_; }

private:
    int w_, h_;

public:
    std::string path;
};

int Le16(const std::string& s, std::size_t at) {
    return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
}
int Le32(const std::string& s, std::size_t at) { return Le16(s, at) | (Le16(s, at + 2) << 16); }

}  // namespace

// ---- clock ----

platform::LocalTime FakeClock::Now() const {
    ++reads;
    if (script.empty()) return now;
    platform::LocalTime t = script.front();
    if (script.size() > 1) script.pop_front();
    else script.clear();
    const_cast<FakeClock*>(this)->now = t;
    return t;
}

void FakeClock::Set(int hour, int minute, int second) {
    script.clear();
    now.hour = hour, now.minute = minute, now.second = second;
}

void FakeClock::SetDate(int year, int month, int day) { now.year = year, now.month = month, now.day = day; }

void FakeClock::Script(std::vector<std::array<int, 3>> hms) {
    script.clear();
    for (auto [h, m, s] : hms) {
        platform::LocalTime t = now;
        t.hour = h, t.minute = m, t.second = s;
        script.push_back(t);
    }
}

// ---- desktop ----

FakeDesktop::FakeDesktop() { windows[desktopHandle] = {"", monitors.front()}; }

platform::Rect FakeDesktop::ScreenOf(const platform::Rect& area) const {
    // The monitor holding the rectangle's centre, else the nearest by centre.
    const int cx = (area.left + area.right) / 2, cy = (area.top + area.bottom) / 2;
    const platform::Rect* best = &monitors.front();
    long long bestDistance = -1;
    for (const auto& m : monitors) {
        long long dx = cx < m.left ? m.left - cx : cx >= m.right ? cx - m.right + 1 : 0;
        long long dy = cy < m.top ? m.top - cy : cy >= m.bottom ? cy - m.bottom + 1 : 0;
        long long d = dx * dx + dy * dy;
        if (bestDistance < 0 || d < bestDistance) best = &m, bestDistance = d;
    }
    return *best;
}

std::string FakeDesktop::WindowTitle(platform::WindowHandle window) const {
    auto it = windows.find(window);
    return it == windows.end() ? std::string() : it->second.title;
}

platform::Rect FakeDesktop::WindowRect(platform::WindowHandle window) const {
    auto it = windows.find(window);
    return it == windows.end() ? platform::Rect{} : it->second.rect;
}

bool FakeDesktop::SetForegroundWindow(platform::WindowHandle window) {
    foregroundRequests.push_back(window);
    if (!windows.count(window)) return false;
    foreground = window;
    return true;
}

int FakeDesktop::SystemMetric(int index) const {
    auto it = metrics.find(index);
    return it == metrics.end() ? 0 : it->second;
}

platform::WindowHandle FakeDesktop::Open(std::string title, platform::Rect rect) {
    platform::WindowHandle h = nextHandle++;
    windows[h] = {std::move(title), rect};
    foreground = h;
    return h;
}

void FakeDesktop::Close(platform::WindowHandle window) {
    windows.erase(window);
    if (foreground == window) foreground = desktopHandle;
}

// ---- controls ----

FakeWindow::~FakeWindow() { std::erase(ui.windows, this); }

void FakeAnimation::Open(std::string_view path) {
    openPath.clear();
    ui.log.push_back(name + " Open " + BaseName(path));
    platform::PosixFiles files;
    CheckFile(files, path);
    auto bytes = files.ReadAll(path);
    if (!bytes || bytes->size() < 12 || bytes->compare(0, 4, "RIFF") != 0 || bytes->compare(8, 4, "AVI ") != 0)
        Raise(err::PathFileAccess, path);
    openPath = std::string(path);
}

void FakeAnimation::Play(int repeatCount) { ui.log.push_back(name + " Play " + std::to_string(repeatCount)); }
void FakeAnimation::Stop() { ui.log.push_back(name + " Stop"); }
void FakeAnimation::Close() {
    ui.log.push_back(name + " Close");
    openPath.clear();
}

void FakeSoundDevice::SetFileName(std::string_view path) {
    fileName = path;
    ui.log.push_back("Sound FileName " + BaseName(path));
}

void FakeSoundDevice::SetCommand(std::string_view command) { ui.log.push_back("Sound " + std::string(command)); }

// ---- ui ----

std::unique_ptr<platform::Window> FakeUi::CreateWindow(platform::WindowEvents& events) {
    auto w = std::make_unique<FakeWindow>(*this, events, nextHandle++);
    windows.push_back(w.get());
    return w;
}

std::unique_ptr<platform::Animation> FakeUi::CreateAnimation(platform::Window& parent, platform::AnimationEvents& events) {
    auto& owner = static_cast<FakeWindow&>(parent);
    auto a = std::make_unique<FakeAnimation>(*this, "Animation" + std::to_string(++owner.animations), events);
    animations.push_back(a.get());
    return a;
}

std::unique_ptr<platform::Shaper> FakeUi::CreateShaper(platform::Window&, platform::ShaperEvents& events) {
    auto s = std::make_unique<FakeShaper>(events);
    shapers.push_back(s.get());
    return s;
}

std::unique_ptr<platform::Timer> FakeUi::CreateTimer(platform::Window&, platform::TimerEvents& events) {
    auto t = std::make_unique<FakeTimer>(events);
    timers.insert(timers.begin(), t.get());  // the newest clock timer first
    return t;
}

std::unique_ptr<platform::SoundDevice> FakeUi::CreateSoundDevice(platform::Window&, platform::SoundEvents& events) {
    auto s = std::make_unique<FakeSoundDevice>(*this, events);
    sounds.insert(sounds.begin(), s.get());
    return s;
}

int FakeUi::TrackPopupMenu(platform::Window&, const std::vector<platform::MenuItem>& items) {
    menusShown.push_back(items);
    if (whileMenuOpen) whileMenuOpen();
    if (menuChoices.empty()) return 0;
    int choice = menuChoices.front();
    menuChoices.pop_front();
    return choice;
}

int FakeUi::ShowMessageBox(std::string_view text, std::string_view title, int flags) {
    messages.push_back({std::string(text), std::string(title), flags});
    if (!messageAnswers.empty()) {
        int a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    return (flags & platform::mb::YesNo) ? platform::mb::AnswerYes : platform::mb::AnswerOk;
}

// ---- pictures ----

std::shared_ptr<platform::Picture> FakePictures::Load(std::string_view path) {
    platform::PosixFiles files;
    CheckFile(files, path);
    loaded.push_back(std::string(path));
    auto bytes = files.ReadAll(path);
    if (bytes && bytes->size() >= 26 && bytes->compare(0, 2, "BM") == 0)
        return std::make_shared<FakePicture>(Le32(*bytes, 18), std::abs(Le32(*bytes, 22)), std::string(path));
    if (bytes && bytes->size() >= 10 && bytes->compare(0, 3, "GIF") == 0)
        return std::make_shared<FakePicture>(Le16(*bytes, 6), Le16(*bytes, 8), std::string(path));
    Raise(err::InvalidPicture, path);
}

// ---- system ----

FakeSystem::FakeSystem(std::string programFolder)
    : libraries(programFolder),
      platform{codePage, files, libraries, pictures, ui, desktop, clock, process} {
    process.folder = std::move(programFolder);
}

std::vector<std::string> FakeSystem::TakeLog() {
    std::vector<std::string> out;
    out.swap(ui.log);
    return out;
}

}  // namespace morix::test
