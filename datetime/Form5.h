// The date and time dialog "日付と日時の変更": a calendar for the day, a time
// picker for the time of day. OK sets the system's date, then its time, and
// re-creates the clock window; the clock takes no input while it is open.
#pragma once

#include "base/Twips.h"
#include "platform/Clock.h"
#include "platform/Control.h"
#include "platform/DateTimeControl.h"
#include "platform/Window.h"

#include <memory>

namespace morix {

class DateTime;
class Module1;

class Form5 final {
public:
    Form5(Module1& module, DateTime& owner);
    ~Form5();
    Form5(const Form5&) = delete;
    Form5& operator=(const Form5&) = delete;

    void Form_Load();
    void Form_Unload();
    void cmdOK_Click();
    void cmdCancel_Click();
    // The helper's answer, when the time was set with an administrator's
    // rights.
    void AdministratorAnswered(platform::SetTimeOutcome outcome);

    platform::Window& Window() { return *window_; }

private:
    void AskAdministrator(const platform::LocalTime& day, const platform::LocalTime& time);
    void ShowCouldNotSet(platform::SetTimeOutcome outcome);
    void RecreateClock();

    Module1& m;
    DateTime& owner_;
    TwipsPerPixel scale_;  // of the monitor it is made and shown on
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::DateTimeControl> MonthView1_, DTPicker1_;
    std::unique_ptr<platform::Control> cmdOK_, cmdCancel_;
};

}  // namespace morix
