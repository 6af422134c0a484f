// The clock, its balloons and dialogs drawn for the scale of the display they
// are on, with the pictures of that scale.
#include "tests/native/ClockFixture.h"

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
                 // the pictures can be read; these cannot, so it is shown as it is).
                 {108, "Tidewalk\\125\\Back.bmp", {74, 25}, 6, 41, {315, 158}},
                 {168, "Tidewalk\\200\\Back.bmp", {116, 39}, 9, 63, {490, 245}}};
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

}  // namespace
}  // namespace morix::test
