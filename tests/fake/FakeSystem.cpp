#include "tests/fake/FakeSystem.h"

#include "base/RuntimeError.h"
#include "platform/FileErrors.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <fstream>
#include <iterator>

namespace morix::test {

std::string BaseName(std::string_view path) {
    auto slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

namespace {


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

void FakeClock::SetDay(int year, int month, int day) { now.year = year, now.month = month, now.day = day; }

void FakeClock::Advance(int seconds) {
    using namespace std::chrono;
    script.clear();
    if (seconds > 0) tickCountMs += static_cast<std::uint64_t>(seconds) * 1000;
    const sys_days date{year{now.year} / month{unsigned(now.month)} / day{unsigned(now.day)}};
    const sys_seconds then = date + hours{now.hour} + minutes{now.minute} + std::chrono::seconds{now.second + seconds};
    const sys_days newDate = floor<days>(then);
    const year_month_day ymd{newDate};
    const hh_mm_ss<std::chrono::seconds> time{then - newDate};
    now = {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), int(time.hours().count()),
           int(time.minutes().count()), int(time.seconds().count())};
}

namespace {
platform::SetTimeResult NextResult(std::deque<platform::SetTimeResult>& results, bool right) {
    if (results.empty()) return right ? platform::SetTimeResult::Done : platform::SetTimeResult::Denied;
    auto r = results.front();
    results.pop_front();
    return r;
}
}  // namespace

platform::SetTimeResult FakeClock::SetDate(int year, int month, int day) {
    sets.push_back("date " + std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day));
    auto r = NextResult(setResults, timeRight);
    if (r == platform::SetTimeResult::Done) SetDay(year, month, day), script.clear();
    return r;
}

platform::SetTimeResult FakeClock::SetTimeOfDay(int hour, int minute, int second) {
    sets.push_back("time " + std::to_string(hour) + ":" + (minute < 10 ? "0" : "") + std::to_string(minute) + ":" +
                   (second < 10 ? "0" : "") + std::to_string(second));
    auto r = NextResult(setResults, timeRight);
    if (r == platform::SetTimeResult::Done) Set(hour, minute, second);
    return r;
}

void FakeClock::SetAsAdministrator(const platform::TimeRequest& request, platform::WindowHandle owner,
                                   std::function<void(platform::SetTimeOutcome)> done) {
    helperStarts.push_back({request, owner, std::move(done)});
}

void FakeClock::Script(std::vector<std::array<int, 3>> hms) {
    script.clear();
    for (auto [h, m, s] : hms) {
        platform::LocalTime t = now;
        t.hour = h, t.minute = m, t.second = s;
        script.push_back(t);
    }
}

// ---- desktop ----

FakeDesktop::FakeDesktop() { windows[desktopHandle] = {"", monitors.front(), false}; }

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

int FakeDesktop::MonitorDpi(const platform::Rect& area) const {
    const platform::Rect screen = ScreenOf(area);
    for (std::size_t i = 0; i < monitors.size() && i < monitorDpi.size(); ++i)
        if (monitors[i] == screen) return monitorDpi[i];
    return systemDpi;
}

bool FakeDesktop::OnAnyMonitor(const platform::Rect& a) const {
    for (const auto& m : monitors)
        if (a.left < m.right && m.left < a.right && a.top < m.bottom && m.top < a.bottom) return true;
    return false;
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

int FakeDesktop::SystemMetric(platform::Metric metric) const {
    auto it = metrics.find(metric);
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

// ---- pictures ----

std::shared_ptr<platform::Picture> FakePictures::Load(std::string_view path) {
    platform::PosixFiles files;
    platform::RequireExistingFile(files, path);
    loaded.push_back(std::string(path));
    auto bytes = files.ReadAll(path);
    std::shared_ptr<platform::Picture> picture;
    if (bytes && bytes->size() >= 26 && bytes->compare(0, 2, "BM") == 0)
        picture = std::make_shared<FakePicture>(Le32(*bytes, 18), std::abs(Le32(*bytes, 22)), std::string(path));
    else if (bytes && bytes->size() >= 10 && bytes->compare(0, 3, "GIF") == 0)
        picture = std::make_shared<FakePicture>(Le16(*bytes, 6), Le16(*bytes, 8), std::string(path));
    else
        Raise(err::InvalidPicture, path);
    std::erase_if(handedOut_, [](const std::weak_ptr<platform::Picture>& w) { return w.expired(); });
    handedOut_.push_back(picture);
    return picture;
}

std::shared_ptr<platform::Picture> FakePictures::FromPixels(int width, int height,
                                                          const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) Raise(err::InvalidPicture);
    std::shared_ptr<platform::Picture> picture = std::make_shared<FakePicture>(width, height, "(drawn)");
    handedOut_.push_back(picture);
    return picture;
}

std::shared_ptr<platform::Picture> FakePictures::ProgramIcon(int size) {
    std::shared_ptr<platform::Picture> picture = std::make_shared<FakePicture>(size, size, "(program icon)");
    handedOut_.push_back(picture);
    return picture;
}

int FakePictures::Alive() const {
    return static_cast<int>(std::count_if(handedOut_.begin(), handedOut_.end(),
                                          [](const std::weak_ptr<platform::Picture>& w) { return !w.expired(); }));
}

// ---- system figures ----

std::string FakeSystemInfo::LogicalDriveStrings() const {
    std::string out;
    for (const FakeDrive& d : drives) out += d.root + std::string(1, '\0');
    return out;
}

platform::DriveKind FakeSystemInfo::DriveType(std::string_view root) const {
    for (const FakeDrive& d : drives)
        if (d.root == root) return d.kind;
    return platform::DriveKind::NoRoot;
}

std::optional<std::uint64_t> FakeSystemInfo::FreeBytes(std::string_view root) const {
    freeSpaceQueries.emplace_back(root);
    for (const FakeDrive& d : drives)
        if (d.root == root) return d.freeBytes;
    return std::nullopt;
}

std::string FakeSystemInfo::FormatNumber(double value, int decimals) const {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value < 0 ? -value : value);
    std::string digits = buffer;
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point), rest = point == std::string::npos ? "" : digits.substr(point);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(static_cast<std::size_t>(at), ",");
    return (value < 0 ? "-" : "") + whole + rest;
}

