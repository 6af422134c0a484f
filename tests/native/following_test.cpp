// Following the window in front: onto its title bar when it is large enough,
// after it when it moves, home for the desktop and small windows.
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::Rect;

class FollowingTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        sys.clock.Set(10, 15, 20);
        ASSERT_FALSE(Start());
        Log();
    }
    // The title-bar position of the formula for the fake's metrics:
    // caption buttons 18, frame 4, 15 twips per pixel.
    static long long ExpectedLeft(const Rect& r) { return (r.right - 3 * (18 + 2) + 2) * 15 - 990; }
    static long long ExpectedTop(const Rect& r) { return (18 * 15 - 330 < 0 ? 330 - 18 * 15 : 18 * 15 - 330) / 2 + (r.top + 1) * 15; }
    bool OnTitleBarOf(const Rect& r) { return form().Left() == ExpectedLeft(r) && form().Top() == ExpectedTop(r); }
    bool AtHome() { return form().Left() == 7185 && form().Top() == 5595; }
};

TEST_F(FollowingTest, FormulaExample) {
    auto h = sys.desktop.Open("無題 - メモ帳", {100, 50, 1000, 700});
    ASSERT_FALSE(Tick());
    // Right edge 1000: the clock's right edge at (1000 - 60 + 2) x 15 = 14130 twips.
    EXPECT_EQ(form().Left() + form().Width(), 14130);
    EXPECT_EQ(window().Bounds().right, 942);
    EXPECT_EQ(form().Top(), 30 + 51 * 15);
    EXPECT_EQ(Get("アクティブウィンドウのLeft"), "100");
    EXPECT_EQ(Get("アクティブウィンドウのRight"), "1000");
    EXPECT_EQ(Get("アクティブウィンドウのTop"), "50");
    EXPECT_EQ(Get("アクティブウィンドウのBottom"), "700");
    EXPECT_EQ(Get("現在のForm1のLeft"), "13140");
    EXPECT_EQ(Get("現在のForm1のTop"), std::to_string(30 + 51 * 15));
    EXPECT_EQ(Get("アクティブウィンドウのタイトル"), "無題 - メモ帳");
    EXPECT_EQ(Get("アクティブウィンドウのhDC"), std::to_string(h));
    EXPECT_GE(window().topmostCalls, 2);
}

TEST_F(FollowingTest, SizeRulesAtTheirBoundaries) {
    struct Case { int rule, w, h; bool onIt; };
    for (Case c : {Case{0, 799, 600, false}, Case{0, 800, 599, false}, Case{0, 800, 600, true}, Case{1, 639, 480, false},
                   Case{1, 640, 479, false}, Case{1, 640, 480, true}, Case{2, 399, 320, false}, Case{2, 400, 320, true},
                   Case{3, 200, 100, true}}) {
        TempFolder other;
        FakeSystem s{other.ProgramPath()};
        std::filesystem::copy(dir.Path() / "Design", other.Path() / "Design", std::filesystem::copy_options::recursive);
        SettingsFile settings(s.files, s.codePage, other.ProgramPath() + "\\Morix.ini");
        settings.WriteValue("移動を許可するウインドウサイズ", std::to_string(c.rule));
        settings.WriteValue("起動時のSample.rtf", "1");
        Program p{s.platform};
        ASSERT_FALSE(Ends([&] { p.Main(); }));
        Rect r{10, 10, 10 + c.w, 10 + c.h};
        s.desktop.Open("Window", r);
        ASSERT_FALSE(Ends([&] { s.Tick(); }));
        const bool onIt = p.module().form1()->Left() == ExpectedLeft(r) && p.module().form1()->Top() == ExpectedTop(r);
        EXPECT_EQ(onIt, c.onIt) << "rule " << c.rule << " " << c.w << "x" << c.h;
        if (!c.onIt) {
            EXPECT_EQ(p.module().form1()->Left(), 7185) << "home";
        }
    }
}

TEST_F(FollowingTest, UnknownRuleMovesTheClockNowhere) {
    Set("移動を許可するウインドウサイズ", "5");
    ASSERT_FALSE(Reload());
    const long long left = form().Left();
    sys.desktop.Open("Window", {0, 0, 1000, 700});
    ASSERT_FALSE(Tick());
    EXPECT_EQ(form().Left(), left);
}

