// The date and time dialog over the simulated clock: what OK sets and in
// which order, the refusals, and the re-creation of the clock window; without
// the right to change the time, the helper started through the elevation
// prompt and each of its answers.
#include "datetime/SetTimeMessage.h"
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::SetTimeOutcome;
using platform::SetTimeResult;

class DateTimeTest : public ClockTest {
protected:
    // The process holds the right to change the time (run as administrator)
    // unless a test says otherwise.
    void SetUp() override {
        SampleDone();
        Set("アクティブウインドウへの移動", "0");
        sys.clock.timeRight = true;
        ASSERT_FALSE(Start());
        Open();
    }
    void Open() {
        sys.ui.menuChoices = {menu::Nitiji};
        ASSERT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
        ASSERT_NE(Dialog(), nullptr);
    }
    FakeWindow* Dialog() { return sys.ui.FindWindow("日付と日時の変更"); }
};

TEST_F(DateTimeTest, OpensOnTodayAndNowWithTheClockDisabled) {
    FakeWindow& d = *Dialog();
    EXPECT_TRUE(program.DateTimeOpen);
    EXPECT_FALSE(window().enabled);
    EXPECT_EQ(d.DateTime("MonthView1").value, (platform::LocalTime{2026, 12, 8, 10, 15, 20}));
    EXPECT_EQ(d.DateTime("DTPicker1").value.hour, 10);
    EXPECT_EQ(d.DateTime("DTPicker1").place, (platform::Rect{8, 164, 165, 185}));
    EXPECT_EQ(d.Control("cmdCancel").text, "キャンセル");
    EXPECT_EQ(d.Bounds().left, window().Bounds().right);
    EXPECT_EQ(d.topmostCalls, 1);
    EXPECT_FALSE(d.Control("cmdOK").shield) << "the process may set the time itself";
}

TEST_F(DateTimeTest, OkSetsTheDateThenThePickersTimeAndRecreatesTheClock) {
    const platform::WindowHandle clock = window().handle;
    Dialog()->DateTime("MonthView1").Pick({2027, 1, 5, 0, 0, 0});
    // The time is the picker's as it stands, here the time of the opening.
    sys.clock.Set(10, 16, 45);
    Dialog()->Control("cmdOK").Click();
    EXPECT_EQ(sys.clock.sets, (std::vector<std::string>{"date 2027-1-5", "time 10:15:20"}));
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_FALSE(program.DateTimeOpen);
    EXPECT_NE(window().handle, clock) << "a new clock window";
    EXPECT_TRUE(window().enabled);
    EXPECT_FALSE(program.Reloading);
    EXPECT_EQ(Get("終了時の日付"), "<missing>") << "the re-creation is no exit";
}

TEST_F(DateTimeTest, RefusalsStopTheSequenceAndSaySo) {
    const char* inputFault = "半角文字で正しく入力してください！";
    const std::string rights = CouldNotSetTimeText({SetTimeResult::Denied, 0});
    struct Case {
        std::deque<SetTimeResult> results;
        std::vector<std::string> sets;
        std::string text, title;
    } cases[] = {
        {{SetTimeResult::Failed}, {"date 2027-1-5"}, inputFault, "入力ミス"},
        // The user's rights are no fault of the input.
        {{SetTimeResult::Denied}, {"date 2027-1-5"}, rights, "Morix"},
        {{SetTimeResult::Done, SetTimeResult::Failed}, {"date 2027-1-5", "time 10:15:20"}, inputFault, "入力ミス"},
        {{SetTimeResult::Done, SetTimeResult::Denied}, {"date 2027-1-5", "time 10:15:20"}, rights, "Morix"},
    };
    FakeWindow* clock = &window();
    for (const Case& c : cases) {
        sys.clock.sets.clear();
        sys.clock.setResults = c.results;
        sys.clock.SetDay(2026, 12, 8);
        Dialog()->DateTime("MonthView1").Pick({2027, 1, 5, 0, 0, 0});
        Dialog()->Control("cmdOK").Click();
        EXPECT_EQ(sys.clock.sets, c.sets);
        ASSERT_FALSE(sys.ui.messages.empty());
        const ShownMessage& m = sys.ui.messages.back();
        EXPECT_EQ(m.text, c.text);
        EXPECT_EQ(m.title, c.title);
        EXPECT_EQ(m.Flags(), 48);
        EXPECT_NE(Dialog(), nullptr) << "the dialog stays open";
        EXPECT_EQ(&window(), clock) << "no re-creation";
    }
    EXPECT_EQ(sys.clock.now.year, 2027) << "a date set before the time was refused stays set";
}

