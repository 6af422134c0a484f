// Other zones' time in the information balloon: the line of each chosen
// zone across daylight-saving changes, beyond midnight, for a zone the system
// lost and a value that cannot be read; where the zones come from.
#include "settings/OtherZones.h"
#include "tests/native/ClockFixture.h"

#include <chrono>

namespace morix::test {
namespace {

platform::UtcSeconds Utc(int y, int mo, int d, int h, int mi) {
    using namespace std::chrono;
    const sys_seconds t = sys_days{year{y} / month{unsigned(mo)} / day{unsigned(d)}} + hours{h} + minutes{mi};
    return t.time_since_epoch().count();
}

class OtherZonesTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        Set("アクティブウインドウへの移動", "0");
        // Only the zone lines, to read them alone.
        for (auto key : {"CPUの表示", "システムリソースの表示", "メモリーの表示", "電源の表示", "空容量の表示"}) Set(key, "0");
        ASSERT_FALSE(Start());
    }
    // The system clock at that instant (the fake's local zone is Tokyo's).
    void At(platform::UtcSeconds utc) { sys.clock.now = sys.timeZones.Find("Tokyo Standard Time")->At(utc); }
    void Choose(std::vector<std::string> values) {
        for (std::size_t i = 0; i < 8; ++i) Set(keys::OtherZones[i], i < values.size() ? values[i] : "");
    }
    // The balloon's text as it opens, closed again after.
    std::string Opened() {
        sys.desktop.cursor = {window().Bounds().left + 10, window().Bounds().top + 10};
        EXPECT_FALSE(Tick());
        FakeWindow* w = sys.ui.FindWindow("Morix - 情報");
        std::string text = w && w->visible ? w->RichText("RichTextBox1").text : "<no balloon>";
        sys.desktop.cursor = {0, 0};
        EXPECT_FALSE(Tick());
        return text;
    }
};

TEST_F(OtherZonesTest, EachSideOfEveryChangeAndOfMidnight) {
    struct Row {
        const char* zone;
        platform::UtcSeconds utc;
        const char* line;
    };
    const Row rows[] = {
        // New York: forward on 8 March 2026 at 2:00, back on 1 November at 2:00.
        {"Eastern Standard Time", Utc(2026, 3, 8, 6, 59), "[X]08(日) 01:59"},
        {"Eastern Standard Time", Utc(2026, 3, 8, 7, 0), "[X]08(日) 03:00"},
        {"Eastern Standard Time", Utc(2026, 11, 1, 5, 59), "[X]01(日) 01:59"},
        {"Eastern Standard Time", Utc(2026, 11, 1, 6, 0), "[X]01(日) 01:00"},
        // Berlin: forward on 29 March at 2:00, back on 25 October at 3:00.
        {"W. Europe Standard Time", Utc(2026, 3, 29, 0, 59), "[X]29(日) 01:59"},
        {"W. Europe Standard Time", Utc(2026, 3, 29, 1, 0), "[X]29(日) 03:00"},
        {"W. Europe Standard Time", Utc(2026, 10, 25, 0, 59), "[X]25(日) 02:59"},
        {"W. Europe Standard Time", Utc(2026, 10, 25, 1, 0), "[X]25(日) 02:00"},
        // London: the same instants, an hour behind.
        {"GMT Standard Time", Utc(2026, 3, 29, 0, 59), "[X]29(日) 00:59"},
        {"GMT Standard Time", Utc(2026, 3, 29, 1, 0), "[X]29(日) 02:00"},
        {"GMT Standard Time", Utc(2026, 10, 25, 0, 59), "[X]25(日) 01:59"},
        {"GMT Standard Time", Utc(2026, 10, 25, 1, 0), "[X]25(日) 01:00"},
        // Sydney: back on 5 April at 3:00, forward on 4 October at 2:00.
        {"AUS Eastern Standard Time", Utc(2026, 4, 4, 15, 59), "[X]05(日) 02:59"},
        {"AUS Eastern Standard Time", Utc(2026, 4, 4, 16, 0), "[X]05(日) 02:00"},
        {"AUS Eastern Standard Time", Utc(2026, 10, 3, 15, 59), "[X]04(日) 01:59"},
        {"AUS Eastern Standard Time", Utc(2026, 10, 3, 16, 0), "[X]04(日) 03:00"},
        // Half and three quarters of an hour.
        {"India Standard Time", Utc(2026, 12, 9, 2, 36), "[X]09(水) 08:06"},
        {"Nepal Standard Time", Utc(2026, 12, 9, 2, 36), "[X]09(水) 08:21"},
        // Tokyo just past midnight on the 9th, New York still on the 8th;
        // Tokyo before midnight on the 9th, Sydney already on the 10th.
        {"Eastern Standard Time", Utc(2026, 12, 8, 15, 30), "[X]08(火) 10:30"},
        {"AUS Eastern Standard Time", Utc(2026, 12, 9, 14, 30), "[X]10(木) 01:30"},
    };
    for (const Row& row : rows) {
        Choose({std::string(row.zone) + ",X"});
        At(row.utc);
        EXPECT_EQ(Opened(), row.line) << row.zone << " at " << row.utc;
    }
}

