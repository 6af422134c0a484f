// Every form of the program as a user's hands meet it over the simulated
// desktop: each shown, enabled control is what a click at its centre reaches
// (tests/win32/forms_reach_test.cpp makes the same check over the real
// controls), a dialog opened from the menu takes the keyboard, and Tab walks
// the controls in layout order.
#include "platform/Layout.h"
#include "tests/native/ClockFixture.h"

#include <algorithm>
#include <functional>

namespace morix::test {
namespace {

using platform::MouseButton;

// The dialogs the menu opens.
struct DialogCase {
    int item;
    const char* title;
};
const DialogCase MenuDialogs[] = {{menu::Add, "備忘録（新規・開く）"},
                                  {menu::Option, "オプション"},
                                  {menu::Option2, "拡張オプション"},
                                  {menu::Nitiji, "日付と日時の変更"},
                                  {menu::Alarm, "アラーム"}};

class FormsReachTest : public ClockTest {
protected:
    void SetUp() override {
        // Following on and every balloon line chosen: every box of the
        // extended options can be used.
        for (auto key : {"アクティブウインドウへの移動", "情報吹き出しの表示", "空容量の表示", "メモの表示"}) Set(key, "1");
    }
    bool FromMenu(int item) {
        sys.ui.menuChoices = {item};
        return Ends([&] { window().MouseUp(MouseButton::Right); });
    }
    // The control, or one it holds (as the system finds a container's child).
    static bool ItOrItsOwn(const FakeControlBase* hit, const FakeControlBase* c) {
        for (const FakeControlBase* at = hit; at != nullptr; at = dynamic_cast<const FakeControlBase*>(at->container))
            if (at == c) return true;
        return false;
    }
    FakeWindow& Shown(const char* title) {
        FakeWindow* w = sys.ui.FindWindow(title);
        if (w == nullptr || !w->visible) throw std::logic_error(std::string(title) + " is not shown");
        return *w;
    }
};

TEST_F(FormsReachTest, EveryShownControlOfEveryFormIsWhatAClickAtItsCentreReaches) {
    ASSERT_FALSE(Start());  // the sample memo opens at the first start
    struct FormCase {
        const char* form;
        const char* title;
        std::function<bool()> open;
    };
    const std::vector<FormCase> forms{
        {"Form7", "Morix - 備忘録", [] { return false; }},
        {"Form2", "備忘録（新規・開く）", [&] { return FromMenu(menu::Add); }},
        {"Form3", "オプション", [&] { return FromMenu(menu::Option); }},
        {"Form4", "拡張オプション", [&] { return FromMenu(menu::Option2); }},
        {"Form5", "日付と日時の変更", [&] { return FromMenu(menu::Nitiji); }},
        {"Form10", "アラーム", [&] {
             Set("アラーム1", "1|07:00|曜日 月金|lt37xga.mid|朝");
             return FromMenu(menu::Alarm);
         }},
        {"Form8", "Morix - 情報", [&] {
             sys.desktop.cursor = {window().Bounds().left + 10, window().Bounds().top + 10};
             return Tick();
         }},
    };
    for (const FormCase& f : forms) {
        ASSERT_FALSE(f.open()) << f.form;
        FakeWindow& w = Shown(f.title);
        int checked = 0;
        for (const FakeControlBase* c : w.controls) {
            if (!c->Reachable()) continue;
            const platform::Rect r = c->ClientPlace();
            const FakeWindow::Hit hit = w.HitAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            EXPECT_TRUE(ItOrItsOwn(hit.control, c)) << f.form << ": a click at the centre of " << c->name << " reaches "
                                      << (hit.control ? hit.control->name : hit.surface ? "the drag surface" : "the face");
            ++checked;
        }
        EXPECT_GT(checked, 0) << f.form;
        if (std::string(f.form) == "Form7") {
            // The corner by which the memo window is dragged, shown.
            const FakeShaper* corner = nullptr;
            for (const FakeShaper* s : sys.ui.shapers)
                if (&s->window == &w) corner = s;
            ASSERT_NE(corner, nullptr);
            EXPECT_TRUE(corner->visible);
            EXPECT_EQ(corner->Surface(), (platform::Rect{1, 1, 81, 34}));
            EXPECT_EQ(w.HitAt({40, 17}).surface, corner);
            // Closed by its close picture, clicked.
            w.Control("picClose").Click();
        } else if (std::string(f.form) != "Form8") {
            w.PressEsc();
        }
    }
}

TEST_F(FormsReachTest, ADialogOpenedFromTheMenuTakesTheKeyboardAndEscClosesItWritingNothing) {
    SampleDone();
    ASSERT_FALSE(Start());
    for (const DialogCase& d : MenuDialogs) {
        const std::string before = IniBytes();
        ASSERT_FALSE(FromMenu(d.item)) << d.title;
        FakeWindow& w = Shown(d.title);
        EXPECT_EQ(sys.ui.active, &w) << d.title;
        ASSERT_NE(w.Focused(), nullptr) << d.title << ": no control has the keyboard";
        if (std::string(d.title) == "オプション") {
            w.PressEnter();  // presses no button
            EXPECT_EQ(sys.ui.FindWindow(d.title), &w);
        }
        w.PressEsc();
        EXPECT_EQ(sys.ui.FindWindow(d.title), nullptr) << d.title;
        EXPECT_EQ(IniBytes(), before) << d.title;
        EXPECT_FALSE(program.Reloading);
    }
}

TEST_F(FormsReachTest, TabWalksEachOptionsDialogTopToBottomThenLeftToRight) {
    SampleDone();
    Set("移動を許可するウインドウサイズ", "1");
    Set("アラーム1", "1|07:00|曜日 月金|lt37xga.mid|朝");
    ASSERT_FALSE(Start());
    struct Walk {
        int item;
        const char* title;
        std::vector<std::string> stops;  // from the first control round to it again
    };
    const std::vector<Walk> walks{
        {menu::Option, "オプション",
         {"Check2", "Check3", "Option1(0)", "Check4", "Option2(0)", "lstDsin", "lstHukidasi", "cmdPreView", "cmdOK",
          "cmdCancel", "lstCyaim", "cmdPlay", "cmdStop", "Check5", "Check2"}},
        {menu::Option2, "拡張オプション",
         {"Check1", "Option1(1)", "Check2", "Check3(0)", "Check3(5)", "Check3(1)", "Text1", "Check6",
          "cmdZones", "Check3(2)", "Check3(3)",
          "Check3(4)", "Check4(0)", "Check4(1)", "cmdCancel", "cmdOK", "Check4(2)", "Check5", "Check1"}},
        // A weekday alarm: the date and the day count take no input.
        {menu::Alarm, "アラーム",
         {"lstAlarms", "chkEnabled", "txtHour", "txtMinute", "optRepeat(2)", "chkDay(0)", "chkDay(1)", "chkDay(2)",
          "chkDay(3)", "chkDay(4)", "chkDay(5)", "chkDay(6)", "lstSound", "cmdTest", "txtMessage", "cmdAdd", "cmdDelete",
          "cmdOK", "cmdCancel", "lstAlarms"}},
    };
    for (const Walk& walk : walks) {
        SCOPED_TRACE(walk.title);
        ASSERT_FALSE(FromMenu(walk.item));
        FakeWindow& w = Shown(walk.title);
        std::vector<std::string> walked{w.Focused()->name};
        while (walked.size() < walk.stops.size()) {
            w.PressTab();
            walked.push_back(w.Focused()->name);
        }
        EXPECT_EQ(walked, walk.stops);
        // Backwards from the first control: the last one.
        w.PressTab(true);
        EXPECT_EQ(w.Focused()->name, walk.stops[walk.stops.size() - 2]);
        w.PressEsc();
    }
}

// Shift+Tab walks every dialog's Tab order the other way round, from its
// first control to its last (the memo picker has three stops, the options
// fourteen: not only a power of two).
TEST_F(FormsReachTest, ShiftTabWalksEveryDialogBackwardsFromTheFirstControlToTheLast) {
    SampleDone();
    ASSERT_FALSE(Start());
    for (const DialogCase& d : MenuDialogs) {
        ASSERT_FALSE(FromMenu(d.item)) << d.title;
        FakeWindow& w = Shown(d.title);
        std::vector<std::string> forwards{w.Focused()->name};
        for (w.PressTab(); w.Focused()->name != forwards.front() && forwards.size() < 40; w.PressTab())
            forwards.push_back(w.Focused()->name);
        std::vector<std::string> backwards{forwards.front()};
        for (std::size_t i = 1; i < forwards.size(); ++i) {
            w.PressTab(true);
            backwards.push_back(w.Focused()->name);
        }
        std::reverse(forwards.begin() + 1, forwards.end());
        EXPECT_EQ(backwards, forwards) << d.title;
        w.PressEsc();
    }
}

// The order itself, for the system's dialogs and the simulated ones: top to
// bottom, then left to right, wrapping at both ends, for any number of stops.
TEST(TabOrder, NextAndPreviousInLayoutOrderWrappingAtBothEnds) {
    struct Row {
        std::size_t stops, current;
        bool backwards;
        std::size_t expected;
    };
    for (const Row r : {Row{3, 0, true, 2}, Row{5, 0, true, 4}, Row{16, 0, true, 15}, Row{5, 3, true, 2},
                        Row{3, 2, false, 0}, Row{5, 1, false, 2}, Row{1, 0, true, 0}, Row{3, 3, true, 2},
                        Row{3, 3, false, 0}}) {
        // Made in reverse layout order: stop i lies above stop i - 1.
        std::vector<platform::Rect> places;
        for (std::size_t i = 0; i < r.stops; ++i) {
            const int top = int(r.stops - 1 - i) * 30;
            places.push_back({10, top, 90, top + 20});
        }
        const auto made = [&](std::size_t inLayout) { return inLayout >= r.stops ? inLayout : r.stops - 1 - inLayout; };
        EXPECT_EQ(platform::NextInTabOrder(places, made(r.current), r.backwards), made(r.expected))
            << r.stops << " stops, from " << r.current << (r.backwards ? " backwards" : "");
    }
}

}  // namespace
}  // namespace morix::test
