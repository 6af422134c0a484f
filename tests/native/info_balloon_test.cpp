// The information balloon: its six lines, its window beside the clock, and
// the tick that opens, refreshes and closes it.
#include "info/InfoLines.h"
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::DriveKind;
using platform::Rect;

class InfoBalloonTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        Set("アクティブウインドウへの移動", "0");
        ASSERT_FALSE(Start());
        Log();
    }
    // The pointer on the clock's face (pixels).
    void PointAtClock() { sys.desktop.cursor = {window().Bounds().left + 10, window().Bounds().top + 10}; }
    // Shown, not only made: the balloon keeps its window hidden between openings.
    FakeWindow* Balloon() {
        FakeWindow* w = sys.ui.FindWindow("Morix - 情報");
        return w && w->visible ? w : nullptr;
    }
    std::string BalloonText() { return Balloon()->RichText("RichTextBox1").text; }
    std::vector<std::string> Lines() {
        std::vector<std::string> out;
        std::string text = BalloonText();
        for (std::size_t at = 0;;) {
            std::size_t end = text.find("\r\n", at);
            out.push_back(text.substr(at, end - at));
            if (end == std::string::npos) break;
            at = end + 2;
        }
        return out;
    }
};

TEST(InfoLines, FreeSpaceTextAtTheThresholds) {
    FakeSystemInfo system;
    const std::pair<std::uint64_t, const char*> cases[] = {
        {1000000000ull, "0.93GB"}, {999999999ull, "953.67MB"}, {1000000ull, "0.95MB"}, {999999ull, "976.56KB"},
        {512ull, "0.50KB"},        {0ull, "0"},                {2000000000000ull, "1,862.65GB"}};
    for (auto [bytes, text] : cases) EXPECT_EQ(FreeSpaceText(bytes, system), text) << bytes;
}

TEST_F(InfoBalloonTest, DefaultsListFiveLinesInOrderBesideTheClock) {
    sys.systemInfo.drives = {{"A:\\", DriveKind::Removable, std::nullopt},
                             {"C:\\", DriveKind::Fixed, 1500000000ull},
                             {"D:\\", DriveKind::Fixed, 999999ull},
                             {"E:\\", DriveKind::CdRom, 0ull},
                             {"F:\\", DriveKind::Remote, 5000000000ull}};
    PointAtClock();
    ASSERT_FALSE(Tick());
    ASSERT_NE(Balloon(), nullptr);
    EXPECT_TRUE(program.InfoBalloonOpen);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[CPU稼働率]  12%", "[ｼｽﾃﾑﾘｿｰｽ使用率]  27%", "[メモリー使用率]  42%",
                                                 "[AC電源]  バッテリーなし", "[空容量]  C=1.40GB",
                                                 "          D=976.56KB", "          E=0"}));
    // A: has no medium and gives no item; the network drive is never listed.
    EXPECT_EQ(sys.systemInfo.freeSpaceQueries, (std::vector<std::string>{"A:\\", "C:\\", "D:\\", "E:\\"}));
    // 280 x 140, right of the clock, level with its top, shaped by MsgRD.gif.
    const Rect clock = window().Bounds();
    EXPECT_EQ(Balloon()->Bounds(), (Rect{clock.right, clock.top, clock.right + 280, clock.top + 140}));
    EXPECT_TRUE(Balloon()->visible);
    EXPECT_EQ(Balloon()->topmostCalls, 1);
    EXPECT_EQ(sys.pictures.loaded.back(), dir.ProgramPath() + "\\Frame\\Ellip01\\MsgRD.gif");
    EXPECT_TRUE(sys.ui.shapers.back()->shaped);
    auto& box = Balloon()->RichText("RichTextBox1");
    EXPECT_EQ(box.place, (Rect{60, 35, 220, 115}));
    EXPECT_EQ(box.font.face, "ＭＳ ゴシック");
    EXPECT_TRUE(box.readOnly);
}

