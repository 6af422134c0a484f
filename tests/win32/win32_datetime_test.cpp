// The month calendar and the time picker under Wine: SysMonthCal32 and
// SysDateTimePick32 as the date/time control, values set and read back, the
// user's click on a day and the user's change of the time raising Change,
// and a value set by the program raising nothing.
#include "Win32TestSupport.h"

#include "base/RuntimeError.h"
#include "platform/win32/Win32DateTime.h"
#include "platform/win32/Win32Ui.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>

namespace morix::win32test {
namespace {

using platform::ControlSpec;
using platform::DateTimeKind;
using platform::LocalTime;
using platform::win32::Win32DateTime;
using platform::win32::Win32Ui;

HWND HwndOf(platform::DateTimeControl& c) { return static_cast<Win32DateTime&>(c).Hwnd(); }

std::wstring ClassOf(HWND h) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    return name;
}


// The middle of the calendar's cell for `day` of the month it shows, in
// screen coordinates, found by asking the calendar what lies under each
// point; {-1, -1} when the day is not shown.
POINT CellOf(HWND calendar, int year, int month, int day) {
    RECT client{};
    GetClientRect(calendar, &client);
    long sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < client.bottom; y += 2)
        for (int x = 0; x < client.right; x += 2) {
            MCHITTESTINFO hit{};
            hit.cbSize = MCHITTESTINFO_V1_SIZE;
            hit.pt = POINT{x, y};
            SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wYear == year && hit.st.wMonth == month && hit.st.wDay == day) {
                sumX += x;
                sumY += y;
                ++count;
            }
        }
    if (count == 0) return POINT{-1, -1};
    POINT at{sumX / count, sumY / count};
    ClientToScreen(calendar, &at);
    return at;
}

class Win32DateTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->SetTitle("日付と時刻");
        window->Move(150, 120, 100, 100);
        window->SetClientSize(420, 260);
        calendar->OnChange([this] { ++calendarChanges; });
        picker->OnChange([this] { ++pickerChanges; });
    }
    void Show() {
        window->ShowTopmostInactive();
        UpdateWindow(HwndOfWindow());
        PumpFor(100);
    }
    HWND HwndOfWindow() const { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window->Handle())); }

    TestProcess process;
    Win32Ui ui{process};
    std::unique_ptr<platform::Window> window = ui.NewWindow(platform::WindowKind::Dialog);
    std::unique_ptr<platform::DateTimeControl> calendar =
        ui.NewDateTime(*window, DateTimeKind::Calendar, ControlSpec{"MonthView1", {10, 10, 250, 200}, ""});
    std::unique_ptr<platform::DateTimeControl> picker =
        ui.NewDateTime(*window, DateTimeKind::TimePicker, ControlSpec{"DTPicker1", {270, 10, 400, 34}, ""});
    int calendarChanges = 0, pickerChanges = 0;
};

TEST_F(Win32DateTimeTest, TheKindsAreTheSystemsCalendarAndTimePicker) {
    EXPECT_EQ(calendar->Kind(), DateTimeKind::Calendar);
    EXPECT_EQ(picker->Kind(), DateTimeKind::TimePicker);
    EXPECT_EQ(ClassOf(HwndOf(*calendar)), MONTHCAL_CLASSW);
    EXPECT_EQ(ClassOf(HwndOf(*picker)), DATETIMEPICK_CLASSW);
    EXPECT_TRUE(GetWindowLongPtrW(HwndOf(*picker), GWL_STYLE) & DTS_TIMEFORMAT);
    EXPECT_EQ(GetParent(HwndOf(*calendar)), HwndOfWindow());
}

