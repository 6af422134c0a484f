// The two option dialogs: what they show from the settings, what their boxes
// enable, what OK writes, and the reload of the clock window.
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::MouseButton;
using platform::Rect;

class OptionsTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        Set("アクティブウインドウへの移動", "0");
        InstallDesign("Lantern");
        InstallFrame("Cloud01");
        std::filesystem::create_directories(dir.Path() / "Sound");
        for (auto name : {"lt37xga.mid", "kirari.mid", "readme.txt", ".hidden.mid"}) Put(dir.Path() / "Sound" / name, "MThd");
        std::filesystem::create_directories(dir.Path() / "Sound" / "folder.mid");
    }
    bool Open(int item) {
        sys.ui.menuChoices = {item};
        return Ends([&] { window().MouseUp(MouseButton::Right); });
    }
    FakeWindow& Basic() { return *sys.ui.FindWindow("オプション"); }
    FakeWindow& Extended() { return *sys.ui.FindWindow("拡張オプション"); }
    FakeControl& C(FakeWindow& w, const std::string& name) { return w.Control(name); }
    std::string Selected(FakeListBox& list) { return list.index < 0 ? "" : list.items[list.index]; }
    // The keys an OK writes, in the order they stand in the settings file.
    std::vector<std::string> KeysInFile() {
        std::vector<std::string> keys;
        std::string ini = sys.codePage.FromAnsi(IniBytes());
        for (std::size_t at = 0; (at = ini.find("\r\n", at)) != std::string::npos;) {
            at += 2;
            std::size_t eq = ini.find('=', at);
            if (eq != std::string::npos && ini.find("\r\n", at) > eq) keys.push_back(ini.substr(at, eq - at));
        }
        return keys;
    }
};

TEST_F(OptionsTest, BasicDefaultsWithoutSettingsBesideTheClock) {
    std::filesystem::remove(dir.Path() / "Morix.ini");
    Set("起動時のSample.rtf", "1");
    ASSERT_FALSE(Start());
    ASSERT_FALSE(Open(menu::Option));
    FakeWindow& d = Basic();
    EXPECT_TRUE(program.BasicOptionsOpen);
    EXPECT_FALSE(window().enabled) << "the clock takes no input";
    EXPECT_EQ(d.kind, platform::WindowKind::Dialog);
    EXPECT_EQ(d.clientWidth, 467);  // 7005 twips
    EXPECT_EQ(d.clientHeight, 365);  // 5475 twips: the logon box's row below the chime's frame
    EXPECT_EQ(C(d, "Check5").place, (Rect{8, 336, 321, 357}));
    EXPECT_EQ(d.Bounds().left, window().Bounds().right);
    EXPECT_EQ(d.Bounds().top, window().Bounds().top);
    EXPECT_EQ(C(d, "Check2").value, 1);
    EXPECT_EQ(C(d, "Check3").value, 1);
    EXPECT_EQ(C(d, "Option1(0)").value, 1);
    EXPECT_EQ(C(d, "Option1(0)").text, "Morix の起動時毎に表示する");
    EXPECT_EQ(C(d, "Check4").value, 1);
    EXPECT_EQ(C(d, "Option2(0)").value, 1);
    EXPECT_EQ(Selected(d.List("lstDsin")), "Tidewalk");
    EXPECT_EQ(Selected(d.List("lstCyaim")), "lt37xga.mid");
    EXPECT_EQ(Selected(d.List("lstHukidasi")), "Ellip01");
    EXPECT_NE(C(d, "imgHukidasi").picture, nullptr) << "the stored frame's picture at once";
    EXPECT_EQ(BaseName(sys.pictures.loaded.back()), "MsgLU.gif");
    // Every plain file is a chime; hidden files and folders are not.
    auto chimes = d.List("lstCyaim").items;
    std::sort(chimes.begin(), chimes.end());
    EXPECT_EQ(chimes, (std::vector<std::string>{"kirari.mid", "lt37xga.mid", "readme.txt"}));
    EXPECT_EQ(C(d, "cmdPreView").place, (Rect{160, 24, 225, 49}));
    EXPECT_TRUE(sys.ui.messages.empty());
    // Enter presses no button; Esc presses キャンセル.
    EXPECT_EQ(d.defaultControl, nullptr);
    d.PressEsc();
    EXPECT_EQ(sys.ui.FindWindow("オプション"), nullptr);
    EXPECT_FALSE(program.Reloading);
    EXPECT_TRUE(window().enabled);
}