TEST_F(InfoBalloonTest, TheDriveKeysAreReadForEveryDrive) {
    sys.systemInfo.drives = {{"A:\\", DriveKind::Removable, 1000000ull},
                             {"C:\\", DriveKind::Fixed, 1000000ull},
                             {"E:\\", DriveKind::CdRom, 1000000ull}};
    Set("固定ディスクの表示", "0");
    for (auto key : {"CPUの表示", "システムリソースの表示", "メモリーの表示", "電源の表示"}) Set(key, "0");
    PointAtClock();
    ASSERT_FALSE(Tick());
    EXPECT_EQ(BalloonText(), "[空容量]  A=0.95MB\r\n          E=0.95MB");
}

TEST_F(InfoBalloonTest, EveryPowerState) {
    struct Case {
        int ac, battery, percent;
        const char* line;
    } cases[] = {{0, 1, 255, "[バッテリー残量]  不明"}, {0, 2, 40, "[バッテリー残量]  40%"},
                 {1, 128, 255, "[AC電源]  バッテリーなし"}, {1, 255, 255, "[AC電源]"},
                 {1, 8, 95, "[AC電源]  95% 充電終了"},      {255, 1, 50, "[電源 不明]"}};
    for (auto key : {"CPUの表示", "システムリソースの表示", "メモリーの表示", "空容量の表示"}) Set(key, "0");
    PointAtClock();
    for (const Case& c : cases) {
        sys.systemInfo.acStatus = c.ac, sys.systemInfo.batteryStatus = c.battery;
        sys.systemInfo.batteryLifePercent = c.percent;
        ASSERT_FALSE(Tick());  // opens, then refreshes: the power line is rebuilt every tick
        EXPECT_EQ(BalloonText(), c.line) << c.ac << "/" << c.battery;
    }
}

TEST_F(InfoBalloonTest, LoadAndResourceFiguresAsTheLibraryGivesThem) {
    VitalinkFigures().systemFree = 130;  // above 100: a negative use, with its sign
    VitalinkFigures().cpuUsage = 300;    // only the low byte counts
    Set("メモリーの表示", "0");
    Set("電源の表示", "0");
    Set("空容量の表示", "0");
    PointAtClock();
    ASSERT_FALSE(Tick());
    EXPECT_EQ(BalloonText(), "[CPU稼働率]  44%\r\n[ｼｽﾃﾑﾘｿｰｽ使用率]  -30%");
}

TEST_F(InfoBalloonTest, MemoLineWithDoubleByteTextAndAllItemsOff) {
    for (auto key : {"CPUの表示", "システムリソースの表示", "メモリーの表示", "電源の表示", "空容量の表示"}) Set(key, "0");
    Set("メモの表示", "1");
    PointAtClock();
    ASSERT_FALSE(Tick());
    EXPECT_EQ(BalloonText(), "[メモ]  メモをお書きください...");
    sys.desktop.cursor = {0, 0};
    ASSERT_FALSE(Tick());
    Set("メモの内容", "  会議は１５時から　");  // trimmed of ASCII spaces only
    sys.desktop.cursor = {window().Bounds().left, window().Bounds().top};
    ASSERT_FALSE(Tick());
    EXPECT_EQ(BalloonText(), "[メモ]  会議は１５時から　");
    sys.desktop.cursor = {0, 0};
    ASSERT_FALSE(Tick());
    Set("メモの表示", "0");
    PointAtClock();
    ASSERT_FALSE(Tick());
    EXPECT_EQ(BalloonText(), "");
}

