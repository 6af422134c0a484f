#include "datetime/Form5.h"

#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"
#include "datetime/DateTime.h"
#include "datetime/SetTimeMessage.h"
#include "platform/TimeRequest.h"
#include "platform/Ui.h"

#include <algorithm>

namespace morix {

namespace {
platform::Rect CalendarPlace(const GridLayout& grid) { return grid(8, 8, 159, 148); }
}  // namespace

Form5::Form5(Module1& module, DateTime& owner) : m(module), owner_(owner) {
    platform::Ui& ui = m.platform.ui;
    const Form1::DialogSite site = m.TouchForm1().SiteForDialog();
    scale_ = site.scale;
    const GridLayout grid(scale_);
    window_ = ui.NewWindow(platform::WindowKind::Dialog, site.origin);
    window_->SetTitle("日付と日時の変更");
    window_->OnCloseRequest([this] { owner_.CloseDateTime(); });
    MonthView1_ = ui.NewDateTime(*window_, platform::DateTimeKind::Calendar, {"MonthView1", CalendarPlace(grid), "", nullptr});
    DTPicker1_ = ui.NewDateTime(*window_, platform::DateTimeKind::TimePicker, {"DTPicker1", grid(8, 164, 157, 21), "", nullptr});
    cmdOK_ = ui.NewControl(*window_, platform::ControlKind::Button, {"cmdOK", grid(8, 196, 77, 29), "OK", nullptr});
    cmdOK_->OnClick([this] { cmdOK_Click(); });
    cmdCancel_ = ui.NewControl(*window_, platform::ControlKind::Button, {"cmdCancel", grid(92, 196, 77, 29), "キャンセル", nullptr});
    cmdCancel_->OnClick([this] { cmdCancel_Click(); });
    window_->SetCancelControl(cmdCancel_.get());
}

Form5::~Form5() = default;

void Form5::Form_Load() {
    m.DateTimeOpen = true;
    // As wide as the calendar the system draws needs.
    const GridLayout grid(scale_);
    const int wider = std::max(0, MonthView1_->Place().right - CalendarPlace(grid).right);
    window_->SetClientSize(grid.Width() + wider, grid.Height());
    // Without the right, OK goes through the system's elevation prompt, and
    // says so as Windows' own buttons do.
    cmdOK_->SetShield(!m.platform.clock.HoldsTimeRight());
    // In a font wider than the one the places were drawn for, no caption is cut.
    window_->FitToCaptions();
    // Today selected, and the time of day to the second.
    const platform::LocalTime now = m.platform.clock.Now();
    MonthView1_->SetValue(now);
    DTPicker1_->SetValue(now);
    m.TouchForm1().PlaceBeside(*window_);
    m.SetForm1Enabled(false);
}

void Form5::cmdOK_Click() {
    using platform::SetTimeResult;
    platform::Clock& clock = m.platform.clock;
    const platform::LocalTime day = MonthView1_->Value();
    const platform::LocalTime time = DTPicker1_->Value();
    if (!clock.HoldsTimeRight()) {
        AskAdministrator(day, time);
        return;
    }
    // The picker's time is set as it stands, changed by the user or not; a
    // date already set stays when the time is refused.
    SetTimeResult result = clock.SetDate(day.year, day.month, day.day);
    if (result == SetTimeResult::Done) result = clock.SetTimeOfDay(time.hour, time.minute, time.second);
    if (result == SetTimeResult::Done) {
        RecreateClock();
        return;
    }
    // A refusal for the user's rights is not the input's fault.
    if (result == SetTimeResult::Denied) {
        ShowCouldNotSet({result, 0});
        return;
    }
    m.platform.ui.ShowMessageBox("半角文字で正しく入力してください！", "入力ミス", platform::MessageButtons::Ok,
                                 platform::MessageIcon::Exclamation, window_.get());
}

// The helper sets the date and the time of day in one step, moved on by the
// time the prompt stood. The dialog takes no input until it answers, while
// the clock and every other window go on.
void Form5::AskAdministrator(const platform::LocalTime& day, const platform::LocalTime& time) {
    platform::TimeRequest request;
    request.chosen = {day.year, day.month, day.day, time.hour, time.minute, time.second};
    request.chosenAtMs = m.platform.clock.TickCountMs();
    window_->SetEnabled(false);
    // The answer goes through the subsystem: the dialog may be gone by then.
    DateTime& owner = owner_;
    m.platform.clock.SetAsAdministrator(request, window_->Handle(),
                                        [&owner](platform::SetTimeOutcome outcome) { owner.AdministratorAnswered(outcome); });
}

void Form5::AdministratorAnswered(platform::SetTimeOutcome outcome) {
    using platform::SetTimeResult;
    window_->SetEnabled(true);
    switch (outcome.result) {
    case SetTimeResult::Done: RecreateClock(); return;
    // The user said no: nothing changed, and the dialog is there for another try.
    case SetTimeResult::Declined: return;
    default: ShowCouldNotSet(outcome); return;
    }
}

void Form5::ShowCouldNotSet(platform::SetTimeOutcome outcome) {
    m.platform.ui.ShowMessageBox(CouldNotSetTimeText(outcome), SetTimeMessageTitle, platform::MessageButtons::Ok,
                                 platform::MessageIcon::Exclamation, window_.get());
}

void Form5::RecreateClock() {
    m.RestoreFollowedWindow = true;
    m.UnloadForm1ForReload();
    owner_.CloseDateTime();
}

// The date and time stay; Reloading is not set.
void Form5::cmdCancel_Click() { owner_.CloseDateTime(); }

void Form5::Form_Unload() {
    m.DateTimeOpen = false;
    m.SetForm1Enabled(true);
}

}  // namespace morix
