// The per-second clock update: the clips follow the time, the chime rings on
// the hour (and half hour), and the memo of the new day at midnight.
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using Log_t = std::vector<std::string>;

class ClockUpdateTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        Set("アクティブウインドウへの移動", "0");  // keep the following out of these
        sys.clock.Set(8, 0, 30);
        ASSERT_FALSE(Start());
        Log();
    }
    Log_t TickAt(int h, int m, int s) {
        sys.clock.Set(h, m, s);
        EXPECT_FALSE(Tick());
        return Log();
    }
    static Log_t Minute(const std::string& clip) { return {"Animation2 Open " + clip, "Animation2 Play 1"}; }
    static Log_t Chime() { return {"Sound FileName lt37xga.mid", "Sound open", "Sound play"}; }
    static Log_t Join(Log_t a, const Log_t& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

TEST_F(ClockUpdateTest, ComingMinuteFromSecond57) {
    EXPECT_EQ(TickAt(11, 9, 56), Log_t{});
    EXPECT_EQ(TickAt(11, 9, 57), Minute("10.avi"));
    EXPECT_EQ(TickAt(11, 9, 58), Minute("10.avi"));
    EXPECT_EQ(TickAt(11, 9, 59), Minute("10.avi"));
    EXPECT_EQ(TickAt(11, 10, 0), Minute("10.avi"));
    EXPECT_EQ(TickAt(11, 10, 1), Log_t{});
}

TEST_F(ClockUpdateTest, FullHourChangesTheHourAndRings) {
    for (int s = 57; s <= 59; ++s) EXPECT_EQ(TickAt(11, 59, s), Minute("00.avi"));
    EXPECT_EQ(TickAt(12, 0, 0), Join(Join(Minute("00.avi"), {"Animation1 Open 12.avi", "Animation1 Play 1"}), Chime()));
    EXPECT_EQ(sys.ui.sounds[0]->fileName, dir.ProgramPath() + "\\sound\\lt37xga.mid");

    Set("チャイムの鳴らし方", "2");
    EXPECT_EQ(TickAt(13, 0, 0), Join(Join(Minute("00.avi"), {"Animation1 Open 13.avi", "Animation1 Play 1"}), Chime()));
    Set("チャイムの鳴らし方", "0");
    EXPECT_EQ(TickAt(14, 0, 0), Join(Minute("00.avi"), {"Animation1 Open 14.avi", "Animation1 Play 1"}));
    Set("チャイムの鳴らし方", "7");
    EXPECT_EQ(TickAt(15, 0, 0), Join(Minute("00.avi"), {"Animation1 Open 15.avi", "Animation1 Play 1"}));
}

TEST_F(ClockUpdateTest, HalfHourRingsOnlyWithTwo) {
    EXPECT_EQ(TickAt(10, 30, 0), Minute("30.avi"));
    Set("チャイムの鳴らし方", "2");
    Set("チャイムファイル名", "bell.mid");
    EXPECT_EQ(TickAt(10, 30, 0), Join(Minute("30.avi"), {"Sound FileName bell.mid", "Sound open", "Sound play"}));
}

TEST_F(ClockUpdateTest, DoneClosesTheChimeDevice) {
    TickAt(12, 0, 0);
    sys.ui.sounds[0]->Done();
    EXPECT_EQ(Log(), Log_t{"Sound close"});
}

TEST_F(ClockUpdateTest, MidnightShowsTheNewDaysMemoOnlyWithTwo) {
    sys.clock.SetDay(2026, 12, 9);
    std::ofstream(dir.Path() / "Tickdata" / "20261209.rtf") << "";
    program.MemoWindowOpen = true;
    TickAt(0, 0, 0);
    EXPECT_TRUE(program.MemoWindowOpen) << "自動表示 1: nothing at midnight";
    EXPECT_EQ(program.MemoPath, "");
    Set("自動表示", "2");
    TickAt(0, 0, 0);
    // The open window was closed first; the new day's memo is open now.
    EXPECT_EQ(program.MemoPath, dir.ProgramPath() + "\\Tickdata\\20261209.rtf");
    ASSERT_NE(app.memos().form7(), nullptr);
    EXPECT_TRUE(program.MemoWindowOpen);
    EXPECT_EQ(sys.ui.FindWindow("Morix - 備忘録")->RichText("txtMsg").fileName, program.MemoPath);
}

TEST_F(ClockUpdateTest, OnlyMidnightShowsTheMemoAndBeforeTheChime) {
    sys.clock.SetDay(2026, 12, 9);
    std::ofstream(dir.Path() / "Tickdata" / "20261209.rtf") << "";
    Set("自動表示", "2");
    for (auto [h, m] : {std::pair{1, 0}, std::pair{0, 30}}) {
        TickAt(h, m, 0);
        EXPECT_FALSE(program.MemoWindowOpen) << h << ":" << m;
    }
    // The memo window's frame picture missing: its prompt shows what had
    // happened before it.
    std::filesystem::remove(dir.Path() / "Frame" / "Ellip01" / "MsgRD.gif");
    std::vector<std::string> logAtMemo;
    sys.ui.whileMessageShown = [&](const ShownMessage&) { logAtMemo = sys.ui.log; };
    TickAt(0, 0, 0);
    EXPECT_TRUE(program.MemoWindowOpen);
    EXPECT_EQ(logAtMemo, Join(Minute("00.avi"), {"Animation1 Open 00.avi", "Animation1 Play 1"}))
        << "the memo comes after the clips and before the chime";
}

TEST_F(ClockUpdateTest, TwoTicksInOneSecond) {
    EXPECT_EQ(TickAt(7, 20, 58), Minute("21.avi"));
    EXPECT_EQ(TickAt(7, 20, 58), Log_t{});
    // Second 0 has no such guard.
    EXPECT_EQ(TickAt(8, 0, 0).size(), 7u);
    EXPECT_EQ(TickAt(8, 0, 0).size(), 7u);
}

TEST_F(ClockUpdateTest, TickAt56ReadingTheNextSecondDelaysTheComingMinute) {
    // The three readings give 56; the fresh reading after them gives 57.
    sys.clock.Script({{9, 5, 56}, {9, 5, 56}, {9, 5, 56}, {9, 5, 57}});
    EXPECT_FALSE(Tick());
    EXPECT_EQ(Log(), Log_t{});
    EXPECT_EQ(program.clips.LastSecond, 57);
    EXPECT_EQ(TickAt(9, 5, 57), Log_t{});
    EXPECT_EQ(TickAt(9, 5, 58), Minute("06.avi"));
}

TEST_F(ClockUpdateTest, SkippedSecondZeroKeepsTheOldHourAndLosesTheChime) {
    EXPECT_EQ(TickAt(15, 59, 59), Minute("00.avi"));
    EXPECT_EQ(TickAt(16, 0, 1), Log_t{});
    EXPECT_EQ(TickAt(16, 0, 2), Log_t{});
}

TEST_F(ClockUpdateTest, MissingClipPromptsOnEveryTickThatNeedsIt) {
    std::filesystem::remove(dir.Path() / "Design" / "Tidewalk" / "37.avi");
    program.clips.LastSecond = 0;
    for (int s = 57; s <= 59; ++s) TickAt(10, 36, s);
    TickAt(10, 37, 0);
    ASSERT_EQ(sys.ui.messages.size(), 4u);
    for (const auto& msg : sys.ui.messages) {
        EXPECT_NE(msg.text.find("37.avi)\r\n続けますか？"), std::string::npos);
        EXPECT_EQ(msg.Flags(), 36);
    }
    EXPECT_EQ(program.clips.LastSecond, 0) << "a failed run records no second";
    // No chime from a failed run: at 11:00:00 with the hour clip missing.
    std::filesystem::remove(dir.Path() / "Design" / "Tidewalk" / "11.avi");
    Log_t log = TickAt(11, 0, 0);
    EXPECT_EQ(log, Join(Minute("00.avi"), {"Animation1 Open 11.avi"}));
    sys.ui.messageAnswers = {platform::MessageAnswer::No};
    sys.clock.Set(11, 0, 0);
    EXPECT_TRUE(Tick());
}

}  // namespace
}  // namespace morix::test

namespace morix::test {
namespace {

// The clock update reads the local wall clock's fields; a daylight-saving
// change only makes a local hour come early, late or twice.
TEST_F(ClockUpdateTest, DaylightSavingChangesFollowTheWallClock) {
    const Log_t springForward = TickAt(1, 59, 59);
    EXPECT_EQ(springForward, Minute("00.avi"));
    EXPECT_EQ(TickAt(3, 0, 0), Join(Join(Minute("00.avi"), {"Animation1 Open 03.avi", "Animation1 Play 1"}), Chime()));
    // Falling back, two o'clock comes twice and rings twice.
    EXPECT_EQ(TickAt(2, 0, 0), Join(Join(Minute("00.avi"), {"Animation1 Open 02.avi", "Animation1 Play 1"}), Chime()));
    TickAt(2, 59, 59);
    EXPECT_EQ(TickAt(2, 0, 0), Join(Join(Minute("00.avi"), {"Animation1 Open 02.avi", "Animation1 Play 1"}), Chime()));
}

}  // namespace
}  // namespace morix::test
