#include "tests/fake/FakeWindows.h"

#include "base/RuntimeError.h"
#include "base/Twips.h"
#include "base/Utf8.h"
#include "platform/FileErrors.h"
#include "tests/fake/FakeRtf.h"
#include "tests/fake/FakeUi.h"

#include "platform/posix/PosixFiles.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace morix::test {

// ---- every control ----

FakeControlBase::FakeControlBase(FakeWindow& window, const platform::ControlSpec& request)
    : window(window), container(request.container), name(request.name), place(request.place) {
    window.controls.push_back(this);
}

FakeControlBase::~FakeControlBase() {
    if (!orphaned) std::erase(window.controls, this);
}

bool FakeControlBase::Reachable() const {
    if (!visible || !enabled || !window.visible || !window.enabled) return false;
    if (container == nullptr) return true;
    auto* outer = dynamic_cast<const FakeControl*>(container);
    return outer != nullptr && outer->Reachable();
}

platform::Rect FakeControlBase::ClientPlace() const {
    platform::Rect r = place;
    for (auto* outer = dynamic_cast<const FakeControlBase*>(container); outer != nullptr;
         outer = dynamic_cast<const FakeControlBase*>(outer->container)) {
        r = {r.left + outer->place.left, r.top + outer->place.top, r.right + outer->place.left,
             r.bottom + outer->place.top};
    }
    return r;
}

void FakeControlBase::RequireReachable(const char* action) const {
    if (!Reachable()) throw std::logic_error(std::string(action) + ": " + name + " cannot be reached by the user");
    const platform::Rect r = ClientPlace();
    const FakeWindow::Hit hit = window.HitAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    if (hit.control != this) {
        const std::string over = hit.surface != nullptr ? "the drag surface"
                               : hit.control != nullptr ? hit.control->name
                                                        : "nothing of it";
        throw std::logic_error(std::string(action) + ": a click at the centre of " + name + " reaches " + over);
    }
    // A click into a dialog gives it the keyboard.
    if (window.kind == platform::WindowKind::Dialog) window.ui.active = &window;
}

template <typename Interface>
void FakeControlOf<Interface>::SetFocus() {
    for (FakeControlBase* c : window.controls) c->focused = false;
    focused = true;
}

template class FakeControlOf<platform::Control>;
template class FakeControlOf<platform::ListBox>;
template class FakeControlOf<platform::DateTimeControl>;
template class FakeControlOf<platform::RichTextBox>;

// ---- general control ----

FakeControl::FakeControl(FakeWindow& window, platform::ControlKind kind, const platform::ControlSpec& request)
    : FakeControlOf(window, request), kind(kind), text(request.caption) {}

bool FakeControl::TakesTab() const {
    using platform::ControlKind;
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::TextBox: return true;
    case ControlKind::OptionButton: {
        // The chosen option button of its container, or the first one that
        // can take the keyboard when none is chosen.
        const FakeControl* stop = nullptr;
        for (FakeControlBase* c : window.controls) {
            auto* b = dynamic_cast<const FakeControl*>(c);
            if (b == nullptr || b->kind != ControlKind::OptionButton || b->container != container || !b->Reachable())
                continue;
            if (stop == nullptr || b->value == 1) stop = b;
            if (b->value == 1) break;
        }
        return stop == this;
    }
    default: return false;
    }
}

namespace {

// A line's width in half-width characters: a full-width one counts two.
int HalfWidths(std::string_view line) {
    int n = 0;
    for (std::size_t i = 0; i < line.size();) {
        const std::uint32_t c = DecodeUtf8(line, i);
        n += c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F) ? 1 : 2;
    }
    return n;
}

}  // namespace

