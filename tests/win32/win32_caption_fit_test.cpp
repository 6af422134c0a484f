// Captions measured in the fonts the controls really have: a place too
// narrow for its caption widens the control's window, what lies beside it
// moves along, its frame and the dialog grow; a caption that fits leaves its
// control as placed.
#include "Win32TestSupport.h"

#include "platform/win32/ChildControl.h"
#include "platform/win32/Win32Control.h"
#include "platform/win32/Win32Ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace morix::win32test {
namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Rect;
using platform::win32::HwndOf;

Rect PlaceInParent(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

// The text's own extent in the font the control's window has.
int TextExtent(HWND h) {
    wchar_t text[256] = {};
    const int n = GetWindowTextW(h, text, 256);
    HDC dc = GetDC(h);
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text, n, &size);
    SelectObject(dc, before);
    ReleaseDC(h, dc);
    return size.cx;
}

TEST(Win32CaptionFit, APlaceTooNarrowForItsCaptionWidensTheControlAndWhatFollowsIt) {
    TestProcess process;
    platform::win32::Win32Ui ui{process};
    auto window = ui.NewWindow(platform::WindowKind::Dialog);
    window->SetTitle("幅の確認");
    window->Move(100, 100, 50, 50);
    window->SetClientSize(300, 200);
    const auto make = [&](ControlKind kind, const char* name, Rect place, const char* caption,
                          platform::Control* container = nullptr) {
        return ui.NewControl(*window, kind, ControlSpec{name, place, caption, container});
    };
    auto check = make(ControlKind::CheckBox, "Check1", {10, 10, 60, 32}, "アクティブウインドウに移動させない");
    auto button = make(ControlKind::Button, "cmdGo", {70, 10, 130, 38}, "OK");
    auto frame = make(ControlKind::Frame, "Frame1", {10, 50, 150, 130}, "枠");
    auto option = make(ControlKind::OptionButton, "Option1", {10, 20, 60, 42}, "日付が変わった場合", frame.get());
    auto text = make(ControlKind::TextBox, "Text1", {70, 20, 120, 44}, "", frame.get());
    auto fits = make(ControlKind::CheckBox, "Check2", {10, 140, 200, 162}, "表示");

    // The caption counts the box and its gap beside the text, in the
    // dialog's font.
    const int checkNeeds = check->CaptionWidth(), optionNeeds = option->CaptionWidth();
    EXPECT_GE(checkNeeds, TextExtent(HwndOf(check.get())) + 13);
    EXPECT_GT(checkNeeds, 50);
    EXPECT_GT(optionNeeds, 50);
    EXPECT_LE(fits->CaptionWidth(), 190);

    window->FitToCaptions();
    const int checkGrew = checkNeeds - 50, optionGrew = optionNeeds - 50;
    EXPECT_EQ(PlaceInParent(HwndOf(check.get())), (Rect{10, 10, 10 + checkNeeds, 32}));
    EXPECT_EQ(PlaceInParent(HwndOf(button.get())), (Rect{70 + checkGrew, 10, 130 + checkGrew, 38}));
    EXPECT_EQ(PlaceInParent(HwndOf(option.get())), (Rect{10, 20, 10 + optionNeeds, 42}));
    EXPECT_EQ(PlaceInParent(HwndOf(text.get())), (Rect{70 + optionGrew, 20, 120 + optionGrew, 44}));
    // The frame keeps its 20 pixels right of the text box.
    EXPECT_EQ(PlaceInParent(HwndOf(frame.get())), (Rect{10, 50, 150 + optionGrew, 130}));
    EXPECT_EQ(PlaceInParent(HwndOf(fits.get())), (Rect{10, 140, 200, 162}));
    EXPECT_EQ(check->Place(), PlaceInParent(HwndOf(check.get())));
    RECT client{};
    GetClientRect(reinterpret_cast<HWND>(static_cast<std::intptr_t>(window->Handle())), &client);
    const int rightmost = std::max({130 + checkGrew, 150 + optionGrew, 200});
    EXPECT_EQ(client.right, 300 + std::max(0, rightmost - 200));
    EXPECT_EQ(client.bottom, 200);
    std::printf("check box %d px, option button %d px in the dialog's font\n", checkNeeds, optionNeeds);
}

}  // namespace
}  // namespace morix::win32test