// Without the right, as an everyday token has it: OK carries the shield,
// starts the helper with the chosen date and time and the moment of the
// choice, and the dialog waits disabled while the clock goes on.
TEST_F(DateTimeTest, WithoutTheRightTheHelperSetsTheTimeOrTheUserHearsWhyNot) {
    struct Case {
        SetTimeOutcome answer;
        bool recreated;
        std::string message;  // "" for none
    } cases[] = {
        {{SetTimeResult::Done, 0}, true, ""},
        {{SetTimeResult::Declined, 1223}, false, ""},
        {{SetTimeResult::Denied, 1314},
         false,
         "日付と時刻を変更できませんでした。\r\nシステムが変更を許可しませんでした（エラー 1314）。\r\n"
         "時計はこれまでの時刻のまま動いています。"},
        {{SetTimeResult::NotStarted, 2},
         false,
         "日付と時刻を変更できませんでした。\r\n変更のためのプログラム MorixSetTime.exe を起動できませんでした"
         "（エラー 2）。\r\n時計はこれまでの時刻のまま動いています。"},
        {{SetTimeResult::Failed, 87},
         false,
         "日付と時刻を変更できませんでした。\r\nシステムが変更に失敗しました（エラー 87）。\r\n"
         "時計はこれまでの時刻のまま動いています。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer.result));
        if (Dialog() != nullptr) Dialog()->Control("cmdCancel").Click();
        sys.clock.timeRight = false;
        sys.clock.now = {2026, 12, 8, 10, 15, 20};
        sys.clock.helperStarts.clear();
        sys.ui.messages.clear();
        Open();
        FakeWindow& d = *Dialog();
        EXPECT_TRUE(d.Control("cmdOK").shield);
        d.DateTime("MonthView1").Pick({2027, 1, 5, 0, 0, 0});
        d.DateTime("DTPicker1").Pick({0, 0, 0, 9, 4, 3});
        const std::uint64_t pressedAt = sys.clock.tickCountMs;
        const platform::WindowHandle clock = window().handle;
        const int writes = sys.files.writes;
        d.Control("cmdOK").Click();
        ASSERT_EQ(sys.clock.helperStarts.size(), 1u);
        EXPECT_EQ(sys.clock.helperStarts[0].request,
                  (platform::TimeRequest{{2027, 1, 5, 9, 4, 3}, pressedAt}));
        EXPECT_EQ(sys.clock.helperStarts[0].owner, d.handle) << "the prompt belongs to the dialog";
        EXPECT_TRUE(sys.clock.sets.empty()) << "the process does not try what it may not";
        EXPECT_FALSE(d.enabled) << "the dialog waits for the answer";
        // The prompt stands 7 seconds; the clock goes on meanwhile.
        sys.clock.Advance(7);
        sys.Tick();
        EXPECT_EQ(window().handle, clock);
        sys.AnswerTimeHelper(c.answer);
        EXPECT_EQ(sys.files.writes, writes) << "nothing written for the answer";
        if (c.recreated) {
            EXPECT_EQ(Dialog(), nullptr);
            EXPECT_NE(window().handle, clock) << "a new clock window";
            EXPECT_EQ(sys.clock.now, (platform::LocalTime{2027, 1, 5, 9, 4, 10})) << "the time the prompt stood counts";
            EXPECT_TRUE(sys.ui.messages.empty());
            continue;
        }
        ASSERT_NE(Dialog(), nullptr) << "the dialog stays for another try";
        EXPECT_TRUE(Dialog()->enabled);
        EXPECT_EQ(window().handle, clock) << "no re-creation";
        EXPECT_EQ(sys.clock.now.year, 2026) << "the time is as it was";
        if (c.message.empty()) {
            EXPECT_TRUE(sys.ui.messages.empty());
        } else {
            ASSERT_EQ(sys.ui.messages.size(), 1u);
            EXPECT_EQ(sys.ui.messages[0].text, c.message);
            EXPECT_EQ(sys.ui.messages[0].title, "Morix");
            EXPECT_EQ(sys.ui.messages[0].Flags(), 48);
        }
    }
}

// The clock exits while the prompt stands: the answer finds no dialog.
TEST_F(DateTimeTest, AnAnswerAfterTheDialogIsGoneIsDropped) {
    Dialog()->Control("cmdCancel").Click();
    sys.clock.timeRight = false;
    Open();
    Dialog()->Control("cmdOK").Click();
    ASSERT_EQ(sys.clock.helperStarts.size(), 1u);
    app.dateTime().CloseDateTime();
    sys.AnswerTimeHelper({SetTimeResult::Denied, 1314});
    EXPECT_TRUE(sys.ui.messages.empty());
    EXPECT_EQ(Dialog(), nullptr);
}

TEST_F(DateTimeTest, CancelAndTheCloseBoxChangeNothing) {
    FakeWindow* clock = &window();
    Dialog()->PressEsc();
    EXPECT_EQ(Dialog(), nullptr);
    sys.ui.menuChoices = {menu::Nitiji};
    ASSERT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
    Dialog()->CloseBox();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_TRUE(sys.clock.sets.empty());
    EXPECT_EQ(&window(), clock);
    EXPECT_TRUE(window().enabled);
    EXPECT_FALSE(program.Reloading);
}

TEST_F(DateTimeTest, NearTheRightEdgeItOpensLeftOfTheClock) {
    Dialog()->Control("cmdCancel").Click();
    form().Move((1024 - 66) * 15LL, 300 * 15LL);
    sys.ui.menuChoices = {menu::Nitiji};
    ASSERT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
    EXPECT_EQ(Dialog()->Bounds().right, 1024 - 66);
    EXPECT_EQ(Dialog()->Bounds().top, 300);
}

}  // namespace
}  // namespace morix::test
