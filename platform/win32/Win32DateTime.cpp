#include "platform/win32/Win32DateTime.h"

#include "base/RuntimeError.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace morix::platform::win32 {

namespace {

bool InWordRange(int v) { return v >= 0 && v <= 0xFFFF; }

}  // namespace

Win32DateTime::Win32DateTime(Win32Window& window, HWND parent, DateTimeKind kind, const ControlSpec& request,
                             EventRunner run)
    : ChildControlOf(window, parent, request, run), kind_(kind) {
    if (kind_ == DateTimeKind::Calendar) {
        child_.Create(MONTHCAL_CLASSW, WS_TABSTOP | WS_GROUP, 0);
        Move(child_.Place());
    } else
        child_.Create(DATETIMEPICK_CLASSW, DTS_TIMEFORMAT | WS_TABSTOP | WS_GROUP, 0);
}

Win32DateTime::~Win32DateTime() { child_.Destroy(); }

Rect Win32DateTime::AtLeastAMonth(Rect place) const {
    RECT needed{};
    if (kind_ != DateTimeKind::Calendar || !SendMessageW(Hwnd(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)))
        return place;
    place.right = std::max<int>(place.right, place.left + needed.right);
    place.bottom = std::max<int>(place.bottom, place.top + needed.bottom);
    return place;
}

// A calendar narrower than its month would cut days off.
void Win32DateTime::Move(const Rect& place) { child_.Move(AtLeastAMonth(place)); }

LocalTime Win32DateTime::Value() const {
    SYSTEMTIME t{};
    LocalTime value;
    if (kind_ == DateTimeKind::Calendar) {
        if (!SendMessageW(Hwnd(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&t))) return value;
        // The date counts; the calendar keeps no time of day.
        value.year = t.wYear;
        value.month = t.wMonth;
        value.day = t.wDay;
        return value;
    }
    if (SendMessageW(Hwnd(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) != GDT_VALID) return value;
    value.year = t.wYear;
    value.month = t.wMonth;
    value.day = t.wDay;
    value.hour = t.wHour;
    value.minute = t.wMinute;
    value.second = t.wSecond;
    return value;
}

void Win32DateTime::SetValue(const LocalTime& value) {
    SYSTEMTIME t{};
    if (kind_ == DateTimeKind::TimePicker && value.year == 0) {
        // Only the time of day counts: the picker still wants a whole date.
        GetLocalTime(&t);
        t.wMilliseconds = 0;
    } else {
        if (!InWordRange(value.year) || !InWordRange(value.month) || !InWordRange(value.day))
            Raise(err::InvalidProperty, Name());
        t.wYear = static_cast<WORD>(value.year);
        t.wMonth = static_cast<WORD>(value.month);
        t.wDay = static_cast<WORD>(value.day);
    }
    if (kind_ == DateTimeKind::TimePicker) {
        if (!InWordRange(value.hour) || !InWordRange(value.minute) || !InWordRange(value.second))
            Raise(err::InvalidProperty, Name());
        t.wHour = static_cast<WORD>(value.hour);
        t.wMinute = static_cast<WORD>(value.minute);
        t.wSecond = static_cast<WORD>(value.second);
    }
    // The day of the week follows from the date.
    FILETIME asFileTime{};
    if (!SystemTimeToFileTime(&t, &asFileTime) || !FileTimeToSystemTime(&asFileTime, &t))
        Raise(err::InvalidProperty, Name());
    // Some versions of the controls notify a change made by the program too.
    const bool wasSetting = std::exchange(settingValue_, true);
    const LRESULT done = kind_ == DateTimeKind::Calendar
                             ? SendMessageW(Hwnd(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&t))
                             : SendMessageW(Hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    settingValue_ = wasSetting;
    if (!done) Raise(err::InvalidProperty, Name());
}

LRESULT Win32DateTime::OnNotify(const NMHDR& header) {
    if (settingValue_) return 0;
    const bool change = kind_ == DateTimeKind::Calendar ? header.code == MCN_SELECT
                                                        : header.code == DTN_DATETIMECHANGE;
    if (change) Fire(run_, onChange_);
    return 0;
}

}  // namespace morix::platform::win32
