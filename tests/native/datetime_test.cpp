// The date and time dialog over the simulated clock: what OK sets and in
// which order, the refusals, and the re-creation of the clock window.
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::SetTimeResult;

class DateTimeTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        Set("アクティブウインドウへの移動", "0");
        ASSERT_FALSE(Start());
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
    struct Case {
        std::deque<SetTimeResult> results;
        std::vector<std::string> sets;
        const char* text;
    } cases[] = {
        {{SetTimeResult::Failed}, {"date 2027-1-5"}, "半角文字で正しく入力してください！"},
        {{SetTimeResult::Denied},
         {"date 2027-1-5"},
         "半角文字で正しく入力してください！\r\nこのユーザーには日付と時刻を変更する権限がありません。"},
        {{SetTimeResult::Done, SetTimeResult::Failed}, {"date 2027-1-5", "time 10:15:20"}, "半角文字で正しく入力してください！"},
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
        EXPECT_EQ(m.title, "入力ミス");
        EXPECT_EQ(m.Flags(), 48);
        EXPECT_NE(Dialog(), nullptr) << "the dialog stays open";
        EXPECT_EQ(&window(), clock) << "no re-creation";
    }
    EXPECT_EQ(sys.clock.now.year, 2027) << "a date set before the time was refused stays set";
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