TEST_F(OptionsTest, BoxesTickedWithNoOptionChosenWriteTwoAndUntickedWriteZero) {
    Set("自動表示", "0");
    Set("チャイムの鳴らし方", "0");
    ASSERT_FALSE(Start());
    ASSERT_FALSE(Open(menu::Option));
    FakeWindow& d = Basic();
    EXPECT_FALSE(C(d, "Option1(0)").enabled);
    EXPECT_FALSE(d.List("lstCyaim").enabled);
    C(d, "Check3").Click();
    C(d, "Check4").Click();
    EXPECT_TRUE(C(d, "Option2(1)").enabled);
    EXPECT_TRUE(C(d, "cmdPlay").enabled);
    C(d, "cmdOK").Click();
    EXPECT_EQ(Get("自動表示"), "2");
    EXPECT_EQ(Get("チャイムの鳴らし方"), "2");

    // Unticking the chime box leaves its option chosen, but OK writes 0.
    ASSERT_FALSE(Open(menu::Option));
    FakeWindow& again = Basic();
    C(again, "Option2(0)").Click();
    C(again, "Check4").Click();
    EXPECT_EQ(C(again, "Option2(0)").value, 1);
    EXPECT_FALSE(C(again, "Option2(0)").enabled);
    C(again, "cmdOK").Click();
    EXPECT_EQ(Get("チャイムの鳴らし方"), "0");
}

TEST_F(OptionsTest, OkWritesTheSixKeysInOrderAndTheClockComesBackWithThem) {
    ASSERT_FALSE(Start());
    std::filesystem::remove(dir.Path() / "Morix.ini");
    Set("起動時のSample.rtf", "1");
    ASSERT_FALSE(Open(menu::Option));
    FakeWindow& d = Basic();
    d.List("lstDsin").Pick("Lantern");
    d.List("lstCyaim").Pick("kirari.mid");
    d.List("lstHukidasi").Pick("Cloud01");
    EXPECT_EQ(sys.pictures.loaded.back(), dir.ProgramPath() + "\\Frame\\Cloud01\\MsgLU.gif");
    Log();
    C(d, "cmdOK").Click();
    EXPECT_EQ(sys.ui.FindWindow("オプション"), nullptr);
    const std::vector<std::string> keys = KeysInFile();
    // After them, the reload's return home writes the followed-window record.
    const std::vector<std::string> written(keys.begin() + 1, keys.begin() + 7);
    EXPECT_EQ(written, (std::vector<std::string>{"自動削除", "自動表示", "チャイムの鳴らし方", "チャイムファイル名",
                                                 "Aviディレクトリ名", "吹き出しのディレクトリ名"}));
    EXPECT_EQ(Get("Aviディレクトリ名"), "Lantern");
    EXPECT_EQ(Get("チャイムファイル名"), "kirari.mid");
    EXPECT_EQ(Get("吹き出しのディレクトリ名"), "Cloud01");
    EXPECT_EQ(program.clips.DesignName, "Lantern") << "the clock was loaded anew";
    EXPECT_EQ(program.BackgroundPath, dir.ProgramPath() + "\\Design\\Lantern\\Back.bmp");
    EXPECT_TRUE(window().enabled);
    EXPECT_FALSE(program.Reloading);
    EXPECT_EQ(Get("終了時の日付"), "<missing>") << "a reload writes nothing at unload";
}

