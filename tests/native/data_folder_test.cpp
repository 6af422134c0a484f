// Where the user's things live: beside Morix.exe when the program folder
// takes a file, else in the user's own folder, and the same after a restart;
// a settings file nobody can write told once; a user's own designs listed
// after the program's; the logon entry written only on a change of its box.
#include "memo/Memos.h"
#include "tests/fake/FakeRtf.h"
#include "tests/native/ClockFixture.h"

#include <set>

namespace morix::test {
namespace {

using platform::MouseButton;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every file below the folder, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    if (!fs::exists(folder)) return files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[fs::relative(e.path(), folder).string()] = ReadAll(e.path());
    return files;
}

// One run of the program over a program folder and a user's folder, as a
// user starts it, with folders the user may not write.
struct Session {
    Session(const TempFolder& program, const TempFolder& user, std::vector<std::string> locked) : sys(program.ProgramPath()) {
        sys.process.roamingData = user.ProgramPath();
        sys.files.locked = std::move(locked);
        sys.clock.SetDay(2026, 12, 9);
        sys.clock.Set(10, 0, 0);
    }
    bool Ends(const std::function<void()>& f) { return EndsTheProcess(f); }
    FakeWindow* Memo() { return sys.ui.FindWindow("Morix - 備忘録"); }
    FakeSystem sys;
    Program app{sys.platform};
};

// What a whole session keeps, and where, is seen end to end (15-installed);
// here, each situation's choice and where the first write goes.
TEST(DataFolderTest, TheProgramFolderWhenItTakesAFileElseTheUsersOwn) {
    struct Case {
        const char* name;
        bool lockFolder;     // a folder under Program Files
        const char* preset;  // an administrator's Morix.ini that cannot be written, or none
        bool userFolder;     // the user has a roaming data folder
        bool besideProgram;  // where the data goes
    };
    for (const Case c : {Case{"a folder the user can write", false, nullptr, true, true},
                         Case{"a folder the user cannot write", true, nullptr, true, false},
                         Case{"a preset the user cannot write", false, "[Morix]\r\n自動削除=0\r\n", true, false},
                         Case{"nowhere to write", true, nullptr, false, true}}) {
        SCOPED_TRACE(c.name);
        FakeProgram installed;  // the program folder's files
        TempFolder user;
        std::vector<std::string> locked;
        if (c.lockFolder) locked.push_back(installed.dir.ProgramPath());
        if (c.preset) {
            installed.dir.Write("Morix.ini", installed.sys.codePage.ToAnsi(c.preset));
            locked.push_back(installed.dir.ProgramPath() + "\\Morix.ini");
        }
        const auto programBefore = Tree(installed.dir.Path());
        Session s(installed.dir, user, locked);
        if (!c.userFolder) s.sys.process.roamingData.clear();
        ASSERT_FALSE(s.Ends([&] { s.app.Main(); }));
        const std::string data = c.besideProgram ? installed.dir.ProgramPath() : user.ProgramPath() + "\\Morix";
        EXPECT_EQ(s.app.module().DataFolder(), data);
        EXPECT_EQ(s.app.module().IniPath, data + "\\Morix.ini");
        if (c.preset) EXPECT_TRUE(ReadAll(user.Path() / "Morix" / "Morix.ini").starts_with(installed.sys.codePage.ToAnsi(c.preset)));
        // The sample ticked away: the first write lands in the data folder.
        s.Memo()->Control("Check1").Click();
        s.Memo()->Control("picClose").Click();
        const bool writable = !c.lockFolder || c.userFolder;
        EXPECT_EQ(s.app.module().Settings().ReadInt("起動時のSample.rtf", 0), writable ? 1 : 0);
        EXPECT_EQ(s.sys.ui.messages.size(), writable ? 0u : 1u);
        EXPECT_EQ(fs::exists(user.Path() / "Morix"), !c.besideProgram);
        if (!c.besideProgram || !writable) EXPECT_EQ(Tree(installed.dir.Path()), programBefore);

        // The next start: the same folder, and what the user changed is
        // still theirs (a preset makes the first settings only).
        const auto userBefore = Tree(user.Path());
        Session again(installed.dir, user, locked);
        if (!c.userFolder) again.sys.process.roamingData.clear();
        ASSERT_FALSE(again.Ends([&] { again.app.Main(); }));
        EXPECT_EQ(again.app.module().DataFolder(), data);
        EXPECT_EQ(again.app.module().Settings().ReadInt("起動時のSample.rtf", 0), writable ? 1 : 0);
        EXPECT_EQ(again.Memo() != nullptr, !writable) << "the sample memo stays away once ticked";
        EXPECT_EQ(Tree(user.Path()), userBefore);
    }
}

// Started with 管理者として実行, the clock may write where the user's normal
// run may not (Program Files): it keeps to the folder that normal run uses,
// and makes not even a trial file in the program folder.
TEST(DataFolderTest, AnElevatedRunKeepsTheNormalRunsFolder) {
    struct Case {
        const char* name;
        bool elevated;
        bool normalRunLocked;  // the user's normal run may not write the program folder
        bool besideProgram;
    };
    for (const Case c : {Case{"a portable copy", false, false, true}, Case{"a portable copy, elevated", true, false, true},
                         Case{"under Program Files, elevated", true, true, false}}) {
        SCOPED_TRACE(c.name);
        FakeProgram installed;
        TempFolder user;
        installed.dir.Write("Morix.ini", installed.sys.codePage.ToAnsi("[Morix]\r\n自動削除=0\r\n"));
        Session s(installed.dir, user, {});
        s.sys.process.elevated = c.elevated;
        if (c.normalRunLocked) s.sys.process.normalRunLocked = {installed.dir.ProgramPath()};
        std::vector<std::string> written;
        s.sys.files.onReplace = [&](std::string_view p, std::string_view) { written.emplace_back(p); };
        const auto programBefore = Tree(installed.dir.Path());
        ASSERT_FALSE(s.Ends([&] { s.app.Main(); }));
        const std::string data = c.besideProgram ? installed.dir.ProgramPath() : user.ProgramPath() + "\\Morix";
        EXPECT_EQ(s.app.module().DataFolder(), data);
        EXPECT_EQ(s.app.module().Settings().ReadInt("自動削除", 1), 0) << "the settings it starts from";
        if (c.besideProgram) continue;
        for (const std::string& p : written) EXPECT_FALSE(p.starts_with(installed.dir.ProgramPath())) << p;
        EXPECT_EQ(Tree(installed.dir.Path()), programBefore);
    }
}

TEST_F(ClockTest, ASettingsFileNothingCanWriteIsToldOnceWithItsPath) {
    sys.files.locked = {dir.ProgramPath()};
    ASSERT_FALSE(Start());
    sys.ui.FindWindow("Morix - 備忘録")->Control("Check1").Click();
    sys.ui.FindWindow("Morix - 備忘録")->Control("picClose").Click();
    ASSERT_EQ(sys.ui.messages.size(), 1u);
    EXPECT_NE(sys.ui.messages[0].text.find(dir.ProgramPath() + "\\Morix.ini"), std::string::npos)
        << sys.ui.messages[0].text;
    EXPECT_EQ(sys.ui.messages[0].Flags(), 4 | 32) << "the error prompt: the user may go on";
    // Every later write fails too, unsaid.
    sys.ui.menuChoices = {menu::End};
    EXPECT_TRUE(Ends([&] { window().MouseUp(MouseButton::Left); }));
    EXPECT_EQ(sys.ui.messages.size(), 1u);
}

TEST_F(ClockTest, AUsersOwnDesignsFramesAndChimesAreListedAfterTheProgramsAndUsed) {
    TempFolder user;
    sys.process.roamingData = user.ProgramPath();
    sys.files.locked = {dir.ProgramPath()};
    std::filesystem::create_directories(dir.Path() / "Sound");
    Put(dir.Path() / "Sound" / "lt37xga.mid", "MThd");
    const fs::path mine = user.Path() / "Morix";
    const std::string minePath = user.ProgramPath() + "\\Morix";
    fs::create_directories(mine / "Design" / "Mine");
    fs::create_directories(mine / "Design" / "tidewalk");  // the program's own name: not listed twice
    for (const std::string& picture : DesignPictureNames())
        Put(mine / "Design" / "Mine" / picture, picture.ends_with(".avi") ? TinyAvi() : TinyBmp(66, 22));
    fs::create_directories(mine / "Frame" / "MyFrame");
    for (const std::string& picture : FramePictureNames()) Put(mine / "Frame" / "MyFrame" / picture, TinyGif(280, 140));
    fs::create_directories(mine / "Sound");
    Put(mine / "Sound" / "mine.mid", "MThd");
    Put(mine / "Morix.ini", sys.codePage.ToAnsi("[Morix]\r\n起動時のSample.rtf=1\r\nアクティブウインドウへの移動=0\r\n"));

    ASSERT_FALSE(Start());
    sys.ui.menuChoices = {menu::Option};
    ASSERT_FALSE(Ends([&] { window().MouseUp(MouseButton::Left); }));
    FakeWindow& options = *sys.ui.FindWindow("オプション");
    EXPECT_EQ(options.List("lstDsin").items, (std::vector<std::string>{"Tidewalk", "Mine"}));
    EXPECT_EQ(options.List("lstHukidasi").items, (std::vector<std::string>{"Ellip01", "MyFrame"}));
    EXPECT_EQ(options.List("lstCyaim").items, (std::vector<std::string>{"lt37xga.mid", "mine.mid"}));
    options.List("lstDsin").Pick("Mine");
    options.List("lstHukidasi").Pick("MyFrame");
    options.List("lstCyaim").Pick("mine.mid");
    options.Control("cmdOK").Click();

    // The clock comes back with the user's design, and rings the user's chime.
    EXPECT_EQ(program.BackgroundPath, minePath + "\\Design\\Mine\\Back.bmp");
    sys.clock.Set(10, 59, 59);
    ASSERT_FALSE(Tick());
    sys.clock.Set(11, 0, 0);
    ASSERT_FALSE(Tick());
    EXPECT_EQ(sys.ui.sounds.front()->fileName, minePath + "\\sound\\mine.mid");
    EXPECT_TRUE(sys.ui.messages.empty()) << sys.ui.messages.front().text;
}

TEST_F(ClockTest, TheLogonBoxShowsThisProgramsEntryAndOkChangesItOnlyWhenTheBoxChanged) {
    const std::string exe = dir.ProgramPath() + "\\Morix.exe";
    const std::string quoted = "\"" + exe + "\"";
    struct Case {
        const char* name;
        std::optional<std::string> entry;  // before the dialog opens
        bool shown;                        // the box ticked
        bool click;                        // the user clicks it, then OK
        std::optional<std::string> after;
    };
    std::string upper = exe;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    const std::vector<Case> cases{
        {"no entry, ticked", std::nullopt, false, true, quoted},
        {"no entry, left", std::nullopt, false, false, std::nullopt},
        {"this program's, unticked", quoted, true, true, std::nullopt},
        {"this program's in other letters, unquoted, with an argument", upper + " /min", true, false, upper + " /min"},
        {"a copy elsewhere's, left alone", "\"C:\\Old\\Morix.exe\"", false, false, "\"C:\\Old\\Morix.exe\""},
        {"a copy elsewhere's, ticked: now this one", "\"C:\\Old\\Morix.exe\"", false, true, quoted},
        {"a longer name is another program", "\"" + exe + "2\"", false, false, "\"" + exe + "2\""},
    };
    SampleDone();
    Set("アクティブウインドウへの移動", "0");
    ASSERT_FALSE(Start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sys.logonStart.command = c.entry;
        sys.ui.menuChoices = {menu::Option};
        ASSERT_FALSE(Ends([&] { window().MouseUp(MouseButton::Left); }));
        FakeWindow& options = *sys.ui.FindWindow("オプション");
        FakeControl& box = options.Control("Check5");
        EXPECT_EQ(box.text, "Windows の起動時に Morix を起動する");
        EXPECT_EQ(box.value, c.shown ? 1 : 0);
        if (c.click) box.Click();
        options.Control("cmdOK").Click();
        EXPECT_EQ(sys.logonStart.command, c.after);
    }
    // キャンセル changes nothing; a refused change is said.
    sys.logonStart.command.reset();
    sys.ui.menuChoices = {menu::Option};
    ASSERT_FALSE(Ends([&] { window().MouseUp(MouseButton::Left); }));
    sys.ui.FindWindow("オプション")->Control("Check5").Click();
    sys.ui.FindWindow("オプション")->Control("cmdCancel").Click();
    EXPECT_EQ(sys.logonStart.command, std::nullopt);
    sys.logonStart.refuse = true;
    sys.ui.menuChoices = {menu::Option};
    ASSERT_FALSE(Ends([&] { window().MouseUp(MouseButton::Left); }));
    sys.ui.FindWindow("オプション")->Control("Check5").Click();
    sys.ui.FindWindow("オプション")->Control("cmdOK").Click();
    ASSERT_EQ(sys.ui.messages.size(), 1u);
    EXPECT_NE(sys.ui.messages[0].text.find("CurrentVersion\\Run"), std::string::npos) << sys.ui.messages[0].text;
    EXPECT_EQ(sys.ui.FindWindow("オプション"), nullptr) << "the settings are still taken";
}

// Windows' own switch (設定 → アプリ → スタートアップ, Task Manager) turns
// the entry off beside it: the box is ticked only when the entry is this
// program's and the switch is not off; ticked and OK, the switch is on again.
TEST_F(ClockTest, TheLogonBoxAgreesWithWindowsOwnSwitch) {
    const std::string exe = dir.ProgramPath() + "\\Morix.exe";
    const std::string quoted = "\"" + exe + "\"";
    const std::string filetime("\xd4\x0d\x43\x8d\xc8\x3b\xd9\x01", 8);
    const auto value = [&](unsigned char state, bool stamped) {
        return std::string(1, static_cast<char>(state)) + std::string(3, '\0') +
               (stamped ? filetime : std::string(8, '\0'));
    };
    struct Switch {
        const char* name;
        std::optional<std::string> bytes;
        bool off;
    };
    const std::vector<Switch> switches{{"no switch", std::nullopt, false},
                                       {"on", value(0x02, false), false},
                                       {"on, found by the system", value(0x06, false), false},
                                       {"off", value(0x03, true), true},
                                       {"off, found by the system", value(0x07, true), true}};
    struct Entry {
        const char* name;
        std::optional<std::string> command;
        bool ours;
    };
    const std::vector<Entry> entries{
        {"no entry", std::nullopt, false}, {"this program's", quoted, true}, {"a copy's", "\"C:\\Old\\Morix.exe\"", false}};
    SampleDone();
    Set("アクティブウインドウへの移動", "0");
    ASSERT_FALSE(Start());
    const auto open = [&]() -> FakeWindow& {
        sys.ui.menuChoices = {menu::Option};
        EXPECT_FALSE(Ends([&] { window().MouseUp(MouseButton::Left); }));
        return *sys.ui.FindWindow("オプション");
    };
    for (const Entry& e : entries)
        for (const Switch& w : switches) {
            SCOPED_TRACE(std::string(e.name) + ", " + w.name);
            sys.logonStart.command = e.command;
            sys.logonStart.switchValue = w.bytes;
            FakeWindow& options = open();
            const bool shown = e.ours && !w.off;
            EXPECT_EQ(options.Control("Check5").value, shown ? 1 : 0);
            if (!shown) options.Control("Check5").Click();
            options.Control("cmdOK").Click();
            EXPECT_EQ(sys.logonStart.command, quoted);
            // Turned on as the system turns it on; a switch that was not off
            // is left as it was.
            EXPECT_EQ(sys.logonStart.switchValue, w.off ? std::optional<std::string>(value(0x02, false)) : w.bytes);
            EXPECT_EQ(open().Control("Check5").value, 1) << "shown ticked next time";
            sys.ui.FindWindow("オプション")->Control("cmdCancel").Click();
        }
    // Unticked, the entry goes as before; the switch is no concern then.
    sys.logonStart.command = quoted;
    sys.logonStart.switchValue = value(0x02, false);
    FakeWindow& options = open();
    options.Control("Check5").Click();
    options.Control("cmdOK").Click();
    EXPECT_EQ(sys.logonStart.command, std::nullopt);
}

}  // namespace
}  // namespace morix::test
