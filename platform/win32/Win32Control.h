// Implements platform::Control, the general control, as a native child
// window of its form or container (ChildControl):
// - Label: STATIC with SS_NOTIFY (STN_CLICKED is its Click).
// - Button: BUTTON BS_PUSHBUTTON (BN_CLICKED); BS_DEFPUSHBUTTON while it is
//   the window's default control.
// - CheckBox: BUTTON BS_3STATE, so that 2 shows greyed (BST_INDETERMINATE);
//   the user's click turns 0 into 1, and 1 or 2 into 0, then raises Click;
//   SetValue raises nothing.
// - OptionButton: BUTTON BS_AUTORADIOBUTTON, the first of its container with
//   WS_GROUP | WS_TABSTOP; choosing one (by the user or SetValue) clears the
//   other option buttons of the same container.
// - Frame: a container, a "MorixForm" child with WS_EX_CONTROLPARENT with a
//   BS_GROUPBOX over its area, kept beneath the controls put into it.
// - TextBox: EDIT with ES_AUTOHSCROLL and WS_EX_CLIENTEDGE.
// - Picture: a "MorixForm" child with WS_EX_CONTROLPARENT that paints its
//   picture from the top-left and the rest in its back colour (the button
//   face by default); a left-button press and release on it is its Click.
//   Without a picture it is a plain container.
// - Line: STATIC with SS_ETCHEDHORZ (height 0) or SS_ETCHEDVERT (width 0).
// Containers hand their children's WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* on
// to the form window, which routes them to the controls. SetBackColour
// answers WM_CTLCOLORSTATIC/BTN/EDIT with a brush of that colour.
#pragma once

#include "platform/Control.h"
#include "platform/Layout.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/EventRunner.h"
#include "platform/win32/FormWindowClass.h"
#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace morix::platform::win32 {

class Win32Picture;
class Win32Window;

class Win32Control final : public ChildControlOf<Control>, private MessageTarget {
public:
    Win32Control(Win32Window& window, HWND parent, ControlKind kind, const ControlSpec& request, EventRunner run);
    ~Win32Control() override;

    ControlKind Kind() const override { return kind_; }
    void SetText(std::string_view text) override;
    std::string Text() const override;
    int CaptionWidth() const override;
    int CaptionHeight() const override;
    void SetValue(int value) override;
    int Value() const override;
    void SetPicture(std::shared_ptr<Picture> picture) override;
    void SetStretch(bool stretch) override;
    void SetBackColour(std::uint32_t rgb) override;
    void SetTooltip(std::string_view text) override { child_.SetTooltip(text); }
    void SetShield(bool shown) override;
    void OnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }

    // Frames and pictures hold other controls.
    bool IsContainer() const { return StacksBelowControls(); }
    HWND TooltipHwnd() const { return child_.TooltipHwnd(); }
    HWND GroupBoxHwnd() const { return groupBox_.Get(); }

private:
    void OnCommand(WORD code) override;
    HBRUSH OnColour(HDC dc) override;
    bool TakesTyping() const override { return kind_ == ControlKind::TextBox; }
    void PressFromKey() override;
    void ShowAsDefault(bool isDefault) override;
    bool IsOptionButton() const override { return kind_ == ControlKind::OptionButton; }
    bool StacksBelowControls() const override { return platform::StacksBelowControls(kind_); }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnContainerErase(HWND window, HDC dc);
    LRESULT OnContainerPaint(HWND window);
    LRESULT OnContainerButtonUp(HWND window, LPARAM lParam);

    void CreateNative();
    // The user's click, by the mouse or by a key: what the control does
    // with it, then Click.
    void UserClick();
    void Choose();
    void Repaint();

    const ControlKind kind_;
    std::function<void()> onClick_;
    std::shared_ptr<Win32Picture> picture_;
    bool stretch_ = false;
    std::optional<COLORREF> backColour_;
    UniqueBrush backBrush_;
    int value_ = 0;  // kinds without a state of their own keep the value here
    bool pressed_ = false;
    bool shield_ = false;
    UniqueWindow groupBox_;
};

// The HWND of a control made by the Win32 user interface; nullptr for none.
// Throws std::invalid_argument for a control of another implementation.
HWND HwndOf(Control* control);

// The HWND a control goes on: its container's, or the form window's when
// there is none. Throws std::invalid_argument for a container that is no
// frame or picture of that window.
HWND ParentFor(Win32Window& window, Control* container);

}  // namespace morix::platform::win32
