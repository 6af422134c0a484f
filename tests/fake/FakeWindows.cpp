#include "tests/fake/FakeWindows.h"

#include "base/RuntimeError.h"
#include "platform/FileErrors.h"
#include "tests/fake/FakeRtf.h"
#include "tests/fake/FakeUi.h"

#include "platform/posix/PosixFiles.h"

#include <algorithm>
#include <stdexcept>

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

void FakeControlBase::RequireReachable(const char* action) const {
    if (!Reachable()) throw std::logic_error(std::string(action) + ": " + name + " cannot be reached by the user");
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

// ---- rich text ----

void FakeRichTextBox::LoadFile(std::string_view path) {
    platform::PosixFiles files;
    platform::RequireExistingFile(files, path);
    auto bytes = files.ReadAll(path);
    if (!bytes) Raise(err::PathFileAccess, path);
    text = RtfToText(*bytes);
    fileName = path;
}

void FakeRichTextBox::SaveFile(std::string_view path) {
    platform::PosixFiles files;
    platform::RequireExistingFolderOf(files, path);
    if (files.FolderExists(path)) Raise(err::PathFileAccess, std::string(path) + ": a folder of that name");
    if (!files.ReplaceAtomically(path, TextToRtf(text))) Raise(err::PathFileAccess, std::string(path) + ": cannot be written");
    ++saves;
}

void FakeRichTextBox::Type(std::string_view typed) {
    RequireReachable("type");
    if (readOnly) throw std::logic_error("type: " + name + " is read-only");
    text += typed;
}

// ---- window ----

FakeWindow::FakeWindow(FakeUi& ui, platform::WindowKind kind, platform::WindowHandle handle)
    : ui(ui), kind(kind), handle(handle) {}

FakeWindow::~FakeWindow() {
    std::erase(ui.windows, this);
    // Controls that outlive their window are on no window any more.
    for (FakeControlBase* c : controls) c->orphaned = true;
}

// Taking the front and the keyboard: the fake keeps no keyboard, so the
// window is simply shown.
void FakeWindow::ShowAndActivate() { visible = true; }

void FakeWindow::SetClientSize(int width, int height) {
    clientWidth = width;
    clientHeight = height;
    const bool dialog = kind == platform::WindowKind::Dialog;
    const int w = width + (dialog ? 2 * FrameWidth : 0), h = height + (dialog ? 2 * FrameWidth + CaptionHeight : 0);
    bounds.right = bounds.left + w;
    bounds.bottom = bounds.top + h;
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

void FakeWindow::PressEsc() {
    if (!visible || !enabled) throw std::logic_error("Esc: the window \"" + title + "\" takes no keys");
    PressButton(cancelControl);
}

void FakeWindow::PressEnter() {
    if (!visible || !enabled) throw std::logic_error("Enter: the window \"" + title + "\" takes no keys");
    PressButton(defaultControl);
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

}  // namespace morix::test