TEST_F(Win32DateTimeTest, TheCalendarShowsTheDateSetAndRaisesNothingForIt) {
    struct Case {
        LocalTime set;
    };
    const Case cases[] = {{{2026, 12, 7, 0, 0, 0}}, {{2024, 2, 29, 0, 0, 0}}, {{1999, 1, 1, 0, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.set.year) + "-" + std::to_string(c.set.month) + "-" + std::to_string(c.set.day));
        calendar->SetValue(c.set);
        EXPECT_EQ(calendar->Value(), c.set);
        SYSTEMTIME shown{};
        ASSERT_TRUE(SendMessageW(HwndOf(*calendar), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown)));
        EXPECT_EQ(shown.wYear, c.set.year);
        EXPECT_EQ(shown.wMonth, c.set.month);
        EXPECT_EQ(shown.wDay, c.set.day);
    }
    // Only the date counts: a time of day set with it is dropped.
    calendar->SetValue({2025, 6, 15, 13, 14, 15});
    EXPECT_EQ(calendar->Value(), (LocalTime{2025, 6, 15, 0, 0, 0}));
    PumpFor(100);
    EXPECT_EQ(calendarChanges, 0);
    EXPECT_EQ(ErrorOf([&] { calendar->SetValue({2026, 2, 30, 0, 0, 0}); }), err::InvalidProperty);
    EXPECT_EQ(ErrorOf([&] { calendar->SetValue({2026, 13, 1, 0, 0, 0}); }), err::InvalidProperty);
    EXPECT_EQ(calendar->Value(), (LocalTime{2025, 6, 15, 0, 0, 0})) << "a refused date changed the selection";
}

TEST_F(Win32DateTimeTest, AClickOnADayOfTheCalendarSelectsItAndRaisesChange) {
    calendar->SetValue({2026, 12, 7, 0, 0, 0});
    Show();
    const POINT day = CellOf(HwndOf(*calendar), 2026, 12, 17);
    ASSERT_GE(day.x, 0) << "the calendar does not show 17 December 2026";
    ClickAt(day.x, day.y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return calendarChanges >= 1; }, 3000));
    PumpFor(100);
    EXPECT_EQ(calendarChanges, 1);
    EXPECT_EQ(calendar->Value(), (LocalTime{2026, 12, 17, 0, 0, 0}));
    EXPECT_EQ(pickerChanges, 0);
}

TEST_F(Win32DateTimeTest, ThePickerShowsTheTimeSetAndRaisesNothingForIt) {
    picker->SetValue({2026, 12, 7, 13, 45, 30});
    LocalTime value = picker->Value();
    EXPECT_EQ(value.hour, 13);
    EXPECT_EQ(value.minute, 45);
    EXPECT_EQ(value.second, 30);
    SYSTEMTIME shown{};
    ASSERT_EQ(SendMessageW(HwndOf(*picker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_VALID);
    EXPECT_EQ(shown.wHour, 13);
    EXPECT_EQ(shown.wMinute, 45);
    // A time of day with no date takes today's date.
    picker->SetValue({0, 0, 0, 0, 5, 59});
    value = picker->Value();
    EXPECT_EQ(value.hour, 0);
    EXPECT_EQ(value.minute, 5);
    EXPECT_EQ(value.second, 59);
    EXPECT_GE(value.year, 2000);
    PumpFor(100);
    EXPECT_EQ(pickerChanges, 0);
    EXPECT_EQ(ErrorOf([&] { picker->SetValue({0, 0, 0, 24, 0, 0}); }), err::InvalidProperty);
}

TEST_F(Win32DateTimeTest, TheUsersChangeOfTheTimeRaisesChange) {
    picker->SetValue({2026, 12, 7, 9, 30, 0});
    Show();
    SetForegroundWindow(HwndOfWindow());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == HwndOfWindow(); }, 3000));
    picker->SetFocus();
    // The right arrow selects the hour, the up arrow steps it; both go
    // through the dialog's message loop to the picker.
    HWND h = HwndOf(*picker);
    for (WORD key : {VK_RIGHT, VK_UP}) {
        PostMessageW(h, WM_KEYDOWN, key, 1);
        PostMessageW(h, WM_KEYUP, key, 0xC0000001);
    }
    ASSERT_TRUE(PumpUntil([&] { return picker->Value().hour != 9; }, 3000));
    EXPECT_GE(pickerChanges, 1);
    const LocalTime value = picker->Value();
    EXPECT_EQ((std::array<int, 3>{value.hour, value.minute, value.second}), (std::array<int, 3>{10, 30, 0}));
    EXPECT_EQ(GetFocus(), h);
    EXPECT_EQ(calendarChanges, 0);
}

}  // namespace
}  // namespace morix::win32test