TEST_F(OptionsTest, AnOpenMemoWindowComesBackWithTheNewFrame) {
    Put(dir.Path() / "Tickdata" / "20261208.rtf", "");
    ASSERT_FALSE(Start());
    ASSERT_TRUE(program.MemoWindowOpen);
    sys.ui.FindWindow("Morix - 備忘録")->RichText("txtMsg").Type("書きかけ");
    ASSERT_FALSE(Open(menu::Option));  // the menu closes and saves the memo...
    EXPECT_FALSE(program.MemoWindowOpen);
    app.memos().ShowMemoWindow();  // ...which can be opened again beside the dialog
    Basic().List("lstHukidasi").Pick("Cloud01");
    const std::size_t loadedBefore = sys.pictures.loaded.size();
    C(Basic(), "cmdOK").Click();
    ASSERT_TRUE(program.MemoWindowOpen);
    EXPECT_EQ(sys.ui.FindWindow("Morix - 備忘録")->RichText("txtMsg").text, "書きかけ");
    const std::vector<std::string> loaded(sys.pictures.loaded.begin() + loadedBefore, sys.pictures.loaded.end());
    EXPECT_NE(std::find(loaded.begin(), loaded.end(), dir.ProgramPath() + "\\Frame\\Cloud01\\MsgRD.gif"), loaded.end());
    EXPECT_FALSE(form().MemoMenuEnabled());
}

TEST_F(OptionsTest, PreviewAndTrialOverlapInBothOrders) {
    ASSERT_FALSE(Start());
    for (bool previewEndsFirst : {true, false}) {
        ASSERT_FALSE(Open(menu::Option));
        FakeWindow& d = Basic();
        FakeTimer& previewTimer = sys.ui.TimerOf(d);
        FakeSoundDevice& device = *sys.ui.sounds[0];
        Log();
        C(d, "cmdPreView").Click();
        EXPECT_EQ(Log(), (std::vector<std::string>{"Animation1 Open 00.avi", "Animation1 Play 1"}));
        EXPECT_EQ(previewTimer.interval, 2000);
        EXPECT_TRUE(previewTimer.enabled);
        C(d, "cmdPlay").Click();
        EXPECT_EQ(device.fileName, dir.ProgramPath() + "\\sound\\lt37xga.mid");
        for (auto b : {"cmdOK", "cmdCancel", "cmdPreView", "cmdPlay"}) EXPECT_FALSE(C(d, b).enabled) << b;
        EXPECT_TRUE(C(d, "cmdStop").enabled);
        if (previewEndsFirst) {
            previewTimer.Fire();
            EXPECT_FALSE(C(d, "cmdOK").enabled) << "the chime still plays";
            C(d, "cmdStop").Click();
            EXPECT_FALSE(C(d, "cmdPlay").enabled) << "buttons change when the device reports the end";
            device.Done(platform::SoundEnd::Stopped);
        } else {
            device.Done();
            EXPECT_FALSE(C(d, "cmdOK").enabled) << "the preview still runs";
            previewTimer.Fire();
        }
        EXPECT_TRUE(C(d, "cmdOK").enabled && C(d, "cmdCancel").enabled && C(d, "cmdPlay").enabled);
        EXPECT_FALSE(C(d, "cmdStop").enabled);
        EXPECT_FALSE(previewTimer.enabled);
        C(d, "cmdCancel").Click();
    }
}

TEST_F(OptionsTest, NamesThatMatchNothingAndMissingFolders) {
    ASSERT_FALSE(Start());
    Set("Aviディレクトリ名", "tidewalk");  // another letter case selects nothing
    std::filesystem::remove_all(dir.Path() / "Sound");
    ASSERT_FALSE(Open(menu::Option));
    FakeWindow& d = Basic();
    EXPECT_EQ(d.List("lstDsin").index, -1);
    EXPECT_EQ(d.List("lstCyaim").Count(), 0);
    // A preview with nothing selected is a file error the user can go past.
    C(d, "cmdPreView").Click();
    ASSERT_EQ(sys.ui.messages.size(), 1u);
    EXPECT_EQ(sys.ui.messages[0].Flags(), 36);
    EXPECT_TRUE(C(d, "cmdOK").enabled) << "a preview that did not start leaves OK usable";
    EXPECT_TRUE(C(d, "cmdPreView").enabled);
    C(d, "cmdOK").Click();
    EXPECT_EQ(Get("Aviディレクトリ名"), "");
    EXPECT_EQ(Get("チャイムファイル名"), "");
}