TEST_F(OtherZonesTest, RemovedZoneUnreadableValueAndLabelsCutToTheRow) {
    std::erase_if(sys.timeZones.zones, [](const FakeZone& z) { return z.key == "Hawaiian Standard Time"; });
    At(Utc(2026, 12, 9, 2, 36));
    // Eight bytes of label are left beside "09(水) 11:36" in a row of 22.
    Choose({"Hawaiian Standard Time,ホノルル", "Eastern Standard Time,ニューヨーク", "時刻,壊れた値",
            "India Standard Time,aニューヨ", "Nepal Standard Time,Kathmandu", "Eastern Standard Time,Eastern Time"});
    EXPECT_EQ(Opened(), "[ホノルル]地域がありません\r\n[ニューヨ]08(火) 21:36\r\n[?] 読めない設定\r\n"
                        "[aニュー]09(水) 08:06\r\n[Kathmand]09(水) 08:21\r\n[Eastern]08(火) 21:36");
    EXPECT_EQ(Get("他の地域3"), "時刻,壊れた値");
}

TEST_F(OtherZonesTest, WindowsAdditionalClocksUntilTheUserChose) {
    sys.timeZones.additionalClocks = {{"Eastern Standard Time", "NY"}, {"AUS Eastern Standard Time", ""}};
    At(Utc(2026, 12, 9, 2, 36));
    EXPECT_EQ(Opened(), "[NY]08(火) 21:36\r\n[キャンベ]09(水) 13:36");
    // A choice of none is a choice.
    Choose({});
    EXPECT_EQ(Opened(), "");
}

TEST_F(OtherZonesTest, RebuiltEveryTickLookedUpOnceAndSwitchedOff) {
    Choose({"India Standard Time,デリー"});
    At(Utc(2026, 12, 9, 2, 36));
    sys.desktop.cursor = {window().Bounds().left + 10, window().Bounds().top + 10};
    ASSERT_FALSE(Tick());
    const int finds = sys.timeZones.finds;
    sys.clock.Advance(60);
    ASSERT_FALSE(Tick());
    EXPECT_EQ(sys.ui.FindWindow("Morix - 情報")->RichText("RichTextBox1").text, "[デリー]09(水) 08:07");
    EXPECT_EQ(sys.timeZones.finds, finds);
    sys.desktop.cursor = {0, 0};
    ASSERT_FALSE(Tick());
    Set("他の地域の時刻の表示", "0");
    EXPECT_EQ(Opened(), "");
}

TEST_F(OtherZonesTest, ChosenInTheirOwnDialogAndStoredByTheExtendedOptions) {
    sys.timeZones.additionalClocks = {{"India Standard Time", "デリー"}};
    sys.ui.menuChoices = {menu::Option2};
    ASSERT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Right); }));
    FakeWindow& ext = *sys.ui.FindWindow("拡張オプション");
    EXPECT_EQ(ext.Control("Check6").value, 1);
    ext.Control("cmdZones").Click();
    FakeWindow& d = *sys.ui.FindWindow("他の地域の時刻");
    EXPECT_FALSE(ext.enabled) << "the extended options wait for it";
    // Windows' additional clock is where the choice starts.
    EXPECT_EQ(d.List("lstChosen").items,
              std::vector<std::string>{"デリー  (UTC+05:30) チェンナイ、コルカタ、ムンバイ、ニューデリー"});
    d.List("lstZones").Pick("(UTC-05:00) 東部標準時 (米国およびカナダ)");
    d.Control("cmdAdd").Click();
    EXPECT_EQ(d.Control("txtLabel").text, "東部標準時");
    d.Control("txtLabel").Type("ニューヨーク");
    d.List("lstZones").Pick("(UTC+10:00) キャンベラ、メルボルン、シドニー");
    d.Control("cmdAdd").Click();
    d.Control("cmdUp").Click();
    d.List("lstChosen").Pick("デリー  (UTC+05:30) チェンナイ、コルカタ、ムンバイ、ニューデリー");
    d.Control("cmdRemove").Click();
    EXPECT_EQ(d.List("lstChosen").items,
              (std::vector<std::string>{"キャンベラ  (UTC+10:00) キャンベラ、メルボルン、シドニー",
                                        "ニューヨーク  (UTC-05:00) 東部標準時 (米国およびカナダ)"}));
    d.Control("cmdOK").Click();
    EXPECT_TRUE(ext.enabled);
    EXPECT_EQ(Get("他の地域1"), "<missing>") << "stored only by the extended options' OK";
    ext.Control("Check6").Click();
    ext.Control("cmdOK").Click();
    EXPECT_EQ(Get("他の地域1"), "AUS Eastern Standard Time,キャンベラ");
    EXPECT_EQ(Get("他の地域2"), "Eastern Standard Time,ニューヨーク");
    EXPECT_EQ(Get("他の地域3"), "");
    EXPECT_EQ(Get("他の地域8"), "");
    EXPECT_EQ(Get("他の地域の時刻の表示"), "0");
}

