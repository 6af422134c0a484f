// The clip display under Wine: SysAnimate32 with the generated clips of the
// program folder (played once, the last frame stays), the run-time errors of
// Open, and where a click on a clip goes.
#include "Win32TestSupport.h"

#include "platform/win32/AnsiSafePath.h"

#include "base/RuntimeError.h"
#include "platform/win32/Win32Animation.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Ui.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

namespace morix::win32test {
namespace {

using platform::MouseButton;
using platform::win32::Win32Animation;
using platform::win32::Win32Ui;



struct AviFacts {
    std::uint32_t microSecondsPerFrame = 0, frames = 0, width = 0, height = 0;
};

// The main AVI header (avih) sits at a fixed place in the files the asset
// generator writes: RIFF, LIST hdrl, avih.
AviFacts ReadAviFacts(const std::wstring& path) {
    AviFacts facts;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return facts;
    unsigned char head[72] = {};
    DWORD got = 0;
    ReadFile(h, head, sizeof head, &got, nullptr);
    CloseHandle(h);
    auto u32 = [&](int at) {
        return static_cast<std::uint32_t>(head[at] | head[at + 1] << 8 | head[at + 2] << 16 | head[at + 3] << 24);
    };
    if (got == sizeof head && std::memcmp(head + 24, "avih", 4) == 0) {
        facts.microSecondsPerFrame = u32(32);
        facts.frames = u32(48);
        facts.width = u32(64);
        facts.height = u32(68);
    }
    return facts;
}

class Win32AnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->Move(400, 300, 66, 22);
        window->ShowTopmostInactive();
        PumpFor(50);
    }
    HWND ClipHwnd() const { return static_cast<Win32Animation&>(*clip).Hwnd(); }

    TestProcess process;
    Win32Ui ui{process};
    std::unique_ptr<platform::Window> window = ui.NewWindow(platform::WindowKind::Borderless);
    RecordingWindowEvents events{*window};
    std::unique_ptr<platform::Animation> clip = ui.NewAnimation(*window);
    RecordingAnimationEvents clipEvents{*clip};
};

TEST_F(Win32AnimationTest, OpenReportsTheRunTimesFileErrors) {
    TempFolder folder;
    EXPECT_EQ(ErrorOf([&] { clip->Open(folder.Utf8File(L"37.avi")); }), err::FileNotFound);
    EXPECT_EQ(ErrorOf([&] { clip->Open(folder.Utf8File(L"NoDesign\\37.avi")); }), err::PathNotFound);
    std::string notAvi = folder.Write(L"38.avi", "this is text, not a RIFF file\r\n");
    EXPECT_EQ(ErrorOf([&] { clip->Open(notAvi); }), err::PathFileAccess);
    std::string truncated = folder.Write(L"39.avi", std::string("RIFF\x10\x00\x00\x00" "AVI LIST", 16));
    EXPECT_EQ(ErrorOf([&] { clip->Open(truncated); }), err::PathFileAccess);
    EXPECT_EQ(ErrorOf([&] { clip->Open(platform::win32::Narrow(folder.File(L""))); }), err::PathFileAccess);
}

TEST_F(Win32AnimationTest, PlayedOnceTheLastFrameStays) {
    std::wstring dist = DistFolder();
    if (dist.empty()) GTEST_SKIP() << "no program folder at " MORIX_DIST_DIR "; build the native 'assets' target first";
    std::wstring file = dist + L"\\Design\\Tidewalk\\07.avi";
    AviFacts facts = ReadAviFacts(file);
    ASSERT_GT(facts.frames, 1u) << "07.avi should be an animation of several frames";

    clip->Move(5, 0);
    clip->SetVisible(true);
    clip->SetAutoPlay(false);
    clip->Open(platform::win32::Narrow(file));
    RECT r{};
    GetWindowRect(ClipHwnd(), &r);
    EXPECT_EQ(r.left, 405);
    EXPECT_EQ(r.top, 300);
    EXPECT_EQ(static_cast<std::uint32_t>(r.right - r.left), facts.width);  // the control takes the frame size
    EXPECT_EQ(static_cast<std::uint32_t>(r.bottom - r.top), facts.height);

    clip->Play(1);
    DWORD clipMs = facts.frames * facts.microSecondsPerFrame / 1000;
    PumpFor(clipMs + 600);
    std::vector<std::uint32_t> afterPlay = Capture(ClipHwnd());
    PumpFor(400);
    EXPECT_EQ(Capture(ClipHwnd()), afterPlay) << "the picture changed after the single play ended";

    // The reference pictures: the control sought to its last and first frame.
    SendMessageW(ClipHwnd(), ACM_PLAY, 1, MAKELPARAM(facts.frames - 1, facts.frames - 1));
    PumpFor(150);
    std::vector<std::uint32_t> last = Capture(ClipHwnd());
    SendMessageW(ClipHwnd(), ACM_PLAY, 1, MAKELPARAM(0, 0));
    PumpFor(150);
    std::vector<std::uint32_t> frameZero = Capture(ClipHwnd());

    EXPECT_NE(last, frameZero) << "the clip's last frame should differ from its first";
    EXPECT_EQ(afterPlay, last) << "after one play the last frame should stay shown";

    clip->Stop();
    clip->Close();
}

