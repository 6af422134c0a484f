#include "alarm/Form9.h"

#include "alarm/Alarms.h"
#include "base/Placement.h"
#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"

namespace morix {

namespace {

using platform::ControlKind;

// The client area in twips at 100 %: a balloon's 280 x 140 pixels less the
// caption.
constexpr long long ClientWidth = 4200, ClientHeight = 1800;

}  // namespace

Form9::Form9(Module1& module, Alarms& alarms) : m(module), alarms_(alarms) {
    platform::Ui& ui = m.platform.ui;
    const Form1::DialogSite site = m.TouchForm1().SiteForDialog();
    const TwipsLayout at(site.scale, site.scale);
    window_ = ui.NewWindow(platform::WindowKind::Dialog, site.origin);
    window_->SetTitle("Morix - アラーム");
    // The close box stops the alarm, as "停止" does.
    window_->OnCloseRequest([this] { cmdStop_Click(); });
    platform::Window& w = *window_;
    lblMessage_ = ui.NewControl(w, ControlKind::Label, at("lblMessage", "", 120, 120, 3960, 1020));
    cmdStop_ = ui.NewControl(w, ControlKind::Button, at("cmdStop", "停止", 120, 1260, 1335, 420));
    cmdStop_->OnClick([this] { cmdStop_Click(); });
    cmdSnooze_ = ui.NewControl(w, ControlKind::Button, at("cmdSnooze", "5分後にもう一度", 1575, 1260, 2505, 420));
    cmdSnooze_->OnClick([this] { cmdSnooze_Click(); });
    window_->SetCancelControl(cmdStop_.get());
    window_->SetClientSize(at.Pixels(ClientWidth), at.PixelsY(ClientHeight));
    // In a font wider than the one the places were drawn for, no caption is cut.
    window_->FitToCaptions();
    // Where a balloon would go, by the window's outer size: right of the
    // clock or left of it, level with it or raised.
    Form1& clock = m.TouchForm1();
    const platform::Rect outer = window_->Bounds();
    const BalloonPlacement p =
        PlaceBalloon(clock.Left(), clock.Top(), clock.Width(), m.TwipsX.Twips(outer.Width()),
                     m.TwipsY.Twips(outer.Height()), clock.ScreenTwips(), m.TwipsY.Twips(site.scale.Scaled(20)));
    window_->Move(m.TwipsX.Pixels(p.left), m.TwipsY.Pixels(p.top), outer.Width(), outer.Height());
}

Form9::~Form9() = default;

void Form9::Show(const std::string& text, bool canSnooze) {
    lblMessage_->SetText(text);
    cmdSnooze_->SetEnabled(canSnooze);
    // Above everything, the keyboard left where it is.
    window_->ShowTopmostInactive();
}

void Form9::cmdStop_Click() { alarms_.Answer(false); }

void Form9::cmdSnooze_Click() { alarms_.Answer(true); }

}  // namespace morix
