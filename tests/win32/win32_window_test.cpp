// The clock's window class under Wine: what other programs see of it (class,
// styles, topmost, no activation), the exits that do not come from the menu,
// mouse releases, and the background picture painted from the top-left.
#include "Win32TestSupport.h"

#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32Window.h"

#include <gtest/gtest.h>

namespace morix::win32test {
namespace {

using platform::MouseButton;
using platform::win32::AsWin32;
using platform::win32::Win32Pictures;
using platform::win32::Win32Ui;

HWND HwndOf(const platform::Window& w) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(w.Handle())); }

class Win32WindowTest : public ::testing::Test {
protected:
    TestProcess process;
    Win32Ui ui{process};
    std::unique_ptr<platform::Window> window = ui.NewWindow(platform::WindowKind::Borderless);
    RecordingWindowEvents events{*window};
    HWND hwnd = HwndOf(*window);
};

TEST_F(Win32WindowTest, IsABorderlessToolWindowOfTheProgramsClassShownWithoutActivation) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    EXPECT_STREQ(cls, L"MorixForm");
    LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ex & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
    EXPECT_FALSE(window->Visible());

    window->Move(100, 120, 66, 22);
    window->SetVisible(true);
    PumpFor(50);
    EXPECT_TRUE(window->Visible());
    EXPECT_NE(GetActiveWindow(), hwnd);
    EXPECT_NE(GetForegroundWindow(), hwnd);
    EXPECT_EQ(window->Bounds(), (platform::Rect{100, 120, 166, 142}));
    window->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(Win32WindowTest, ShowTopmostInactiveShowsItAboveNormalWindowsWithoutMovingIt) {
    window->Move(40, 50, 66, 22);
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    window->ShowTopmostInactive();
    PumpFor(50);
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(hwnd));  // 0x53 includes SWP_SHOWWINDOW
    EXPECT_EQ(window->Bounds(), (platform::Rect{40, 50, 106, 72}));
    EXPECT_NE(GetActiveWindow(), hwnd);
}

// The clock asks for its place every second; another topmost window shown
// over it meanwhile must not keep it covered, and one already on top stays.
TEST_F(Win32WindowTest, ShowTopmostInactiveTakesThePlaceBackFromAnotherTopmostWindow) {
    window->Move(40, 50, 66, 22);
    window->ShowTopmostInactive();
    PumpFor(50);
    auto firstVisible = [] {
        HWND h = GetTopWindow(nullptr);
        while (h != nullptr && !IsWindowVisible(h)) h = GetWindow(h, GW_HWNDNEXT);
        return h;
    };
    EXPECT_EQ(firstVisible(), hwnd);
    window->ShowTopmostInactive();  // already there
    EXPECT_EQ(firstVisible(), hwnd);

    HWND other = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 30, 40, 100, 60, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpFor(50);
    EXPECT_EQ(firstVisible(), other);
    window->ShowTopmostInactive();
    PumpFor(50);
    EXPECT_EQ(firstVisible(), hwnd);
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(other);
}

TEST_F(Win32WindowTest, TitleEnabledAndHandleAreTheSystemsOwn) {
    window->SetTitle("Morix 時計");
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(title, L"Morix 時計");
    EXPECT_TRUE(window->Enabled());
    window->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    EXPECT_FALSE(window->Enabled());
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(Win32WindowTest, CloseRequestReachesTheProgramAndLeavesTheWindow) {
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(events.closeRequests, 1);
    EXPECT_TRUE(IsWindow(hwnd));  // the program decides; nothing is destroyed by default
    EXPECT_EQ(events.endSessions, 0);
}

TEST_F(Win32WindowTest, SessionEndIsAllowedAndReportedOnlyWhenItReallyEnds) {
    EXPECT_EQ(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_EQ(events.endSessions, 0);
    SendMessageW(hwnd, WM_ENDSESSION, FALSE, 0);  // another program vetoed it
    EXPECT_EQ(events.endSessions, 0);
    SendMessageW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(events.endSessions, 1);
    EXPECT_EQ(events.closeRequests, 0);
}

TEST_F(Win32WindowTest, EachMouseButtonReleaseOnTheFaceIsReportedOnce) {
    window->Move(200, 200, 66, 22);
    window->ShowTopmostInactive();
    PumpFor(50);
    ClickAt(210, 210, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ClickAt(212, 211, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ClickAt(214, 212, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    ASSERT_TRUE(PumpUntil([&] { return events.mouseUps.size() >= 3; }, 3000));
    PumpFor(100);
    EXPECT_EQ(events.mouseUps, (std::vector<MouseButton>{MouseButton::Left, MouseButton::Right, MouseButton::Middle}));
}

TEST_F(Win32WindowTest, BackgroundIsPaintedFromTheTopLeftAndTheRestIsBlank) {
    TempFolder folder;
    // 10 x 6: a red left half and a blue right half, a green top row.
    std::string path = folder.Write(L"back.bmp", BmpBytes(10, 6, [](int x, int y) {
        if (y == 0) return RGB(0, 255, 0);
        return x < 5 ? RGB(255, 0, 0) : RGB(0, 0, 255);
    }));
    Win32Pictures pictures;
    window->SetBackground(pictures.Load(path));
    window->Move(300, 300, 14, 8);
    window->ShowTopmostInactive();
    UpdateWindow(hwnd);
    PumpFor(100);
    std::vector<std::uint32_t> px = Capture(hwnd);
    ASSERT_EQ(px.size(), 14u * 8u);
    auto at = [&](int x, int y) { return px[static_cast<std::size_t>(y * 14 + x)]; };
    EXPECT_EQ(at(0, 0), 0x00FF00u);
    EXPECT_EQ(at(1, 1), 0xFF0000u);
    EXPECT_EQ(at(9, 5), 0x0000FFu);
    EXPECT_EQ(at(12, 2), 0xFFFFFFu);  // beside the picture
    EXPECT_EQ(at(3, 7), 0xFFFFFFu);   // below it

    window->SetBackground(nullptr);
    UpdateWindow(hwnd);
    PumpFor(50);
    px = Capture(hwnd);
    EXPECT_EQ(at(1, 1), 0xFFFFFFu);
}

TEST_F(Win32WindowTest, TimersOnTheWindowTickUntilDisabled) {
    auto first = ui.NewTimer(*window);
    auto second = ui.NewTimer(*window);
    TickCounter a(*first), b(*second);
    first->SetInterval(20);
    EXPECT_FALSE(first->Enabled());
    first->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return a.count >= 3; }, 5000));
    EXPECT_EQ(b.count, 0);  // a timer that was never enabled never ticks
    first->SetEnabled(false);
    int stoppedAt = a.count;
    PumpFor(200);
    EXPECT_EQ(a.count, stoppedAt);
    EXPECT_FALSE(first->Enabled());
}

TEST_F(Win32WindowTest, ControlsOutlivingTheirWindowAreHarmless) {
    auto timer = ui.NewTimer(*window);
    auto clip = ui.NewAnimation(*window);
    auto shaper = ui.NewShaper(*window);
    TickCounter ticks(*timer);
    timer->SetInterval(10);
    timer->SetEnabled(true);
    window.reset();
    EXPECT_FALSE(IsWindow(hwnd));
    PumpFor(100);
    EXPECT_EQ(ticks.count, 0);
    clip->Stop();
    shaper->SetVisible(true);
    timer->SetEnabled(false);
    timer.reset();
    clip.reset();
    shaper.reset();
}

}  // namespace
}  // namespace morix::win32test