TEST_F(FollowingTest, DesktopProgramManagerUntitledAnd448GoHome) {
    Rect big{0, 0, 900, 700};
    auto h = sys.desktop.Open("Editor", big);
    ASSERT_FALSE(Tick());
    ASSERT_TRUE(OnTitleBarOf(big));
    sys.desktop.foreground = sys.desktop.desktopHandle;
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(AtHome());
    EXPECT_EQ(Get("アクティブウィンドウのLeft"), "");
    EXPECT_EQ(Get("アクティブウィンドウのタイトル"), "");
    EXPECT_EQ(Get("現在のForm1のLeft"), "7185");

    for (std::string title : {"Program Manager", ""}) {
        sys.desktop.foreground = h;
        ASSERT_FALSE(Tick());
        ASSERT_TRUE(OnTitleBarOf(big));
        auto other = sys.desktop.Open(title, big);
        ASSERT_FALSE(Tick());
        EXPECT_TRUE(AtHome()) << title;
        sys.desktop.Close(other);
    }
    sys.desktop.foreground = h;
    ASSERT_FALSE(Tick());
    sys.desktop.windows[448] = {"Shell", big};
    sys.desktop.foreground = 448;
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(AtHome());
}

TEST_F(FollowingTest, FollowsTheWindowWhenItMovesAndGoesHomeWhenItCloses) {
    Rect r{100, 100, 900, 700};
    auto h = sys.desktop.Open("Editor", r);
    ASSERT_FALSE(Tick());
    ASSERT_TRUE(OnTitleBarOf(r));
    r = {200, 150, 1000, 750};
    sys.desktop.windows[h].rect = r;
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(OnTitleBarOf(r));
    EXPECT_EQ(Get("アクティブウィンドウのRight"), "1000");
    // Shrunk below the rule: home.
    sys.desktop.windows[h].rect = {200, 150, 600, 450};
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(AtHome());
    // Back to a large size, then closed.
    sys.desktop.windows[h].rect = r;
    ASSERT_FALSE(Tick());
    ASSERT_TRUE(OnTitleBarOf(r));
    sys.desktop.Close(h);
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(AtHome());
}

TEST_F(FollowingTest, OpenDialogsStopJumpingButKeepTheClockOnTop) {
    Rect r{0, 0, 900, 700};
    sys.desktop.Open("Editor", r);
    program.BasicOptionsOpen = true;
    int before = window().topmostCalls;
    ASSERT_FALSE(Tick());
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(AtHome());
    EXPECT_EQ(window().topmostCalls, before + 2);
    program.BasicOptionsOpen = false;
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(OnTitleBarOf(r));
}

TEST_F(FollowingTest, WhichFlagsStopReplacementAfterAMove) {
    Rect r{0, 0, 900, 700};
    auto h = sys.desktop.Open("Editor", r);
    ASSERT_FALSE(Tick());
    // The memo window open: a move still re-places the clock.
    program.MemoWindowOpen = true;
    r = {50, 40, 950, 740};
    sys.desktop.windows[h].rect = r;
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(OnTitleBarOf(r));
    program.MemoWindowOpen = false;
    // Drag mode or the information balloon: it does not.
    for (bool* flag : {&program.DragMode, &program.InfoBalloonOpen}) {
        *flag = true;
        Rect moved{r.left + 30, r.top + 30, r.right + 30, r.bottom + 30};
        sys.desktop.windows[h].rect = moved;
        ASSERT_FALSE(Tick());
        EXPECT_TRUE(OnTitleBarOf(r));
        *flag = false;
        sys.desktop.windows[h].rect = r;
    }
}

TEST_F(FollowingTest, FollowingOffNeverMovesNorReassertsTopmost) {
    Set("アクティブウインドウへの移動", "0");
    ASSERT_FALSE(Reload());
    sys.desktop.Open("Editor", {0, 0, 900, 700});
    int before = window().topmostCalls;
    sys.clock.Set(10, 15, 56);
    ASSERT_FALSE(Tick());
    Log();
    sys.clock.Set(10, 15, 57);
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(AtHome());
    EXPECT_EQ(window().topmostCalls, before);
    EXPECT_EQ(Log(), (std::vector<std::string>{"Animation2 Open 16.avi", "Animation2 Play 1"}));
}

TEST_F(FollowingTest, RestoreFollowedWindowBringsItBackToTheFront) {
    Rect r{0, 0, 900, 700};
    auto h = sys.desktop.Open("Editor", r);
    ASSERT_FALSE(Tick());
    // A dialog's OK: the reload reactivates the recorded window.
    sys.desktop.Open("基本オプション", {0, 0, 400, 300});
    program.RestoreFollowedWindow = true;
    ASSERT_FALSE(Reload());
    EXPECT_FALSE(program.RestoreFollowedWindow);
    EXPECT_EQ(sys.desktop.foregroundRequests.back(), h);
    EXPECT_EQ(sys.desktop.foreground, h);
    EXPECT_TRUE(OnTitleBarOf(r));
    // With no recorded title it goes home instead.
    Set("アクティブウィンドウのタイトル", "");
    program.RestoreFollowedWindow = true;
    ASSERT_FALSE(Reload());
    EXPECT_TRUE(AtHome());
}

