// The simulated desktop's windows and controls: plain state, named as the
// forms name them, with the user's actions as calls a test makes (click,
// type, pick, press Esc, close). Every action raises its event through the
// event guard, as the real platform does; an action on a control the user
// could not reach (hidden, disabled, in a disabled container or window)
// throws std::logic_error, which fails the test.
#pragma once

#include "platform/Layout.h"
#include "platform/Ui.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace morix::test {

class FakeShaper;
class FakeUi;
class FakeWindow;

// What every fake control has: its name, window, container and place.
class FakeControlBase {
public:
    FakeControlBase(FakeWindow& window, const platform::ControlSpec& request);
    virtual ~FakeControlBase();
    FakeControlBase(const FakeControlBase&) = delete;
    FakeControlBase& operator=(const FakeControlBase&) = delete;

    // Visible and enabled, and so are its containers and its window.
    bool Reachable() const;
    // Its place in its window's client area (its containers' places added).
    platform::Rect ClientPlace() const;
    // A frame or picture box, which the others lie on.
    virtual bool StacksBelowControls() const { return false; }
    // Tab stops at it (the option buttons of a container: the chosen one).
    virtual bool TakesTab() const { return true; }

    FakeWindow& window;
    platform::Control* container;
    std::string name;
    platform::Rect place;
    bool visible = true, enabled = true, focused = false;
    bool orphaned = false;  // its window is gone

protected:
    // Reachable, and what a click at its centre reaches; a dialog clicked
    // into takes the keyboard.
    void RequireReachable(const char* action) const;
};

// Implements the shared part of platform::ControlBase over FakeControlBase.
template <typename Interface>
class FakeControlOf : public Interface, public FakeControlBase {
public:
    using FakeControlBase::FakeControlBase;
    const std::string& Name() const override { return name; }
    void Move(const platform::Rect& p) override { place = p; }
    platform::Rect Place() const override { return place; }
    void SetVisible(bool v) override { visible = v; }
    bool Visible() const override { return visible; }
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
    void SetFocus() override;
};

class FakeControl final : public FakeControlOf<platform::Control> {
public:
    FakeControl(FakeWindow& window, platform::ControlKind kind, const platform::ControlSpec& request);
    platform::ControlKind Kind() const override { return kind; }
    void SetText(std::string_view t) override { text = t; }
    std::string Text() const override { return text; }
    int CaptionWidth() const override;
    // A label's lines: the height they need.
    int CaptionHeight() const;
    void SetValue(int v) override;
    int Value() const override { return value; }
    void SetPicture(std::shared_ptr<platform::Picture> p) override { picture = std::move(p); }
    void SetStretch(bool s) override { stretch = s; }
    void SetBackColour(std::uint32_t rgb) override { backColour = rgb; }
    void SetTooltip(std::string_view t) override { tooltip = t; }
    void SetShield(bool s) override { shield = kind == platform::ControlKind::Button && s; }
    void OnClick(std::function<void()> h) override { onClick = std::move(h); }
    bool StacksBelowControls() const override { return platform::StacksBelowControls(kind); }
    bool TakesTab() const override;

    // The user's click: a check box toggles, an option button is chosen
    // (the others of its container let go), then Click is raised.
    void Click();
    // The user types into a text box (replacing its text).
    void Type(std::string_view typed);

    platform::ControlKind kind;
    std::string text;
    int value = 0;
    std::shared_ptr<platform::Picture> picture;
    bool stretch = false;
    std::uint32_t backColour = 0xFFFFFFFF;  // none set
    std::string tooltip;
    bool shield = false;
    std::function<void()> onClick;
};

class FakeListBox final : public FakeControlOf<platform::ListBox> {
public:
    using FakeControlOf::FakeControlOf;
    void AddItem(std::string_view t) override { items.emplace_back(t); }
    void Clear() override {
        items.clear();
        index = -1;
    }
    int Count() const override { return static_cast<int>(items.size()); }
    std::string Item(int i) const override;
    int ListIndex() const override { return index; }
    void SetListIndex(int i) override;
    void OnClick(std::function<void()> h) override { onClick = std::move(h); }

    // The user picks the item of this text.
    void Pick(std::string_view item);

    std::vector<std::string> items;
    int index = -1;
    std::function<void()> onClick;
};

class FakeDateTime final : public FakeControlOf<platform::DateTimeControl> {
public:
    FakeDateTime(FakeWindow& window, platform::DateTimeKind kind, const platform::ControlSpec& request)
        : FakeControlOf(window, request), kind(kind) {}
    platform::DateTimeKind Kind() const override { return kind; }
    platform::LocalTime Value() const override { return value; }
    // As the system's calendar, it shows the value's month.
    void SetValue(const platform::LocalTime& v) override {
        value = v;
        ShowMonthOf(v);
    }
    void OnChange(std::function<void()> h) override { onChange = std::move(h); }
    void OnGetDayBold(std::function<std::vector<platform::LocalTime>(const platform::LocalTime&, int)> h) override {
        onGetDayBold = std::move(h);
        ShowMonthOf(shown);
    }

    // The user clicks a day of the calendar, or sets the time.
    void Pick(const platform::LocalTime& v);
    // The user goes to the month of that day with the calendar's arrows.
    void GoToMonth(const platform::LocalTime& v);

