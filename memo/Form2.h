// The memo date picker "備忘録（新規・開く）": a month calendar on today, the
// days that have a memo drawn in bold; OK makes sure the chosen day's memo
// file exists and opens it in the memo window. The clock takes no input while
// it is open.
#pragma once

#include "base/Twips.h"
#include "platform/Control.h"
#include "platform/DateTimeControl.h"
#include "platform/Window.h"

#include <memory>
#include <vector>

namespace morix {

class Memos;
class Module1;

class Form2 final {
public:
    Form2(Module1& module, Memos& memos);
    ~Form2();
    Form2(const Form2&) = delete;
    Form2& operator=(const Form2&) = delete;

    void Form_Load();
    void Form_Unload();
    void MonthView1_DateClick();
    std::vector<platform::LocalTime> MonthView1_GetDayBold(const platform::LocalTime& first, int months) const;
    void cmdOK_Click();
    void cmdCancel_Click();

    platform::Window& Window() { return *window_; }

private:
    Module1& m;
    Memos& memos_;
    TwipsPerPixel scale_;  // of the monitor it is made and shown on
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::Control> Label1_;
    std::unique_ptr<platform::DateTimeControl> MonthView1_;
    std::unique_ptr<platform::Control> cmdOK_;
    std::unique_ptr<platform::Control> cmdCancel_;
};

}  // namespace morix
