// The pop-up menu, drag mode and "終了".
#include "tests/native/ClockFixture.h"

namespace morix::test {
namespace {

using platform::MouseButton;

class MenuTest : public ClockTest {
protected:
    void SetUp() override {
        SampleDone();
        ASSERT_FALSE(Start());
        Log();
    }
    bool ReleaseOnFace(MouseButton b) {
        return Ends([&] { window().MouseUp(b); });
    }
    bool ReleaseOnClip(int index, MouseButton b) {
        return Ends([&] { sys.ui.animations.at(index)->MouseUp(b); });
    }
    bool RightClickDragSurface() {
        return Ends([&] { shaper().RightClick(); });
    }
};

std::vector<std::string> Captions(const std::vector<platform::MenuItem>& items, int depth = 0) {
    std::vector<std::string> out;
    for (const auto& i : items) {
        out.push_back(std::string(depth * 2, ' ') + i.caption + (i.enabled ? "" : " (disabled)"));
        auto sub = Captions(i.children, depth + 1);
        out.insert(out.end(), sub.begin(), sub.end());
    }
    return out;
}

TEST_F(MenuTest, AnyButtonOnTheFaceOrAClipOpensTheMenu) {
    EXPECT_FALSE(ReleaseOnFace(MouseButton::Left));
    EXPECT_FALSE(ReleaseOnFace(MouseButton::Right));
    EXPECT_FALSE(ReleaseOnClip(0, MouseButton::Left));
    EXPECT_FALSE(ReleaseOnClip(1, MouseButton::Right));
    ASSERT_EQ(sys.ui.menusShown.size(), 4u);
    EXPECT_EQ(Captions(sys.ui.menusShown[0]),
              (std::vector<std::string>{"備忘録", "  新規・開く", "  削除", "-", "オプション",
                                        "  基本オプション", "  拡張オプション", "-",
                                        "アラーム...", "日付と時刻の変更", "-", "ドラッグモード", "-", "終了"}));
}

TEST_F(MenuTest, MenuOpenWhileTrackingAndMemoWindowClosedFirst) {
    program.MemoWindowOpen = true;
    bool openDuring = false, memoDuring = true;
    sys.ui.whileMenuOpen = [&] {
        openDuring = program.MenuOpen;
        memoDuring = program.MemoWindowOpen;
    };
    EXPECT_FALSE(ReleaseOnFace(MouseButton::Left));
    EXPECT_TRUE(openDuring);
    EXPECT_FALSE(memoDuring);
    EXPECT_FALSE(program.MenuOpen);
    EXPECT_FALSE(program.MemoWindowOpen) << "choosing nothing leaves it closed";
}

TEST_F(MenuTest, WhileTheMenuIsOpenOnlyAMoveOfTheFollowedWindowReplacesTheClock) {
    platform::Rect r{0, 0, 900, 700};
    auto h = sys.desktop.Open("Editor", r);
    ASSERT_FALSE(Tick());
    const long long onEditor = form().Left();
    sys.ui.whileMenuOpen = [&] {
        sys.desktop.Open("Other", {0, 0, 1000, 700});
        sys.ClockTimer().Fire();
        EXPECT_EQ(form().Left(), onEditor) << "no jump to another window";
        sys.desktop.foreground = h;
        sys.desktop.windows[h].rect = {100, 0, 1000, 700};
        sys.ClockTimer().Fire();
    };
    EXPECT_FALSE(ReleaseOnFace(MouseButton::Right));
    EXPECT_EQ(form().Left() + form().Width(), (1000 - 60 + 2) * 15);
}

TEST_F(MenuTest, DragModeMovesTheHomeAndTheNextStartUsesIt) {
    sys.ui.menuChoices = {menu::Drg};
    EXPECT_FALSE(ReleaseOnFace(MouseButton::Left));
    EXPECT_TRUE(program.DragMode);
    EXPECT_TRUE(shaper().visible);
    // In drag mode the tick does not follow but keeps the clock on top.
    sys.desktop.Open("Editor", {0, 0, 900, 700});
    const int topmost = window().topmostCalls;
    ASSERT_FALSE(Tick());
    EXPECT_EQ(form().Left(), 7185);
    EXPECT_EQ(window().topmostCalls, topmost + 1);
    // The user drags the window off the left edge, then right-clicks.
    window().Move(-12, 40, 66, 22);
    EXPECT_FALSE(RightClickDragSurface());
    EXPECT_FALSE(program.DragMode);
    EXPECT_FALSE(shaper().visible);
    EXPECT_EQ(Get("起動時のLeft"), "-180");
    EXPECT_EQ(Get("起動時のTop"), "600");

    // The next return home (following on) uses it...
    sys.desktop.foreground = sys.desktop.desktopHandle;
    ASSERT_FALSE(Tick());
    EXPECT_EQ(window().Bounds().left, -12);
    EXPECT_EQ(window().Bounds().top, 40);
    // ...and so does the next start with following off.
    sys.ui.menuChoices = {menu::End};
    EXPECT_TRUE(ReleaseOnFace(MouseButton::Left));
    Set("アクティブウインドウへの移動", "0");
    FakeSystem again{dir.ProgramPath()};
    Program next{again.platform};
    ASSERT_FALSE(Ends([&] { next.Main(); }));
    EXPECT_EQ(again.ClockWindow().Bounds().left, -12);
    EXPECT_EQ(again.ClockWindow().Bounds().top, 40);
}

TEST_F(MenuTest, EndWritesTheExitDateEvenWithADialogOpen) {
    program.BasicOptionsOpen = true;
    program.MemoWindowOpen = true;
    sys.clock.SetDay(2026, 12, 31);
    sys.ui.menuChoices = {menu::End};
    EXPECT_TRUE(ReleaseOnClip(1, MouseButton::Left));
    EXPECT_EQ(Get("終了時の日付"), "20261231");
    EXPECT_EQ(program.form1(), nullptr);
}

}  // namespace
}  // namespace morix::test
