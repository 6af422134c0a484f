// Start-up, the design, the error prompt and shut-down of the clock window.
#include "tests/native/ClockFixture.h"
#include "memo/MemoFiles.h"

#include <map>
#include <sstream>

namespace morix::test {
namespace {

using platform::Rect;

TEST_F(ClockTest, FreshStartWithoutSettingsShowsTheCentredShapedClock) {
    sys.clock.Set(9, 7, 20);
    ASSERT_FALSE(Start());
    // (1024 x 15 - 990) / 2 = 7185 twips = pixel 479; (768 x 15 - 330) / 2 = 5595 = pixel 373.
    EXPECT_EQ(window().Bounds(), (Rect{479, 373, 479 + 66, 373 + 22}));
    EXPECT_EQ(form().Left(), 7185);
    EXPECT_EQ(form().Top(), 5595);
    EXPECT_TRUE(window().visible);
    EXPECT_EQ(window().topmostCalls, 1);
    EXPECT_EQ(window().title, "Morix");
    EXPECT_TRUE(shaper().shaped);
    EXPECT_FALSE(shaper().visible);
    EXPECT_EQ(shaper().left, 1);
    EXPECT_EQ(shaper().top, 1);
    EXPECT_EQ(shaper().tooltip, "右クリックでドラックモード解除");
    EXPECT_EQ(sys.pictures.loaded.back(), dir.ProgramPath() + "\\Design\\Tidewalk\\TP.bmp");
    EXPECT_EQ(sys.ClockTimer().interval, 1000);
    EXPECT_TRUE(sys.ClockTimer().enabled);
    // Clip 09 at nine o'clock, 07 at seven minutes past, each played once.
    EXPECT_EQ(Log(), (std::vector<std::string>{"Animation1 Open 09.avi", "Animation1 Play 1", "Animation2 Open 07.avi",
                                               "Animation2 Play 1"}));
    EXPECT_EQ(sys.ui.animations[0]->left, 5);
    EXPECT_EQ(sys.ui.animations[1]->left, 36);
    EXPECT_FALSE(sys.ui.animations[1]->autoPlay);
    EXPECT_TRUE(sys.ui.animations[1]->visible);
    EXPECT_EQ(program.clips.HourFile, dir.ProgramPath() + "\\Design\\Tidewalk\\09.avi");
    // Following is on by default: the fresh start sent the clock home and recorded it.
    EXPECT_EQ(Get("現在のForm1のLeft"), "7185");
    EXPECT_EQ(Get("アクティブウィンドウのタイトル"), "");
    EXPECT_EQ(Get("アクティブウィンドウのhDC"), "") << "no handle held is empty text, not 0";
    EXPECT_TRUE(sys.ui.messages.empty());
    // The memo window opens with the sample text.
    FakeWindow* memo = sys.ui.FindWindow("Morix - 備忘録");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->RichText("txtMsg").text, SampleText);
}

TEST_F(ClockTest, HomePositionFromTheSettingsWhenNotFollowing) {
    Set("アクティブウインドウへの移動", "0");
    Set("起動時のLeft", "-300");  // dragged partly off the left edge
    Set("起動時のTop", "1500");
    ASSERT_FALSE(Start());
    EXPECT_EQ(window().Bounds().left, -20);
    EXPECT_EQ(window().Bounds().top, 100);
    EXPECT_EQ(program.HomeLeft, -300);
    EXPECT_EQ(Get("現在のForm1のLeft"), "<missing>") << "no following, no record";
}

TEST_F(ClockTest, HomePositionDefaultsToTheCentreWhenNotFollowing) {
    Set("アクティブウインドウへの移動", "0");
    ASSERT_FALSE(Start());
    EXPECT_EQ(program.HomeLeft, 7185);
    EXPECT_EQ(program.HomeTop, 5595);
}

// A 2560 x 1440 monitor: the clock dropped at x = 2400 px (36000 twips,
// beyond 16 bits) starts there next time with no prompt; a home on no
// monitor (one unplugged, or beyond 32 bits in the file) gives way to the
// default home for this run and is not written back.
TEST_F(ClockTest, HomesOfAWideDesktopAndHomesOnNoMonitor) {
    struct Case {
        const char* left;
        const char* top;
        platform::Rect expected;
    } cases[] = {{"36000", "1500", {2400, 100, 2466, 122}},
                 {"60000", "1500", {(2560 - 66) / 2, (1440 - 22) / 2, (2560 - 66) / 2 + 66, (1440 - 22) / 2 + 22}},
                 {"99999999999", "0", {(2560 - 66) / 2, (1440 - 22) / 2, (2560 - 66) / 2 + 66, (1440 - 22) / 2 + 22}},
                 {"-900", "-300", {-60, -20, 6, 2}},
                 // Between two pixels: 479.53 is pixel 480, -0.53 pixel -1.
                 {"7193", "-8", {480, -1, 546, 21}}};
    for (const Case& c : cases) {
        TempFolder other;
        FakeSystem s{other.ProgramPath()};
        s.desktop.monitors = {{0, 0, 2560, 1440}};
        std::filesystem::copy(dir.Path(), other.Path(), std::filesystem::copy_options::recursive);
        SettingsFile settings(s.files, s.codePage, other.ProgramPath() + "\\Morix.ini");
        settings.WriteValue("起動時のSample.rtf", "1");
        settings.WriteValue("アクティブウインドウへの移動", "0");
        settings.WriteValue("起動時のLeft", c.left);
        settings.WriteValue("起動時のTop", c.top);
        Program p{s.platform};
        ASSERT_FALSE(Ends([&] { p.Main(); })) << c.left;
        EXPECT_TRUE(s.ui.messages.empty()) << c.left;
        EXPECT_EQ(s.ClockWindow().Bounds(), c.expected) << c.left;
        EXPECT_EQ(settings.ReadString("起動時のLeft", ""), c.left) << "never written back";
    }
}

TEST_F(ClockTest, MissingDesignFolderAsksToGoOnAndYesLeavesAPlainWindowAtHome) {
    Set("Aviディレクトリ名", "Nowhere");
    Set("アクティブウインドウへの移動", "0");
    Set("起動時のLeft", "1500");
    Set("起動時のTop", "3000");
    ASSERT_FALSE(Start());
    // Once for the background, once more for the outline picture.
    ASSERT_EQ(sys.ui.messages.size(), 2u);
    const std::string backPath = dir.ProgramPath() + "\\Design\\Nowhere\\Back.bmp";
    EXPECT_EQ(sys.ui.messages[0].text, "パスが見つかりません。 (" + backPath + ")\r\n続けますか？");
    EXPECT_EQ(sys.ui.messages[0].Flags(), 36);
    EXPECT_NE(sys.ui.messages[1].text.find("TP.bmp"), std::string::npos);
    // 70 x 20 pixels at the home position, shown, never made topmost, no clips.
    EXPECT_EQ(window().Bounds(), (Rect{100, 200, 170, 220}));
    EXPECT_TRUE(window().visible);
    EXPECT_EQ(window().topmostCalls, 0);
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(shaper().shaped);
    EXPECT_TRUE(sys.ClockTimer().enabled) << "the start-up went on after the first prompt";
}

TEST_F(ClockTest, MissingDesignAnsweredNoEndsWithoutWriting) {
    Set("Aviディレクトリ名", "Nowhere");
    const std::string before = IniBytes();
    sys.ui.messageAnswers = {platform::MessageAnswer::No};
    EXPECT_TRUE(Start());
    EXPECT_EQ(sys.ui.messages.size(), 1u);
    EXPECT_EQ(IniBytes(), before);
}

TEST_F(ClockTest, MissingClipIsFileNotFoundAndTheRestOfTheStartGoesOn) {
    std::filesystem::remove(dir.Path() / "Design" / "Tidewalk" / "10.avi");
    sys.clock.Set(10, 30, 0);
    ASSERT_FALSE(Start());
    ASSERT_EQ(sys.ui.messages.size(), 1u);
    EXPECT_EQ(sys.ui.messages[0].text.rfind("ファイルが見つかりません。", 0), 0u);
    EXPECT_NE(sys.ui.messages[0].text.find("10.avi)\r\n続けますか？"), std::string::npos);
    EXPECT_EQ(sys.ui.messages[0].owner, &window()) << "modal to the clock";
    // The minute clip was never reached; the window is shaped and topmost.
    EXPECT_EQ(Log(), (std::vector<std::string>{"Animation1 Open 10.avi"}));
    EXPECT_TRUE(shaper().shaped);
    EXPECT_EQ(window().topmostCalls, 1);
}

TEST_F(ClockTest, SecondInstanceEndsBeforeAnyWindow) {
    sys.process.anotherInstance = true;
    EXPECT_TRUE(Start());
    EXPECT_TRUE(sys.ui.windows.empty());
    EXPECT_FALSE(IniExists());
    EXPECT_EQ(sys.process.restartRegistrations, 0) << "the running clock is the one to restart";
}

TEST_F(ClockTest, TheRunningClockAsksToBeStartedAgainAfterAnUpdateOnce) {
    SampleDone();
    ASSERT_FALSE(Start());
    EXPECT_EQ(sys.process.restartRegistrations, 1);
    ASSERT_FALSE(Reload());
    EXPECT_EQ(sys.process.restartRegistrations, 1) << "not again at a reload";
}

TEST_F(ClockTest, RealExitWritesTheDateAndEmptiesTheFollowedRecord) {
    Set("起動時のLeft", "1200");
    Set("起動時のTop", "600");
    ASSERT_FALSE(Start());
    Set("アクティブウィンドウのタイトル", "無題 - メモ帳");
    Set("アクティブウィンドウのhDC", "131072");
    Set("アクティブウィンドウのLeft", "10");
    sys.clock.SetDay(2026, 12, 8);
    sys.ui.menuChoices = {menu::End};
    EXPECT_TRUE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
    EXPECT_EQ(Get("終了時の日付"), "20261208");
    for (auto key : {"アクティブウィンドウのタイトル", "アクティブウィンドウのLeft", "アクティブウィンドウのRight",
                     "アクティブウィンドウのTop", "アクティブウィンドウのBottom", "現在のForm1のLeft", "現在のForm1のTop"})
        EXPECT_EQ(Get(key), "") << key;
    EXPECT_EQ(Get("起動時のLeft"), "1200");
    EXPECT_EQ(Get("起動時のTop"), "600");
    EXPECT_EQ(Get("アクティブウィンドウのhDC"), "131072");
    const auto log = Log();
    const std::vector<std::string> tail(log.end() - 4, log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Animation1 Stop", "Animation1 Close", "Animation2 Stop", "Animation2 Close"}));
}

// However the real exit comes, it writes the exit date, then empties the
// followed window's record in one replacement of the file: an exit cut short
// leaves the record whole, as it was or emptied.
TEST_F(ClockTest, RealExitEmptiesTheFollowedRecordInOneWrite) {
    const std::pair<const char*, std::function<void(ClockTest&)>> exits[] = {
        {"menu 終了", [](ClockTest& t) {
             t.sys.ui.menuChoices = {menu::End};
             t.window().MouseUp(platform::MouseButton::Left);
         }},
        {"closed from outside", [](ClockTest& t) { t.window().CloseBox(); }},
        {"end of session", [](ClockTest& t) { t.sys.ui.Raise(t.window().onEndSession); }},
    };
    const std::vector<std::string> order{"終了時の日付", "アクティブウィンドウのタイトル", "アクティブウィンドウのLeft",
                                         "アクティブウィンドウのRight", "アクティブウィンドウのTop",
                                         "アクティブウィンドウのBottom", "現在のForm1のLeft", "現在のForm1のTop"};
    for (const auto& [name, exit] : exits) {
        struct Run : ClockTest {
            void TestBody() override {}
        } t;
        t.SampleDone();
        ASSERT_FALSE(t.Start());
        for (const std::string& key : order) t.Set(key, "1");
        // Which key each write changed, from the file's lines before and after it.
        const auto values = [&](std::string_view bytes) {
            std::map<std::string, std::string> v;
            std::istringstream lines(t.sys.codePage.FromAnsi(std::string(bytes)));
            for (std::string line; std::getline(lines, line);)
                if (const auto eq = line.find('='); eq != std::string::npos) v[line.substr(0, eq)] = line.substr(eq + 1);
            return v;
        };
        std::map<std::string, std::string> before = values(t.IniBytes());
        std::vector<std::vector<std::string>> written;
        t.sys.files.onReplace = [&](std::string_view, std::string_view bytes) {
            const auto after = values(bytes);
            written.emplace_back();
            for (const std::string& key : order)
                if (before[key] != after.at(key)) written.back().push_back(key);
            before = after;
        };
        t.sys.clock.SetDay(2026, 12, 8);
        EXPECT_TRUE(t.Ends([&] { exit(t); })) << name;
        EXPECT_EQ(written, std::vector<std::vector<std::string>>{order}) << name;
    }
}

TEST_F(ClockTest, ClosedFromOutsideOrEndOfSessionIsTheRealExit) {
    for (int way = 0; way < 2; ++way) {
        test::TempFolder other;
        FakeSystem s{other.ProgramPath()};
        std::filesystem::create_directories(other.Path() / "Design");
        std::filesystem::copy(dir.Path() / "Design", other.Path() / "Design", std::filesystem::copy_options::recursive);
        Program p{s.platform};
        ASSERT_FALSE(Ends([&] { p.Main(); }));
        s.clock.SetDay(2027, 1, 5);
        EXPECT_TRUE(Ends([&] {
            if (way == 0) s.ClockWindow().CloseBox();
            else s.ui.Raise([&] { s.ClockWindow().onEndSession(); });
        }));
        SettingsFile settings(s.files, s.codePage, other.ProgramPath() + "\\Morix.ini");
        EXPECT_EQ(settings.ReadString("終了時の日付", ""), "20270105") << way;
        EXPECT_EQ(settings.ReadString("現在のForm1のLeft", "x"), "") << way;
    }
}

TEST_F(ClockTest, ReloadWritesNothingAndSkipsTheMemoStartActions) {
    ASSERT_FALSE(Start());
    Put(dir.Path() / "Tickdata" / "20000101.rtf", "{\\rtf1}");
    const std::string before = IniBytes();
    program.MemoWindowOpen = true;
    ASSERT_FALSE(Reload());
    EXPECT_FALSE(program.Reloading);
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "Tickdata" / "20000101.rtf"));
    EXPECT_FALSE(form().MemoMenuEnabled());
    // The reload re-placed the clock home, which writes the same record again: nothing changes.
    EXPECT_EQ(IniBytes(), before);
}