TEST_F(FollowingTest, TitleOutsideCp932SettlesInsteadOfReplacingEverySecond) {
    Rect r{0, 0, 900, 700};
    sys.desktop.Open("猫🐱 é Browser", r);
    ASSERT_FALSE(Tick());
    ASSERT_TRUE(OnTitleBarOf(r));
    EXPECT_EQ(Get("アクティブウィンドウのタイトル"), "猫? ? Browser");
    const int writes = sys.files.writes;
    const int topmost = window().topmostCalls;
    for (int i = 0; i < 10; ++i) ASSERT_FALSE(Tick());
    EXPECT_EQ(sys.files.writes, writes);
    EXPECT_EQ(window().topmostCalls, topmost) << "settled: nothing to follow";
}

TEST_F(FollowingTest, DesktopInFrontForAMinuteDoesNotRewriteTheFile) {
    auto h = sys.desktop.Open("Editor", {0, 0, 900, 700});
    ASSERT_FALSE(Tick());
    sys.desktop.foreground = sys.desktop.desktopHandle;
    sys.desktop.windows[sys.desktop.desktopHandle].title = "Program Manager";
    sys.clock.Set(10, 16, 0);
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(AtHome());
    // The home placement repeats on every tick, but writes the same text.
    const int after = sys.files.writes;
    for (int s = 1; s < 60; ++s) {
        sys.clock.Set(10, 16, s);
        ASSERT_FALSE(Tick());
    }
    EXPECT_TRUE(AtHome());
    EXPECT_EQ(sys.files.writes, after);
    EXPECT_EQ(Get("アクティブウィンドウのタイトル"), "");
    (void)h;
}

TEST_F(FollowingTest, LongTitleIsComparedAsTheAnsiCallReturnsIt) {
    std::string title;
    for (int i = 0; i < 140; ++i) title += "長";
    Rect r{0, 0, 900, 700};
    sys.desktop.Open(title, r);
    ASSERT_FALSE(Tick());
    const std::string stored = Get("アクティブウィンドウのタイトル");
    EXPECT_EQ(stored.size(), 127u * 3) << "127 whole characters of 255 bytes";
    const int writes = sys.files.writes;
    ASSERT_FALSE(Tick());
    EXPECT_EQ(sys.files.writes, writes);
}

}  // namespace
}  // namespace morix::test