int FakeControl::CaptionWidth() const {
    // Around the text, at 96 dpi, as the system draws them: a 13-pixel box
    // and a 3-pixel gap, a button's edges and focus frame, a frame's caption
    // inset from both ends of its border.
    int around = 0;
    switch (kind) {
    case platform::ControlKind::CheckBox:
    case platform::ControlKind::OptionButton: around = 16; break;
    // A shield is a 16-pixel icon and a 4-pixel gap.
    case platform::ControlKind::Button: around = shield ? 30 : 10; break;
    case platform::ControlKind::Frame: around = 16; break;
    case platform::ControlKind::Label: break;
    default: return 0;
    }
    // A label shows every line; the others one.
    int widest = 0;
    std::string_view rest = text;
    for (;;) {
        const std::size_t end = kind == platform::ControlKind::Label ? rest.find('\n') : std::string_view::npos;
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        widest = std::max(widest, HalfWidths(line));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    if (widest == 0) return 0;
    const long long at96 = static_cast<long long>(widest) * window.ui.halfWidthPixels + around;
    return static_cast<int>((at96 * window.dpi + UnscaledDpi - 1) / UnscaledDpi);
}

int FakeControl::CaptionHeight() const {
    if (kind != platform::ControlKind::Label || text.empty()) return 0;
    const long long lines = std::count(text.begin(), text.end(), '\n') + 1;
    return static_cast<int>((lines * window.ui.lineHeightPixels * window.dpi + UnscaledDpi - 1) / UnscaledDpi);
}

void FakeControl::SetValue(int v) {
    value = v;
    if (kind != platform::ControlKind::OptionButton || v == 0) return;
    // One option button of a container is chosen at a time.
    for (FakeControlBase* c : window.controls) {
        auto* other = dynamic_cast<FakeControl*>(c);
        if (other != nullptr && other != this && other->kind == platform::ControlKind::OptionButton &&
            other->container == container)
            other->value = 0;
    }
}

void FakeControl::Click() {
    RequireReachable("click");
    if (kind == platform::ControlKind::CheckBox) SetValue(value == 0 ? 1 : 0);  // a greyed box goes to 0
    if (kind == platform::ControlKind::OptionButton) SetValue(1);
    std::function<void()> handler = onClick;
    if (handler) window.ui.Raise(handler);
}

void FakeControl::Type(std::string_view typed) {
    RequireReachable("type");
    if (kind != platform::ControlKind::TextBox) throw std::logic_error("type: " + name + " is no text box");
    text = typed;
}

// ---- list box ----

std::string FakeListBox::Item(int i) const {
    if (i < 0 || i >= Count()) Raise(err::InvalidCall);
    return items[static_cast<std::size_t>(i)];
}

void FakeListBox::SetListIndex(int i) {
    if (i < -1 || i >= Count()) Raise(err::InvalidCall);
    index = i;
}

void FakeListBox::Pick(std::string_view item) {
    RequireReachable("pick");
    auto it = std::find(items.begin(), items.end(), item);
    if (it == items.end()) throw std::logic_error("pick: " + name + " has no item " + std::string(item));
    index = static_cast<int>(it - items.begin());
    std::function<void()> handler = onClick;
    if (handler) window.ui.Raise(handler);
}

// ---- date and time ----

void FakeDateTime::Pick(const platform::LocalTime& v) {
    RequireReachable("pick");
    value = v;
    std::function<void()> handler = onChange;
    if (handler) window.ui.Raise(handler);
}

void FakeDateTime::GoToMonth(const platform::LocalTime& v) {
    RequireReachable("go to another month");
    ShowMonthOf(v);
}

void FakeDateTime::ShowMonthOf(const platform::LocalTime& v) {
    if (kind == platform::DateTimeKind::TimePicker || v.year == 0) return;
    shown = {v.year, v.month, 1};
    boldDays.clear();
    if (kind != platform::DateTimeKind::CalendarBoldDays || !onGetDayBold) return;
    const platform::LocalTime first = v.month == 1 ? platform::LocalTime{v.year - 1, 12, 1} : platform::LocalTime{v.year, v.month - 1, 1};
    std::vector<platform::LocalTime> days;
    const auto handler = onGetDayBold;
    window.ui.Raise([&] { days = handler(first, 3); });
    for (const platform::LocalTime& d : days) {
        const int month = (d.year - first.year) * 12 + d.month - first.month;
        if (month >= 0 && month < 3) boldDays.push_back({d.year, d.month, d.day});
    }
}

// ---- rich text ----

void FakeRichTextBox::LoadFile(std::string_view path) {
    platform::PosixFiles files;
    platform::RequireExistingFile(files, path);
    if (std::find(window.ui.lockedFiles.begin(), window.ui.lockedFiles.end(), path) != window.ui.lockedFiles.end())
        Raise(err::PathFileAccess, path);
    auto bytes = files.ReadAll(path);
    if (!bytes) Raise(err::PathFileAccess, path);
    text = RtfToText(*bytes);
    modified = false;
    fileName = path;
}

void FakeRichTextBox::SaveFile(std::string_view path) {
    platform::PosixFiles files;
    platform::RequireExistingFolderOf(files, path);
    if (files.FolderExists(path)) Raise(err::PathFileAccess, std::string(path) + ": a folder of that name");
    if (!files.ReplaceAtomically(path, platform::WithOwnRtfMark(TextToRtf(text)))) Raise(err::PathFileAccess, std::string(path) + ": cannot be written");
    ++saves;
}

void FakeRichTextBox::Type(std::string_view typed) {
    RequireReachable("type");
    if (readOnly) throw std::logic_error("type: " + name + " is read-only");
    text += typed;
    modified = true;
}

// ---- window ----

FakeWindow::FakeWindow(FakeUi& ui, platform::WindowKind kind, platform::WindowHandle handle)
    : ui(ui), kind(kind), handle(handle) {}

FakeWindow::~FakeWindow() {
    if (ui.active == this) ui.active = nullptr;
    std::erase(ui.windows, this);
    // Controls that outlive their window are on no window any more.
    for (FakeControlBase* c : controls) c->orphaned = true;
}

void FakeWindow::SetVisible(bool v) {
    visible = v;
    if (!v && ui.active == this) ui.active = nullptr;
}

void FakeWindow::ShowAndActivate() {
    visible = true;
    ui.active = this;
    // The keyboard goes to the first control of the Tab order.
    if (Focused() == nullptr) PressTab();
}

void FakeWindow::SetClientSize(int width, int height) {
    clientWidth = width;
    clientHeight = height;
    const bool dialog = kind == platform::WindowKind::Dialog;
    const int w = width + (dialog ? 2 * FrameWidth : 0), h = height + (dialog ? 2 * FrameWidth + CaptionHeight : 0);
    bounds.right = bounds.left + w;
    bounds.bottom = bounds.top + h;
    FollowMonitor();
}

void FakeWindow::FitToCaptions() {
    std::vector<platform::CaptionFit> fits;
    for (const FakeControlBase* c : controls) {
        const auto* general = dynamic_cast<const FakeControl*>(c);
        fits.push_back({c->place, platform::InClientArea, general != nullptr ? general->CaptionWidth() : 0,
                        general != nullptr ? general->CaptionHeight() : 0});
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto at = std::find(controls.begin(), controls.end(), dynamic_cast<FakeControlBase*>(controls[i]->container));
        if (at != controls.end()) fits[i].container = static_cast<std::size_t>(at - controls.begin());
    }
    const platform::ClientGrowth growth = platform::GrowToCaptions(fits, clientWidth, clientHeight);
    for (std::size_t i = 0; i < controls.size(); ++i) controls[i]->place = fits[i].place;
    if (growth.width > 0 || growth.height > 0) SetClientSize(clientWidth + growth.width, clientHeight + growth.height);
}

void FakeWindow::Move(int left, int top, int width, int height) {
    bounds = {left, top, left + width, top + height};
    FollowMonitor();
}

int FakeWindow::MonitorDpi() const {
    const platform::Rect r{bounds.left, bounds.top, std::max(bounds.right, bounds.left + 1),
                           std::max(bounds.bottom, bounds.top + 1)};
    return ui.desktop ? ui.desktop->MonitorDpi(r) : 96;
}

void FakeWindow::FollowMonitor() {
    const int now = MonitorDpi();
    if (now == dpi) return;
    const int before = std::exchange(dpi, now);
    if (kind != platform::WindowKind::Dialog) return;
    const auto s = [&](int v) { return static_cast<int>((static_cast<long long>(v) * now + before / 2) / before); };
    for (FakeControlBase* c : controls) c->place = {s(c->place.left), s(c->place.top), s(c->place.right), s(c->place.bottom)};
    clientWidth = s(clientWidth);
    clientHeight = s(clientHeight);
    bounds.right = bounds.left + s(bounds.Width());
    bounds.bottom = bounds.top + s(bounds.Height());
}

template <typename T>
T& FakeWindow::Find(std::string_view name) const {
    for (FakeControlBase* c : controls)
        if (c->name == name)
            if (auto* t = dynamic_cast<T*>(c)) return *t;
    throw std::logic_error("the window \"" + title + "\" has no control " + std::string(name) + " of that kind");
}

FakeControl& FakeWindow::Control(std::string_view name) const { return Find<FakeControl>(name); }
FakeListBox& FakeWindow::List(std::string_view name) const { return Find<FakeListBox>(name); }
FakeDateTime& FakeWindow::DateTime(std::string_view name) const { return Find<FakeDateTime>(name); }
FakeRichTextBox& FakeWindow::RichText(std::string_view name) const { return Find<FakeRichTextBox>(name); }

bool FakeWindow::Has(std::string_view name) const {
    return std::any_of(controls.begin(), controls.end(), [&](FakeControlBase* c) { return c->name == name; });
}

namespace {

void PressButton(platform::Control* button) {
    auto* fake = dynamic_cast<FakeControl*>(button);
    // A key presses only a button the user could click.
    if (fake != nullptr && fake->Reachable()) fake->Click();
}

}  // namespace

FakeWindow::Hit FakeWindow::HitAt(platform::Point client) const {
    auto inside = [](platform::Rect r, platform::Point p) {
        // A line of no width or height is drawn 2 pixels thick, as the system draws it.
        if (r.right == r.left) r.right += 2;
        if (r.bottom == r.top) r.bottom += 2;
        return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
    };
    for (const FakeShaper* s : ui.shapers)
        if (&s->window == this && s->visible && inside(s->Surface(), client)) return {s, nullptr};
    // The shown controls of one container, topmost first, and into the
    // container that the point lies on.
    const platform::Control* container = nullptr;
    const FakeControlBase* hit = nullptr;
    for (;;) {
        std::vector<const FakeControlBase*> layer;
        for (const FakeControlBase* c : controls)
            if (c->container == container && c->visible) layer.push_back(c);
        std::stable_partition(layer.begin(), layer.end(), [](const FakeControlBase* c) { return !c->StacksBelowControls(); });
        const auto at = std::find_if(layer.begin(), layer.end(), [&](const FakeControlBase* c) { return inside(c->ClientPlace(), client); });
        if (at == layer.end()) return {nullptr, hit};
        hit = *at;
        if (!hit->StacksBelowControls()) return {nullptr, hit};
        container = dynamic_cast<const platform::Control*>(hit);
    }
}

FakeControlBase* FakeWindow::Focused() const {
    for (FakeControlBase* c : controls)
        if (c->focused) return c;
    return nullptr;
}

void FakeWindow::RequireKeyboard(const char* key) const {
    if (!visible || !enabled || ui.active != this)
        throw std::logic_error(std::string(key) + ": the window \"" + title + "\" does not have the keyboard");
}

void FakeWindow::PressEsc() {
    RequireKeyboard("Esc");
    PressButton(cancelControl);
}

void FakeWindow::PressEnter() {
    RequireKeyboard("Enter");
    PressButton(defaultControl);
}

void FakeWindow::PressTab(bool backwards) {
    RequireKeyboard("Tab");
    std::vector<FakeControlBase*> stops;
    std::vector<platform::Rect> places;
    std::size_t current = 0;
    FakeControlBase* focus = Focused();
    for (FakeControlBase* c : controls)
        if (c->Reachable() && c->TakesTab()) {
            if (c == focus) current = stops.size();
            stops.push_back(c);
            places.push_back(c->ClientPlace());
        }
    if (stops.empty()) return;
    if (focus == nullptr || std::find(stops.begin(), stops.end(), focus) == stops.end()) current = stops.size();
    FakeControlBase* next = stops[platform::NextInTabOrder(places, current, backwards)];
    for (FakeControlBase* c : controls) c->focused = false;
    next->focused = true;
}

void FakeWindow::CloseBox() {
    std::function<void()> handler = onCloseRequest;
    if (handler) ui.Raise(handler);
}

void FakeWindow::MouseUp(platform::MouseButton button) {
    if (!visible || !enabled) throw std::logic_error("click: the window \"" + title + "\" takes no input");
    std::function<void(platform::MouseButton)> handler = onMouseUp;
    if (handler) ui.Raise([&] { handler(button); });
}

void FakeWindow::PointerRests() {
    PointerRestPosted();
    TakePostedPointerRest();
}

void FakeWindow::PointerRestPosted() {
    if (visible && enabled) pointerRestPosted = true;
}

void FakeWindow::TakePostedPointerRest() {
    if (!pointerRestPosted) return;
    pointerRestPosted = false;
    std::function<void()> handler = onPointerRest;
    if (handler) ui.Raise(handler);
}

}  // namespace morix::test
