// The idle tick and the settings file: while nothing changes, a tick reads
// no file and looks at its stamp only every few seconds; a change made from
// outside between two ticks is seen by the next, or where the folder's watch
// never fires, within those few seconds.
#include "settings/SettingsCache.h"
#include "tests/native/ClockFixture.h"

#include <filesystem>
#include <optional>

namespace morix::test {
namespace {

// One program a row.
struct IdleClock : FakeProgram {
    // Starts the clock with notepad in front (or the desktop) and lets the
    // first ticks place it.
    void StartIdle(bool notepad, bool follow = true) {
        SampleDone();
        if (!follow) Set("アクティブウインドウへの移動", "0");
        if (notepad) sys.desktop.Open("無題 - メモ帳", {100, 80, 800, 580});
        sys.clock.Set(10, 15, 20);
        EXPECT_FALSE(Start());
        for (int i = 0; i < 2; ++i) EXPECT_FALSE(Tick());
    }
};

// A tick reads no file while nothing changes; the file's stamp is taken at
// most once in SettingsCache::StampCheckMs (for a folder whose watch never
// fires), so most ticks reach no file at all.
TEST(IdleTick, NoSettingsFileIsReadAndItsStampTakenOnlyEveryFewSecondsWhileNothingChanges) {
    struct Row {
        const char* situation;
        bool notepad, follow;
    };
    for (const Row& row : {Row{"desktop in front", false, true}, Row{"notepad in front", true, true},
                           Row{"following off", false, false}}) {
        SCOPED_TRACE(row.situation);
        IdleClock fresh;
        fresh.StartIdle(row.notepad, row.follow);
        const int reads = fresh.sys.files.reads, stamps = fresh.sys.files.stamps;
        constexpr int Ticks = 30;
        for (int s = 0; s < Ticks; ++s) {
            fresh.sys.clock.Advance(1);
            ASSERT_FALSE(fresh.Tick());
        }
        EXPECT_EQ(fresh.sys.files.reads, reads);
        EXPECT_LE(fresh.sys.files.stamps - stamps, Ticks * 1000 / static_cast<int>(SettingsCache::StampCheckMs));
    }
}

// The tick asks where the pointer is only where the system's input, by the
// position it gave with the tick's message, has it on the clock (all bounds
// inclusive) or the balloon is open; where the input lags, as Wine's may
// behind a pointer gone over another program's windows, the question is
// asked and the answer decides.
TEST(IdleTick, WhereThePointerIsIsAskedOnlyWhereTheSystemsInputHasItOnTheClock) {
    struct Row {
        const char* what;
        int dx, dy;  // from the clock's top-left corner
        std::optional<Point> lagging;  // the input's own position, from the corner
        bool asks, opens;
    };
    const Row rows[] = {
        {"elsewhere", 400, 300, std::nullopt, false, false},
        {"on the clock", 10, 10, std::nullopt, true, true},
        {"gone, the input lagging on the clock", 400, 300, Point{10, 10}, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        IdleClock fresh;
        fresh.StartIdle(false);
        const Rect r = fresh.window().Bounds();
        const int reads = fresh.sys.desktop.cursorReads;
        fresh.sys.desktop.cursor = {r.left + row.dx, r.top + row.dy};
        if (row.lagging) fresh.sys.desktop.inputPointer = Point{r.left + row.lagging->x, r.top + row.lagging->y};
        fresh.sys.clock.Advance(1);
        ASSERT_FALSE(fresh.Tick());
        EXPECT_EQ(fresh.sys.desktop.cursorReads > reads, row.asks);
        EXPECT_EQ(fresh.program.InfoBalloonOpen, row.opens);
        // An open balloon is asked about every tick.
        if (!row.opens) continue;
        fresh.sys.desktop.cursor = {r.left + 400, r.top + 300};
        fresh.sys.clock.Advance(1);
        ASSERT_FALSE(fresh.Tick());
        EXPECT_FALSE(fresh.program.InfoBalloonOpen);
    }
}

// The recorded title is changed behind the clock's back: the next tick takes
// notepad for another window and places the clock on it anew, writing its
// title back.
TEST(IdleTick, AChangeFromOutsideBetweenTwoTicksIsSeenByTheNextTick) {
    struct Row {
        const char* how;
        bool watchable, renamed, silent;
        bool elsewhere;  // renamed from a file written in another folder
    };
    for (const Row& row : {Row{"written in place", true, false, false, false},
                           Row{"renamed over the file", true, true, false, false},
                           Row{"written in another folder, moved over the file", true, true, false, true},
                           Row{"in place, on a system that cannot watch folders", false, false, false, false},
                           Row{"in place, in a folder whose watch never fires", true, false, true, false}}) {
        SCOPED_TRACE(row.how);
        IdleClock fresh;
        fresh.sys.files.watchable = row.watchable;
        fresh.sys.files.silentWatch = row.silent;
        fresh.StartIdle(true);
        ASSERT_EQ(fresh.Get("アクティブウィンドウのタイトル"), "無題 - メモ帳");
        const std::string edited = fresh.sys.codePage.ToAnsi("無題 - ノート");
        std::string bytes = fresh.IniBytes();
        bytes.replace(bytes.find(fresh.sys.codePage.ToAnsi("無題 - メモ帳")), edited.size(), edited);
        TempFolder other;
        const TempFolder& writtenIn = row.elsewhere ? other : fresh.dir;
        writtenIn.Write(row.renamed ? "edited.tmp" : "Morix.ini", bytes);
        if (row.renamed) std::filesystem::rename(writtenIn.File("edited.tmp"), fresh.dir.File("Morix.ini"));
        // Unreported, the edit waits for the stamp check, a tick a second.
        for (std::uint64_t t = 0; t < (row.silent ? SettingsCache::StampCheckMs / 1000 : 1); ++t) {
            fresh.sys.clock.Advance(1);
            ASSERT_FALSE(fresh.Tick());
        }
        EXPECT_EQ(fresh.Get("アクティブウィンドウのタイトル"), "無題 - メモ帳");
    }
}

}  // namespace
}  // namespace morix::test
