// The clock, its balloons and dialogs drawn for the scale of the display they
// are on, with the pictures of that scale.
#include "tests/native/ClockFixture.h"

#include "face/picture/Avi.h"
#include "face/picture/Bmp.h"

namespace morix::test {
namespace {

using platform::Rect;

// A design and a frame that hold a set for `percent` beside their own.
void InstallSets(FakeProgram& p, int percent) {
    const auto s = [percent](int pixels) { return (pixels * percent + 50) / 100; };
    const auto design = p.dir.Path() / "Design" / "Tidewalk" / std::to_string(percent);
    std::filesystem::create_directories(design);
    FakeProgram::Put(design / "Back.bmp", TinyBmp(s(66), s(22)));
    FakeProgram::Put(design / "TP.bmp", TinyBmp(s(66), s(22)));
    for (int n = 0; n < 60; ++n) FakeProgram::Put(design / ClipName(n), TinyAvi());
    const auto frame = p.dir.Path() / "Frame" / "Ellip01" / std::to_string(percent);
    std::filesystem::create_directories(frame);
    for (auto picture : {"MsgLU.gif", "MsgLD.gif", "MsgRU.gif", "MsgRD.gif"})
        FakeProgram::Put(frame / picture, TinyGif(s(280), s(140)));
}

int Width(const Rect& r) { return r.right - r.left; }
int Height(const Rect& r) { return r.bottom - r.top; }

TEST(ScaleTest, EachScaleDrawsTheClockAndItsBalloonsWithItsOwnPictures) {
    struct Case {
        int dpi;
        const char* set;  // the folder the face's pictures come from
        int face[2], hourLeft, minuteLeft, balloon[2];
    } cases[] = {{96, "Tidewalk\\Back.bmp", {66, 22}, 5, 36, {280, 140}},
                 {120, "Tidewalk\\125\\Back.bmp", {83, 28}, 6, 45, {350, 175}},
                 {144, "Tidewalk\\150\\Back.bmp", {99, 33}, 8, 54, {420, 210}},
                 {192, "Tidewalk\\200\\Back.bmp", {132, 44}, 10, 72, {560, 280}},
                 // Halfway between two sets, the larger one (made smaller when
                 // the pictures can be read; these cannot, so it is drawn at
                 // its own size).
                 {108, "Tidewalk\\125\\Back.bmp", {83, 28}, 6, 45, {350, 175}},
                 {168, "Tidewalk\\200\\Back.bmp", {132, 44}, 10, 72, {560, 280}}};
    for (const Case& c : cases) {
        FakeProgram p;
        for (int percent : {125, 150, 200}) InstallSets(p, percent);
        p.SampleDone();
        p.Set("アクティブウインドウへの移動", "0");
        p.sys.desktop.systemDpi = c.dpi;
        ASSERT_FALSE(p.Start()) << c.dpi;
        const Rect clock = p.window().Bounds();
        EXPECT_EQ(Width(clock), c.face[0]) << c.dpi;
        EXPECT_EQ(Height(clock), c.face[1]) << c.dpi;
        EXPECT_TRUE(p.program.BackgroundPath.ends_with(c.set)) << p.program.BackgroundPath;
        EXPECT_EQ(p.sys.ui.animations.at(0)->left, c.hourLeft) << c.dpi;
        EXPECT_EQ(p.sys.ui.animations.at(1)->left, c.minuteLeft) << c.dpi;
        // The pointer resting on the clock opens the balloon beside it.
        p.sys.desktop.cursor = {clock.left + 10, clock.top + 10};
        ASSERT_FALSE(p.Tick());
        const FakeWindow* balloon = p.sys.ui.FindWindow("Morix - 情報");
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(Width(balloon->Bounds()), c.balloon[0]) << c.dpi;
        EXPECT_EQ(Height(balloon->Bounds()), c.balloon[1]) << c.dpi;
    }
}

// Two monitors, the second at 200 %: the clock on a window there is drawn
// for it, and back on the first for that one. A home dragged onto the second
// monitor is the same place after a restart.
TEST_F(ClockTest, TheClockTakesTheScaleOfTheMonitorItIsOn) {
    InstallSets(*this, 200);
    SampleDone();
    sys.desktop.monitors = {{0, 0, 1024, 768}, {1024, 0, 3072, 1536}};
    sys.desktop.monitorDpi = {96, 192};
    ASSERT_FALSE(Start());
    const auto faceOn = [&](const Rect& editor) {
        sys.desktop.Open("Editor", editor);
        EXPECT_FALSE(Tick());
        return std::pair(Width(window().Bounds()), program.BackgroundPath.ends_with("Tidewalk\\200\\Back.bmp"));
    };
    EXPECT_EQ(faceOn({1200, 100, 2600, 1000}), std::pair(132, true));
    EXPECT_EQ(sys.ui.animations.at(1)->left, 72);
    EXPECT_EQ(faceOn({100, 100, 900, 700}), std::pair(66, false));

    // The user drags the clock onto the second monitor in drag mode: the
    // next start puts it in the same place, drawn for that monitor.
    Set("アクティブウインドウへの移動", "0");
    sys.ui.menuChoices = {menu::Drg};
    ASSERT_FALSE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
    window().Move(2000, 300, 66, 22);
    ASSERT_FALSE(Ends([&] { shaper().RightClick(); }));
    sys.ui.menuChoices = {menu::End};
    EXPECT_TRUE(Ends([&] { window().MouseUp(platform::MouseButton::Left); }));
    FakeSystem again{dir.ProgramPath()};
    again.desktop.monitors = sys.desktop.monitors;
    again.desktop.monitorDpi = sys.desktop.monitorDpi;
    Program next{again.platform};
    ASSERT_FALSE(Ends([&] { next.Main(); }));
    EXPECT_EQ(again.ClockWindow().Bounds(), (Rect{2000, 300, 2132, 344}));
}

int Scaled(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

// Drag mode, the clock dragged to (x, y), drag mode ended.
void DragTo(FakeProgram& p, platform::Point to) {
    p.sys.ui.menuChoices = {menu::Drg};
    ASSERT_FALSE(p.Ends([&] { p.window().MouseUp(platform::MouseButton::Left); }));
    p.shaper().Drag(to.x - p.window().Bounds().left, to.y - p.window().Bounds().top);
    ASSERT_FALSE(p.Ends([&] { p.shaper().RightClick(); }));
}

// A home stored at 100 % is the same pixel place after a start at each scale.
TEST(ScaleTest, AStoredHomeIsTheSamePixelPlaceAtEveryScale) {
    for (const int dpi : {96, 120, 144, 192}) {
        for (const platform::Point home : {platform::Point{600, 400}, platform::Point{880, 700}}) {
            FakeProgram p;
            for (int percent : {125, 150, 200}) InstallSets(p, percent);
            p.SampleDone();
            p.Set("アクティブウインドウへの移動", "0");
            p.Set("起動時のLeft", std::to_string(home.x * 15));
            p.Set("起動時のTop", std::to_string(home.y * 15));
            p.sys.desktop.systemDpi = dpi;
            ASSERT_FALSE(p.Start());
            EXPECT_EQ(p.window().Bounds(), (Rect{home.x, home.y, home.x + Scaled(66, dpi), home.y + Scaled(22, dpi)}));
        }
    }
}

// Monitors of 100 % and 200 %, in both orders. A window astride them gets the
// clock sized for the monitor it ends on, left of the caption buttons (from
// R - 58) and inside the window; a clock dropped on the other monitor is
// drawn there for it, and so is its balloon.
TEST(ScaleTest, TheClockIsDrawnForTheMonitorItEndsOnBeforeItIsPlaced) {
    struct Case {
        std::vector<Rect> monitors;
        std::vector<int> dpi;
        Rect editor;
        platform::Point drop;  // on the monitor the window is not mostly on
    } cases[] = {{{{0, 0, 1024, 768}, {1024, 0, 3072, 1536}}, {96, 192}, {300, 100, 1300, 700}, {2000, 300}},
                 {{{0, 0, 2048, 1536}, {2048, 0, 3072, 768}}, {192, 96}, {1000, 100, 2200, 700}, {2500, 300}}};
    for (const Case& c : cases) {
        FakeProgram p;
        InstallSets(p, 200);
        p.SampleDone();
        p.sys.desktop.monitors = c.monitors;
        p.sys.desktop.monitorDpi = c.dpi;
        ASSERT_FALSE(p.Start());
        p.sys.desktop.Open("Editor", c.editor);
        ASSERT_FALSE(p.Tick());
        Rect clock = p.window().Bounds();
        EXPECT_EQ(clock, (Rect{c.editor.right - 58 - Scaled(66, c.dpi[1]), clock.top, c.editor.right - 58, clock.bottom}));
        EXPECT_GT(clock.top, c.editor.top);
        EXPECT_EQ(p.program.BackgroundPath.ends_with("200\\Back.bmp"), c.dpi[1] == 192);

        p.Set("アクティブウインドウへの移動", "0");
        ASSERT_FALSE(p.Reload());
        DragTo(p, c.drop);
        clock = p.window().Bounds();
        EXPECT_EQ(clock, (Rect{c.drop.x, c.drop.y, c.drop.x + Scaled(66, c.dpi[1]), c.drop.y + Scaled(22, c.dpi[1])}));
        EXPECT_EQ(p.sys.ui.animations.at(1)->left, Scaled(36, c.dpi[1]));
        EXPECT_EQ(p.Get("起動時のLeft"), std::to_string(c.drop.x * 15));
        p.sys.desktop.cursor = {clock.left + 10, clock.top + 10};
        ASSERT_FALSE(p.Tick());
        ASSERT_NE(p.sys.ui.FindWindow("Morix - 情報"), nullptr);
        EXPECT_EQ(Width(p.sys.ui.FindWindow("Morix - 情報")->Bounds()), Scaled(280, c.dpi[1]));
    }
}

std::string Str(const picture::Bytes& b) { return std::string(b.begin(), b.end()); }

// At 150 %, a design of real pictures without its set: scaled copies where
// they can be made; where the face is a 16-bit BMP, which the rescaler does
// not take, the 100 % pictures at their size centred on the 99 x 33 place,
// and a balloon the size of its frame's pictures.
TEST(ScaleTest, PicturesThatCannotBeScaledAreShownAtTheirOwnSize) {
    struct Case {
        bool sixteenBits, frameSet;
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
        const auto mine = p.dir.Path() / "Design" / "Mine";
        std::filesystem::create_directories(mine);
        std::string face = Str(picture::EncodeBmp24(picture::Image(66, 22, {40, 90, 200})));
        if (c.sixteenBits) face[28] = 16, face.resize(54 + 132 * 22);  // rows of 132 bytes
        FakeProgram::Put(mine / "Back.bmp", face);
        FakeProgram::Put(mine / "TP.bmp", Str(picture::EncodeBmp24(picture::Image(66, 22))));
        const picture::IndexedImage digits{25, 22, std::vector<std::uint8_t>(25 * 22, 1)};
        for (int n = 0; n < 60; ++n) FakeProgram::Put(mine / ClipName(n), Str(picture::EncodeAvi({digits}, {{}, {}}, 1)));
        if (c.frameSet) InstallSets(p, 150);
        p.SampleDone();
        p.Set("Aviディレクトリ名", "Mine");
        p.Set("アクティブウインドウへの移動", "0");
        p.sys.desktop.systemDpi = 144;
        ASSERT_FALSE(p.Start());
        EXPECT_TRUE(p.sys.ui.messages.empty());
        EXPECT_EQ(p.window().Bounds(), c.clock);
        EXPECT_EQ(p.sys.ui.animations.at(1)->left, c.minuteLeft);
        EXPECT_TRUE(p.program.BackgroundPath.ends_with(c.face)) << p.program.BackgroundPath;
        p.sys.desktop.cursor = {c.clock.left + 10, c.clock.top + 10};
        ASSERT_FALSE(p.Tick());
        ASSERT_NE(p.sys.ui.FindWindow("Morix - 情報"), nullptr);
        EXPECT_EQ(Width(p.sys.ui.FindWindow("Morix - 情報")->Bounds()), c.balloonWidth);
    }
}

// Every control's place and the client area of the dialog a menu item opens,
// the clock at home at (x, y).
std::map<std::string, Rect> DialogLayout(const std::vector<Rect>& monitors, const std::vector<int>& dpi, int x, int y,
                                         int item, const char* title, Rect* shown = nullptr) {
    FakeProgram p;
    p.SampleDone();
    p.Set("アクティブウインドウへの移動", "0");
    p.Set("起動時のLeft", std::to_string(x * 15));
    p.Set("起動時のTop", std::to_string(y * 15));
    p.sys.desktop.monitors = monitors;
    p.sys.desktop.monitorDpi = dpi;
    p.sys.ui.menuChoices = {item};
    EXPECT_FALSE(p.Start() || p.Ends([&] { p.window().MouseUp(platform::MouseButton::Left); }));
    const FakeWindow* dialog = p.sys.ui.FindWindow(title);
    if (dialog == nullptr) return {};
    std::map<std::string, Rect> layout{{"client area", {0, 0, dialog->clientWidth, dialog->clientHeight}}};
    for (const FakeControlBase* c : dialog->controls) layout[c->name] = c->place;
    if (shown) *shown = dialog->Bounds();
    return layout;
}

// A dialog beside a clock on a 150 % monitor with a 100 % primary, and the
// reverse: laid out for the clock's monitor once, every control as in the
// dialog on a lone monitor of that scale, and shown on the clock's monitor.
TEST(ScaleTest, ADialogIsLaidOutOnceForTheMonitorItIsShownOn) {
    struct Case {
        std::vector<Rect> monitors;
        std::vector<int> dpi;
        int x, y;
    } cases[] = {{{{0, 0, 1024, 768}, {1024, 0, 2944, 1080}}, {96, 144}, 1500, 300},
                 {{{0, 0, 1536, 1152}, {1536, 0, 2560, 768}}, {144, 96}, 1800, 300}};
    const std::pair<int, const char*> dialogs[] = {
        {menu::Option, "オプション"}, {menu::Option2, "拡張オプション"}, {menu::Nitiji, "日付と日時の変更"}, {menu::Add, "備忘録（新規・開く）"}};
    for (const Case& c : cases) {
        for (const auto& [item, title] : dialogs) {
            Rect shown;
            const auto alone = DialogLayout({{0, 0, 1920, 1080}}, {c.dpi[1]}, 500, 300, item, title);
            EXPECT_GT(alone.size(), 3u) << title;
            EXPECT_EQ(DialogLayout(c.monitors, c.dpi, c.x, c.y, item, title, &shown), alone) << title << " " << c.dpi[1];
            const Rect& m = c.monitors[1];
            EXPECT_TRUE(shown.left >= m.left && shown.top >= m.top && shown.right <= m.right && shown.bottom <= m.bottom);
        }
    }
}

}  // namespace
}  // namespace morix::test