TEST_F(OtherZonesTest, EightAtMostAndCancelKeepsTheFormerChoice) {
    Choose({"Tokyo Standard Time,東京"});
    sys.ui.menuChoices = {menu::Option2};
    ASSERT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Right); }));
    FakeWindow& ext = *sys.ui.FindWindow("拡張オプション");
    ext.Control("cmdZones").Click();
    FakeWindow& d = *sys.ui.FindWindow("他の地域の時刻");
    for (int i = 0; i < 7; ++i) d.Control("cmdAdd").Click();
    EXPECT_EQ(d.List("lstChosen").Count(), 8);
    EXPECT_FALSE(d.Control("cmdAdd").enabled);
    d.PressEsc();
    ext.Control("cmdOK").Click();
    EXPECT_EQ(Get("他の地域1"), "Tokyo Standard Time,東京");
    EXPECT_EQ(Get("他の地域2"), "");
}

TEST_F(OtherZonesTest, TabWalksTheZoneDialogInLayoutOrder) {
    Choose({"Tokyo Standard Time,東京", "India Standard Time,デリー"});
    sys.ui.menuChoices = {menu::Option2};
    ASSERT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Right); }));
    sys.ui.FindWindow("拡張オプション")->Control("cmdZones").Click();
    FakeWindow& d = *sys.ui.FindWindow("他の地域の時刻");
    // The first zone chosen: it can go down, not up.
    std::vector<std::string> walked{d.Focused()->name};
    for (int i = 0; i < 8; ++i) {
        d.PressTab();
        walked.push_back(d.Focused()->name);
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"lstZones", "cmdAdd", "lstChosen", "cmdDown", "cmdRemove", "txtLabel",
                                                "cmdCancel", "cmdOK", "lstZones"}));
}

TEST(OtherZoneValues, StoredFormAndShortNames) {
    const std::pair<const char*, ChosenZone> values[] = {
        {"Eastern Standard Time,ニューヨーク", {"Eastern Standard Time", "ニューヨーク", true, ""}},
        {"Tokyo Standard Time,東京, 本社", {"Tokyo Standard Time", "東京, 本社", true, ""}},
        {"Tokyo Standard Time,", {"Tokyo Standard Time", "", true, ""}},
        {"東京,本社", {"", "", false, "東京,本社"}},
        {"no comma", {"", "", false, "no comma"}},
        {",label", {"", "", false, ",label"}},
    };
    for (const auto& [value, zone] : values) {
        EXPECT_EQ(ParseZoneValue(value), zone) << value;
        EXPECT_EQ(ZoneValue(zone), value);
    }
    const std::pair<const char*, const char*> names[] = {
        {"(UTC+10:00) キャンベラ、メルボルン、シドニー", "キャンベラ"},
        {"(UTC-05:00) 東部標準時 (米国およびカナダ)", "東部標準時"},
        {"(UTC-05:00) Eastern Time (US & Canada)", "Eastern Time"},
        {"(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna", "Amsterdam"},
        {"(UTC+05:45) カトマンズ", "カトマンズ"},
        {"Coordinated Universal Time", "Coordinated Universal Time"},
    };
    for (const auto& [display, name] : names) EXPECT_EQ(ShortZoneName(display), name);
}

}  // namespace
}  // namespace morix::test
