// The shaping control under Wine: the window's outline from a mask picture
// (RGB(192,192,192) cut away), the drag surface that moves the whole window
// with real mouse input, its right-click and its tooltip.
#include "Win32TestSupport.h"

#include "platform/win32/MaskRegion.h"
#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Shaper.h"
#include "platform/win32/Win32Ui.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace morix::win32test {
namespace {

using platform::win32::OpaqueRuns;
using platform::win32::Win32Pictures;
using platform::win32::Win32Shaper;
using platform::win32::Win32Ui;

constexpr COLORREF Mask = RGB(192, 192, 192);

HWND HwndOf(const platform::Window& w) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(w.Handle())); }

class Win32ShaperTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->Move(300, 200, 66, 22);
        window->ShowTopmostInactive();
        PumpFor(50);
    }
    // A 66 x 22 outline: a rounded face whose four corner pixels, and a
    // notch at (30..32, 0..2) in the top edge, are the mask colour.
    std::string WriteOutline() {
        return folder.Write(L"TP.bmp", BmpBytes(66, 22, [](int x, int y) {
            bool corner = (x == 0 || x == 65) && (y == 0 || y == 21);
            bool notch = x >= 30 && x <= 32 && y <= 2;
            return corner || notch ? Mask : RGB(20, 40, 60);
        }));
    }
    int RegionType(HRGN into) { return GetWindowRgn(hwnd, into); }

    TempFolder folder;
    TestProcess process;
    Win32Ui ui{process};
    Win32Pictures pictures;
    std::unique_ptr<platform::Window> window = ui.NewWindow(platform::WindowKind::Borderless);
    RecordingWindowEvents events{*window};
    HWND hwnd = HwndOf(*window);
    std::unique_ptr<platform::Shaper> shaper = ui.NewShaper(*window);
    RecordingShaperEvents shaperEvents{*shaper};
};

TEST_F(Win32ShaperTest, AppliedMaskCutsExactlyTheMaskColouredPixels) {
    shaper->Move(1, 1);
    shaper->SetMaskPicture(pictures.Load(WriteOutline()));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(RegionType(region), ERROR);  // not shaped before the call
    shaper->ApplyShape(true);
    ASSERT_EQ(RegionType(region), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 65, 21));
    EXPECT_FALSE(PtInRegion(region, 31, 1));
    EXPECT_FALSE(PtInRegion(region, 32, 2));
    EXPECT_TRUE(PtInRegion(region, 1, 0));
    EXPECT_TRUE(PtInRegion(region, 29, 0));
    EXPECT_TRUE(PtInRegion(region, 33, 0));
    EXPECT_TRUE(PtInRegion(region, 31, 3));
    EXPECT_TRUE(PtInRegion(region, 64, 21));
    EXPECT_FALSE(PtInRegion(region, 66, 10));  // beyond the picture
    RECT box{};
    GetRgnBox(region, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 66);
    EXPECT_EQ(box.bottom, 22);

    shaper->ApplyShape(false);
    EXPECT_EQ(RegionType(region), ERROR);  // the plain rectangle again
    DeleteObject(region);
}

TEST_F(Win32ShaperTest, TheSystemsButtonFaceColourIsNotTheMask) {
    // Under Wine (and on every Windows since XP) the button face is not
    // RGB(192,192,192); an outline drawn in the button face must stay.
    std::string path = folder.Write(L"face.bmp", BmpBytes(8, 4, [](int x, int) {
        return x == 0 ? RGB(245, 245, 245) : (x == 1 ? RGB(192, 192, 193) : Mask);
    }));
    shaper->SetMaskPicture(pictures.Load(path));
    shaper->ApplyShape(true);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(RegionType(region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 0, 2));
    EXPECT_TRUE(PtInRegion(region, 1, 2));  // one step off the mask colour is kept
    EXPECT_FALSE(PtInRegion(region, 2, 2));
    DeleteObject(region);
}

