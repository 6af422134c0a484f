// Implements platform::DateTimeControl as a common control child window
// (ChildControl): the month calendar as SysMonthCal32 (MCM_SETCURSEL,
// MCM_GETCURSEL; MCN_SELECT, the user's click on a day, is its Change), the
// time picker as SysDateTimePick32 with DTS_TIMEFORMAT (DTM_SETSYSTEMTIME,
// DTM_GETSYSTEMTIME; DTN_DATETIMECHANGE is its Change). A value set by the
// program raises nothing. A value the control refuses (no such day) is
// error 380. A calendar of bold days has MCS_DAYSTATE: it answers the
// control's MCN_GETDAYSTATE from its GetDayBold handler, and gives the days
// itself (MCM_GETMONTHRANGE with GMR_DAYSTATE, MCM_SETDAYSTATE) when the
// handler is set, when its value is set, and when the selection moves to
// other months (Wine's control asks only when it is made). What it gave last is kept in window properties of the calendar
// (DayStateProperty), for an outside observer to read.
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
    void OnGetDayBold(std::function<std::vector<LocalTime>(const LocalTime& first, int months)> handler) override;

private:
    LRESULT OnNotify(const NMHDR& header) override;
    bool IsCalendar() const { return kind_ != DateTimeKind::TimePicker; }
    // The bold days of `months` months from the month of `first`, as the
    // control's day states (bit n for day n + 1), asked of the handler.
    void FillDayStates(const SYSTEMTIME& first, int months, DWORD* states);  // MONTHDAYSTATE
    // Gives the control the bold days of the months it shows; `again`: even
    // when they are the months it was last given.
    void ShowBoldDays(bool again = true);

    // The place, made as large as the calendar's whole month needs.
    Rect AtLeastAMonth(Rect place) const;

    const DateTimeKind kind_;
    std::function<void()> onChange_;
    std::function<std::vector<LocalTime>(const LocalTime&, int)> onGetDayBold_;
    bool settingValue_ = false;
    int daysFrom_ = 0;  // the first month of the day states given last, year × 100 + month
};

// The window properties of a calendar of bold days: "Morix.DayState.First"
// holds the first month of the day states it gave last (year × 100 + month),
// "Morix.DayState.Count" their number, "Morix.DayState.0" and on each month's
// states, up to MaxDayStateMonths of them.
inline constexpr wchar_t DayStateProperty[] = L"Morix.DayState.";
inline constexpr int MaxDayStateMonths = 14;

}  // namespace morix::platform::win32
