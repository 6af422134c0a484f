// The scale taken at the right moment and from the right monitor: a stored
// place means one place at every scale, the clock is drawn for the monitor
// it ends on before it is placed, and pictures and window agree.
#include "tests/native/ClockFixture.h"

#include "face/picture/Avi.h"
#include "face/picture/Bmp.h"

namespace morix::test {
namespace {

using platform::Point;
using platform::Rect;

int Width(const Rect& r) { return r.right - r.left; }
int Scaled(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }
bool Inside(const Rect& outer, const Rect& r) {
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right && r.bottom <= outer.bottom;
}

// Drag mode, the clock dragged by (dx, dy), drag mode ended.
void Drag(FakeProgram& p, int dx, int dy) {
    p.sys.ui.menuChoices = {menu::Drg};
    ASSERT_FALSE(p.Ends([&] { p.window().MouseUp(platform::MouseButton::Left); }));
    p.shaper().Drag(dx, dy);
    ASSERT_FALSE(p.Ends([&] { p.shaper().RightClick(); }));
}

TEST(MonitorScaleTest, AHomeDroppedAt100PercentIsTheSamePixelPlaceAfterARestartAtEveryScale) {
    for (const int dpi : {96, 120, 144, 192}) {
        for (const Point home : {Point{600, 400}, Point{880, 700}}) {
            FakeProgram p;
            for (int percent : {125, 150, 200}) p.InstallScaleSet(percent);
            p.SampleDone();
            p.Set("アクティブウインドウへの移動", "0");
            ASSERT_FALSE(p.Start());
            const Rect before = p.window().Bounds();
            Drag(p, home.x - before.left, home.y - before.top);
            p.sys.ui.menuChoices = {menu::End};
            ASSERT_TRUE(p.Ends([&] { p.window().MouseUp(platform::MouseButton::Left); }));

            FakeSystem again{p.dir.ProgramPath()};
            again.desktop.systemDpi = dpi;
            Program next{again.platform};
            ASSERT_FALSE(p.Ends([&] { next.Main(); }));
            const Rect clock = again.ClockWindow().Bounds();
            EXPECT_EQ(clock, (Rect{home.x, home.y, home.x + Scaled(66, dpi), home.y + Scaled(22, dpi)})) << dpi;
            EXPECT_TRUE(Inside(again.desktop.PrimaryScreen(), clock)) << dpi;
        }
    }
}

// A window astride a 100 % and a 200 % monitor, in both orders: the clock is
// drawn for the monitor it ends on, and sized for it before it is placed, so
// it lies left of the window's caption buttons (from R - 58 with 18-pixel
// buttons and 4-pixel frames) and inside the window.
TEST(MonitorScaleTest, AWindowAstrideTwoScalesGetsTheClockLeftOfItsButtons) {
    struct Case {
        std::vector<Rect> monitors;
        std::vector<int> dpi;
        Rect editor;
        int drawnDpi;  // of the monitor the clock ends on
    } cases[] = {
        {{{0, 0, 1024, 768}, {1024, 0, 3072, 1536}}, {96, 192}, {300, 100, 1300, 700}, 192},
        {{{0, 0, 2048, 1536}, {2048, 0, 3072, 768}}, {192, 96}, {1000, 100, 2200, 700}, 96},
    };
    for (const Case& c : cases) {
        FakeProgram p;
        p.InstallScaleSet(200);
        p.SampleDone();
        p.sys.desktop.monitors = c.monitors;
        p.sys.desktop.monitorDpi = c.dpi;
        ASSERT_FALSE(p.Start());
        p.sys.desktop.Open("Editor", c.editor);
        ASSERT_FALSE(p.Tick());
        const Rect clock = p.window().Bounds();
        EXPECT_EQ(p.sys.desktop.MonitorDpi(clock), c.drawnDpi);
        EXPECT_EQ(Width(clock), Scaled(66, c.drawnDpi));
        EXPECT_EQ(clock.right, c.editor.right - 58);
        EXPECT_TRUE(Inside(c.editor, clock)) << clock.left << " " << clock.top;
        EXPECT_EQ(p.program.BackgroundPath.ends_with("Tidewalk\\200\\Back.bmp"), c.drawnDpi == 192);
    }
}

// Dragged onto a 200 % monitor, the clock is drawn for it where it was
// dropped, and so is the balloon beside it; dragged back, for 100 %.
TEST_F(ClockTest, AClockDraggedOntoAnotherScaleTakesItAtTheDrop) {
    InstallScaleSet(200);
    SampleDone();
    Set("アクティブウインドウへの移動", "0");
    sys.desktop.monitors = {{0, 0, 1024, 768}, {1024, 0, 3072, 1536}};
    sys.desktop.monitorDpi = {96, 192};
    ASSERT_FALSE(Start());
    struct Step {
        Point drop;
        int width, minuteLeft, balloonWidth;
    } steps[] = {{{2000, 300}, 132, 72, 560}, {{400, 300}, 66, 36, 280}};
    for (const Step& s : steps) {
        const Rect before = window().Bounds();
        Drag(*this, s.drop.x - before.left, s.drop.y - before.top);
        const Rect clock = window().Bounds();
        EXPECT_EQ(clock.left, s.drop.x);
        EXPECT_EQ(Width(clock), s.width);
        EXPECT_EQ(sys.ui.animations.at(1)->left, s.minuteLeft);
        EXPECT_EQ(Get("起動時のLeft"), std::to_string(s.drop.x * 15));
        sys.desktop.cursor = {clock.left + 10, clock.top + 10};
        ASSERT_FALSE(Tick());
        const FakeWindow* balloon = sys.ui.FindWindow("Morix - 情報");
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(Width(balloon->Bounds()), s.balloonWidth);
        sys.desktop.cursor = {5, 5};
        ASSERT_FALSE(Tick());
    }
}

std::string Str(const picture::Bytes& b) { return std::string(b.begin(), b.end()); }

// A design of real pictures at 100 % only, with its face as a 24-bit BMP, or
// as a 16-bit one, which the rescaler's decoder does not take.
void InstallOwnDesign(FakeProgram& p, bool sixteenBitFace) {
    const auto folder = p.dir.Path() / "Design" / "Mine";
    std::filesystem::create_directories(folder);
    std::string face = Str(picture::EncodeBmp24(picture::Image(66, 22, {40, 90, 200})));
    if (sixteenBitFace) {
        // The same header, 16 bits a pixel: rows of 132 bytes.
        face[28] = 16;
        face.resize(54 + 132 * 22);
        face[2] = static_cast<char>(face.size() & 0xFF), face[3] = static_cast<char>(face.size() >> 8);
    }
    FakeProgram::Put(folder / "Back.bmp", face);
    FakeProgram::Put(folder / "TP.bmp", Str(picture::EncodeBmp24(picture::Image(66, 22))));
    const picture::IndexedImage digits{25, 22, std::vector<std::uint8_t>(25 * 22, 1)};
    const std::string clip = Str(picture::EncodeAvi({digits}, {{0, 0, 0}, {255, 255, 255}}, 1));
    for (int n = 0; n < 60; ++n) FakeProgram::Put(folder / ClipName(n), clip);
}

// At 150 %, a design without its set: scaled copies where they can be made;
// where not, the 100 % pictures at their size, centred on the 99 x 33 place,
// the clips on them, and a balloon the size of its frame's pictures.
TEST(MonitorScaleTest, PicturesThatCannotBeScaledAreShownAtTheirOwnSize) {
    struct Case {
        bool sixteenBitFace, frameSet;
        Rect clock;
        int minuteLeft, balloonWidth;
        const char* face;
    } cases[] = {{false, true, {462, 367, 561, 400}, 54, 420, "Scaled\\Design\\Mine\\144\\Back.bmp"},
                 {true, true, {478, 372, 544, 394}, 36, 420, "Mine\\Back.bmp"},
                 {true, false, {478, 372, 544, 394}, 36, 280, "Mine\\Back.bmp"}};
    for (const Case& c : cases) {
        FakeProgram p;
        TempFolder localData;
        p.sys.process.localData = localData.ProgramPath();
        InstallOwnDesign(p, c.sixteenBitFace);
        if (c.frameSet) p.InstallScaleSet(150);
        p.SampleDone();
        p.Set("Aviディレクトリ名", "Mine");
        p.Set("アクティブウインドウへの移動", "0");
        p.sys.desktop.systemDpi = 144;
        ASSERT_FALSE(p.Start());
        EXPECT_EQ(p.sys.ui.messages.size(), 0u);
        const Rect clock = p.window().Bounds();
        EXPECT_EQ(clock, c.clock) << clock.left << " " << clock.top << " " << clock.right;
        EXPECT_EQ(p.sys.ui.animations.at(1)->left, c.minuteLeft);
        EXPECT_TRUE(p.program.BackgroundPath.ends_with(c.face)) << p.program.BackgroundPath;
        p.sys.desktop.cursor = {clock.left + 10, clock.top + 10};
        ASSERT_FALSE(p.Tick());
        const FakeWindow* balloon = p.sys.ui.FindWindow("Morix - 情報");
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(Width(balloon->Bounds()), c.balloonWidth);
    }
}

}  // namespace
}  // namespace morix::test