TEST_F(InfoBalloonTest, HoverTestIsInclusiveAndTheBalloonKeepsThePointer) {
    const Rect clock = window().Bounds();
    // Exactly on the right and bottom edge counts as on the clock.
    sys.desktop.cursor = {clock.right, clock.bottom};
    ASSERT_FALSE(Tick());
    ASSERT_NE(Balloon(), nullptr);
    // Onto the balloon: it stays, and is not refreshed.
    const int readings = VitalinkFigures().cpuReadings;
    sys.desktop.cursor = {clock.right + 100, clock.top + 50};
    ASSERT_FALSE(Tick());
    EXPECT_NE(Balloon(), nullptr);
    EXPECT_EQ(VitalinkFigures().cpuReadings, readings);
    // Back on the clock: refreshed every tick; the disk line is not measured again.
    const auto queries = sys.systemInfo.freeSpaceQueries.size();
    sys.desktop.cursor = {clock.left, clock.top};
    ASSERT_FALSE(Tick());
    EXPECT_EQ(VitalinkFigures().cpuReadings, readings + 1);
    EXPECT_EQ(sys.systemInfo.freeSpaceQueries.size(), queries);
    // Off both: closed, its lines emptied.
    sys.desktop.cursor = {clock.right + 281, clock.top};
    ASSERT_FALSE(Tick());
    EXPECT_EQ(Balloon(), nullptr);
    EXPECT_FALSE(program.InfoBalloonOpen);
    EXPECT_TRUE(app.infoBalloon().form8() == nullptr);
}

TEST_F(InfoBalloonTest, ARefreshTickDoesNotFollowAndTheMenuClosesTheBalloon) {
    Set("アクティブウインドウへの移動", "1");
    ASSERT_FALSE(Reload());
    PointAtClock();
    ASSERT_FALSE(Tick());  // opens; following goes on
    const long long left = form().Left();
    sys.desktop.Open("Editor", {0, 0, 900, 700});
    ASSERT_FALSE(Tick());  // a refresh: no following
    EXPECT_EQ(form().Left(), left);
    ASSERT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
    EXPECT_EQ(Balloon(), nullptr);
    EXPECT_FALSE(program.InfoBalloonOpen);
}

TEST_F(InfoBalloonTest, ShowInfoSettingZeroNeverOpens) {
    Set("情報吹き出しの表示", "0");
    ASSERT_FALSE(Reload());
    PointAtClock();
    ASSERT_FALSE(Tick());
    EXPECT_EQ(Balloon(), nullptr);
}

TEST_F(InfoBalloonTest, CornersFollowTheScreenEdges) {
    struct Case {
        int left, top;
        const char* picture;
        Rect expected;
    } cases[] = {{0, 0, "MsgRD.gif", {66, 0, 346, 140}},
                 {1024 - 66, 0, "MsgLD.gif", {1024 - 66 - 280, 0, 1024 - 66, 140}},
                 {0, 768 - 22, "MsgRU.gif", {66, 768 - 22 - 140 + 20, 346, 768 - 22 + 20}},
                 {1024 - 66, 768 - 22, "MsgLU.gif", {1024 - 66 - 280, 768 - 22 - 140 + 20, 1024 - 66, 768 - 22 + 20}}};
    for (const Case& c : cases) {
        form().Move(c.left * 15LL, c.top * 15LL);
        sys.desktop.cursor = {c.left + 5, c.top + 5};
        ASSERT_FALSE(Tick());
        ASSERT_NE(Balloon(), nullptr) << c.picture;
        EXPECT_EQ(Balloon()->Bounds(), c.expected) << c.picture;
        EXPECT_EQ(BaseName(sys.pictures.loaded.back()), c.picture);
        sys.desktop.cursor = {500, 300};
        ASSERT_FALSE(Tick());
        ASSERT_EQ(Balloon(), nullptr);
    }
}

