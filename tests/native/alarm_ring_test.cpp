// A due alarm on the running clock: its sound on the program's sound device,
// the alarm window beside the clock without the keyboard, the sound again
// each minute until answered, snooze and stop; missed ones told once.
#include "tests/native/ClockFixture.h"

#include <algorithm>

namespace morix::test {
namespace {

using Log_t = std::vector<std::string>;
const Log_t Bell{"Sound FileName bell.mid", "Sound open", "Sound play"};

class AlarmRingTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        Set("アクティブウインドウへの移動", "0");
        std::filesystem::create_directories(dir.Path() / "Sound");
        Put(dir.Path() / "Sound" / "bell.mid", "MThd");
    }
    FakeWindow* AlarmWindow() { return sys.ui.FindWindow("Morix - アラーム"); }
    // Ticks every `step` seconds up to h:m:s; the sound commands seen.
    Log_t RunTo(int h, int m, int s, int step = 5) {
        Log_t sounds;
        const auto secondsOf = [](const platform::LocalTime& t) { return t.hour * 3600 + t.minute * 60 + t.second; };
        while (secondsOf(sys.clock.now) < h * 3600 + m * 60 + s) {
            sys.clock.Advance(std::min(step, h * 3600 + m * 60 + s - secondsOf(sys.clock.now)));
            EXPECT_FALSE(Tick());
            for (const std::string& line : Log())
                if (line.starts_with("Sound")) sounds.push_back(line);
        }
        return sounds;
    }
    static int Plays(const Log_t& sounds) { return static_cast<int>(std::count(sounds.begin(), sounds.end(), "Sound play")); }
};

TEST_F(AlarmRingTest, RingsShowsBesideTheClockAndRepeatsFiveTimesAtMost) {
    Set("アラーム1", "1|10:17|毎日|bell.mid|会議の時間です");
    ASSERT_FALSE(Start());
    const FakeWindow* before = sys.ui.active;
    EXPECT_EQ(RunTo(10, 16, 59), Log_t{});
    EXPECT_EQ(AlarmWindow(), nullptr);
    EXPECT_EQ(RunTo(10, 17, 0), Bell);
    FakeWindow* w = AlarmWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->visible);
    EXPECT_GT(w->topmostCalls, 0);
    EXPECT_EQ(sys.ui.active, before) << "the keyboard stays where it was";
    EXPECT_EQ(w->Control("lblMessage").text, "10:17 会議の時間です");
    // Beside the clock, where a balloon goes: right of it, level with it.
    EXPECT_EQ(w->bounds.left, window().Bounds().right);
    EXPECT_EQ(w->bounds.top, window().Bounds().top);
    EXPECT_EQ(Get("アラームの確認時刻"), "202612081017");
    // Unanswered: again each minute, five plays in all.
    EXPECT_EQ(Plays(RunTo(10, 30, 0)), 4);
    EXPECT_TRUE(AlarmWindow()->visible);
    w->Control("cmdStop").Click();
    EXPECT_EQ(Log(), Log_t{"Sound stop"});
    EXPECT_TRUE(AlarmWindow() == nullptr || !AlarmWindow()->visible);
    EXPECT_EQ(Get("アラーム1"), "1|10:17|毎日|bell.mid|会議の時間です") << "a daily alarm stays on";
}

TEST_F(AlarmRingTest, SnoozeComesBackFiveMinutesLaterAndStopSwitchesAOnceAlarmOff) {
    Set("アラーム1", "1|10:17|一度だけ 2026/12/08|bell.mid|電話する");
    ASSERT_FALSE(Start());
    EXPECT_EQ(RunTo(10, 17, 1), Bell);
    RunTo(10, 17, 30);
    AlarmWindow()->Control("cmdSnooze").Click();
    EXPECT_EQ(Get("アラーム1"), "0|10:17|一度だけ 2026/12/08|bell.mid|電話する");
    EXPECT_EQ(RunTo(10, 21, 59), Log_t{"Sound stop"});
    EXPECT_EQ(RunTo(10, 22, 1), Bell);
    EXPECT_EQ(AlarmWindow()->Control("lblMessage").text, "10:22 電話する");
    AlarmWindow()->Control("cmdStop").Click();
    Log();
    EXPECT_EQ(Plays(RunTo(10, 40, 0)), 0);
    EXPECT_TRUE(AlarmWindow() == nullptr || !AlarmWindow()->visible);
}

TEST_F(AlarmRingTest, TheHoursChimeGivesWayToAnAlarmOfItsMinute) {
    Set("チャイムの鳴らし方", "1");
    Set("アラーム1", "1|11:00|毎日|bell.mid|");
    sys.clock.now = {2026, 12, 8, 10, 59, 40};
    ASSERT_FALSE(Start());
    EXPECT_EQ(RunTo(11, 0, 2, 1), Bell);
    EXPECT_EQ(AlarmWindow()->Control("lblMessage").text, "11:00 のアラーム");
    // With no alarm that hour, the chime rings as before.
    AlarmWindow()->Control("cmdStop").Click();
    Log();
    const Log_t later = RunTo(12, 0, 1, 5);
    EXPECT_NE(std::find(later.begin(), later.end(), "Sound FileName lt37xga.mid"), later.end());
}

TEST_F(AlarmRingTest, MissedWhileStoppedIsToldOnceWithoutSound) {
    Set("アラーム1", "1|07:30|毎日|bell.mid|薬を飲む");
    Set("アラーム2", "1|09:00|一度だけ 2026/12/08|bell.mid|");
    Set("アラーム3", "読めない行");
    Set("アラームの確認時刻", "202612072300");
    ASSERT_FALSE(Start());
    EXPECT_EQ(RunTo(10, 15, 25), Log_t{});
    ASSERT_NE(AlarmWindow(), nullptr);
    EXPECT_EQ(AlarmWindow()->Control("lblMessage").text,
              "07:30 のアラーム（鳴らせませんでした）\r\n薬を飲む\r\n09:00 のアラーム（鳴らせませんでした）");
    EXPECT_FALSE(AlarmWindow()->Control("cmdSnooze").enabled);
    AlarmWindow()->Control("cmdStop").Click();
    EXPECT_EQ(Get("アラーム2"), "0|09:00|一度だけ 2026/12/08|bell.mid|");
    EXPECT_EQ(Get("アラーム3"), "読めない行");
    // The exit keeps the minute looked at: the next start tells nothing again.
    EXPECT_TRUE(Ends([&] { form().mnuEnd_Click(); }));
    EXPECT_EQ(Get("アラームの確認時刻"), "202612081015");
}

TEST_F(AlarmRingTest, NothingNearAsksTheFileNothingMore) {
    for (int i = 1; i <= 10; ++i) Set("アラーム" + std::to_string(i), "1|0" + std::to_string(i % 7) + ":30|毎日|bell.mid|朝");
    ASSERT_FALSE(Start());
    RunTo(10, 15, 30, 1);
    const int reads = sys.files.reads;
    RunTo(10, 17, 30, 1);
    EXPECT_EQ(sys.files.reads, reads);
    EXPECT_EQ(AlarmWindow(), nullptr);
}

}  // namespace
}  // namespace morix::test
