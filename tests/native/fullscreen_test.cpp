// A full-screen program in front (a film, a game, a slide show): the clock
// and its balloons step aside until it leaves, writing nothing meanwhile.
#include "tests/fake/FakeRtf.h"
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::Rect;

constexpr Rect Monitor{0, 0, 1024, 768};

class FullScreenTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        sys.clock.Set(10, 15, 20);
    }
    // A program's window without a title bar, brought to the front.
    platform::WindowHandle OpenCaptionless(Rect r) {
        const platform::WindowHandle h = sys.desktop.Open("Film", r);
        sys.desktop.windows[h].titleBar = false;
        return h;
    }
    FakeWindow* Balloon() { return sys.ui.FindWindow("Morix - 情報"); }
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
        bool titleBar, desktop, shellSaysFullScreen, hides;
    } cases[] = {
        {"covering the monitor", Monitor, false, false, false, true},
        {"covering the second monitor", {1024, 0, 2048, 768}, false, false, false, true},
        {"a pixel narrower", {0, 0, 1023, 768}, false, false, false, false},
        {"a pixel lower", {0, 1, 1024, 768}, false, false, false, false},
        {"maximised, with its title bar", {-8, -8, 1032, 776}, true, false, false, false},
        {"the desktop", Monitor, false, true, false, false},
        {"titled, the shell saying full screen", {100, 100, 900, 700}, true, false, true, true},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(Tick());
        ASSERT_NE(Balloon(), nullptr) << c.name;
        const platform::WindowHandle h = sys.desktop.Open("Film", c.rect);
        sys.desktop.windows[h].titleBar = c.titleBar;
        if (c.desktop) sys.desktop.Close(h);
        sys.desktop.shellFullScreen = c.shellSaysFullScreen;
        ASSERT_FALSE(Tick());
        EXPECT_EQ(window().visible, !c.hides) << c.name;
        EXPECT_EQ(Balloon() == nullptr, c.hides) << c.name;
        EXPECT_EQ(program.HiddenForFullScreen, c.hides) << c.name;
        sys.desktop.Close(h);
        sys.desktop.shellFullScreen = false;
    }
}

TEST_F(FullScreenTest, TheClockIsBackWhereFollowingPutsItOnTheTickTheProgramLeaves) {
    ASSERT_FALSE(Start());
    const Rect editorRect{100, 100, 900, 700};
    // Each way of leaving gives the window whose title bar following then
    // puts the clock on.
    struct Case {
        const char* name;
        std::function<Rect(platform::WindowHandle film, platform::WindowHandle editor)> leave;
    } cases[] = {
        {"closed, the editor in front again",
         [&](platform::WindowHandle film, platform::WindowHandle editor) {
             sys.desktop.Close(film);
             sys.desktop.foreground = editor;
             return editorRect;
         }},
        {"made smaller", [&](platform::WindowHandle film, platform::WindowHandle) {
             return sys.desktop.windows[film].rect = {0, 0, 1000, 700};
         }},
        {"given a title bar", [&](platform::WindowHandle film, platform::WindowHandle) {
             sys.desktop.windows[film].titleBar = true;
             return Monitor;
         }}};
    for (const Case& c : cases) {
        const platform::WindowHandle editorWindow = sys.desktop.Open("Editor", editorRect);
        ASSERT_FALSE(Tick());
        const Rect onEditor = window().Bounds();
        const platform::WindowHandle film = OpenCaptionless(Monitor);
        ASSERT_FALSE(Tick());
        ASSERT_FALSE(window().visible) << c.name;
        EXPECT_EQ(window().Bounds(), onEditor) << c.name << ": hidden where it was";
        const Rect followed = c.leave(film, editorWindow);
        ASSERT_FALSE(Tick());
        EXPECT_TRUE(window().visible) << c.name;
        EXPECT_EQ(window().Bounds().right, followed.right - 58) << c.name;
        EXPECT_EQ(Get("アクティブウィンドウのRight"), std::to_string(followed.right)) << c.name;
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
    for (int s = 21; s < 80; ++s) {  // across the minute's clips
        sys.clock.Set(10, 15 + s / 60, s % 60);
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
    sys.clock.SetDay(2026, 12, 8);
    ASSERT_FALSE(Start());
    ASSERT_NE(MemoWindow(), nullptr);
    MemoWindow()->RichText("txtMsg").Type("、十時");
    platform::WindowHandle film = OpenCaptionless(Monitor);
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
    ASSERT_NE(MemoWindow(), nullptr);
    EXPECT_EQ(MemoWindow()->RichText("txtMsg").text, "翌日");
    EXPECT_FALSE(MemoWindow()->visible);
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