TEST_F(OptionsTest, StoredValuesOutsideTheirRange) {
    Set("自動削除", "2");
    ASSERT_FALSE(Start());
    ASSERT_FALSE(Open(menu::Option));
    EXPECT_EQ(C(Basic(), "Check2").value, 2) << "greyed";
    C(Basic(), "cmdOK").Click();
    EXPECT_EQ(Get("自動削除"), "2");

    Set("自動表示", "3");  // names an option button that does not exist
    EXPECT_TRUE(Open(menu::Option));
    EXPECT_EQ(sys.ui.messages.back().text, "コントロール配列の要素が存在しません。");
    EXPECT_EQ(sys.ui.messages.back().Flags(), 16);
}

TEST_F(OptionsTest, CancelLeavesEverythingAndALaterExitIsARealOne) {
    ASSERT_FALSE(Start());
    const std::string before = IniBytes();
    ASSERT_FALSE(Open(menu::Option2));
    C(Extended(), "Check1").Click();
    C(Extended(), "cmdCancel").Click();
    ASSERT_FALSE(Open(menu::Option));
    Basic().CloseBox();
    EXPECT_EQ(IniBytes(), before);
    EXPECT_FALSE(program.Reloading);
    EXPECT_TRUE(Open(menu::End));
    EXPECT_EQ(Get("終了時の日付"), "20261208");
}