// The balloon's window is made once and kept hidden between openings; its
// outline is made again only when the frame picture changes (another corner,
// another frame).
TEST_F(InfoBalloonTest, TheWindowIsKeptAndItsOutlineMadeOnlyForAnotherPicture) {
    const struct {
        int left;
        const char* frame;
        const char* loaded;  // the picture loaded at this opening, "" for none
    } rows[] = {{0, "Ellip01", "Ellip01\\MsgRD.gif"},
                {0, "Ellip01", ""},
                {1024 - 66, "Ellip01", "Ellip01\\MsgLD.gif"},
                {1024 - 66, "Cloud01", "Cloud01\\MsgLD.gif"},
                {1024 - 66, "Cloud01", ""}};
    InstallFrame("Cloud01");
    std::size_t windows = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.frame) + " at " + std::to_string(row.left));
        Set("吹き出しのディレクトリ名", row.frame);
        form().Move(row.left * 15LL, 0);
        const std::size_t loads = sys.pictures.loaded.size();
        sys.desktop.cursor = {row.left + 5, 5};
        ASSERT_FALSE(Tick());
        ASSERT_NE(Balloon(), nullptr);
        if (*row.loaded == '\0') {
            EXPECT_EQ(sys.pictures.loaded.size(), loads);
            EXPECT_EQ(sys.ui.windows.size(), windows) << "no window made again";
        } else {
            ASSERT_EQ(sys.pictures.loaded.size(), loads + 1);
            EXPECT_EQ(sys.pictures.loaded.back(), dir.ProgramPath() + "\\Frame\\" + row.loaded);
        }
        windows = sys.ui.windows.size();
        sys.desktop.cursor = {500, 300};
        ASSERT_FALSE(Tick());
        ASSERT_EQ(Balloon(), nullptr);
        EXPECT_FALSE(program.InfoBalloonOpen);
    }
}

TEST_F(InfoBalloonTest, FailuresAtTheOpeningGoToThePrompt) {
    // No measurement library: error 53 naming it.
    sys.libraries.vitalinkMissing = true;
    PointAtClock();
    ASSERT_FALSE(Tick());
    ASSERT_EQ(sys.ui.messages.size(), 1u);
    EXPECT_EQ(sys.ui.messages[0].text, "ファイルが見つかりません。 (vitalink.dll)\r\n続けますか？");
    EXPECT_TRUE(program.InfoBalloonOpen) << "the balloon stays, as far as it was built";
    EXPECT_TRUE(Balloon()->visible) << "and is shown, so that the pointer can leave it";
    sys.desktop.cursor = {0, 0};
    ASSERT_FALSE(Tick());
    EXPECT_FALSE(program.InfoBalloonOpen);

    // A frame folder without the picture of the corner: file not found.
    sys.libraries.vitalinkMissing = false;
    std::filesystem::remove(dir.Path() / "Frame" / "Ellip01" / "MsgRD.gif");
    PointAtClock();
    ASSERT_FALSE(Tick());
    ASSERT_EQ(sys.ui.messages.size(), 2u);
    EXPECT_NE(sys.ui.messages[1].text.find("MsgRD.gif)\r\n続けますか？"), std::string::npos);
}

// No measurement library, the pointer resting on the clock, or moved onto
// the balloon and back: the user is asked once, ticks under the message add
// none, and the program goes on until 終了 ends it as usual.
TEST_F(InfoBalloonTest, AMissingLibraryAsksOnceAndTheProgramGoesOn) {
    sys.libraries.vitalinkMissing = true;
    int shown = 0, most = 0;
    sys.ui.whileMessageShown = [&](const ShownMessage&) {
        most = std::max(most, ++shown);
        for (int i = 0; i < 3 && shown == 1; ++i) sys.clock.Advance(1), sys.Tick();
        --shown;
    };
    const Rect clock = window().Bounds();
    for (const bool onBalloon : {false, false, true, false, false}) {
        const Rect at = onBalloon ? Balloon()->Bounds() : clock;
        sys.desktop.cursor = {at.left + 10, at.top + 10};
        ASSERT_FALSE(Tick()) << "the program goes on";
    }
    EXPECT_EQ(std::pair(sys.ui.messages.size(), most), std::pair(std::size_t{1}, 1));
    sys.ui.menuChoices = {menu::End};
    EXPECT_TRUE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
    EXPECT_EQ(Get("終了時の日付"), "20261208");
}