TEST_F(Win32ShaperTest, AllMaskLeavesNothingAndNoMaskLeavesTheRectangle) {
    shaper->SetMaskPicture(pictures.Load(folder.Write(L"all.bmp", BmpBytes(5, 5, [](int, int) { return Mask; }))));
    shaper->ApplyShape(true);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(RegionType(region), NULLREGION);
    shaper->SetMaskPicture(pictures.Load(folder.Write(L"none.bmp", BmpBytes(5, 3, [](int, int) { return 0; }))));
    shaper->ApplyShape(true);
    EXPECT_EQ(RegionType(region), SIMPLEREGION);
    RECT box{};
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.bottom, 3);
    DeleteObject(region);
}

TEST_F(Win32ShaperTest, GifMaskFromTheBalloonFramesShapesToo) {
    const COLORREF palette[4] = {Mask, RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 0, 0)};
    std::string gif = GifBytes(12, 6, palette, [](int x, int y) { return (x + y) % 4 == 0 ? 0 : 1; });
    shaper->SetMaskPicture(pictures.Load(folder.Write(L"MsgRD.gif", gif)));
    shaper->ApplyShape(true);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(RegionType(region), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 3, 1));
    EXPECT_TRUE(PtInRegion(region, 1, 0));
    EXPECT_TRUE(PtInRegion(region, 10, 5));
    EXPECT_FALSE(PtInRegion(region, 11, 5));
    DeleteObject(region);
}

TEST(Win32MaskRuns, RowsAreRunsAndEqualRowsFold) {
    const std::uint32_t M = 0xC0C0C0, o = 0x123456;
    // 5 x 4: rows 0 and 1 alike, row 2 all mask, row 3 alternating.
    const std::uint32_t px[] = {M, o, o, M, o,   //
                                M, o, o, M, o,   //
                                M, M, M, M, M,   //
                                o, M, o, M, o};
    std::vector<RECT> runs = OpaqueRuns(px, 5, 4, M);
    ASSERT_EQ(runs.size(), 5u);
    auto is = [](const RECT& r, LONG l, LONG t, LONG rt, LONG b) {
        return r.left == l && r.top == t && r.right == rt && r.bottom == b;
    };
    EXPECT_TRUE(is(runs[0], 1, 0, 3, 2));
    EXPECT_TRUE(is(runs[1], 4, 0, 5, 2));
    EXPECT_TRUE(is(runs[2], 0, 3, 1, 4));
    EXPECT_TRUE(is(runs[3], 2, 3, 3, 4));
    EXPECT_TRUE(is(runs[4], 4, 3, 5, 4));
    // The alpha byte of a pixel does not matter.
    const std::uint32_t withAlpha[] = {0xFFC0C0C0, 0xFF123456};
    EXPECT_EQ(OpaqueRuns(withAlpha, 2, 1, M).size(), 1u);
}