TEST_F(OptionsTest, ExtendedDefaultsAndTheClockStaysUsable) {
    std::filesystem::remove(dir.Path() / "Morix.ini");
    Set("起動時のSample.rtf", "1");
    ASSERT_FALSE(Start());
    ASSERT_FALSE(Open(menu::Option2));
    FakeWindow& d = Extended();
    EXPECT_EQ(C(d, "Check1").value, 1);
    EXPECT_EQ(C(d, "Option1(1)").value, 1);
    EXPECT_EQ(C(d, "Check2").value, 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(C(d, "Check3(" + std::to_string(i) + ")").value, 1) << i;
    EXPECT_EQ(C(d, "Check3(5)").value, 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(C(d, "Check4(" + std::to_string(i) + ")").value, 1) << i;
    EXPECT_EQ(C(d, "Check5").value, 1);
    EXPECT_EQ(C(d, "Check5").text, "全画面表示のウィンドウが手前のときは時計を隠す");
    EXPECT_EQ(C(d, "Text1").text, "メモをお書きください...");
    EXPECT_FALSE(C(d, "Text1").enabled);
    EXPECT_EQ(C(d, "Label1").text, "Morix\r\n                 Version 1.00\r\n時計と備忘録のちいさな道具");
    EXPECT_EQ(C(d, "Line2").place, (Rect{112, 144, 440, 144}));
    EXPECT_EQ(d.clientWidth, 461);
    EXPECT_TRUE(window().enabled) << "the clock stays usable";
    EXPECT_TRUE(program.ExtendedOptionsOpen);
    // Meanwhile another window in front does not carry the clock off.
    Set("アクティブウインドウへの移動", "1");
    ASSERT_FALSE(Reload());
    const Rect home = window().Bounds();
    sys.desktop.Open("Editor", {0, 0, 900, 700});
    ASSERT_FALSE(Tick());
    EXPECT_EQ(window().Bounds(), home);
}

TEST_F(OptionsTest, ExtendedOkWritesWhatItsBoxesSay) {
    struct Case {
        const char* name;
        std::vector<const char*> clicks;
        std::vector<std::pair<const char*, const char*>> expect;  // key, value ("<missing>": not written)
    } cases[] = {
        {"following off", {"Check1"}, {{"アクティブウインドウへの移動", "0"}, {"移動を許可するウインドウサイズ", ""}}},
        {"rule 3", {"Option1(3)"}, {{"移動を許可するウインドウサイズ", "3"}}},
        {"balloon off", {"Check2"},
         {{"情報吹き出しの表示", "0"}, {"CPUの表示", "<missing>"}, {"固定ディスクの表示", "1"}}},
        {"balloon off, memo line on", {"Check3(5)", "Check2"},
         {{"メモの表示", "<missing>"}, {"メモの内容", "メモをお書きください..."}}},
        {"disk line off", {"Check3(4)"}, {{"空容量の表示", "0"}, {"固定ディスクの表示", "<missing>"}}},
        {"no CD", {"Check4(2)"}, {{"CDの表示", "0"}, {"リムーバブルディスクの表示", "1"}}},
        {"not hiding for full screen", {"Check5"}, {{"全画面のときは隠す", "0"}, {"アクティブウインドウへの移動", "1"}}},
    };
    ASSERT_FALSE(Start());
    for (const Case& c : cases) {
        std::filesystem::remove(dir.Path() / "Morix.ini");
        ASSERT_FALSE(Open(menu::Option2));
        for (auto name : c.clicks) C(Extended(), name).Click();
        C(Extended(), "cmdOK").Click();
        for (auto [key, value] : c.expect) EXPECT_EQ(Get(key), value) << c.name << ": " << key;
        EXPECT_EQ(sys.ui.FindWindow("拡張オプション"), nullptr);
    }
    // An empty size rule reads back as 1 at the next load.
    std::filesystem::remove(dir.Path() / "Morix.ini");
    ASSERT_FALSE(Open(menu::Option2));
    C(Extended(), "Check1").Click();
    C(Extended(), "cmdOK").Click();
    Set("アクティブウインドウへの移動", "1");
    ASSERT_FALSE(Open(menu::Option2));
    EXPECT_EQ(C(Extended(), "Option1(1)").value, 1);
}

TEST_F(OptionsTest, ExtendedBoxesEnableWhatHangsOnThem) {
    Set("アクティブウインドウへの移動", "1");
    ASSERT_FALSE(Start());
    ASSERT_FALSE(Open(menu::Option2));
    FakeWindow& d = Extended();
    C(d, "Check3(5)").Click();
    EXPECT_TRUE(C(d, "Text1").enabled);
    C(d, "Check3(4)").Click();
    EXPECT_FALSE(C(d, "Check4(0)").enabled);
    C(d, "Check2").Click();
    EXPECT_FALSE(C(d, "Check3(0)").enabled);
    EXPECT_TRUE(C(d, "Text1").enabled) << "the balloon's box leaves the text box";
    C(d, "Check2").Click();
    EXPECT_FALSE(C(d, "Check4(0)").enabled) << "the disk box is still unticked";
    C(d, "Check3(4)").Click();
    EXPECT_TRUE(C(d, "Check4(0)").enabled);
    C(d, "Check1").Click();
    EXPECT_FALSE(C(d, "Option1(0)").enabled);
    EXPECT_EQ(C(d, "Option1(1)").value, 1) << "the selection is not changed";
}

TEST_F(OptionsTest, ExtendedMemoTextUpTo255Bytes) {
    ASSERT_FALSE(Start());
    std::string text;
    for (int i = 0; i < 130; ++i) text += "あ";  // 260 bytes in CP932
    ASSERT_FALSE(Open(menu::Option2));
    C(Extended(), "Check3(5)").Click();
    C(Extended(), "Text1").Type(text);
    C(Extended(), "cmdOK").Click();
    ASSERT_FALSE(Open(menu::Option2));
    EXPECT_EQ(C(Extended(), "Text1").text, text.substr(0, 127 * 3)) << "cut at 254 bytes, between characters";
}

TEST_F(OptionsTest, ExtendedStoredSizeRuleOutside0To3) {
    Set("アクティブウインドウへの移動", "1");
    Set("移動を許可するウインドウサイズ", "4");
    SampleDone();
    ASSERT_FALSE(Start());
    EXPECT_TRUE(Open(menu::Option2));
    EXPECT_EQ(sys.ui.messages.back().text, "コントロール配列の要素が存在しません。");
}

}  // namespace
}  // namespace morix::test