TEST_F(ClockTest, FreshStartAndExitDeletePastMemosWhenSoSet) {
    sys.clock.SetDay(2026, 12, 8);
    for (auto name : {"20261207.rtf", "20261208.rtf", "20261209.rtf", "2026120.rtf", "20261206 old.rtf", "notes.rtf",
                      "20261201.txt"})
        Put(dir.Path() / "Tickdata" / name, "");
    ASSERT_FALSE(Start());
    auto exists = [&](const char* n) { return std::filesystem::exists(dir.Path() / "Tickdata" / n); };
    EXPECT_FALSE(exists("20261207.rtf"));
    EXPECT_FALSE(exists("2026120.rtf"));
    EXPECT_FALSE(exists("20261206 old.rtf"));
    EXPECT_TRUE(exists("20261208.rtf"));
    EXPECT_TRUE(exists("20261209.rtf"));
    EXPECT_TRUE(exists("notes.rtf"));
    EXPECT_TRUE(exists("20261201.txt"));
    // Kept with "自動削除" 0, at the next exit too.
    Set("自動削除", "0");
    sys.clock.SetDay(2026, 12, 10);
    sys.ui.menuChoices = {menu::End};
    EXPECT_TRUE(Ends([&] { window().MouseUp(platform::MouseButton::Right); }));
    EXPECT_TRUE(exists("20261208.rtf"));
}

