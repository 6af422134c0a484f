// A full-screen program in front (a film, a game, a slide show): the clock
// and its balloons step aside until it leaves, writing nothing meanwhile.
#include "tests/fake/FakeRtf.h"
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::Rect;
using platform::WindowHandle;
constexpr Rect Monitor{0, 0, 1024, 768};

class FullScreenTest : public ClockTest {
protected:
    void SetUp() override { SampleDone(); }
    WindowHandle OpenCaptionless(Rect r, bool titleBar = false) {
        const WindowHandle h = sys.desktop.Open("Film", r);
        sys.desktop.windows[h].titleBar = titleBar;
        return h;
    }
    FakeWindow* MemoWindow() { return sys.ui.FindWindow("Morix - 備忘録"); }
};

TEST_F(FullScreenTest, ACaptionlessWindowCoveringItsMonitorHidesTheClockAndClosesTheBalloon) {
    Set("アクティブウインドウへの移動", "0");  // the clock stays home, under the pointer
    sys.desktop.monitors = {Monitor, {1024, 0, 2048, 768}};
    ASSERT_FALSE(Start());
    sys.desktop.cursor = {window().Bounds().left + 10, window().Bounds().top + 10};
    struct Case {
        const char* name;
        Rect rect;
        bool titleBar, desktop, shellSays, hides;
    } cases[] = {{"covering its monitor", Monitor, false, false, false, true},
                 {"covering the second monitor", {1024, 0, 2048, 768}, false, false, false, true},
                 {"a pixel narrower", {0, 0, 1023, 768}, false, false, false, false},
                 {"a pixel lower", {0, 1, 1024, 768}, false, false, false, false},
                 {"maximised, with a title bar", {-8, -8, 1032, 776}, true, false, false, false},
                 {"the desktop", Monitor, false, true, false, false},
                 {"the shell saying full screen", {100, 100, 900, 700}, true, false, true, true}};
    for (const Case& c : cases) {
        ASSERT_FALSE(Tick());
        ASSERT_TRUE(program.InfoBalloonOpen) << c.name;
        const WindowHandle h = OpenCaptionless(c.rect, c.titleBar);
        if (c.desktop) sys.desktop.Close(h);
        sys.desktop.shellFullScreen = c.shellSays;
        ASSERT_FALSE(Tick());
        EXPECT_EQ(window().visible, !c.hides) << c.name;
        EXPECT_EQ(program.InfoBalloonOpen, !c.hides) << c.name;
        sys.desktop.Close(h);
        sys.desktop.shellFullScreen = false;
    }
}

TEST_F(FullScreenTest, TheClockIsBackWhereFollowingPutsItOnTheTickTheProgramLeaves) {
    ASSERT_FALSE(Start());
    const Rect editor{100, 100, 900, 700};
    // Each way of leaving, and the window whose title bar following then takes.
    const std::function<Rect(WindowHandle, WindowHandle)> leave[] = {
        [&](WindowHandle film, WindowHandle front) { return sys.desktop.Close(film), sys.desktop.foreground = front, editor; },
        [&](WindowHandle film, WindowHandle) { return sys.desktop.windows[film].rect = {0, 0, 1000, 700}; },
        [&](WindowHandle film, WindowHandle) { return sys.desktop.windows[film].titleBar = true, Monitor; }};
    for (const auto& way : leave) {
        const WindowHandle h = sys.desktop.Open("Editor", editor);
        ASSERT_FALSE(Tick());
        const Rect onEditor = window().Bounds();
        const WindowHandle film = OpenCaptionless(Monitor);
        ASSERT_FALSE(Tick());
        ASSERT_FALSE(window().visible);
        EXPECT_EQ(window().Bounds(), onEditor) << "hidden where it was";
        const Rect followed = way(film, h);
        ASSERT_FALSE(Tick());
        EXPECT_TRUE(window().visible);
        EXPECT_EQ(window().Bounds().right, followed.right - 58) << "on its title bar";
        sys.desktop.Close(film);
    }
}

TEST_F(FullScreenTest, NothingIsWrittenWhileTheClockIsHidden) {
    ASSERT_FALSE(Start());
    sys.desktop.Open("Editor", {100, 100, 900, 700});
    ASSERT_FALSE(Tick());
    const std::string before = IniBytes();
    const int writes = sys.files.writes;
    OpenCaptionless(Monitor);
    for (int s = 0; s < 70; ++s) {  // across a minute's clips
        sys.clock.Advance(1);
        ASSERT_FALSE(Tick());
    }
    EXPECT_FALSE(window().visible);
    EXPECT_EQ(sys.files.writes, writes);
    EXPECT_EQ(IniBytes(), before);
}

TEST_F(FullScreenTest, TheMemoWindowWaitsHiddenWithItsText) {
    Put(dir.Path() / "Tickdata" / "20261208.rtf", TextToRtf("会議"));
    Put(dir.Path() / "Tickdata" / "20261209.rtf", TextToRtf("翌日"));
    Set("自動表示", "2");
    ASSERT_FALSE(Start());
    MemoWindow()->RichText("txtMsg").Type("、十時");
    WindowHandle film = OpenCaptionless(Monitor);
    ASSERT_FALSE(Tick());
    EXPECT_FALSE(MemoWindow()->visible);
    sys.desktop.Close(film);
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(MemoWindow()->visible);
    EXPECT_EQ(MemoWindow()->RichText("txtMsg").text, "会議、十時");
    // The next day's memo, shown at midnight, waits hidden too.
    film = OpenCaptionless(Monitor);
    sys.clock.Set(23, 59, 59);
    ASSERT_FALSE(Tick());
    sys.clock.Advance(1);
    ASSERT_FALSE(Tick());
    EXPECT_EQ(MemoWindow()->RichText("txtMsg").text, "翌日");
    EXPECT_FALSE(MemoWindow()->visible);
}

// はい at a prompt while the clock stands aside (a clip missing at the
// clock update) leaves it hidden until the film ends.
TEST_F(FullScreenTest, APromptAnsweredWhileAsideKeepsTheClockHidden) {
    ASSERT_FALSE(Start());
    const WindowHandle film = OpenCaptionless(Monitor);
    ASSERT_FALSE(Tick());
    std::filesystem::remove(dir.Path() / "Design" / "Tidewalk" / "16.avi");
    sys.clock.Set(10, 15, 57);
    ASSERT_FALSE(Tick());
    ASSERT_EQ(sys.ui.messages.size(), 1u);
    EXPECT_FALSE(window().visible);
    sys.desktop.Close(film);
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(window().visible);
}

TEST_F(FullScreenTest, WithTheOptionOffTheClockFollowsOntoItAsBefore) {
    Set("全画面のときは隠す", "0");
    ASSERT_FALSE(Start());
    OpenCaptionless(Monitor);
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(window().visible);
    EXPECT_EQ(window().Bounds().right, Monitor.right - 58);
}

TEST_F(FullScreenTest, AnOpenDialogOrDragModeHidesNothing) {
    ASSERT_FALSE(Start());
    OpenCaptionless(Monitor);
    for (bool* flag : {&program.DragMode, &program.MenuOpen, &program.MemoPickerOpen, &program.BasicOptionsOpen,
                       &program.ExtendedOptionsOpen, &program.DateTimeOpen}) {
        *flag = true;
        ASSERT_FALSE(Tick());
        EXPECT_TRUE(window().visible);
        *flag = false;
    }
}

}  // namespace
}  // namespace morix::test
