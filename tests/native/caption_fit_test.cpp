// Controls as wide as their captions: a caption the table's width would cut
// widens its control, what lies beside it moves along, its container and
// the window grow with it; where every caption fits, nothing moves.
#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "platform/Layout.h"
#include "tests/fake/FakeProgram.h"
#include "tests/fake/FakeSystem.h"
#include "tests/fake/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace morix::test {
namespace {

using platform::ControlKind;
using platform::Rect;

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Each caption shows whole: its control is as wide as it needs, and its
// container (or the client area) does not cut it off. No two controls of one
// container that show something of their own (not frames or picture boxes,
// which others lie on, nor etched lines) cover each other.
void ExpectNothingCutOrCovered(const FakeWindow& w, const std::string& what) {
    const auto plain = [](const FakeControlBase* c) {
        const auto* general = dynamic_cast<const FakeControl*>(c);
        return !c->StacksBelowControls() && (general == nullptr || general->kind != ControlKind::Line);
    };
    for (const FakeControlBase* a : w.controls) {
        if (const auto* general = dynamic_cast<const FakeControl*>(a)) {
            const auto* box = dynamic_cast<const FakeControlBase*>(a->container);
            const int edge = box != nullptr ? box->place.Width() : w.clientWidth;
            EXPECT_LE(general->CaptionWidth(), a->place.Width()) << what << ": " << a->name;
            EXPECT_LE(general->CaptionHeight(), a->place.Height()) << what << ": " << a->name << "'s lines";
            EXPECT_LE(a->place.left + general->CaptionWidth(), edge) << what << ": " << a->name << " is cut by its container";
        }
        for (const FakeControlBase* b : w.controls) {
            if (a < b && a->container == b->container && plain(a) && plain(b)) {
                EXPECT_FALSE(Overlap(a->place, b->place)) << what << ": " << a->name << " and " << b->name;
            }
        }
    }
}

// A caption of n full-width characters.
std::string Wide(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "あ";
    return s;
}

TEST(CaptionFit, AControlGrowsByWhatItsCaptionLacksAndWhatIsBesideItFollows) {
    // A check box with a button beside it; below, a frame holding an option
    // button with a text box beside it. At 96 dpi a full-width character is
    // 10 pixels, a box and its gap 16: 8 characters fit the check box's 100
    // pixels, 9 need 6 more; 12 need 16 more than the option button's 120.
    struct Case {
        int dpi, check, option;
        int checkWidth, buttonLeft, optionWidth, textLeft, frameWidth, clientWidth;
    } cases[] = {
        {96, 8, 6, 100, 116, 120, 136, 168, 184},   // every caption fits: the table's sizes
        {96, 9, 6, 106, 122, 120, 136, 168, 190},   // a few pixels more; the button follows, the window grows
        {96, 20, 6, 216, 232, 120, 136, 168, 300},  // much wider beside its neighbour
        {96, 8, 12, 100, 116, 136, 152, 184, 200},  // inside a frame: the frame and the window grow
        {144, 8, 6, 150, 174, 180, 204, 252, 276},
        {144, 9, 6, 159, 183, 180, 204, 252, 285},
        {144, 8, 12, 150, 174, 204, 228, 276, 300},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        FakeSystem sys{dir.ProgramPath()};
        sys.desktop.systemDpi = c.dpi;
        const TwipsLayout at(TwipsPerPixel(c.dpi), TwipsPerPixel(c.dpi));
        platform::Ui& ui = sys.ui;
        auto window = ui.NewWindow(platform::WindowKind::Dialog);
        window->SetTitle("幅");
        auto check = ui.NewControl(*window, ControlKind::CheckBox, at("chk", Wide(c.check), 120, 120, 1500, 300));
        auto button = ui.NewControl(*window, ControlKind::Button, at("cmd", "OK", 1740, 120, 900, 375));
        auto frame = ui.NewControl(*window, ControlKind::Frame, at("fra", "枠", 120, 600, 2520, 900));
        auto option =
            ui.NewControl(*window, ControlKind::OptionButton, at("opt", Wide(c.option), 120, 240, 1800, 300, frame.get()));
        auto text = ui.NewControl(*window, ControlKind::TextBox, at("txt", "", 2040, 240, 360, 300, frame.get()));
        window->SetClientSize(at.Pixels(2760), at.PixelsY(1620));
        const Rect tableCheck = check->Place(), tableFrame = frame->Place();
        window->FitToCaptions();

        const FakeWindow& w = *sys.ui.FindWindow("幅");
        const std::string what = std::to_string(c.dpi) + " dpi, " + std::to_string(c.check) + " and " +
                                 std::to_string(c.option) + " characters";
        EXPECT_EQ(check->Place().Width(), c.checkWidth) << what;
        EXPECT_EQ(check->Place().left, tableCheck.left) << what << ": a control grows to the right";
        EXPECT_EQ(button->Place().left, c.buttonLeft) << what;
        EXPECT_EQ(option->Place().Width(), c.optionWidth) << what;
        EXPECT_EQ(text->Place().left, c.textLeft) << what;
        EXPECT_EQ(frame->Place().Width(), c.frameWidth) << what;
        EXPECT_EQ(frame->Place().left, tableFrame.left) << what << ": the frame lies in no row that grew";
        EXPECT_EQ(w.clientWidth, c.clientWidth) << what;
        EXPECT_EQ(w.clientHeight, at.PixelsY(1620)) << what << ": only widths change";
        ExpectNothingCutOrCovered(w, what);
    }
}

// A control may need more height than its place (a calendar shows a whole
// month, a label all its lines): what lies below it in its column moves down
// as much, what lies beside it stays, a line spanning it from above to below
// (drawn round a group) stretches with it, and the client area grows by what
// passed its bottom.
TEST(CaptionFit, AControlTallerThanItsPlacePushesDownWhatLiesBelowIt) {
    struct Case {
        int needed, belowTop, besideTop, lineBottom, clientGrowth;
    } cases[] = {{0, 164, 8, 180, 0}, {148, 164, 8, 180, 0}, {170, 186, 8, 202, 22}};
    for (const Case& c : cases) {
        std::vector<platform::CaptionFit> fits{{{8, 8, 167, 156}, platform::InClientArea, 0, c.needed},
                                               {{8, 164, 165, 185}, platform::InClientArea, 0, 0},
                                               {{180, 8, 220, 30}, platform::InClientArea, 0, 0},
                                               {{2, 0, 2, 180}, platform::InClientArea, 0, 0}};
        const platform::ClientGrowth growth = platform::GrowToCaptions(fits, 230, 233);
        EXPECT_EQ(fits[0].place.Height(), std::max(148, c.needed)) << c.needed;
        EXPECT_EQ(fits[1].place.top, c.belowTop) << c.needed;
        EXPECT_EQ(fits[2].place.top, c.besideTop) << c.needed;
        EXPECT_EQ(fits[3].place, (Rect{2, 0, 2, c.lineBottom})) << c.needed;
        EXPECT_EQ(growth.height, c.clientGrowth) << c.needed;
        EXPECT_EQ(growth.width, 0) << c.needed;
    }
}

// Every dialog the menu opens, in a font a fifth wider and a little taller
// than the one its table was drawn for: each caption whole, nothing covering
// anything, the dialog on the screen beside the clock.
TEST(CaptionFit, EveryDialogOfTheMenuShowsEachCaptionWholeInAWiderFont) {
    const std::pair<int, const char*> dialogs[] = {{menu::Option, "オプション"},
                                                   {menu::Option2, "拡張オプション"},
                                                   {menu::Nitiji, "日付と日時の変更"},
                                                   {menu::Add, "備忘録（新規・開く）"},
                                                   {menu::Alarm, "アラーム"}};
    for (int dpi : {96, 144}) {
        for (const auto& [item, title] : dialogs) {
            std::map<int, int> clientWidths;
            for (int halfWidth : {5, 6}) {
                FakeProgram p;
                p.SampleDone();
                p.Set("アクティブウインドウへの移動", "0");
                // Near the right edge: a grown dialog still goes beside the clock, on the screen.
                p.Set("起動時のLeft", std::to_string(900 * 15));
                p.sys.desktop.systemDpi = dpi;
                p.sys.ui.halfWidthPixels = halfWidth;
                p.sys.ui.lineHeightPixels = halfWidth == 5 ? 15 : 17;
                p.sys.ui.menuChoices = {item};
                ASSERT_FALSE(p.Start() || p.Ends([&] { p.window().MouseUp(platform::MouseButton::Left); }));
                const FakeWindow* dialog = p.sys.ui.FindWindow(title);
                ASSERT_NE(dialog, nullptr) << title;
                const std::string what = std::string(title) + " at " + std::to_string(dpi) + " dpi, " +
                                         std::to_string(halfWidth) + " pixels a half-width character";
                ExpectNothingCutOrCovered(*dialog, what);
                const Rect screen = p.sys.desktop.ScreenOf(p.window().Bounds());
                const Rect shown = dialog->Bounds();
                EXPECT_TRUE(shown.left >= screen.left && shown.right <= screen.right && shown.top >= screen.top &&
                            shown.bottom <= screen.bottom)
                    << what;
                EXPECT_TRUE(shown.right <= p.window().Bounds().left || shown.left >= p.window().Bounds().right)
                    << what << ": the dialog covers the clock";
                clientWidths[halfWidth] = dialog->clientWidth;
            }
            // Captions there reach the right edge: the dialog grows.
            if (item == menu::Option2 || item == menu::Add) {
                EXPECT_GT(clientWidths[6], clientWidths[5]) << title << " at " << dpi << " dpi";
            }
        }
    }
}

}  // namespace
}  // namespace morix::test
