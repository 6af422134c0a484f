// Memos: the memo window beside the clock, the date picker, deleting by
// hand, the automatic steps, and every way of closing saving the memo.
#include "memo/MemoFiles.h"
#include "memo/Memos.h"
#include "tests/fake/FakeRtf.h"
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::MouseButton;
using platform::Rect;

class MemoTest : public ClockTest {
public:
    void SetUp() override {
        sys.clock.SetDay(2026, 12, 8);
        Set("アクティブウインドウへの移動", "0");
    }
    std::filesystem::path Memo(const std::string& name) { return dir.Path() / "Tickdata" / name; }
    void PutMemo(const std::string& name, const std::string& text) { Put(Memo(name), TextToRtf(text)); }
    std::string MemoText(const std::string& name) { return RtfToText(dir.Read("Tickdata/" + name)); }
    // While it is open: a closed window is kept hidden for the next opening.
    FakeWindow* MemoWindow() { return app.memos().form7() ? sys.ui.FindWindow("Morix - 備忘録") : nullptr; }
    FakeRichTextBox& Text() { return MemoWindow()->RichText("txtMsg"); }
    FakeWindow* Picker() { return sys.ui.FindWindow("備忘録（新規・開く）"); }
    bool ChooseFromMenu(int item) {
        sys.ui.menuChoices = {item};
        return Ends([&] { window().MouseUp(MouseButton::Left); });
    }
    void OpenToday(const std::string& text) {
        PutMemo("20261208.rtf", text);
        SampleDone();
        ASSERT_FALSE(Start());
        ASSERT_NE(MemoWindow(), nullptr);
    }
};

// The piece over and over, as much of it as fits in the bytes.
std::string Repeat(const std::string& piece, std::size_t bytes) {
    std::string out;
    while (out.size() + piece.size() <= bytes) out += piece;
    return out;
}

// A fresh program of its own for each row of a table.
struct Row : MemoTest {
    Row() { SetUp(); }
    void TestBody() override {}
};

TEST_F(MemoTest, FirstStartShowsTheSampleWithItsBoxRightOfTheClock) {
    PutMemo("20261208.rtf", "今日の予定");  // the sample comes first, whatever 自動表示 says
    ASSERT_FALSE(Start());
    ASSERT_NE(MemoWindow(), nullptr);
    EXPECT_EQ(Text().text, SampleText);
    EXPECT_EQ(program.MemoPath, "");
    const Rect clock = window().Bounds();
    EXPECT_EQ(MemoWindow()->Bounds(), (Rect{clock.right, clock.top, clock.right + 280, clock.top + 140}));
    EXPECT_EQ(Text().place, (Rect{60, 35, 220, 115}));
    EXPECT_EQ(Text().rightMargin, 1024);
    EXPECT_EQ(MemoWindow()->Control("picClose").place, (Rect{112, 116, 168, 129}));
    EXPECT_EQ(MemoWindow()->Control("picClose").tooltip, "Save & Close");
    auto& box = MemoWindow()->Control("Check1");
    EXPECT_TRUE(box.visible);
    EXPECT_EQ(box.value, 0);
    EXPECT_EQ(box.place, (Rect{87, 18, 192, 35}));
    EXPECT_EQ(box.text, "今後表示しない");
    EXPECT_FALSE(form().MemoMenuEnabled());
    EXPECT_EQ(MemoWindow()->topmostCalls, 1);
    // The drag corner.
    FakeShaper* corner = sys.ui.shapers.back();
    EXPECT_TRUE(corner->visible && corner->shaped);
    EXPECT_EQ(corner->surfaceWidth, 80);
    EXPECT_EQ(corner->surfaceHeight, 33);
    EXPECT_EQ(BaseName(sys.pictures.loaded.back()), "TP.bmp");

    // Closed unticked: "0", the sample comes again; ticked: "1", it does not.
    const std::string sampleBefore = dir.Read("Sample.rtf");
    MemoWindow()->Control("picClose").Click();
    EXPECT_EQ(MemoWindow(), nullptr);
    EXPECT_EQ(Get("起動時のSample.rtf"), "0");
    EXPECT_TRUE(form().MemoMenuEnabled());
    EXPECT_EQ(dir.Read("Sample.rtf"), sampleBefore) << "the sample is never written";
    app.memos().ShowMemoWindow();
    MemoWindow()->Control("Check1").Click();
    MemoWindow()->Control("picClose").Click();
    EXPECT_EQ(Get("起動時のSample.rtf"), "1");
}