// The prompt is modal, but the timer ticks on through it: those ticks do
// nothing, rather than raise the balloon's error again under the prompt.
TEST_F(InfoBalloonTest, TicksDoNothingWhileAnErrorPromptWaits) {
    sys.libraries.vitalinkMissing = true;
    PointAtClock();
    sys.ui.whileMessageShown = [&](const ShownMessage&) {
        if (sys.ui.messages.size() > 1) return;  // the run-time's message of a tick that failed
        for (int i = 0; i < 3; ++i) {
            sys.clock.Advance(1);
            sys.Tick();
        }
        sys.desktop.cursor = {0, 0};  // on the prompt's Yes
    };
    ASSERT_FALSE(Tick());
    EXPECT_EQ(sys.ui.messages.size(), 1u);
    ASSERT_FALSE(Tick());
    EXPECT_FALSE(program.InfoBalloonOpen) << "the ticks go on after the answer";
}

// The system's hover on the clock opens the balloon at once, as the tick
// would open it; where the tick would not, or while a dialog, the menu or
// drag mode is up, the hover does nothing and the tick is left to act.
TEST(InfoBalloonHover, OpensOnlyUnderTheTicksConditions) {
    struct Case {
        const char* what;
        std::function<void(FakeProgram&, const std::function<void()>& rest)> act;
        bool opens;
    };
    const auto click = [](FakeProgram& p, int item) {
        p.sys.ui.menuChoices = {item};
        p.window().MouseUp(platform::MouseButton::Left);
    };
    const Case cases[] = {
        {"on the clock", [](FakeProgram&, auto& rest) { rest(); }, true},
        {"moved off before the message", [](FakeProgram& p, auto& rest) { p.sys.desktop.cursor = {0, 0}, rest(); }, false},
        {"情報吹き出しの表示 off", [](FakeProgram& p, auto& rest) { p.Set("情報吹き出しの表示", "0"), p.Reload(), rest(); },
         false},
        {"drag mode", [&](FakeProgram& p, auto& rest) { click(p, menu::Drg), rest(); }, false},
        {"the menu", [](FakeProgram& p, auto& rest) { p.sys.ui.whileMenuOpen = rest, p.window().MouseUp({}); }, false},
        {"オプション", [&](FakeProgram& p, auto& rest) { click(p, menu::Option), rest(); }, false},
        {"拡張オプション (the clock stays enabled)", [&](FakeProgram& p, auto& rest) { click(p, menu::Option2), rest(); },
         false},
        // The rest was reported, then a film came to the front and the tick
        // hid the clock before the message was taken.
        {"the clock stepped aside after the rest was reported",
         [](FakeProgram& p, auto&) {
             FakeWindow& face = p.window();
             face.PointerRestPosted();
             const platform::WindowHandle film = p.sys.desktop.Open("Film", p.sys.desktop.monitors.front());
             p.sys.desktop.windows[film].titleBar = false;
             p.Tick();
             ASSERT_TRUE(p.program.HiddenForFullScreen);
             face.TakePostedPointerRest();
         },
         false},
    };
    for (const Case& c : cases) {
        struct Run : FakeProgram {} p;
        p.SampleDone();
        p.Set("アクティブウインドウへの移動", "0");
        ASSERT_FALSE(p.Start());
        const Rect clock = p.window().Bounds();
        p.sys.desktop.cursor = {clock.left + 10, clock.top + 10};
        FakeWindow& face = p.window();
        c.act(p, [&] { face.PointerRests(); });
        EXPECT_EQ(p.program.InfoBalloonOpen, c.opens) << c.what;
        FakeWindow* balloon = p.sys.ui.FindWindow("Morix - 情報");
        if (!c.opens) continue;
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(balloon->Bounds(), (Rect{clock.right, clock.top, clock.right + 280, clock.top + 140}));
        const std::string text = balloon->RichText("RichTextBox1").text;
        EXPECT_NE(text.find("[CPU稼働率]"), std::string::npos) << text;
        // The next tick finds it open and refreshes it.
        const int readings = VitalinkFigures().cpuReadings;
        ASSERT_FALSE(p.Tick());
        EXPECT_EQ(VitalinkFigures().cpuReadings, readings + 1);
    }
}

}  // namespace
}  // namespace morix::test
