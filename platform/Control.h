// The controls the forms place on their windows. Every control has a name
// (the form's name for it, "Check3(0)", "cmdOK"), a place in pixels inside its
// container (a frame or a picture box, or the window itself), and can be
// shown, hidden, enabled and given the keyboard. The general control covers
// the simple kinds; list boxes, the date/time controls and the rich-text box
// have interfaces of their own.
//
// Events are callbacks set per control and called through the event guard. A
// handler may unload the form that owns the control: the platform calls a
// copy of the callback and touches nothing of the control afterwards.
#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace morix::platform {

class Picture;

class ControlBase {
public:
    virtual ~ControlBase() = default;
    virtual const std::string& Name() const = 0;
    // Pixels inside the container.
    virtual void Move(const Rect& place) = 0;
    virtual Rect Place() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    // A disabled control takes no input; a disabled container's controls
    // neither.
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetFocus() = 0;
};

enum class ControlKind {
    Label,         // text
    Button,        // a push button; Click
    CheckBox,      // Value 0 unticked, 1 ticked, 2 greyed; a click toggles and raises Click
    OptionButton,  // Value 0 or 1; one of the buttons of a container is chosen at a time
    Frame,         // a captioned group box, a container
    TextBox,       // a single-line text box
    Picture,       // shows a picture; with no picture, a plain container
    Line,          // an etched line: horizontal when its height is 0, vertical when its width is 0
};

class Control : public ControlBase {
public:
    virtual ControlKind Kind() const = 0;
    // The caption of a label, button, check box, option button or frame;
    // the text of a text box.
    virtual void SetText(std::string_view text) = 0;
    virtual std::string Text() const = 0;
    // The pixels of width the caption needs to be seen whole in the
    // control's own font: with a check box's or option button's box and the
    // gap before its text, a push button's margins, the insets of a frame's
    // caption on its border, a label's longest line. 0 for the kinds that
    // show no caption (text box, picture, line).
    virtual int CaptionWidth() const = 0;
    // Check boxes and option buttons. Setting it raises no Click.
    virtual void SetValue(int value) = 0;
    virtual int Value() const = 0;
    // Picture controls: the picture drawn from the top-left; nullptr shows none.
    virtual void SetPicture(std::shared_ptr<Picture> picture) = 0;
    // Picture controls: the picture scaled to the control's size instead.
    virtual void SetStretch(bool stretch) = 0;
    // A background colour (0xRRGGBB) instead of the window's; labels, check
    // boxes and option buttons.
    virtual void SetBackColour(std::uint32_t rgb) = 0;
    virtual void SetTooltip(std::string_view text) = 0;
    // Push buttons: the system's shield before the caption, which tells the
    // user that the button asks for an administrator's consent.
    virtual void SetShield(bool shown) = 0;
    // Buttons, check boxes, option buttons, pictures, labels.
    virtual void OnClick(std::function<void()> handler) = 0;
};

}  // namespace morix::platform