TEST_F(Win32ShaperTest, VisibleSurfaceDragsTheWholeWindowWithTheMouse) {
    shaper->Move(1, 1);
    shaper->SetVisible(true);
    EXPECT_TRUE(shaper->Visible());
    PumpFor(50);
    auto& w32 = static_cast<Win32Shaper&>(*shaper);
    RECT surface{};
    GetWindowRect(w32.SurfaceHwnd(), &surface);
    EXPECT_EQ(surface.left, 301);
    EXPECT_EQ(surface.top, 201);
    EXPECT_EQ(surface.right, 366);
    EXPECT_EQ(surface.bottom, 222);

    MoveCursor(320, 210);
    PumpFor(50);
    Button(MOUSEEVENTF_LEFTDOWN);
    PumpFor(50);
    for (int step = 1; step <= 5; ++step) {
        MoveCursor(320 + 8 * step, 210 + 5 * step);
        PumpFor(30);
    }
    Button(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return window->Bounds().left == 340; }, 3000));
    EXPECT_EQ(window->Bounds(), (platform::Rect{340, 225, 406, 247}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(events.mouseUps.empty());  // the surface took the release, not the face
    EXPECT_EQ(shaperEvents.rightClicks, 0);

    // Moving without the button does not drag any more.
    MoveCursor(380, 240);
    PumpFor(100);
    EXPECT_EQ(window->Bounds().left, 340);
}

TEST_F(Win32ShaperTest, TheVisibleSurfaceLetsTheFaceShowThrough) {
    // Two faces of colour bands, the second the first reversed.
    auto face = [&](const wchar_t* name, bool reversed) {
        return pictures.Load(folder.Write(name, BmpBytes(66, 22, [reversed](int x, int) {
            static const COLORREF bands[4] = {RGB(250, 10, 10), RGB(10, 250, 10), RGB(10, 10, 250), RGB(250, 250, 10)};
            int band = x * 4 / 66;
            return bands[reversed ? 3 - band : band];
        })));
    };
    auto redraw = [&] {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpFor(100);
    };
    window->SetBackground(face(L"a.bmp", false));
    shaper->Move(1, 1);
    shaper->SetVisible(true);
    redraw();
    std::vector<std::uint32_t> first = Capture(hwnd);
    // The face changes under the surface: the change must show through it.
    window->SetBackground(face(L"b.bmp", true));
    redraw();
    std::vector<std::uint32_t> throughSurface = Capture(hwnd);
    shaper->SetVisible(false);
    redraw();
    std::vector<std::uint32_t> plain = Capture(hwnd);
    EXPECT_NE(plain, first);
    EXPECT_EQ(throughSurface, plain);
}

TEST_F(Win32ShaperTest, RightClickOnTheVisibleSurfaceIsTheOnlyEvent) {
    shaper->Move(1, 1);
    shaper->SetVisible(true);
    PumpFor(50);
    ClickAt(330, 212, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return shaperEvents.rightClicks == 1; }, 3000));
    PumpFor(100);
    EXPECT_EQ(shaperEvents.rightClicks, 1);
    EXPECT_TRUE(events.mouseUps.empty());
    EXPECT_EQ(window->Bounds().left, 300);  // a right click does not drag

    // Hidden, the face gets the clicks again.
    shaper->SetVisible(false);
    EXPECT_FALSE(shaper->Visible());
    ClickAt(330, 212, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return events.mouseUps.size() == 1; }, 3000));
    EXPECT_EQ(shaperEvents.rightClicks, 1);
}

TEST_F(Win32ShaperTest, TheSurfaceIsAboveTheClipsItCovers) {
    std::wstring dist = DistFolder();
    if (dist.empty()) GTEST_SKIP() << "no program folder at " MORIX_DIST_DIR "; build the native 'assets' target first";
    auto clip = ui.NewAnimation(*window);  // made after the shaper, as a later control
    RecordingAnimationEvents clipEvents(*clip);
    clip->Move(5, 0);
    clip->Open(platform::win32::Narrow(dist + L"\\Design\\Tidewalk\\07.avi"));
    clip->Play(1);
    ClickAt(315, 210, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return clipEvents.buttons.size() == 1; }, 3000));  // hidden surface: the clip's
    shaper->Move(1, 1);
    shaper->SetVisible(true);
    PumpFor(50);
    ClickAt(315, 210, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return shaperEvents.rightClicks == 1; }, 3000));
    PumpFor(100);
    EXPECT_EQ(clipEvents.buttons.size(), 1u);
    EXPECT_TRUE(events.mouseUps.empty());
}

TEST_F(Win32ShaperTest, TooltipTextIsTheOneSet) {
    shaper->SetTooltip("右クリックでドラックモード解除");
    auto& w32 = static_cast<Win32Shaper&>(*shaper);
    ASSERT_NE(w32.TooltipHwnd(), nullptr);
    EXPECT_EQ(SendMessageW(w32.TooltipHwnd(), TTM_GETTOOLCOUNT, 0, 0), 1);
    auto text = [&] {
        wchar_t buffer[80] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(w32.SurfaceHwnd());
        tool.lpszText = buffer;
        SendMessageW(w32.TooltipHwnd(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(), L"右クリックでドラックモード解除");
    shaper->SetTooltip("別の説明");
    EXPECT_EQ(SendMessageW(w32.TooltipHwnd(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(text(), L"別の説明");
}

}  // namespace
}  // namespace morix::win32test
