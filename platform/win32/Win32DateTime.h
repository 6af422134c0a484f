// Implements platform::DateTimeControl as a common control child window
// (ChildControl): the month calendar as SysMonthCal32 (MCM_SETCURSEL,
// MCM_GETCURSEL; MCN_SELECT, the user's click on a day, is its Change), the
// time picker as SysDateTimePick32 with DTS_TIMEFORMAT (DTM_SETSYSTEMTIME,
// DTM_GETSYSTEMTIME; DTN_DATETIMECHANGE is its Change). A value set by the
// program raises nothing. A value the control refuses (no such day) is
// error 380.
#pragma once

#include "platform/DateTimeControl.h"
#include "platform/win32/ChildControl.h"

#include <functional>

namespace morix::platform::win32 {

class Win32DateTime final : public ChildControlOf<DateTimeControl> {
public:
    Win32DateTime(Win32Window& window, HWND parent, DateTimeKind kind, const ControlSpec& request, EventRunner run);
    ~Win32DateTime() override;

    DateTimeKind Kind() const override { return kind_; }
    void Move(const Rect& place) override;
    LocalTime Value() const override;
    void SetValue(const LocalTime& value) override;
    void OnChange(std::function<void()> handler) override { onChange_ = std::move(handler); }

private:
    LRESULT OnNotify(const NMHDR& header) override;

    // The place, made as large as the calendar's whole month needs.
    Rect AtLeastAMonth(Rect place) const;

    const DateTimeKind kind_;
    std::function<void()> onChange_;
    bool settingValue_ = false;
};

}  // namespace morix::platform::win32