// ---- system ----

FakeSystem::FakeSystem(std::string programFolder)
    : libraries(programFolder),
      platform{codePage, files, libraries, pictures, ui, desktop, clock, process, systemInfo, logonStart, timeZones} {
    process.folder = std::move(programFolder);
    ui.desktop = &desktop;
    files.clock = &clock;
    VitalinkFigures() = {};
}

FakeWindow& FakeSystem::ClockWindow() const {
    FakeWindow* w = ui.FindWindow("Morix");
    if (w == nullptr) throw std::logic_error("no clock window");
    return *w;
}

void FakeSystem::AnswerTimeHelper(platform::SetTimeOutcome outcome) {
    if (clock.helperStarts.empty() || !clock.helperStarts.back().done) throw std::logic_error("no helper waits for an answer");
    FakeClock::HelperStart& start = clock.helperStarts.back();
    const std::function<void(platform::SetTimeOutcome)> done = std::move(start.done);
    start.done = nullptr;
    if (outcome.result == platform::SetTimeResult::Done) {
        const std::optional<platform::TimeToSet> set = platform::TimeToSetAt(start.request, clock.tickCountMs);
        if (!set) throw std::logic_error("a request older than the helper takes");
        clock.now = set->time;
        clock.script.clear();
    }
    ui.Raise([&] { done(outcome); });
}

std::vector<std::string> FakeSystem::TakeLog() {
    std::vector<std::string> out;
    out.swap(ui.log);
    return out;
}

}  // namespace morix::test
