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
    // The clock set to h:m:s and a tick there: a jump, whose clips are
    // dropped; by way of a tick half a day away, so that a time a second
    // before the last one is a jump too, not a small step back.
    void JumpTo(int h, int m, int s) {
        TickAt((h + 12) % 24, m, s);
        TickAt(h, m, s);
    }
    // The next tick, that many seconds of the wall clock after the last one.
    Log_t TickAfter(int seconds) {
        sys.clock.Advance(seconds);
        EXPECT_FALSE(Tick());
        return Log();
    }
    static Log_t Minute(const std::string& clip) { return {"Animation2 Open " + clip, "Animation2 Play 1"}; }
    static Log_t Hour(const std::string& clip) { return {"Animation1 Open " + clip, "Animation1 Play 1"}; }
    static Log_t Chime() { return {"Sound FileName lt37xga.mid", "Sound open", "Sound play"}; }
    static Log_t Join(Log_t a, const Log_t& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

TEST_F(ClockUpdateTest, ComingMinuteFromSecond57) {
    JumpTo(11, 9, 55);
    EXPECT_EQ(TickAt(11, 9, 56), Log_t{});
    EXPECT_EQ(TickAt(11, 9, 57), Minute("10.avi"));
    EXPECT_EQ(TickAt(11, 9, 58), Minute("10.avi"));
    EXPECT_EQ(TickAt(11, 9, 59), Minute("10.avi"));
    EXPECT_EQ(TickAt(11, 10, 0), Minute("10.avi"));
    EXPECT_EQ(TickAt(11, 10, 1), Log_t{});
}

TEST_F(ClockUpdateTest, FullHourChangesTheHourAndRings) {
    JumpTo(11, 59, 56);
    for (int s = 57; s <= 59; ++s) EXPECT_EQ(TickAt(11, 59, s), Minute("00.avi"));
    EXPECT_EQ(TickAt(12, 0, 0), Join(Join(Minute("00.avi"), {"Animation1 Open 12.avi", "Animation1 Play 1"}), Chime()));
    EXPECT_EQ(sys.ui.sounds[0]->fileName, dir.ProgramPath() + "\\sound\\lt37xga.mid");

    Set("チャイムの鳴らし方", "2");
    JumpTo(12, 59, 59);
    EXPECT_EQ(TickAt(13, 0, 0), Join(Join(Minute("00.avi"), {"Animation1 Open 13.avi", "Animation1 Play 1"}), Chime()));
    Set("チャイムの鳴らし方", "0");
    JumpTo(13, 59, 59);
    EXPECT_EQ(TickAt(14, 0, 0), Join(Minute("00.avi"), {"Animation1 Open 14.avi", "Animation1 Play 1"}));
    Set("チャイムの鳴らし方", "7");
    JumpTo(14, 59, 59);
    EXPECT_EQ(TickAt(15, 0, 0), Join(Minute("00.avi"), {"Animation1 Open 15.avi", "Animation1 Play 1"}));
}

TEST_F(ClockUpdateTest, HalfHourRingsOnlyWithTwo) {
    JumpTo(10, 29, 59);
    EXPECT_EQ(TickAt(10, 30, 0), Minute("30.avi"));
    Set("チャイムの鳴らし方", "2");
    Set("チャイムファイル名", "bell.mid");
    JumpTo(10, 29, 59);
    EXPECT_EQ(TickAt(10, 30, 0), Join(Minute("30.avi"), {"Sound FileName bell.mid", "Sound open", "Sound play"}));
}

TEST_F(ClockUpdateTest, DoneClosesTheChimeDevice) {
    JumpTo(11, 59, 59);
    TickAt(12, 0, 0);
    sys.ui.sounds[0]->Done();
    EXPECT_EQ(Log(), Log_t{"Sound close"});
}

TEST_F(ClockUpdateTest, MidnightShowsTheNewDaysMemoOnlyWithTwo) {
    std::ofstream(dir.Path() / "Tickdata" / "20261209.rtf") << "";
    program.MemoWindowOpen = true;
    JumpTo(23, 59, 59);
    TickAfter(1);
    EXPECT_TRUE(program.MemoWindowOpen) << "自動表示 1: nothing at midnight";
    EXPECT_EQ(program.MemoPath, "");
    Set("自動表示", "2");
    sys.clock.SetDay(2026, 12, 8);
    JumpTo(23, 59, 59);
    TickAfter(1);
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
        JumpTo(h, m, 0);
        TickAfter(-1);
        TickAfter(1);
        EXPECT_FALSE(program.MemoWindowOpen) << h << ":" << m;
    }
    // The memo window's frame picture missing: its prompt shows what had
    // happened before it.
    std::filesystem::remove(dir.Path() / "Frame" / "Ellip01" / "MsgRD.gif");
    std::vector<std::string> logAtMemo;
    sys.ui.whileMessageShown = [&](const ShownMessage&) { logAtMemo = sys.ui.log; };
    sys.clock.SetDay(2026, 12, 8);
    JumpTo(23, 59, 59);
    TickAfter(1);
    EXPECT_TRUE(program.MemoWindowOpen);
    EXPECT_EQ(logAtMemo, Join(Minute("00.avi"), {"Animation1 Open 00.avi", "Animation1 Play 1"}))
        << "the memo comes after the clips and before the chime";
}

TEST_F(ClockUpdateTest, TwoTicksInOneSecond) {
    JumpTo(7, 20, 57);
    EXPECT_EQ(TickAt(7, 20, 58), Minute("21.avi"));
    EXPECT_EQ(TickAt(7, 20, 58), Log_t{});
}

