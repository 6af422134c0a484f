#include "platform/win32/Win32DateTime.h"

#include "base/RuntimeError.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace morix::platform::win32 {

namespace {

bool InWordRange(int v) { return v >= 0 && v <= 0xFFFF; }

std::wstring DayStateName(const wchar_t* part) { return std::wstring(DayStateProperty) + part; }

void SetNumber(HWND window, const std::wstring& name, std::uintptr_t value) {
    SetPropW(window, name.c_str(), reinterpret_cast<HANDLE>(value));
}

}  // namespace

Win32DateTime::Win32DateTime(Win32Window& window, HWND parent, DateTimeKind kind, const ControlSpec& request,
                             EventRunner run)
    : ChildControlOf(window, parent, request, run), kind_(kind) {
    if (IsCalendar()) {
        const DWORD dayStates = kind_ == DateTimeKind::CalendarBoldDays ? MCS_DAYSTATE : 0;
        child_.Create(MONTHCAL_CLASSW, WS_TABSTOP | WS_GROUP | dayStates, 0);
        Move(child_.Place());
    } else
        child_.Create(DATETIMEPICK_CLASSW, DTS_TIMEFORMAT | WS_TABSTOP | WS_GROUP, 0);
}

Win32DateTime::~Win32DateTime() {
    if (kind_ == DateTimeKind::CalendarBoldDays && Hwnd() != nullptr) {
        RemovePropW(Hwnd(), DayStateName(L"First").c_str());
        RemovePropW(Hwnd(), DayStateName(L"Count").c_str());
        for (int i = 0; i < MaxDayStateMonths; ++i) RemovePropW(Hwnd(), DayStateName(std::to_wstring(i).c_str()).c_str());
    }
    child_.Destroy();
}

void Win32DateTime::OnGetDayBold(std::function<std::vector<LocalTime>(const LocalTime&, int)> handler) {
    onGetDayBold_ = std::move(handler);
    ShowBoldDays();
}

void Win32DateTime::FillDayStates(const SYSTEMTIME& first, int months, DWORD* states) {
    std::fill(states, states + months, 0);
    if (!onGetDayBold_) return;
    const LocalTime from{first.wYear, first.wMonth, 1};
    daysFrom_ = from.year * 100 + from.month;
    std::vector<LocalTime> days;
    // A copy: the handler runs through the guard, which may end the process.
    const std::function<std::vector<LocalTime>(const LocalTime&, int)> handler = onGetDayBold_;
    run_([&] { days = handler(from, months); });
    for (const LocalTime& day : days) {
        const int month = (day.year - from.year) * 12 + day.month - from.month;
        if (month >= 0 && month < months && day.day >= 1 && day.day <= 31) states[month] |= 1u << (day.day - 1);
    }
    HWND calendar = Hwnd();
    SetNumber(calendar, DayStateName(L"First"), static_cast<std::uintptr_t>(daysFrom_));
    SetNumber(calendar, DayStateName(L"Count"), static_cast<std::uintptr_t>(months));
    for (int i = 0; i < std::min(months, MaxDayStateMonths); ++i)
        SetNumber(calendar, DayStateName(std::to_wstring(i).c_str()), states[i]);
}

void Win32DateTime::ShowBoldDays(bool again) {
    if (kind_ != DateTimeKind::CalendarBoldDays) return;
    SYSTEMTIME range[2] = {};
    const int months = static_cast<int>(SendMessageW(Hwnd(), MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range)));
    if (months <= 0 || (!again && range[0].wYear * 100 + range[0].wMonth == daysFrom_)) return;
    std::vector<MONTHDAYSTATE> states(static_cast<std::size_t>(months));
    FillDayStates(range[0], months, states.data());
    SendMessageW(Hwnd(), MCM_SETDAYSTATE, static_cast<WPARAM>(months), reinterpret_cast<LPARAM>(states.data()));
    // Some versions of the control take new states without drawing them.
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

Rect Win32DateTime::AtLeastAMonth(Rect place) const {
    RECT needed{};
    if (!IsCalendar() || !SendMessageW(Hwnd(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)))
        return place;
    place.right = std::max<int>(place.right, place.left + needed.right);
    place.bottom = std::max<int>(place.bottom, place.top + needed.bottom);
    return place;
}

// A calendar narrower than its month would cut days off.
void Win32DateTime::Move(const Rect& place) { child_.MoveLarger(place, AtLeastAMonth(place)); }

LocalTime Win32DateTime::Value() const {
    SYSTEMTIME t{};
    LocalTime value;
    if (IsCalendar()) {
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
    const LRESULT done = IsCalendar() ? SendMessageW(Hwnd(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&t))
                                      : SendMessageW(Hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    settingValue_ = wasSetting;
    if (!done) Raise(err::InvalidProperty, Name());
    // The value may have taken the calendar to other months.
    ShowBoldDays();
}

LRESULT Win32DateTime::OnNotify(const NMHDR& header) {
    if (header.code == MCN_GETDAYSTATE && kind_ == DateTimeKind::CalendarBoldDays) {
        // The control fills its own array from the answer, after this returns.
        const auto& request = reinterpret_cast<const NMDAYSTATE&>(header);
        FillDayStates(request.stStart, request.cDayState, request.prgDayState);
        return 0;
    }
    // Wine's calendar goes to another month without asking for its day
    // states; it tells of the selection moved with it.
    if (header.code == MCN_SELCHANGE && kind_ == DateTimeKind::CalendarBoldDays) ShowBoldDays(false);
    if (settingValue_) return 0;
    const bool change = IsCalendar() ? header.code == MCN_SELECT : header.code == DTN_DATETIMECHANGE;
    if (change) Fire(run_, onChange_);
    return 0;
}

}  // namespace morix::platform::win32