// Closed, the window is kept hidden, and the next opening shows it again as
// a new one would start: the box holds what this opening loads, in the memo
// font, the check box is there for the sample only, and the face and outline
// are made again only for another corner.
TEST_F(MemoTest, AClosedWindowIsShownAgainAsANewOneWouldStart) {
    PutMemo("20261208.rtf", "今日の予定");
    ASSERT_FALSE(Start());  // the sample
    FakeWindow* kept = MemoWindow();
    ASSERT_NE(kept, nullptr);
    kept->Control("Check1").Click();
    kept->Control("picClose").Click();
    ASSERT_EQ(Get("起動時のSample.rtf"), "1");
    const struct {
        const char* what;
        int clockLeft;
        bool today;        // today's memo, else neither it nor the sample
        const char* text;  // the box at the opening
        bool pictureLoaded;
        const char* typed;
    } rows[] = {
        {"neither a memo nor the sample", 0, false, "", false, "新しい"},
        {"today's memo", 0, true, "今日の予定", false, "追記"},
        {"today's memo in the other corner", 1024 - 66, true, "今日の予定追記", true, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        form().Move(row.clockLeft * 15LL, 0);
        const std::size_t windows = sys.ui.windows.size(), pictures = sys.pictures.loaded.size(),
                          messages = sys.ui.messages.size();
        program.MemoPath = "";
        ASSERT_FALSE(Ends([&] { row.today ? app.memos().ShowTodayMemo() : app.memos().ShowMemoWindow(); }));
        ASSERT_EQ(MemoWindow(), kept);
        EXPECT_TRUE(kept->visible);
        EXPECT_EQ(sys.ui.windows.size(), windows) << "no window made again";
        EXPECT_EQ(sys.pictures.loaded.size(), pictures + (row.pictureLoaded ? 1 : 0));
        EXPECT_EQ(Text().text, row.text);
        EXPECT_EQ(Text().font.face, "ＭＳ Ｐゴシック");
        EXPECT_FALSE(kept->Control("Check1").visible);
        Text().Type(row.typed);
        kept->Control("picClose").Click();
        EXPECT_EQ(MemoWindow(), nullptr);
        EXPECT_FALSE(kept->visible);
        // What was typed with no file to go to is not taken for the sample
        // the window showed before: the user is told where it went.
        EXPECT_EQ(sys.ui.messages.size(), messages + (row.today || !*row.typed ? 0 : 1));
        EXPECT_EQ(Get("起動時のSample.rtf"), "1");
    }
    EXPECT_EQ(MemoText("20261208.rtf"), "今日の予定追記");
}

TEST_F(MemoTest, TodaysMemoAtStartByAutoShowAndExitDate) {
    struct Case {
        const char* autoShow;
        const char* exitDate;  // nullptr: no key
        bool shown;
    } cases[] = {{"1", "20261208", true}, {"2", nullptr, true}, {"2", "20261207", true},
                 {"2", "20261208", false}, {"0", nullptr, false}};
    for (const Case& c : cases) {
        TempFolder other;
        FakeSystem s{other.ProgramPath()};
        std::filesystem::copy(dir.Path(), other.Path(), std::filesystem::copy_options::recursive);
        s.clock.SetDay(2026, 12, 8);
        Put(other.Path() / "Tickdata" / "20261208.rtf", TextToRtf("会議 10時"));
        SettingsFile settings(s.files, s.codePage, other.ProgramPath() + "\\Morix.ini");
        settings.WriteValue("起動時のSample.rtf", "1");
        settings.WriteValue("自動表示", c.autoShow);
        if (c.exitDate) settings.WriteValue("終了時の日付", c.exitDate);
        Program p{s.platform};
        ASSERT_FALSE(Ends([&] { p.Main(); }));
        FakeWindow* memo = s.ui.FindWindow("Morix - 備忘録");
        EXPECT_EQ(memo != nullptr, c.shown) << c.autoShow << " " << (c.exitDate ? c.exitDate : "-");
        if (memo) EXPECT_EQ(memo->RichText("txtMsg").text, "会議 10時");
    }
}

TEST_F(MemoTest, ZeroByteMemoOpensEmptyAndTypingMakesItRtf) {
    Put(Memo("20261208.rtf"), "");
    SampleDone();
    ASSERT_FALSE(Start());
    ASSERT_NE(MemoWindow(), nullptr);
    EXPECT_EQ(Text().text, "");
    EXPECT_FALSE(MemoWindow()->Control("Check1").visible);
    Text().Type("牛乳を買う");
    MemoWindow()->Control("picClose").Click();
    EXPECT_EQ(dir.Read("Tickdata/20261208.rtf").substr(0, 5), "{\\rtf");
    EXPECT_EQ(MemoText("20261208.rtf"), "牛乳を買う");
}

TEST_F(MemoTest, EveryWayOfClosingSaves) {
    const std::vector<std::pair<const char*, std::function<bool(MemoTest&)>>> ways = {
        {"close picture", [](MemoTest& t) { t.MemoWindow()->Control("picClose").Click(); return false; }},
        {"the menu opening", [](MemoTest& t) { return t.Ends([&] { t.window().MouseUp(MouseButton::Right); }); }},
        {"menu 終了", [](MemoTest& t) { return t.ChooseFromMenu(menu::End); }},
        {"closed from outside", [](MemoTest& t) { return t.Ends([&] { t.window().CloseBox(); }); }},
        {"end of session", [](MemoTest& t) { return t.Ends([&] { t.sys.ui.Raise(t.window().onEndSession); }); }},
        {"midnight", [](MemoTest& t) {
             t.Set("自動表示", "2");
             t.sys.clock.Set(23, 59, 59);
             if (t.Tick()) return true;
             t.sys.clock.Advance(1);
             return t.Tick();
         }},
        {"a prompt answered No", [](MemoTest& t) {
             t.sys.ui.messageAnswers = {platform::MessageAnswer::No};
             std::filesystem::remove(t.dir.Path() / "Design" / "Tidewalk" / "00.avi");
             t.sys.clock.Set(10, 0, 0);
             return t.Tick();
         }},
    };
    for (const auto& [name, close] : ways) {
        Row t;
        t.OpenToday("朝");
        t.Text().Type("、昼");
        const bool ended = close(t);
        EXPECT_EQ(t.MemoText("20261208.rtf"), "朝、昼") << name;
        // The menu item waits for the memo window (midnight opens the day's memo again).
        if (!ended) EXPECT_EQ(t.form().MemoMenuEnabled(), !t.program.MemoWindowOpen) << name;
    }
}

TEST_F(MemoTest, PickerCreatesOrOpensTheDaysMemoBesideTheClock) {
    SampleDone();
    ASSERT_FALSE(Start());
    ASSERT_FALSE(ChooseFromMenu(menu::Add));
    ASSERT_NE(Picker(), nullptr);
    EXPECT_TRUE(program.MemoPickerOpen);
    EXPECT_FALSE(window().enabled) << "the clock takes no input";
    auto& calendar = Picker()->DateTime("MonthView1");
    EXPECT_EQ(calendar.value.day, 8);
    EXPECT_EQ(calendar.place, (Rect{8, 28, 167, 176}));
    EXPECT_EQ(Picker()->Control("cmdCancel").text, "ｷｬﾝｾﾙ");
    const Rect clock = window().Bounds(), picker = Picker()->Bounds();
    EXPECT_EQ(picker.left, clock.right);
    EXPECT_EQ(picker.top, clock.top);
    EXPECT_EQ(picker.Width(), 176 + 2 * FakeWindow::FrameWidth);

    // A day without a memo: an empty file is made and opened.
    calendar.Pick({2026, 12, 24});
    EXPECT_TRUE(Picker()->Control("cmdOK").focused);
    Picker()->Control("cmdOK").Click();
    EXPECT_EQ(Picker(), nullptr);
    EXPECT_FALSE(program.MemoPickerOpen);
    EXPECT_TRUE(window().enabled);
    EXPECT_EQ(dir.Read("Tickdata/20261224.rtf"), "");
    ASSERT_NE(MemoWindow(), nullptr);
    EXPECT_EQ(Text().fileName, program.MemoPath);

    // A day with a memo: opened as it is. Esc and the close box cancel.
    MemoWindow()->Control("picClose").Click();
    PutMemo("20270105.rtf", "新年会");
    const std::string before = dir.Read("Tickdata/20270105.rtf");
    ASSERT_FALSE(ChooseFromMenu(menu::Add));
    Picker()->DateTime("MonthView1").Pick({2027, 1, 5});
    Picker()->Control("cmdOK").Click();
    EXPECT_EQ(Text().text, "新年会");
    EXPECT_EQ(dir.Read("Tickdata/20270105.rtf"), before);
    MemoWindow()->Control("picClose").Click();
    ASSERT_FALSE(ChooseFromMenu(menu::Add));
    Picker()->PressEsc();
    EXPECT_EQ(Picker(), nullptr);
    ASSERT_FALSE(ChooseFromMenu(menu::Add));
    Picker()->CloseBox();
    EXPECT_EQ(Picker(), nullptr);
    EXPECT_TRUE(window().enabled);
    EXPECT_EQ(MemoWindow(), nullptr);
}

// The days of the three months the calendar shows (in part) that have a memo
// are bold, asked again for the month the user goes to; names that are no
// date count for no day. The date and time dialog's calendar has none.
TEST_F(MemoTest, ThePickerShowsTheDaysThatHaveAMemoInBold) {
    for (auto name : {"20261203.rtf", "20261225 old.rtf", "20261130.rtf", "20270115.rtf", "20270215.rtf", "2026120.rtf",
                      "20261232.rtf", "notes.rtf"})
        PutMemo(name, "x");
    SampleDone();
    Set("自動削除", "0");
    ASSERT_FALSE(Start());
    ASSERT_FALSE(ChooseFromMenu(menu::Add));
    auto bold = [&] {
        std::vector<int> days;
        for (auto d : Picker()->DateTime("MonthView1").boldDays) days.push_back(d.year * 10000 + d.month * 100 + d.day);
        std::sort(days.begin(), days.end());
        return days;
    };
    EXPECT_EQ(bold(), (std::vector<int>{20261130, 20261203, 20261225, 20270115}));
    Picker()->DateTime("MonthView1").GoToMonth({2027, 2, 1});
    EXPECT_EQ(bold(), (std::vector<int>{20270115, 20270215}));
    Picker()->PressEsc();
    ASSERT_FALSE(ChooseFromMenu(menu::Nitiji));
    EXPECT_EQ(sys.ui.FindWindow("日付と日時の変更")->DateTime("MonthView1").kind, platform::DateTimeKind::Calendar);
}

TEST_F(MemoTest, PickerNearTheRightAndBottomEdges) {
    SampleDone();
    ASSERT_FALSE(Start());
    form().Move((1024 - 66) * 15LL, (768 - 22) * 15LL);
    ASSERT_FALSE(ChooseFromMenu(menu::Add));
    const Rect picker = Picker()->Bounds();
    EXPECT_EQ(picker.right, 1024 - 66) << "left of the clock";
    EXPECT_EQ(picker.bottom, 768) << "up to end at the screen's bottom";
}

TEST_F(MemoTest, DraggedClockTakesTheMemoWindowToItsCorner) {
    OpenToday("メモ");
    struct Case {
        int left, top;
        const char* picture;
        Rect expected;
    } cases[] = {{1024 - 66, 0, "MsgLD.gif", {1024 - 66 - 280, 0, 1024 - 66, 140}},
                 {1024 - 66, 768 - 22, "MsgLU.gif", {1024 - 66 - 280, 768 - 22 - 120, 1024 - 66, 768 - 22 + 20}},
                 {0, 768 - 22, "MsgRU.gif", {66, 768 - 22 - 120, 346, 768 - 22 + 20}},
                 {0, 0, "MsgRD.gif", {66, 0, 346, 140}}};
    for (const Case& c : cases) {
        shaper().visible = true;
        program.DragMode = true;
        window().Move(c.left, c.top, 66, 22);
        ASSERT_FALSE(Ends([&] { shaper().RightClick(); }));
        EXPECT_EQ(MemoWindow()->Bounds(), c.expected) << c.picture;
        EXPECT_EQ(BaseName(sys.pictures.loaded.back()), c.picture);
    }
}

TEST_F(MemoTest, TheInformationBalloonHidesTheMemoWindowMeanwhile) {
    OpenToday("メモ");
    Text().Type("追記");
    sys.desktop.cursor = {window().Bounds().left + 5, window().Bounds().top + 5};
    ASSERT_FALSE(Tick());
    EXPECT_FALSE(MemoWindow()->visible);
    EXPECT_TRUE(program.MemoWindowOpen);
    sys.desktop.cursor = {0, 0};
    ASSERT_FALSE(Tick());
    EXPECT_TRUE(MemoWindow()->visible);
    EXPECT_EQ(Text().text, "メモ追記") << "hidden, not closed";
    EXPECT_EQ(Text().saves, 0);
}

TEST_F(MemoTest, SaveFailuresTellTheUserAndKeepTheText) {
    // The memo folder replaced by a plain file while the memo is open: it
    // cannot be made again.
    OpenToday("大事なこと");
    Text().Type("、忘れない");
    std::filesystem::remove_all(dir.Path() / "Tickdata");
    Put(dir.Path() / "Tickdata", "not a folder");
    MemoWindow()->Control("picClose").Click();
    ASSERT_EQ(sys.ui.messages.size(), 1u);
    const ShownMessage& m = sys.ui.messages[0];
    EXPECT_EQ(m.Flags(), 48);
    EXPECT_NE(m.text.find(dir.ProgramPath() + "\\Tickdata\\20261208.rtf"), std::string::npos) << m.text;
    const std::string copy = dir.ProgramPath() + "\\Recovered\\20261208-20261208-101520.rtf";
    EXPECT_NE(m.text.find(copy), std::string::npos) << m.text;
    EXPECT_EQ(RtfToText(dir.Read("Recovered/20261208-20261208-101520.rtf")), "大事なこと、忘れない");
    EXPECT_EQ(MemoWindow(), nullptr);
    EXPECT_TRUE(form().MemoMenuEnabled()) << "the other closing steps still happen";
    EXPECT_FALSE(program.MemoWindowOpen);

    // Not even the program folder takes the copy: the user's data folder does.
    TempFolder localData;
    sys.process.localData = localData.ProgramPath();
    std::filesystem::remove(dir.Path() / "Tickdata");
    std::filesystem::create_directories(dir.Path() / "Tickdata");
    PutMemo("20261208.rtf", "二度目");
    app.memos().ShowTodayMemo();
    std::filesystem::remove_all(dir.Path() / "Recovered");
    Put(dir.Path() / "Recovered", "");
    std::filesystem::remove_all(dir.Path() / "Tickdata");
    Put(dir.Path() / "Tickdata", "");
    app.memos().CloseMemoWindow();
    EXPECT_EQ(RtfToText(localData.Read("Morix/Recovered/20261208-20261208-101520.rtf")), "二度目");
}

// A memo window opened while another's failed save is being told (the
// extended options confirmed meanwhile show the memo again) keeps its open
// state: 終了 saves it.
TEST_F(MemoTest, AMemoOpenedBehindAFailedSavesMessageIsSavedAtTheExit) {
    PutMemo("20261208.rtf", "朝");
    SampleDone();
    ASSERT_FALSE(Start());
    ASSERT_FALSE(ChooseFromMenu(menu::Option2));
    ASSERT_FALSE(ChooseFromMenu(menu::Add));
    Picker()->Control("cmdOK").Click();
    Text().Type("、昼");
    std::filesystem::remove(Memo("20261208.rtf"));
    std::filesystem::create_directory(Memo("20261208.rtf"));  // the save fails
    sys.ui.whileMessageShown = [&](const ShownMessage&) {
        sys.ui.whileMessageShown = nullptr;
        std::filesystem::remove(Memo("20261208.rtf"));
        PutMemo("20261208.rtf", "朝");
        sys.ui.FindWindow("拡張オプション")->Control("cmdOK").Click();
        Text().Type("、夜");
    };
    MemoWindow()->Control("picClose").Click();
    EXPECT_TRUE(program.MemoWindowOpen);
    EXPECT_FALSE(form().MemoMenuEnabled());
    EXPECT_TRUE(ChooseFromMenu(menu::End));
    EXPECT_EQ(MemoText("20261208.rtf"), "朝、夜");
}

TEST_F(MemoTest, AMissingMemoFolderIsMadeWhenTheMemoIsSaved) {
    OpenToday("A");
    std::filesystem::remove_all(dir.Path() / "Tickdata");
    MemoWindow()->Control("picClose").Click();
    EXPECT_TRUE(sys.ui.messages.empty());
    EXPECT_EQ(MemoText("20261208.rtf"), "A");
}

TEST_F(MemoTest, AMemoThatCouldNotBeReadIsNeverOverwritten) {
    SampleDone();
    ASSERT_FALSE(Start());
    std::filesystem::create_directories(Memo("20261209.rtf"));  // a folder: it cannot be read as a file
    program.MemoPath = dir.ProgramPath() + "\\Tickdata\\20261209.rtf";
    app.memos().ShowMemoWindow();
    ASSERT_EQ(sys.ui.messages.size(), 1u);  // 75, and the user goes on
    EXPECT_TRUE(program.MemoWindowOpen);
    EXPECT_TRUE(MemoWindow()->visible) << "shown as far as it was built, its close picture in reach";
    app.memos().CloseMemoWindow();
    EXPECT_TRUE(std::filesystem::is_directory(Memo("20261209.rtf")));
    EXPECT_FALSE(program.MemoWindowOpen);
}

TEST_F(MemoTest, DeletingByHandGoesThroughTheFileDialogAndTheRecycleBin) {
    SampleDone();
    ASSERT_FALSE(Start());
    PutMemo("20261201.rtf", "古い");
    ASSERT_FALSE(ChooseFromMenu(menu::Del));  // cancelled: nothing happens
    ASSERT_EQ(sys.ui.fileDialogsShown.size(), 1u);
    EXPECT_EQ(sys.ui.fileDialogsShown[0].first, "テキストファイル (*.rtf)|*.rtf");
    EXPECT_EQ(sys.ui.fileDialogsShown[0].second, dir.ProgramPath() + "\\Tickdata");
    EXPECT_TRUE(sys.ui.recycled.empty());
    EXPECT_TRUE(sys.ui.messages.empty());
    sys.ui.fileDialogAnswers = {dir.ProgramPath() + "\\Tickdata\\20261201.rtf"};
    ASSERT_FALSE(ChooseFromMenu(menu::Del));
    EXPECT_EQ(sys.ui.recycled, (std::vector<std::string>{dir.ProgramPath() + "\\Tickdata\\20261201.rtf"}));
}

// The picker left open past midnight: the tick opens the new day's memo,
// and OK on the day still chosen saves that memo to its own file first.
TEST_F(MemoTest, PickerOkAcrossMidnightSavesEachMemoToTheFileItShows) {
    Set("自動表示", "2");
    PutMemo("20261208.rtf", "昨日");
    PutMemo("20261209.rtf", "今日");
    SampleDone();
    sys.clock.Set(23, 59, 59);
    ASSERT_FALSE(Start());
    ASSERT_FALSE(ChooseFromMenu(menu::Add));  // the menu closes the 8th's memo; the picker shows the 8th
    sys.clock.SetDay(2026, 12, 9);
    sys.clock.Set(0, 0, 0);
    ASSERT_FALSE(Tick());
    ASSERT_NE(MemoWindow(), nullptr);
    Text().Type("、追記");
    Picker()->Control("cmdOK").Click();
    EXPECT_EQ(MemoText("20261209.rtf"), "今日、追記");
    EXPECT_EQ(Text().text, "昨日");
    Text().Type("。");
    MemoWindow()->Control("picClose").Click();
    EXPECT_EQ(MemoText("20261208.rtf"), "昨日。");
    EXPECT_EQ(MemoText("20261209.rtf"), "今日、追記");
}

// An error that nothing handled ends the program; the open memo is saved
// first, and a save that fails as well does not keep the program alive.
TEST_F(MemoTest, AnErrorNothingHandledSavesTheOpenMemoBeforeTheEnd) {
    for (const bool folderGone : {false, true}) {
        Row t;
        t.OpenToday("朝");
        t.Text().Type("、昼");
        if (folderGone) {
            std::filesystem::remove_all(t.dir.Path() / "Tickdata");
            Put(t.dir.Path() / "Tickdata", "");
            Put(t.dir.Path() / "Recovered", "");
        }
        EXPECT_TRUE(t.Ends([&] { t.sys.ui.Raise([] { Raise(err::Overflow); }); })) << folderGone;
        ASSERT_FALSE(t.sys.ui.messages.empty());
        EXPECT_EQ(t.sys.ui.messages.back().text.rfind("実行時エラー '6'", 0), 0u);
        if (folderGone) {
            EXPECT_EQ(t.sys.ui.messages.size(), 2u) << "the failed save is told, then the error";
        } else {
            EXPECT_EQ(t.MemoText("20261208.rtf"), "朝、昼");
        }
    }
}

// The picker cannot make the day's memo: the prompt says why, with the path,
// and no memo window opens.
TEST_F(MemoTest, PickerOkWhereTheMemoCannotBeMadeSaysWhy) {
    struct Case {
        const char* what;
        std::function<void(MemoTest&)> breakIt;
        const char* path;
        const char* reason;
    };
    const std::vector<Case> cases{
        {"the memo folder is a file", [](MemoTest& t) {
             std::filesystem::remove_all(t.dir.Path() / "Tickdata");
             Put(t.dir.Path() / "Tickdata", "");
         }, "\\Tickdata", "パスが見つかりません。"},
        {"the day's memo is a folder", [](MemoTest& t) { std::filesystem::create_directories(t.Memo("20261224.rtf")); },
         "\\Tickdata\\20261224.rtf", "パス名が無効です。"},
    };
    for (const Case& c : cases) {
        Row t;
        t.SampleDone();
        ASSERT_FALSE(t.Start());
        c.breakIt(t);
        ASSERT_FALSE(t.ChooseFromMenu(menu::Add));
        t.Picker()->DateTime("MonthView1").Pick({2026, 12, 24});
        ASSERT_FALSE(t.Ends([&] { t.Picker()->Control("cmdOK").Click(); })) << c.what;
        ASSERT_EQ(t.sys.ui.messages.size(), 1u) << c.what;
        const ShownMessage& shown = t.sys.ui.messages[0];
        EXPECT_EQ(shown.Flags(), 36) << c.what;
        EXPECT_NE(shown.text.find(t.dir.ProgramPath() + c.path), std::string::npos) << shown.text;
        EXPECT_EQ(shown.text.rfind(c.reason, 0), 0u) << shown.text;
        EXPECT_EQ(t.MemoWindow(), nullptr) << c.what;
        EXPECT_FALSE(t.program.MemoWindowOpen) << c.what;
    }
}

// A memo looked at and closed is not written: its bytes stay as they were,
// whatever its form.
TEST_F(MemoTest, AMemoClosedUneditedIsNotRewritten) {
    for (const std::string& bytes : {TextToRtf("書いたまま"), std::string("plain text\r\n"), std::string()}) {
        Row t;
        Put(t.Memo("20261208.rtf"), bytes);
        t.SampleDone();
        ASSERT_FALSE(t.Start());
        ASSERT_NE(t.MemoWindow(), nullptr);
        t.MemoWindow()->Control("picClose").Click();
        EXPECT_EQ(t.dir.Read("Tickdata/20261208.rtf"), bytes);
    }
}

// A memo file that cannot be read (another program holds it) is never
// overwritten by what the window holds instead; the text typed there goes to
// a recovery copy.
TEST_F(MemoTest, AMemoFileThatCouldNotBeReadIsNeverOverwritten) {
    PutMemo("20261208.rtf", "他のプログラムが開いている");
    const std::string before = dir.Read("Tickdata/20261208.rtf");
    sys.ui.lockedFiles = {dir.ProgramPath() + "\\Tickdata\\20261208.rtf"};
    SampleDone();
    ASSERT_FALSE(Start());
    ASSERT_EQ(sys.ui.messages.size(), 1u);  // 75, and the user goes on
    ASSERT_NE(MemoWindow(), nullptr);
    Text().Type("書き足し");
    MemoWindow()->Control("picClose").Click();
    EXPECT_EQ(dir.Read("Tickdata/20261208.rtf"), before);
    EXPECT_EQ(RtfToText(dir.Read("Recovered/20261208-20261208-101520.rtf")), "書き足し");
}

// What the memo window can open in a second opens; a larger memo is not
// opened at all, the user is told, and the file stays as it was.
TEST_F(MemoTest, AMemoTooLargeToOpenInASecondIsNotOpened) {
    const std::string line = sys.codePage.ToAnsi("午前十時から第二会議室で週次の打ち合わせ。\r\n");
    const auto repeat = Repeat;
    // Many of its second bytes are in the ASCII range.
    const std::string japanese = sys.codePage.ToAnsi("午前十時からデータベースのバックアップ。");
    const std::string rtfText = "\\'8c\\'df\\'91\\'4f\\'8f\\'5c\\'8e\\'9e\\'82\\'a9\\'82\\'e7";
    const std::string rtfLine = rtfText + "\\par\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        bool opens;
    };
    const std::vector<Case> cases{
        {"1 MB of RTF", "{\\rtf1\\ansi\\ansicpg932 " + repeat(rtfLine, 1 << 20) + "}", true},
        {"1 MB of text in lines", repeat(line, 1 << 20), true},
        {"1.5 MB of text in lines", repeat(line, 1536 << 10), false},
        {"48 kB in one ASCII word", std::string(48 << 10, 'a'), false},
        {"128 kB of Japanese in one line", repeat(japanese, 128 << 10), true},
        {"100 kB of RTF in one Japanese paragraph", "{\\rtf1\\ansi\\ansicpg932 " + repeat(rtfText, 100 << 10) + "}", true},
        {"768 kB of ASCII words in one line", repeat("Meeting at ten in room two. ", 768 << 10), true},
        {"1 MB of ASCII words in one line", repeat("Meeting at ten in room two. ", 1 << 20), false},
        {"1 MB of ASCII lines", repeat("Meeting at ten in room two.\r\n", 1 << 20), true},
        {"1.5 MB of ASCII lines", repeat("Meeting at ten in room two.\r\n", 1536 << 10), false},
    };
    for (const Case& c : cases) {
        Row t;
        Put(t.Memo("20261208.rtf"), c.bytes);
        t.SampleDone();
        ASSERT_FALSE(t.Start()) << c.what;
        EXPECT_EQ(t.MemoWindow() != nullptr, c.opens) << c.what;
        EXPECT_EQ(t.sys.ui.messages.empty(), c.opens) << c.what;
        if (!c.opens) {
            // Which file, and how large.
            const std::string& said = t.sys.ui.messages[0].text;
            EXPECT_NE(said.find("大きすぎる"), std::string::npos) << c.what;
            EXPECT_NE(said.find(t.dir.ProgramPath() + "\\Tickdata\\20261208.rtf"), std::string::npos) << said;
            EXPECT_NE(said.find("（" + std::to_string(c.bytes.size() / 1024) + " KB）"), std::string::npos) << said;
            EXPECT_FALSE(t.program.MemoWindowOpen) << c.what;
        }
        ASSERT_FALSE(t.Ends([&] { t.app.memos().CloseMemoWindow(); }));
        EXPECT_EQ(t.dir.Read("Tickdata/20261208.rtf"), c.bytes) << c.what;
    }
}

// Typed or pasted past what another program's file may hold, a memo the
// window saved opens at the next start all the same.
TEST_F(MemoTest, WhatTheWindowSavedOpensAgainWhateverItsSize) {
    for (const std::string& typed : {Repeat("午前十時から第二会議室で週次の打ち合わせ。\r\n", 1536 << 10),
                                     Repeat("Meeting at ten in room two.\r\n", 4 << 20), std::string(100 << 10, 'a')}) {
        Row t, next;
        t.OpenToday("");
        t.Text().Type(typed);
        t.MemoWindow()->Control("picClose").Click();
        const std::string saved = t.dir.Read("Tickdata/20261208.rtf");
        ASSERT_GT(MemoOpeningCost(saved), MemoOpeningLimitMs) << "refused, were it another program's";
        Put(next.Memo("20261208.rtf"), saved);
        next.SampleDone();
        ASSERT_FALSE(next.Start());
        ASSERT_NE(next.MemoWindow(), nullptr);
        EXPECT_EQ(next.Text().text, typed);
    }
}

}  // namespace
}  // namespace morix::test
