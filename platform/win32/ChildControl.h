// Implements what every control on a form window shares: its native child
// window (CreateWindowExW on the form window or on its container, placed in
// pixels as given, a control id from the window, WS_CLIPSIBLINGS, the
// system's message font from SystemParametersInfoW(SPI_GETNONCLIENTMETRICS)
// through WM_SETFONT); showing, hiding, enabling (EnableWindow) and the
// keyboard focus (through the window, which keeps it for its activation when
// it is not active); its tooltip (a tooltips_class32 window with no owner,
// TTF_IDISHWND | TTF_SUBCLASS); and the routing of the notifications that
// its parent receives (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*) to the control
// object, found through a window property of the control's HWND.
//
// The control's window is subclassed (GWLP_WNDPROC) so that the object
// learns when the window goes with its container or its form (WM_NCDESTROY),
// and so that a click into a control that takes typing activates even a
// borderless window (WM_MOUSEACTIVATE answered MA_ACTIVATE) while a click on
// any other control of it does not (the control's own SetFocus on the button
// press would activate the window: a WH_CBT hook refuses HCBT_ACTIVATE for
// it while the press is handled).
#pragma once

#include "platform/Ui.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/FormWindowClass.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace morix::platform::win32 {

// What a control's parent routes to the control object.
class ControlTarget {
public:
    // WM_COMMAND of the control's window, with its notification code.
    virtual void OnCommand(WORD code) {}
    virtual LRESULT OnNotify(const NMHDR& header) { return 0; }
    // WM_CTLCOLOR*: the brush to paint the control's background with, or
    // nullptr for the system's.
    virtual HBRUSH OnColour(HDC dc) { return nullptr; }
    // A control the user types into: a click into it activates the window.
    virtual bool TakesTyping() const { return false; }
    // Esc or Enter pressed it as the cancel or the default control.
    virtual void PressFromKey() {}
    // It became, or stopped being, the control that Enter presses.
    virtual void ShowAsDefault(bool) {}
    // One of the option buttons of its container, of which one is chosen.
    virtual bool IsOptionButton() const { return false; }
    // A frame or picture box: it lies below the other controls of its parent.
    virtual bool StacksBelowControls() const { return false; }
    // The pixels of width its caption needs (platform::Control::CaptionWidth);
    // 0 for the controls that show none.
    virtual int CaptionWidth() const { return 0; }
    // The pixels of height a label's lines need; 0 for the others.
    virtual int CaptionHeight() const { return 0; }
    // The layout moves it, as the form would (a control that takes more
    // than its place is asked again).
    virtual void MoveByLayout(const Rect& place) = 0;

protected:
    ~ControlTarget() = default;
};

// The control object of a child window; nullptr for a window that is none
// of ours (or is being destroyed).
ControlTarget* ControlTargetOf(HWND window);
// The form's name for the control of a child window; "" for none of ours.
std::string ControlNameOf(HWND window);

class ChildControl;
// The controls on a window or container, its children's children in its
// containers included: parents before what they hold.
std::vector<ChildControl*> ChildControlsOn(HWND parent);

// The pixels the caption of a control of that kind needs in the font the
// control's window has (WM_GETFONT), as the system draws it: in width, a
// check box's or option button's box and gap, a push button's edges, a group
// box's caption inset from its border, a static's longest line; in height,
// the text's lines.
SIZE MeasureCaption(HWND window, ControlKind kind);

// Hands a WM_COMMAND, WM_NOTIFY or WM_CTLCOLOR* that a form window or a
// container received on to the control that sent it; false when no control
// of ours sent it, or (WM_CTLCOLOR*) the control keeps the system's colours.
// The control's handler may unload the form: after a true answer the caller
// returns `result` without touching anything else.
bool RouteToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The font of every control: the system's message font at the scale of the
// monitor the window is on.
HFONT MessageFont(HWND window);
// The same at a given scale.
HFONT MessageFontForDpi(int dpi);
// The dots per inch the window is drawn for: its monitor's where the system
// scales each monitor, else the system's.
int WindowDpi(HWND window);

// A new child window is made below all its siblings; a control that is no
// container goes up to just above the topmost container of its parent, so
// that no frame or picture box made before it covers it.
void StackAboveContainers(HWND control);

class ChildControl final : private WindowAttachment {
public:
    ChildControl(Win32Window& window, HWND parent, const ControlSpec& request, ControlTarget& target);
    ~ChildControl();
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;

    // Creates the native window, visible, with WS_CHILD | WS_VISIBLE |
    // WS_CLIPSIBLINGS added to `style`, at the place asked, with its
    // caption. A window of FormClassName gets its messages through
    // `messages`. Throws std::runtime_error when the system refuses.
    void Create(const wchar_t* className, DWORD style, DWORD exStyle, MessageTarget* messages = nullptr);
    // Destroys the native window now (also done by the destructor). A
    // control calls it first in its own destructor, so that no message of
    // the going window reaches its half-destroyed object.
    void Destroy();

    HWND Hwnd() const { return hwnd_.Get(); }
    HWND Parent() const { return parent_; }
    ControlTarget* Target() const { return target_; }
    int Id() const { return id_; }
    Win32Window* Window() const { return window_; }

    const std::string& Name() const { return name_; }
    void Move(const Rect& place);
    // Placed larger than asked, where the system's control needs it (a
    // calendar shows at least a month).
    void MoveLarger(const Rect& asked, const Rect& place);
    Rect Place() const { return place_; }
    // The place the program asked for, before the control took more.
    Rect Asked() const { return asked_; }
    void SetVisible(bool visible);
    bool Visible() const;
    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetFocus();
    void SetTooltip(std::string_view text);
    HWND TooltipHwnd() const { return tooltip_.Get(); }
    void SetText(std::string_view text);
    std::string Text() const;
    // An etched line: a side of 0 pixels is drawn 2 pixels wide, as the
    // line's own thickness; Place() still says 0.
    void DrawFlatAsLine() { flatAsLine_ = true; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnWindowGone(HWND window);
    void OnOwnerGone() override;
    RECT NativePlace() const;

    Win32Window* window_;
    HWND parent_;
    ControlTarget* target_;
    std::string name_;
    std::wstring caption_;
    Rect place_, asked_;
    int id_;
    bool flatAsLine_ = false;
    bool formWindow_ = false;
    bool toolAdded_ = false;
    std::wstring tooltipText_;
    WNDPROC originalProc_ = nullptr;
    UniqueWindow tooltip_;
    UniqueWindow hwnd_;
};

// The shared part of platform::ControlBase for each control interface.
template <typename Interface>
class ChildControlOf : public Interface, protected ControlTarget {
public:
    const std::string& Name() const override { return child_.Name(); }
    void Move(const Rect& place) override { child_.Move(place); }
    void MoveByLayout(const Rect& place) override { Move(place); }
    Rect Place() const override { return child_.Place(); }
    void SetVisible(bool visible) override { child_.SetVisible(visible); }
    bool Visible() const override { return child_.Visible(); }
    void SetEnabled(bool enabled) override { child_.SetEnabled(enabled); }
    bool Enabled() const override { return child_.Enabled(); }
    void SetFocus() override { child_.SetFocus(); }

    HWND Hwnd() const { return child_.Hwnd(); }

protected:
    ChildControlOf(Win32Window& window, HWND parent, const ControlSpec& request, EventRunner run)
        : child_(window, parent, request, *this), run_(run) {}
    ~ChildControlOf() = default;

    ChildControl child_;
    EventRunner run_;
};

}  // namespace morix::platform::win32
