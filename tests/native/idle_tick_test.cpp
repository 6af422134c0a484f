// The idle tick and the settings file: while nothing changes, a tick reads
// no file and looks at its stamp only every few seconds; a change made from
// outside between two ticks is seen by the next, or where the folder's watch
// never fires, within those few seconds.
#include "settings/SettingsCache.h"
#include "tests/native/ClockFixture.h"

#include <filesystem>
#include <functional>

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

// Once a tick has found the pointer off the clock with no balloon open, the
// ticks after it do not ask where it is until it may be on the clock again:
// moved over the clock (the system's mouse-move message), the clock moved,
// or the clock disabled under a dialog, where it takes no such message. A
// pointer brought to the pixel right of the clock without crossing it is
// over another window, and no longer looked for there.
TEST(IdleTick, WhereThePointerIsIsAskedOnlyWhileItMayBeOnTheClock) {
    struct Row {
        const char* what;
        std::function<void(IdleClock&)> then;
        bool asks, opens;
    };
    // A place relative to the clock's top-left corner or, with `right`, to
    // the first pixel right of it.
    const auto pointAt = [](int dx, int dy, bool right = false) {
        return [=](IdleClock& c) {
            const Rect r = c.window().Bounds();
            c.sys.desktop.cursor = {(right ? r.right : r.left) + dx, r.top + dy};
        };
    };
    const Row rows[] = {
        {"nothing moves", [](IdleClock&) {}, false, false},
        {"the pointer moves elsewhere", [](IdleClock& c) { c.sys.desktop.cursor = {5, 700}; }, false, false},
        {"onto the clock", pointAt(10, 10), true, true},
        {"onto the pixel right of the clock", pointAt(0, 5, true), false, false},
        {"notepad in front: the clock moves onto it",
         [](IdleClock& c) { c.sys.desktop.Open("無題 - メモ帳", {100, 80, 800, 580}); }, true, false},
        {"オプション open over the clock",
         [](IdleClock& c) {
             c.sys.ui.menuChoices = {menu::Option};
             c.window().MouseUp(platform::MouseButton::Left);
         },
         true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        IdleClock fresh;
        fresh.StartIdle(false);
        ASSERT_GT(fresh.sys.desktop.cursorReads, 0);
        const int reads = fresh.sys.desktop.cursorReads;
        row.then(fresh);
        for (int s = 0; s < 2; ++s) {
            fresh.sys.clock.Advance(1);
            ASSERT_FALSE(fresh.Tick());
        }
        EXPECT_EQ(fresh.sys.desktop.cursorReads > reads, row.asks);
        EXPECT_EQ(fresh.program.InfoBalloonOpen, row.opens);
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
