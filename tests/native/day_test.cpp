// A simulated day of running: 86,400 ticks with the window in front changing
// every ten seconds, the pointer resting on the clock five seconds a minute,
// a chime every half hour and the memo window opened and closed every hour.
// Nothing grows, and the settings file holds whole keys throughout.
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

struct LiveCounts {
    std::size_t windows, controls, pictures, timers, clips, shapers, sounds;
    friend bool operator==(const LiveCounts&, const LiveCounts&) = default;
};

class DayTest : public ClockTest {
protected:
    LiveCounts Count() const {
        std::size_t controls = 0;
        for (const FakeWindow* w : sys.ui.windows) controls += w->controls.size();
        return {sys.ui.windows.size(), controls, static_cast<std::size_t>(sys.pictures.Alive()), sys.ui.timers.size(),
                sys.ui.animations.size(), sys.ui.shapers.size(), sys.ui.sounds.size()};
    }
    // Every key of the followed window's record is a whole line of the file.
    bool WholeKeys() {
        const std::string ini = sys.codePage.FromAnsi(IniBytes());
        if (ini.rfind("[Morix]\r\n", 0) != 0) return false;
        for (std::string_view key : keys::FollowedRecord)
            if (ini.find("\r\n" + std::string(key) + "=") == std::string::npos) return false;
        return ini.size() >= 2 && ini.compare(ini.size() - 2, 2, "\r\n") == 0;
    }
};

TEST_F(DayTest, NothingGrowsInADay) {
    SampleDone();
    Set("チャイムの鳴らし方", "2");
    Set("自動表示", "0");  // the memo window comes and goes by the hour only
    Put(dir.Path() / "Tickdata" / "20261208.rtf", "");
    sys.clock.Set(0, 0, 1);
    ASSERT_FALSE(Start());
    const auto a = sys.desktop.Open("無題 - メモ帳", {100, 50, 1000, 700});
    const auto b = sys.desktop.Open("Editor", {300, 200, 1200, 760});
    const platform::Point onClock{window().Bounds().left + 5, window().Bounds().top + 5};
    LiveCounts afterFirstHour{};
    int rings = 0;
    for (int t = 1; t < 86400; ++t) {
        const int h = t / 3600, m = t / 60 % 60, s = t % 60;
        sys.clock.Set(h, m, s);
        if (s % 10 == 0) sys.desktop.foreground = (t / 10) % 3 == 0 ? a : (t / 10) % 3 == 1 ? b : sys.desktop.desktopHandle;
        sys.desktop.cursor = s >= 20 && s < 25 ? onClock : platform::Point{0, 0};
        if (m == 40 && s == 30) app.memos().ShowTodayMemo();
        if (m == 41 && s == 30) app.memos().CloseMemoWindow();
        ASSERT_FALSE(Tick()) << h << ":" << m << ":" << s;
        if (s == 0 && (m == 0 || m == 30)) {
            ++rings;
            sys.ui.sounds[0]->Done();
        }
        // Once the balloon and the memo window have each been made; both are
        // kept hidden between openings.
        if (t == 3600) afterFirstHour = Count();
        if (s == 0 && m == 0) ASSERT_TRUE(WholeKeys()) << h;
    }
    EXPECT_EQ(rings, 47);
    EXPECT_TRUE(sys.ui.messages.empty());
    EXPECT_EQ(Count(), afterFirstHour);
    EXPECT_TRUE(WholeKeys());
}

}  // namespace
}  // namespace morix::test
