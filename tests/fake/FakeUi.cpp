#include "tests/fake/FakeUi.h"

#include "base/RuntimeError.h"
#include "platform/FileErrors.h"
#include "platform/posix/PosixFiles.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace morix::test {

std::string BaseName(std::string_view path);

namespace {

FakeWindow& AsFake(platform::Window& window) { return dynamic_cast<FakeWindow&>(window); }


}  // namespace

// ---- clips ----

FakeAnimation::FakeAnimation(FakeUi& ui, FakeWindow& window, std::string name)
    : ui(ui), window(window), name(std::move(name)) {
    ui.animations.push_back(this);
}

FakeAnimation::~FakeAnimation() { std::erase(ui.animations, this); }

void FakeAnimation::Open(std::string_view path) {
    openPath.clear();
    ui.log.push_back(name + " Open " + BaseName(path));
    platform::PosixFiles files;
    platform::RequireExistingFile(files, path);
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

void FakeAnimation::MouseUp(platform::MouseButton button) {
    std::function<void(platform::MouseButton)> handler = onMouseUp;
    if (handler) ui.Raise([&] { handler(button); });
}

// ---- shaping, timer, sound ----

FakeShaper::FakeShaper(FakeUi& ui, FakeWindow& window) : ui(ui), window(window) { ui.shapers.push_back(this); }
FakeShaper::~FakeShaper() { std::erase(ui.shapers, this); }

void FakeShaper::RightClick() {
    if (!visible) throw std::logic_error("right-click: the drag surface is hidden");
    std::function<void()> handler = onRightClick;
    if (handler) ui.Raise(handler);
}

void FakeShaper::Drag(int dx, int dy) {
    if (!visible) throw std::logic_error("drag: the drag surface is hidden");
    platform::Rect& b = window.bounds;
    b = {b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
}

platform::Rect FakeShaper::Surface() const {
    if (surfaceWidth > 0 || surfaceHeight > 0) return {left, top, left + surfaceWidth, top + surfaceHeight};
    return {left, top, std::max(left, window.bounds.Width()), std::max(top, window.bounds.Height())};
}

FakeTimer::FakeTimer(FakeUi& ui, FakeWindow& window) : ui(ui), window(window) { ui.timers.push_back(this); }
FakeTimer::~FakeTimer() { std::erase(ui.timers, this); }

void FakeTimer::Fire() {
    if (!enabled || interval <= 0) return;
    std::function<void()> handler = onTimer;
    if (handler) ui.Raise(handler);
}

// The newest device first: after a reload, sounds[0] is the clock's.
FakeSoundDevice::FakeSoundDevice(FakeUi& ui) : ui(ui) { ui.sounds.insert(ui.sounds.begin(), this); }
FakeSoundDevice::~FakeSoundDevice() { std::erase(ui.sounds, this); }

void FakeSoundDevice::SetFileName(std::string_view path) {
    fileName = path;
    ui.log.push_back("Sound FileName " + BaseName(path));
}

void FakeSoundDevice::SetCommand(std::string_view command) { ui.log.push_back("Sound " + std::string(command)); }

void FakeSoundDevice::Done(platform::SoundEnd end) {
    std::function<void(platform::SoundEnd)> handler = onDone;
    if (handler) ui.Raise([&] { handler(end); });
}

// ---- factories ----

std::unique_ptr<platform::Window> FakeUi::NewWindow(platform::WindowKind kind, platform::Point origin) {
    auto w = std::make_unique<FakeWindow>(*this, kind, nextHandle++);
    w->bounds = {origin.x, origin.y, origin.x, origin.y};
    w->dpi = w->MonitorDpi();
    windows.push_back(w.get());
    return w;
}

std::unique_ptr<platform::Control> FakeUi::NewControl(platform::Window& window, platform::ControlKind kind,
                                                      const platform::ControlSpec& request) {
    return std::make_unique<FakeControl>(AsFake(window), kind, request);
}

std::unique_ptr<platform::ListBox> FakeUi::NewListBox(platform::Window& window, const platform::ControlSpec& request) {
    return std::make_unique<FakeListBox>(AsFake(window), request);
}

std::unique_ptr<platform::DateTimeControl> FakeUi::NewDateTime(platform::Window& window, platform::DateTimeKind kind,
                                                               const platform::ControlSpec& request) {
    return std::make_unique<FakeDateTime>(AsFake(window), kind, request);
}

std::unique_ptr<platform::RichTextBox> FakeUi::NewRichTextBox(platform::Window& window,
                                                              const platform::ControlSpec& request) {
    return std::make_unique<FakeRichTextBox>(AsFake(window), request);
}

std::unique_ptr<platform::Animation> FakeUi::NewAnimation(platform::Window& window, platform::Control*) {
    FakeWindow& owner = AsFake(window);
    return std::make_unique<FakeAnimation>(*this, owner, "Animation" + std::to_string(++owner.animations));
}

std::unique_ptr<platform::Shaper> FakeUi::NewShaper(platform::Window& window) {
    return std::make_unique<FakeShaper>(*this, AsFake(window));
}

std::unique_ptr<platform::Timer> FakeUi::NewTimer(platform::Window& window) {
    return std::make_unique<FakeTimer>(*this, AsFake(window));
}

std::unique_ptr<platform::SoundDevice> FakeUi::NewSoundDevice() { return std::make_unique<FakeSoundDevice>(*this); }

// ---- modal pieces ----

int FakeUi::TrackPopupMenu(platform::Window&, const std::vector<platform::MenuItem>& items) {
    menusShown.push_back(items);
    if (whileMenuOpen) whileMenuOpen();
    if (menuChoices.empty()) return 0;
    int choice = menuChoices.front();
    menuChoices.pop_front();
    return choice;
}

platform::MessageAnswer FakeUi::RunMessageBox(std::string_view text, std::string_view title,
                                              platform::MessageButtons buttons, platform::MessageIcon icon,
                                              platform::Window* owner) {
    messages.push_back({std::string(text), std::string(title), buttons, icon, owner});
    if (whileMessageShown) whileMessageShown(messages.back());
    if (!messageAnswers.empty()) {
        platform::MessageAnswer a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    return buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::Yes : platform::MessageAnswer::Ok;
}

std::optional<std::string> FakeUi::ShowOpenFileDialog(platform::Window*, std::string_view filter,
                                                      std::string_view initialFolder) {
    fileDialogsShown.emplace_back(std::string(filter), std::string(initialFolder));
    if (fileDialogAnswers.empty()) return std::nullopt;
    auto answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer;
}

void FakeUi::DeleteToRecycleBin(platform::Window*, std::string_view path) {
    recycled.emplace_back(path);
    std::error_code ec;
    std::filesystem::remove(platform::PosixFiles::NativePath(path), ec);
}

// ---- finding ----

FakeWindow* FakeUi::FindWindow(std::string_view title) const {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->title == title) return *it;
    return nullptr;
}

FakeTimer& FakeUi::TimerOf(const FakeWindow& window) const {
    for (FakeTimer* t : timers)
        if (&t->window == &window) return *t;
    throw std::logic_error("the window \"" + window.title + "\" has no timer");
}

}  // namespace morix::test