TEST_F(Win32AnimationTest, AutoPlayStartsTheClipOnOpen) {
    std::wstring dist = DistFolder();
    if (dist.empty()) GTEST_SKIP() << "no program folder at " MORIX_DIST_DIR "; build the native 'assets' target first";
    std::wstring file = dist + L"\\Design\\Tidewalk\\08.avi";
    AviFacts facts = ReadAviFacts(file);
    clip->SetAutoPlay(true);
    clip->Open(platform::win32::Narrow(file));
    PumpFor(50);
    std::vector<std::uint32_t> early = Capture(ClipHwnd());
    PumpFor(facts.frames * facts.microSecondsPerFrame / 1000 + 300);
    EXPECT_NE(Capture(ClipHwnd()), early) << "an auto-play clip should have moved on from its first frame";
}

TEST_F(Win32AnimationTest, AClickOnAClipReachesTheClipAloneWithItsButton) {
    std::wstring dist = DistFolder();
    if (dist.empty()) GTEST_SKIP() << "no program folder at " MORIX_DIST_DIR "; build the native 'assets' target first";
    clip->Move(36, 0);
    clip->Open(platform::win32::Narrow(dist + L"\\Design\\Tidewalk\\42.avi"));
    PumpFor(50);
    // The clip covers (436..461, 300..322); the face is left of it.
    ClickAt(440, 310, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ClickAt(445, 311, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ClickAt(446, 312, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    ASSERT_TRUE(PumpUntil([&] { return clipEvents.buttons.size() >= 3; }, 3000));
    PumpFor(100);
    EXPECT_EQ(clipEvents.buttons, (std::vector<MouseButton>{MouseButton::Left, MouseButton::Right, MouseButton::Middle}));
    EXPECT_TRUE(events.mouseUps.empty()) << "a click on a clip must not also reach the window";

    ClickAt(410, 310, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return events.mouseUps.size() == 1; }, 3000));
    EXPECT_EQ(clipEvents.buttons.size(), 3u);

    // Hidden, the clip takes no clicks.
    clip->SetVisible(false);
    ClickAt(440, 310, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return events.mouseUps.size() == 2; }, 3000));
    EXPECT_EQ(clipEvents.buttons.size(), 3u);
}

// The position the system's input gives with the tick's timer message is
// where the pointer was moved over the window, its face or a clip, as the
// fake gives it.
TEST_F(Win32AnimationTest, ATimerMessageCarriesWhereThePointerWasMovedOverTheWindow) {
    clip->Move(36, 0);
    clip->SetVisible(true);
    platform::win32::Win32Desktop desktop;
    auto timer = ui.NewTimer(*window);
    std::vector<platform::Point> told;
    timer->OnTimer([&] { told.push_back(desktop.PointerAtLastMessage()); });
    timer->SetInterval(20);
    timer->SetEnabled(true);
    // The face, the clip, the window's last pixel.
    for (const platform::Point p : {platform::Point{410, 310}, platform::Point{440, 311}, platform::Point{465, 321}}) {
        MoveCursor(p.x, p.y);
        PumpFor(50);
        told.clear();
        ASSERT_TRUE(PumpUntil([&] { return told.size() >= 2; }, 3000));
        EXPECT_EQ(told.back(), p);
    }
}

TEST_F(Win32AnimationTest, AFailedOpenLeavesTheControlEmpty) {
    std::wstring dist = DistFolder();
    if (dist.empty()) GTEST_SKIP() << "no program folder at " MORIX_DIST_DIR "; build the native 'assets' target first";
    clip->Open(platform::win32::Narrow(dist + L"\\Design\\Tidewalk\\12.avi"));
    EXPECT_NE(SendMessageW(ClipHwnd(), ACM_PLAY, 1, MAKELPARAM(0, 0)), FALSE);
    TempFolder folder;
    EXPECT_EQ(ErrorOf([&] { clip->Open(folder.Utf8File(L"gone.avi")); }), err::FileNotFound);
    EXPECT_EQ(SendMessageW(ClipHwnd(), ACM_PLAY, 1, MAKELPARAM(0, 0)), FALSE) << "the old clip is still open";
}

// A program folder whose name the ANSI code page cannot hold: the clip still
// opens, through its short form or a plain copy.
TEST_F(Win32AnimationTest, AClipInAFolderOutsideTheCodePageOpens) {
    std::wstring dist = DistFolder();
    if (dist.empty()) GTEST_SKIP() << "no program folder at " MORIX_DIST_DIR;
    TempFolder folder;
    const std::wstring odd = folder.File(L"Zo\u00EB d\u00F6 \U0001F600");
    ASSERT_TRUE(CreateDirectoryW(odd.c_str(), nullptr));
    const std::wstring file = odd + L"\\07.avi";
    ASSERT_TRUE(CopyFileW((dist + L"\\Design\\Tidewalk\\07.avi").c_str(), file.c_str(), FALSE));
    EXPECT_FALSE(platform::win32::AnsiCodePageHolds(file));
    EXPECT_TRUE(platform::win32::AnsiCodePageHolds(platform::win32::AnsiSafePath(file)));
    EXPECT_EQ(ErrorOf([&] { clip->Open(platform::win32::Narrow(file)); }), 0);
    clip->Close();
    DeleteFileW(file.c_str());
    RemoveDirectoryW(odd.c_str());
}

}  // namespace
}  // namespace morix::win32test
