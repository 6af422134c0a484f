// Alarms in the settings file: the line's form read back, an unreadable line
// kept in its place, and what cannot be stored as entered refused by name.
#include "alarm/AlarmStore.h"
#include "alarm/AlarmText.h"
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

class AlarmStoreTest : public ClockTest {};

TEST_F(AlarmStoreTest, LinesReadBackAsWritten) {
    const char* lines[] = {
        "1|07:30|毎日|lt37xga.mid|起きる時間です",
        "0|23:05|一度だけ 2027/02/28||ゴミ出し | 燃えるゴミ",
        "1|00:00|曜日 月水金|bell.mid|",
        "1|06:15|3日ごと 2026/12/10|lt37xga.mid|水やり",
    };
    for (const char* line : lines) {
        const std::optional<Alarm> a = ParseAlarm(line);
        ASSERT_TRUE(a) << line;
        EXPECT_EQ(FormatAlarm(*a), line);
    }
    const char* unreadable[] = {"1|7:30|毎日|x|m", "2|07:30|毎日|x|m", "1|24:00|毎日|x|m", "1|07:30|曜日 |x|m",
                                "1|07:30|0日ごと 2026/12/10|x|m", "1|07:30|一度だけ 2026/02/30|x|m", "1|07:30|毎週|x"};
    for (const char* line : unreadable) EXPECT_FALSE(ParseAlarm(line)) << line;
}

TEST_F(AlarmStoreTest, AnUnreadableLineIsKeptUntilDeleted) {
    Set("アラーム1", "1|07:30|毎日|lt37xga.mid|朝");
    Set("アラーム2", "壊れた行");
    Set("アラーム5", "1|12:00|曜日 土日|bell.mid|昼");
    SettingsFile settings = Settings();
    std::vector<AlarmEntry> entries = ReadAlarms(settings);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_FALSE(entries[1].alarm);
    EXPECT_EQ(entries[1].line, "壊れた行");
    EXPECT_FALSE(AlarmsOf(entries)[1].enabled);

    // The first deleted, one added, the last changed: the broken line stays
    // where it was, untouched.
    entries.erase(entries.begin());
    entries[1].alarm->minute = 30;
    Alarm added;
    added.message = "新しい";
    entries.push_back({0, added, ""});
    ASSERT_TRUE(WriteAlarms(settings, entries));
    EXPECT_EQ(Get("アラーム1"), "1|07:00|毎日||新しい");
    EXPECT_EQ(Get("アラーム2"), "壊れた行");
    EXPECT_EQ(Get("アラーム5"), "1|12:30|曜日 土日|bell.mid|昼");

    // Deleted by hand, it goes.
    entries.erase(entries.begin());
    ASSERT_TRUE(WriteAlarms(settings, entries));
    EXPECT_EQ(Get("アラーム2"), "");
    EXPECT_EQ(ReadAlarms(settings).size(), 2u);
}

TEST_F(AlarmStoreTest, WhatCannotBeStoredIsRefusedByName) {
    const platform::LocalTime now{2026, 12, 10, 10, 0, 0};
    Alarm weekdays;
    weekdays.repeat = AlarmRepeat::Weekdays;
    Alarm past;
    past.repeat = AlarmRepeat::Once, past.date = {2026, 12, 10}, past.hour = 9, past.minute = 59;
    Alarm pastButOff = past;
    pastButOff.enabled = false;
    Alarm future = past;
    future.hour = 10, future.minute = 1;
    Alarm emoji;
    emoji.message = "お茶🍵です";
    Alarm tooLong;
    tooLong.message = std::string(244, 'a');
    Alarm spaced;
    spaced.message = "会議 ";
    struct Row {
        const Alarm& alarm;
        std::optional<std::string> problem;
    } rows[] = {
        {weekdays, "アラーム 3（07:00） の「繰り返し」: 曜日が一つも選ばれていません。"},
        {past, "アラーム 3（09:59） の「日付」: 2026/12/10 09:59 はもう過ぎています。"},
        {pastButOff, std::nullopt},
        {future, std::nullopt},
        {emoji, "アラーム 3（07:00） の「メッセージ」: 「🍵」は設定ファイルに保存できない文字です。"},
        {tooLong, "アラーム 3（07:00） の「メッセージ」: 長すぎます（あと 3 バイト短くしてください）。"},
        {spaced, "アラーム 3（07:00） の「メッセージ」: 前後の空白は保存できません。"},
    };
    for (const Row& r : rows) EXPECT_EQ(AlarmProblem(r.alarm, 3, now, sys.codePage), r.problem);
}

}  // namespace
}  // namespace morix::test
