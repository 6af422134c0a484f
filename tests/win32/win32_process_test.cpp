// The process and desktop services under Wine: the single-instance
// mutex seen from a second process, the program folder, and the desktop's
// answers checked against the system's own calls.
#include "Win32TestSupport.h"

#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Ui.h"

#include <gtest/gtest.h>

namespace morix::win32test {
namespace {

using platform::win32::Win32Desktop;
using platform::win32::Win32Process;

// Run as a second process by the test below, while the first holds the mutex.
TEST(Win32ProcessChild, DISABLED_SeesTheFirstInstance) {
    Win32Process process;
    EXPECT_TRUE(process.AnotherInstanceRunning());
}

TEST(Win32ProcessChild, DISABLED_SeesNoOtherInstance) {
    Win32Process process;
    EXPECT_FALSE(process.AnotherInstanceRunning());
}

TEST(Win32ProcessTest, ASecondProcessSeesTheFirstInstanceUntilItEnds) {
    const std::wstring childTrue = L"--gtest_also_run_disabled_tests --gtest_filter=Win32ProcessChild.DISABLED_SeesTheFirstInstance";
    const std::wstring childFalse = L"--gtest_also_run_disabled_tests --gtest_filter=Win32ProcessChild.DISABLED_SeesNoOtherInstance";
    {
        // A running clock of another build in this Wine prefix would hold the
        // mutex too; the rest of the test then means nothing.
        HANDLE probe = OpenMutexW(SYNCHRONIZE, FALSE, Win32Process::MutexName);
        if (probe != nullptr) {
            CloseHandle(probe);
            GTEST_SKIP() << "another Morix instance holds the mutex in this Wine prefix";
        }
    }
    {
        Win32Process first;
        EXPECT_FALSE(first.AnotherInstanceRunning());
        EXPECT_EQ(RunSelf(childTrue), 0);
        EXPECT_FALSE(first.AnotherInstanceRunning()) << "the answer holds for the life of the process";
    }
    // The mutex went with the first instance (here: the object that held it).
    EXPECT_EQ(RunSelf(childFalse), 0);
}

TEST(Win32ProcessTest, ProgramFolderIsTheExecutablesFolderWithoutSeparator) {
    Win32Process process;
    std::string folder = process.ProgramFolder();
    std::string exe = platform::win32::Narrow(ThisProgram());
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(exe.substr(0, folder.size() + 1), folder + "\\");
    EXPECT_EQ(exe.find('\\', folder.size() + 1), std::string::npos);
}

TEST(Win32DesktopTest, ScreensAndTwipsFollowTheSystem) {
    Win32Desktop desktop;
    platform::Rect primary = desktop.PrimaryScreen();
    EXPECT_EQ(primary.left, 0);
    EXPECT_EQ(primary.top, 0);
    EXPECT_EQ(primary.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(primary.bottom, GetSystemMetrics(SM_CYSCREEN));
    // A rectangle on the primary screen, and one far off it (the nearest
    // monitor), both give the one monitor Xvfb has.
    EXPECT_EQ(desktop.ScreenOf({10, 10, 76, 32}), primary);
    EXPECT_EQ(desktop.ScreenOf({-5000, 90000, -4000, 90022}), primary);
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    // One monitor, so its scale is the system's (the prefix's LogPixels).
    EXPECT_EQ(desktop.SystemDpi(), dpi);
    EXPECT_EQ(desktop.MonitorDpi({10, 10, 76, 32}), dpi);
    const std::pair<platform::Metric, int> metrics[] = {
        {platform::Metric::CaptionButtonWidth, SM_CXSIZE},
        {platform::Metric::CaptionButtonHeight, SM_CYSIZE},
        {platform::Metric::SizingFrameWidth, SM_CXFRAME},
    };
    for (const auto& [metric, index] : metrics)
        EXPECT_EQ(desktop.SystemMetric(metric), GetSystemMetrics(index)) << "SM_ index " << index;
}

TEST(Win32DesktopTest, OtherWindowsTitleAndRectangleAndGoneWindows) {
    HWND other = CreateWindowExW(0, L"STATIC", L"メモ帳 — 🙂 test", WS_POPUP | WS_VISIBLE, 30, 40, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    Win32Desktop desktop;
    auto handle = static_cast<platform::WindowHandle>(reinterpret_cast<std::intptr_t>(other));
    EXPECT_EQ(desktop.WindowTitle(handle), "メモ帳 — 🙂 test");
    EXPECT_EQ(desktop.WindowRect(handle), (platform::Rect{30, 40, 330, 240}));
    EXPECT_TRUE(desktop.SetForegroundWindow(handle));
    PumpFor(50);
    EXPECT_EQ(desktop.ForegroundWindow(), handle);
    DestroyWindow(other);
    EXPECT_EQ(desktop.WindowTitle(handle), "");
    EXPECT_EQ(desktop.WindowRect(handle), platform::Rect{});
    EXPECT_EQ(desktop.WindowRect(0), platform::Rect{});
    EXPECT_EQ(desktop.DesktopWindow(),
              static_cast<platform::WindowHandle>(reinterpret_cast<std::intptr_t>(GetDesktopWindow())));
}

}  // namespace
}  // namespace morix::win32test