    platform::DateTimeKind kind;
    platform::LocalTime value;
    std::function<void()> onChange;
    std::function<std::vector<platform::LocalTime>(const platform::LocalTime&, int)> onGetDayBold;
    // The month shown (its year and month; none before a value), and the days
    // drawn in bold: as the system's, the month before it and the month after
    // it are shown in part, and only days of those three months are drawn.
    platform::LocalTime shown;
    std::vector<platform::LocalTime> boldDays;

private:
    void ShowMonthOf(const platform::LocalTime& v);
};

class FakeRichTextBox final : public FakeControlOf<platform::RichTextBox> {
public:
    using FakeControlOf::FakeControlOf;
    bool TakesTab() const override { return false; }
    void SetFont(const platform::FontSpec& f) override { font = f; }
    void SetText(std::string_view t) override {
        text = t;
        modified = false;
    }
    std::string Text() const override { return text; }
    void SetReadOnly(bool r) override { readOnly = r; }
    void SetRightMargin(int px) override { rightMargin = px; }
    void LoadFile(std::string_view path) override;
    const std::string& FileName() const override { return fileName; }
    bool Modified() const override { return modified; }
    void SaveFile(std::string_view path) override;

    // The user types at the end of the text (the box must take typing).
    void Type(std::string_view typed);

    platform::FontSpec font;
    std::string text;
    bool readOnly = false;
    int rightMargin = 0;
    std::string fileName;
    int saves = 0;
    bool modified = false;
};

class FakeWindow final : public platform::Window {
public:
    FakeWindow(FakeUi& ui, platform::WindowKind kind, platform::WindowHandle handle);
    ~FakeWindow() override;
    platform::WindowKind Kind() const override { return kind; }
    void SetTitle(std::string_view t) override { title = t; }
    void Move(int left, int top, int width, int height) override;
    platform::Rect Bounds() const override { return bounds; }
    void SetClientSize(int width, int height) override;
    void FitToCaptions() override;
    void SetBackground(std::shared_ptr<platform::Picture> picture) override { background = std::move(picture); }
    void SetVisible(bool v) override;
    bool Visible() const override { return visible; }
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
    void ShowAndActivate() override;
    void ShowTopmostInactive() override {
        visible = true;
        ++topmostCalls;
    }
    platform::WindowHandle Handle() const override { return handle; }
    void SetCancelControl(platform::Control* c) override { cancelControl = c; }
    void SetDefaultControl(platform::Control* c) override { defaultControl = c; }
    void OnMouseUp(std::function<void(platform::MouseButton)> h) override { onMouseUp = std::move(h); }
    void OnPointerRest(std::function<void()> h) override { onPointerRest = std::move(h); }
    void OnCloseRequest(std::function<void()> h) override { onCloseRequest = std::move(h); }
    void OnEndSession(std::function<void()> h) override { onEndSession = std::move(h); }

    // The controls of the window by name; a missing name fails the test.
    FakeControl& Control(std::string_view name) const;
    FakeListBox& List(std::string_view name) const;
    FakeDateTime& DateTime(std::string_view name) const;
    FakeRichTextBox& RichText(std::string_view name) const;
    bool Has(std::string_view name) const;

    // What a click at the point (client pixels) reaches: the drag surface,
    // else the topmost shown control there, else the window's face (both
    // null). Containers lie below the other controls of their container.
    struct Hit {
        const FakeShaper* surface = nullptr;
        const FakeControlBase* control = nullptr;
    };
    Hit HitAt(platform::Point client) const;
    // The control with the keyboard, or nullptr.
    FakeControlBase* Focused() const;

    // The user's keys, which reach the window only while it has the keyboard,
    // and clicks on the window itself.
    void PressEsc();
    void PressEnter();
    void PressTab(bool backwards = false);
    void CloseBox();  // the close box of a dialog, or WM_CLOSE from outside
    void MouseUp(platform::MouseButton button);
    // The system's hover message: the pointer has rested on the window. Like
    // the real one it is posted only for a shown, enabled window, and once
    // posted it is handed over when the program next takes its messages,
    // whatever became of the window meanwhile. PointerRests is both at once.
    void PointerRests();
    void PointerRestPosted();
    void TakePostedPointerRest();
    bool pointerRestPosted = false;

    FakeUi& ui;
    platform::WindowKind kind;
    platform::WindowHandle handle;
    std::string title;
    platform::Rect bounds;
    int clientWidth = 0, clientHeight = 0;
    std::shared_ptr<platform::Picture> background;
    bool visible = false, enabled = true;
    int topmostCalls = 0;
    int animations = 0;
    // The scale the window is drawn for: its monitor's. A dialog that comes
    // onto a monitor of another scale is laid out again by the system, as
    // Windows asks it to: its controls' places and its size scaled by the
    // change.
    int dpi = 96;
    int MonitorDpi() const;
    platform::Control* cancelControl = nullptr;
    platform::Control* defaultControl = nullptr;
    std::vector<FakeControlBase*> controls;  // alive, in creation order
    std::function<void(platform::MouseButton)> onMouseUp;
    std::function<void()> onCloseRequest, onEndSession, onPointerRest;

    // A dialog's frame: the caption above, a border around the client area.
    static constexpr int FrameWidth = 3, CaptionHeight = 22;

private:
    template <typename T>
    T& Find(std::string_view name) const;
    void RequireKeyboard(const char* key) const;
    void FollowMonitor();
};

}  // namespace morix::test