namespace morix::test {
namespace {

// Two 1920 x 1080 monitors side by side: the clock follows a window onto the
// right one, and goes home again with no error; the default home is the
// primary screen's centre on every path.
TEST_F(FollowingTest, TwoWideMonitorsFollowingOntoTheRightOneAndHomeAgain) {
    sys.desktop.monitors = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    platform::Rect r{2500, 100, 3700, 900};
    sys.desktop.Open("Editor", r);
    ASSERT_FALSE(Tick());
    ASSERT_TRUE(OnTitleBarOf(r));
    EXPECT_GT(form().Left(), 32767) << "beyond 16 bits";
    sys.desktop.foreground = sys.desktop.desktopHandle;
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(sys.ui.messages.empty());
    EXPECT_EQ(form().Left(), (1920 * 15 - 990) / 2);
    EXPECT_EQ(form().Top(), (1080 * 15 - 330) / 2);
}

// Where the window manager reports its caption buttons (Windows 10 and 11),
// the clock stands 4 pixels (at 100 %) left of them, centred on their height
// and inside the visible frame; the record keeps the outer rectangle.
TEST_F(FollowingTest, CaptionButtonsOfTheWindowManager) {
    struct Case {
        const char* name;
        int dpi;  // of the monitor
        Rect outer;
        platform::CaptionButtons caption;
        Rect clock;
    } cases[] = {
        {"at 100 %", 96, {100, 50, 1000, 700}, {{855, 51, 993, 81}, {107, 50, 993, 693}}, {785, 55, 851, 77}},
        {"maximised", 96, {-8, -8, 1032, 776}, {{886, -2, 1024, 20}, {0, 0, 1024, 768}}, {816, 0, 882, 22}},
        // 6 and 8 pixels left of the buttons: the places of a 99 x 33 and a
        // 132 x 44 clock (685, 57 and 580, 59). The design has no set of
        // these scales and none can be made here, so its 66 x 22 pictures
        // are drawn centred on those places.
        {"at 150 %", 144, {100, 50, 1000, 700}, {{790, 51, 993, 96}, {111, 50, 989, 689}}, {701, 62, 767, 84}},
        {"at 200 %", 192, {100, 50, 1000, 700}, {{720, 51, 993, 111}, {115, 50, 985, 685}}, {613, 70, 679, 92}},
    };
    for (const Case& c : cases) {
        sys.desktop.monitorDpi = {c.dpi};
        auto h = sys.desktop.Open(std::string("Window ") + c.name, c.outer);
        sys.desktop.captionButtons[h] = c.caption;
        ASSERT_FALSE(Tick());
        EXPECT_EQ(window().Bounds(), c.clock) << c.name;
        EXPECT_EQ(Get("アクティブウィンドウのLeft"), std::to_string(c.outer.left)) << c.name;
        EXPECT_EQ(Get("アクティブウィンドウのTop"), std::to_string(c.outer.top)) << c.name;
        sys.desktop.Close(h);
    }
}

// A rectangle the window manager gives for a window where it means nothing
// (minimised, cloaked, or not at the frame's top right) is not trusted: the
// clock is placed by the system's metrics, as where none is reported.
TEST_F(FollowingTest, ImplausibleCaptionButtonsFallBackToTheMetrics) {
    const Rect outer{100, 50, 1000, 700};
    const Rect frame{107, 50, 993, 693};
    struct Case {
        const char* name;
        Rect buttons;
        Rect frame;
        bool minimized = false;
        bool cloaked = false;
        bool trusted = false;
    } cases[] = {
        {"plausible", {855, 51, 993, 81}, frame, false, false, true},
        {"empty", {0, 0, 0, 0}, frame},
        {"upside down", {855, 81, 993, 51}, frame},
        {"at the top left", {107, 51, 245, 81}, frame},
        {"at the bottom right", {855, 660, 993, 690}, frame},
        {"right of the frame", {900, 51, 1038, 81}, frame},
        {"above the frame", {855, 10, 993, 40}, frame},
        {"an empty frame", {855, 51, 993, 81}, {0, 0, 0, 0}},
        {"the window minimised", {855, 51, 993, 81}, frame, true},
    };
    for (const Case& c : cases) {
        auto h = sys.desktop.Open(std::string("Window ") + c.name, outer);
        sys.desktop.captionButtons[h] = {c.buttons, c.frame};
        if (c.minimized) sys.desktop.minimized.insert(h);
        ASSERT_FALSE(Tick());
        if (c.trusted)
            EXPECT_EQ(window().Bounds(), (Rect{785, 55, 851, 77})) << c.name;
        else
            EXPECT_TRUE(OnTitleBarOf(outer)) << c.name;
        sys.desktop.Close(h);
    }
}

// A window of another virtual desktop or a suspended store app is in front
// only for the system: the clock goes home as for the desktop, and the front
// is not given back to it (that would switch the user's desktop).
TEST_F(FollowingTest, ACloakedWindowIsNotFollowedNorGivenTheFront) {
    const Rect r{0, 0, 900, 700};
    auto seen = sys.desktop.Open("Editor", r);
    ASSERT_FALSE(Tick());
    ASSERT_TRUE(OnTitleBarOf(r));
    auto other = sys.desktop.Open("Other desktop's window", {50, 40, 950, 740});
    sys.desktop.captionButtons[other] = {{805, 41, 943, 71}, {57, 40, 943, 733}};
    sys.desktop.cloaked.insert(other);
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(AtHome());
    EXPECT_EQ(Get("アクティブウィンドウのタイトル"), "");
    sys.desktop.cloaked.erase(other);
    ASSERT_FALSE(Tick());
    EXPECT_EQ(Get("アクティブウィンドウのタイトル"), "Other desktop's window") << "seen again, followed again";

    // The followed window is cloaked when a dialog's OK reloads the clock.
    sys.desktop.foreground = seen;
    ASSERT_FALSE(Tick());
    ASSERT_TRUE(OnTitleBarOf(r));
    sys.desktop.cloaked.insert(seen);
    sys.desktop.Open("オプション", {0, 0, 400, 300});
    const std::size_t requests = sys.desktop.foregroundRequests.size();
    program.RestoreFollowedWindow = true;
    ASSERT_FALSE(Reload());
    EXPECT_EQ(sys.desktop.foregroundRequests.size(), requests);
    EXPECT_TRUE(AtHome());
}

}  // namespace
}  // namespace morix::test