TEST(MemoStartAction, SampleTodayOrNone) {
    TempFolder dir;
    platform::PosixCodePage cp;
    platform::PosixFiles files;
    SettingsFile s(files, cp, dir.ProgramPath() + "\\Morix.ini");
    const std::string today = "20261208";
    EXPECT_EQ(MemoStartActionDue(s, today), MemoStartAction::ShowSample);
    s.WriteValue("起動時のSample.rtf", "1");
    EXPECT_EQ(MemoStartActionDue(s, today), MemoStartAction::ShowToday);  // 自動表示 defaults to 1
    s.WriteValue("自動表示", "2");
    EXPECT_EQ(MemoStartActionDue(s, today), MemoStartAction::ShowToday);  // no exit date reads as 1
    s.WriteValue("終了時の日付", "20261208");
    EXPECT_EQ(MemoStartActionDue(s, today), MemoStartAction::None);
    s.WriteValue("終了時の日付", "20261207");
    EXPECT_EQ(MemoStartActionDue(s, today), MemoStartAction::ShowToday);
    s.WriteValue("自動表示", "0");
    EXPECT_EQ(MemoStartActionDue(s, today), MemoStartAction::None);
    s.WriteValue("自動表示", "1");
    s.WriteValue("起動時のSample.rtf", "0");
    EXPECT_EQ(MemoStartActionDue(s, today), MemoStartAction::ShowSample);
}

TEST_F(ClockTest, UncaughtErrorInAnEventEndsWithTheRunTimeMessage) {
    SampleDone();
    ASSERT_FALSE(Start());
    // A pointer far outside: an overflow in following is not caught below the tick.
    auto h = sys.desktop.Open("巨大", {0, 0, 2000, 1000});
    sys.desktop.windows[h].rect = {0, 0, 2100000000, 1000};
    EXPECT_TRUE(Tick());
    ASSERT_FALSE(sys.ui.messages.empty());
    EXPECT_EQ(sys.ui.messages.back().text, "実行時エラー '6':\r\n\r\nオーバーフローしました。");
    EXPECT_EQ(sys.ui.messages.back().Flags(), 16);
}

}  // namespace
}  // namespace morix::test
