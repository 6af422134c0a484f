// The alarms dialog from the menu: made by clicks and keys, stored at OK,
// refused by name with what was typed kept, an unreadable line kept until
// deleted, and the clock disabled meanwhile.
#include "clock/Form1.h"
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

class AlarmDialogTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        Set("アクティブウインドウへの移動", "0");
        std::filesystem::create_directories(dir.Path() / "Sound");
        Put(dir.Path() / "Sound" / "bell.mid", "MThd");
        Put(dir.Path() / "Sound" / "lt37xga.mid", "MThd");
        ASSERT_FALSE(Start());
    }
    FakeWindow& Open() {
        sys.ui.menuChoices.push_back(menu::Alarm);
        EXPECT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
        FakeWindow* w = sys.ui.FindWindow("アラーム");
        if (!w) throw std::logic_error("no alarm dialog");
        return *w;
    }
    bool Click(FakeWindow& w, const char* name) {
        return Ends([&] { w.Control(name).Click(); });
    }
    void Type(FakeWindow& w, const char* name, std::string_view text) { w.Control(name).Type(text); }
};

TEST_F(AlarmDialogTest, MadeByClicksAndKeysStoredAtOKAndRung) {
    FakeWindow& w = Open();
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(sys.ui.active, &w);
    EXPECT_FALSE(window().enabled) << "the clock takes no input meanwhile";
    EXPECT_EQ(w.bounds.left, window().Bounds().right);
    EXPECT_FALSE(w.Control("cmdDelete").enabled);
    Click(w, "cmdAdd");
    EXPECT_EQ(w.Control("txtHour").text, "10");
    EXPECT_EQ(w.Control("txtMinute").text, "15");
    Type(w, "txtMinute", "17");
    Click(w, "optRepeat(2)");
    Click(w, "chkDay(1)");  // 火: the 8th of December 2026 is a Tuesday
    w.List("lstSound").Pick("bell.mid");
    Type(w, "txtMessage", "会議の時間です");
    w.PressEnter();
    EXPECT_EQ(sys.ui.FindWindow("アラーム"), nullptr);
    EXPECT_TRUE(window().enabled);
    EXPECT_EQ(Get("アラーム1"), "1|10:17|曜日 火|bell.mid|会議の時間です");
    Log();
    for (int i = 0; i < 20; ++i) {
        sys.clock.Advance(5);
        ASSERT_FALSE(Tick());
    }
    ASSERT_NE(sys.ui.FindWindow("Morix - アラーム"), nullptr);
    EXPECT_EQ(sys.ui.FindWindow("Morix - アラーム")->Control("lblMessage").text, "10:17 会議の時間です");
}

TEST_F(AlarmDialogTest, WhatCannotBeStoredIsNamedAndTheDialogKeepsWhatWasTyped) {
    Set("アラーム1", "1|07:00|毎日|bell.mid|朝");
    FakeWindow& w = Open();
    Click(w, "cmdAdd");
    struct Row {
        const char* what;
        std::function<void()> enter;
        std::string message;
    } rows[] = {
        {"no weekday", [&] { Click(w, "optRepeat(2)"); },
         "アラーム 2（10:15） の「繰り返し」: 曜日が一つも選ばれていません。"},
        {"a past date", [&] { Click(w, "optRepeat(0)"), Type(w, "txtDate", "2026/12/07"); },
         "アラーム 2（10:15） の「日付」: 2026/12/07 10:15 はもう過ぎています。"},
        {"an hour of 24", [&] { Type(w, "txtHour", "24"); }, "アラーム 2 の「時」: 0 から 23 までの数を入れてください。"},
        {"a date not of the form", [&] { Click(w, "optRepeat(3)"), Type(w, "txtDate", "12月24日"); },
         "アラーム 2 の「日付」: 2026/12/24 のように入れてください。"},
        {"a character the file cannot hold", [&] { Type(w, "txtMessage", "お茶🍵"); },
         "アラーム 2（10:15） の「メッセージ」: 「🍵」は設定ファイルに保存できない文字です。"},
    };
    for (const Row& r : rows) {
        Type(w, "txtHour", "10");
        Click(w, "optRepeat(0)");
        Type(w, "txtDate", "2026/12/08");
        Click(w, "optRepeat(1)");
        Type(w, "txtMessage", "");
        r.enter();
        const std::string hour = w.Control("txtHour").text, message = w.Control("txtMessage").text;
        sys.ui.messages.clear();
        Click(w, "cmdOK");
        ASSERT_EQ(sys.ui.messages.size(), 1u) << r.what;
        EXPECT_EQ(sys.ui.messages[0].text, r.message) << r.what;
        EXPECT_EQ(sys.ui.FindWindow("アラーム"), &w) << r.what;
        EXPECT_EQ(w.List("lstAlarms").index, 1) << r.what;
        EXPECT_EQ(w.Control("txtHour").text, hour) << r.what;
        EXPECT_EQ(w.Control("txtMessage").text, message) << r.what;
        EXPECT_EQ(Get("アラーム2"), "<missing>") << r.what;
    }
    w.PressEsc();
    EXPECT_EQ(sys.ui.FindWindow("アラーム"), nullptr);
    EXPECT_EQ(Get("アラーム1"), "1|07:00|毎日|bell.mid|朝");
}

TEST_F(AlarmDialogTest, AnUnreadableLineIsListedAndGoesOnlyByDelete) {
    Set("アラーム1", "1|07:00|毎日|bell.mid|朝");
    Set("アラーム2", "壊れた|行");
    FakeWindow& w = Open();
    EXPECT_EQ(w.List("lstAlarms").items,
              (std::vector<std::string>{"オン  07:00  毎日  朝", "（読めない行）壊れた|行"}));
    w.List("lstAlarms").Pick("（読めない行）壊れた|行");
    EXPECT_FALSE(w.Control("txtHour").enabled);
    Click(w, "cmdOK");
    EXPECT_EQ(Get("アラーム2"), "壊れた|行");
    FakeWindow& again = Open();
    again.List("lstAlarms").Pick("（読めない行）壊れた|行");
    Click(again, "cmdDelete");
    Click(again, "cmdOK");
    EXPECT_EQ(Get("アラーム2"), "");
    EXPECT_EQ(Get("アラーム1"), "1|07:00|毎日|bell.mid|朝");
}

TEST_F(AlarmDialogTest, ThirtyAlarmsFitAndTheFieldsFollowTheRepetition) {
    FakeWindow& w = Open();
    for (int i = 0; i < 30; ++i) Click(w, "cmdAdd");
    EXPECT_FALSE(w.Control("cmdAdd").enabled);
    EXPECT_EQ(w.List("lstAlarms").Count(), 30);
    Click(w, "optRepeat(1)");
    EXPECT_FALSE(w.Control("chkDay(0)").enabled);
    EXPECT_FALSE(w.Control("txtDate").enabled);
    Click(w, "optRepeat(3)");
    EXPECT_TRUE(w.Control("txtEvery").enabled);
    EXPECT_TRUE(w.Control("txtDate").enabled);
    Log();
    Click(w, "cmdTest");
    EXPECT_EQ(Log(), (std::vector<std::string>{"Sound FileName lt37xga.mid", "Sound open", "Sound play"}));
    Click(w, "cmdOK");
    EXPECT_EQ(Get("アラーム30").substr(0, 8), "1|10:15|");
}

}  // namespace
}  // namespace morix::test
