// A settings file another program holds for a moment: the write waits it out
// for a bounded time, keeps what the holder changed meanwhile, and each event
// replaces the file once.
#include "tests/native/ClockFixture.h"

#include "platform/HeldFile.h"
#include "settings/SettingsCache.h"

namespace morix::test {
namespace {

using platform::MouseButton;

TEST(HeldSettingsFile, WaitsOutAHolderForABoundedTime) {
    struct Row {
        std::uint64_t heldMs;
        int tries;           // replacements attempted
        bool written;        // the new value reached the file
        std::uint64_t tookMs;  // on the tick count
    };
    // Tries every 50 ms; the last one at 1000 ms.
    for (const Row row : {Row{0, 1, true, 0}, Row{30, 2, true, 50}, Row{80, 3, true, 100}, Row{300, 7, true, 300},
                          Row{1000, 21, true, 1000}, Row{1001, 21, false, 1000}, Row{5000, 21, false, 1000}}) {
        TempFolder dir;
        platform::PosixCodePage cp;
        FakeFiles files;
        FakeClock clock;
        files.clock = &clock;
        files.silentWatch = true;
        SettingsCache cache{clock};
        int failures = 0;
        const SettingsFile::WriteFailureHandler failed = [&](const std::string&) { ++failures; };
        const std::string path = dir.ProgramPath() + "\\Morix.ini";
        SettingsFile settings{files, cp, path, &cache, &failed, &clock};
        settings.WriteValue(keys::ChimeMode, "1");
        const int before = files.writes;
        files.HoldFor(path, row.heldMs);
        // The holder changes the file while it holds it: its change stays.
        files.onReplace = [&](std::string_view, std::string_view) {
            if (row.heldMs > 0 && files.writes == before + 1)
                dir.Write("Morix.ini", dir.Read("Morix.ini") + "Outside=kept\r\n");
        };
        const std::uint64_t start = clock.tickCountMs;
        settings.WriteValues({{keys::ChimeMode.name, "2"}, {keys::ChimeFile.name, "kirari.mid"}});
        files.onReplace = nullptr;
        const std::string held = "held " + std::to_string(row.heldMs) + " ms";
        EXPECT_EQ(files.writes - before, row.tries) << held;
        EXPECT_EQ(clock.tickCountMs - start, row.tookMs) << held;
        for (unsigned pause : clock.pauses) EXPECT_LE(pause, platform::HeldFileStepMs) << held;
        EXPECT_EQ(failures, row.written ? 0 : 1) << held;
        EXPECT_EQ(settings.ReadInt(keys::ChimeMode), row.written ? 2 : 1) << held;
        EXPECT_EQ(settings.ReadString(keys::ChimeFile), row.written ? "kirari.mid" : "lt37xga.mid") << held;
        EXPECT_EQ(settings.ReadString("Outside", ""), row.heldMs > 0 ? "kept" : "") << held;
    }
}

TEST(HeldSettingsFile, AFailureOtherThanAHoldIsNotWaitedFor) {
    TempFolder dir;
    platform::PosixCodePage cp;
    FakeFiles files;
    FakeClock clock;
    files.clock = &clock;
    int failures = 0;
    const SettingsFile::WriteFailureHandler failed = [&](const std::string&) { ++failures; };
    SettingsFile settings{files, cp, dir.ProgramPath() + "\\Morix.ini", nullptr, &failed, &clock};
    files.locked = {dir.ProgramPath()};
    settings.WriteValue(keys::ChimeMode, "2");
    EXPECT_EQ(files.writes, 1);
    EXPECT_TRUE(clock.pauses.empty());
    EXPECT_EQ(failures, 1);
}

class OneWritePerEvent : public ClockTest {
protected:
    // The replacements of the settings file in which any of `keys` changed,
    // each as the keys it changed.
    void Watch(std::vector<std::string> keys) {
        keys_ = std::move(keys);
        changes.clear();
        before_ = Values(IniBytes());
        sys.files.onReplace = [&](std::string_view, std::string_view bytes) {
            const auto after = Values(bytes);
            std::vector<std::string> changed;
            const auto valueOf = [](const std::map<std::string, std::string>& v, const std::string& k) {
                const auto it = v.find(k);
                return it == v.end() ? std::string("(missing)") : it->second;
            };
            for (const std::string& k : keys_)
                if (valueOf(before_, k) != valueOf(after, k)) changed.push_back(k);
            if (!changed.empty()) changes.push_back(changed);
            before_ = after;
        };
    }
    std::map<std::string, std::string> Values(std::string_view bytes) {
        std::map<std::string, std::string> v;
        std::istringstream lines(sys.codePage.FromAnsi(std::string(bytes)));
        for (std::string line; std::getline(lines, line);)
            if (const auto eq = line.find('='); eq != std::string::npos) v[line.substr(0, eq)] = line.substr(eq + 1);
        return v;
    }
    std::vector<std::vector<std::string>> changes;

private:
    std::vector<std::string> keys_;
    std::map<std::string, std::string> before_;
};

TEST_F(OneWritePerEvent, FollowingAndEachDialogsOk) {
    SampleDone();
    ASSERT_FALSE(Start());
    const std::vector<std::string> record{"アクティブウィンドウのLeft", "アクティブウィンドウのRight",
                                          "アクティブウィンドウのTop", "アクティブウィンドウのBottom",
                                          "現在のForm1のLeft", "現在のForm1のTop",
                                          "アクティブウィンドウのタイトル", "アクティブウィンドウのhDC"};
    Watch(record);
    sys.desktop.Open("無題 - メモ帳", {100, 50, 1000, 700});
    ASSERT_FALSE(Tick());
    EXPECT_EQ(changes, std::vector<std::vector<std::string>>{record}) << "following";

    const std::vector<std::string> basic{"自動削除", "自動表示", "チャイムの鳴らし方"};
    Watch(basic);
    sys.ui.menuChoices = {menu::Option};
    ASSERT_FALSE(Ends([&] { window().MouseUp(MouseButton::Right); }));
    FakeWindow& d = *sys.ui.FindWindow("オプション");
    d.Control("Check2").Click();
    d.Control("Check3").Click();
    d.Control("Check4").Click();
    ASSERT_FALSE(Ends([&] { d.Control("cmdOK").Click(); }));
    EXPECT_EQ(changes, std::vector<std::vector<std::string>>{basic}) << "オプション";

    const std::vector<std::string> extended{"アクティブウインドウへの移動", "移動を許可するウインドウサイズ",
                                            "情報吹き出しの表示"};
    Watch(extended);
    sys.ui.menuChoices = {menu::Option2};
    ASSERT_FALSE(Ends([&] { window().MouseUp(MouseButton::Right); }));
    FakeWindow& e = *sys.ui.FindWindow("拡張オプション");
    e.Control("Check1").Click();
    e.Control("Check2").Click();
    ASSERT_FALSE(Ends([&] { e.Control("cmdOK").Click(); }));
    EXPECT_EQ(changes, std::vector<std::vector<std::string>>{extended}) << "拡張オプション";

    const std::vector<std::string> alarms{"アラーム1", "アラーム2"};
    Watch(alarms);
    sys.ui.menuChoices = {menu::Alarm};
    ASSERT_FALSE(Ends([&] { window().MouseUp(MouseButton::Right); }));
    FakeWindow& a = *sys.ui.FindWindow("アラーム");
    for (const char* minute : {"58", "59"}) {
        ASSERT_FALSE(Ends([&] { a.Control("cmdAdd").Click(); }));
        a.Control("txtHour").Type("23");
        a.Control("txtMinute").Type(minute);
    }
    ASSERT_FALSE(Ends([&] { a.Control("cmdOK").Click(); }));
    EXPECT_EQ(sys.ui.FindWindow("アラーム"), nullptr);
    EXPECT_EQ(changes, std::vector<std::vector<std::string>>{alarms}) << "アラーム";
}

}  // namespace
}  // namespace morix::test