TEST_F(ClockUpdateTest, TickAt56ReadingTheNextSecondDelaysTheComingMinute) {
    // The run's reading gives 56; the fresh reading after it gives 57.
    JumpTo(9, 5, 55);
    sys.clock.Script({{9, 5, 56}, {9, 5, 57}});
    EXPECT_FALSE(Tick());
    EXPECT_EQ(Log(), Log_t{});
    EXPECT_EQ(program.clips.LastSecond, 57);
    EXPECT_EQ(TickAt(9, 5, 57), Log_t{});
    EXPECT_EQ(TickAt(9, 5, 58), Minute("06.avi"));
}

// Timers drift: the first tick of a minute acts for it even a few seconds
// late (second 0 skipped), and only once, however many ticks the minute
// gets. At midnight that is the hour, the chime and the new day's memo.
TEST_F(ClockUpdateTest, TheFirstTickOfAMinuteActsForItOnceUpToFiveSecondsLate) {
    Set("自動表示", "2");
    std::ofstream(dir.Path() / "Tickdata" / "20261209.rtf") << "";
    const std::pair<int, int> lastSecondAndGap[] = {{59, 1}, {59, 2}, {58, 5}, {55, 5}, {59, 5}};
    for (auto [last, gap] : lastSecondAndGap) {
        sys.clock.SetDay(2026, 12, 8);
        JumpTo(23, 59, last);
        EXPECT_EQ(TickAfter(gap), Join(Join(Minute("00.avi"), Hour("00.avi")), Chime())) << last << "+" << gap;
        EXPECT_TRUE(program.MemoWindowOpen) << last << "+" << gap;
        EXPECT_EQ(TickAfter(0), Log_t{}) << "a second tick in the same second";
        EXPECT_EQ(TickAfter(1), Log_t{});
        app.memos().CloseMemoWindow();
    }
}

// Set, moved to another zone or woken from sleep (more than five seconds
// between two readings, forwards or back): the face shows the time at the first
// tick after, and the minutes jumped over neither ring nor bring a memo.
TEST_F(ClockUpdateTest, AJumpShowsTheTimeAtOnceWithoutChimeOrMemo) {
    Set("自動表示", "2");
    Set("チャイムの鳴らし方", "2");
    std::ofstream(dir.Path() / "Tickdata" / "20261209.rtf") << "";
    struct Jump {
        const char* what;
        std::array<int, 3> from;
        int seconds;
        const char *minuteClip, *hourClip;
    };
    const Jump jumps[] = {
        {"six seconds onto midnight", {23, 59, 54}, 6, "00.avi", "00.avi"},
        {"woken from sleep", {23, 59, 54}, 3 * 3600 + 16, "00.avi", "03.avi"},
        {"set back an hour", {10, 20, 30}, -3600, "20.avi", "09.avi"},
        {"summer time begins", {1, 59, 59}, 3601, "00.avi", "03.avi"},
        {"summer time ends", {2, 59, 59}, -3599, "00.avi", "02.avi"},
        {"a zone east, into second 58", {10, 20, 30}, 9 * 3600 + 28, "21.avi", "19.avi"},
    };
    for (const Jump& j : jumps) {
        sys.clock.SetDay(2026, 12, 8);
        JumpTo(j.from[0], j.from[1], j.from[2] - 1);
        TickAfter(1);
        EXPECT_EQ(TickAfter(j.seconds), Join(Minute(j.minuteClip), Hour(j.hourClip))) << j.what;
        EXPECT_FALSE(program.MemoWindowOpen) << j.what;
    }
}

// A time sync sets the clock back a few seconds just after the hour or
// midnight: the minute's start is crossed again, and the chime and the new
// day's memo come once; the face ends on the new hour.
TEST_F(ClockUpdateTest, ASmallStepBackOverTheHourRingsAndOpensTheMemoOnce) {
    Set("自動表示", "2");
    std::ofstream(dir.Path() / "Tickdata" / "20261209.rtf") << "";
    for (const int hour : {12, 0})
        for (const int back : {1, 2, 5}) {
            sys.clock.SetDay(2026, 12, 8);
            JumpTo((hour + 23) % 24, 59, 59);
            int chimes = 0, memos = 0;
            for (const int step : {1, 1 - back, 1, 1, 1, 1, 1}) {
                for (const std::string& line : TickAfter(step)) chimes += line == "Sound play";
                if (program.MemoWindowOpen) ++memos, app.memos().CloseMemoWindow();
            }
            EXPECT_EQ(std::pair(chimes, memos), std::pair(1, hour == 0 ? 1 : 0)) << hour << " -" << back;
            EXPECT_EQ(static_cast<FakeAnimation&>(form().Animation1()).openPath, ClipPath(program.clips.ClipFolder, hour));
        }
}

// Under any message of the program, the run-time's too, the tick waits: the
// face stays and no message is stacked on it.
TEST_F(ClockUpdateTest, AnyMessageHoldsTheTick) {
    JumpTo(8, 1, 56);
    Log_t underMessage{"no message"};
    sys.ui.whileMessageShown = [&](const ShownMessage&) { underMessage = TickAfter(1); };
    EXPECT_TRUE(Ends([&] { sys.ui.Raise([] { Raise(err::Overflow); }); }));
    EXPECT_EQ(underMessage, Log_t{});
}

TEST_F(ClockUpdateTest, MissingClipPromptsOnEveryTickThatNeedsIt) {
    JumpTo(10, 36, 56);
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
    JumpTo(10, 59, 59);
    Log_t log = TickAt(11, 0, 0);
    EXPECT_EQ(log, Join(Minute("00.avi"), {"Animation1 Open 11.avi"}));
    JumpTo(10, 59, 59);
    sys.ui.messageAnswers = {platform::MessageAnswer::No};
    sys.clock.Set(11, 0, 0);
    EXPECT_TRUE(Tick());
}

}  // namespace
}  // namespace morix::test