namespace morix::test {
namespace {

// Every control's place and the client area of the dialog that the menu item
// opens, with the clock at home at `home`.
std::map<std::string, platform::Rect> DialogLayout(const std::vector<platform::Rect>& monitors,
                                                   const std::vector<int>& dpi, platform::Point home, int item,
                                                   const char* title, platform::Rect* bounds = nullptr) {
    FakeProgram p;
    p.SampleDone();
    p.Set("アクティブウインドウへの移動", "0");
    p.Set("起動時のLeft", std::to_string(home.x * 15));
    p.Set("起動時のTop", std::to_string(home.y * 15));
    p.sys.desktop.monitors = monitors;
    p.sys.desktop.monitorDpi = dpi;
    std::map<std::string, platform::Rect> layout;
    EXPECT_FALSE(p.Start());
    p.sys.ui.menuChoices = {item};
    EXPECT_FALSE(p.Ends([&] { p.window().MouseUp(platform::MouseButton::Left); }));
    const FakeWindow* dialog = p.sys.ui.FindWindow(title);
    if (dialog == nullptr) {
        ADD_FAILURE() << title << " did not open";
        return layout;
    }
    for (const FakeControlBase* c : dialog->controls) layout[c->name] = c->place;
    layout["client area"] = {0, 0, dialog->clientWidth, dialog->clientHeight};
    if (bounds) *bounds = dialog->Bounds();
    return layout;
}

// A dialog opened beside a clock on a monitor of another scale than the
// primary's is laid out for the clock's monitor once: every control as in
// the same dialog on a lone monitor of that scale, the dialog on the clock's
// monitor.
TEST(MonitorScaleTest, ADialogBesideTheClockIsLaidOutOnceForTheClocksMonitor) {
    struct Case {
        std::vector<platform::Rect> monitors;
        std::vector<int> dpi;
        platform::Point home;
    } cases[] = {{{{0, 0, 1024, 768}, {1024, 0, 2944, 1080}}, {96, 144}, {1500, 300}},
                 {{{0, 0, 1536, 1152}, {1536, 0, 2560, 768}}, {144, 96}, {1800, 300}}};
    const std::pair<int, const char*> dialogs[] = {{menu::Option, "オプション"},
                                                   {menu::Option2, "拡張オプション"},
                                                   {menu::Nitiji, "日付と日時の変更"},
                                                   {menu::Add, "備忘録（新規・開く）"}};
    for (const Case& c : cases) {
        for (const auto& [item, title] : dialogs) {
            platform::Rect shown;
            const auto layout = DialogLayout(c.monitors, c.dpi, c.home, item, title, &shown);
            const auto alone = DialogLayout({{0, 0, 1920, 1080}}, {c.dpi[1]}, {500, 300}, item, title);
            EXPECT_EQ(layout.size(), alone.size()) << title;
            for (const auto& [name, place] : alone) {
                const auto it = layout.find(name);
                ASSERT_NE(it, layout.end()) << name;
                EXPECT_EQ(it->second, place) << title << " " << name << " at " << c.dpi[1] << " dpi: width "
                                             << it->second.Width() << " for " << place.Width();
            }
            EXPECT_TRUE(Inside(c.monitors[1], shown)) << title;
        }
    }
}

}  // namespace
}  // namespace morix::test
