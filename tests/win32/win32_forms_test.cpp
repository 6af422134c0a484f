// The forms' windows and controls under Wine: the dialog window kind (frame,
// client size, close box, painting, activation), the controls as native
// child windows of the form or of their container, check boxes and option
// buttons clicked with the mouse, option buttons grouped by their container,
// the list box, the text box, Esc and Enter through the message loop, a
// handler that unloads its own dialog, pictures, lines, tooltips, back
// colours, disabled containers, and the borderless window's activation by a
// click into a text box.
#include "Win32TestSupport.h"

#include "base/RuntimeError.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Win32Control.h"
#include "platform/win32/Win32ListBox.h"
#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Ui.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace morix::win32test {
namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Rect;
using platform::WindowKind;
using platform::win32::HwndOf;
using platform::win32::MessageFont;
using platform::win32::Win32ListBox;
using platform::win32::Win32Ui;

HWND HwndOfWindow(const platform::Window& w) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(w.Handle())); }

std::wstring ClassOf(HWND h) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    return name;
}

std::wstring TextOf(HWND h) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

// The control's place inside its parent's client area.
Rect PlaceInParent(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

void ClickCentre(HWND h, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    RECT r{};
    GetWindowRect(h, &r);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, down, up);
}


// Keys as the user's keyboard delivers them to the control with the focus,
// through the program's message loop.
void PressKey(WORD key) {
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr) << "no control has the keyboard";
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    PumpFor(100);
}

// A dialog as the option forms build theirs: two option groups, one in a
// frame and one in a picture box, a check box, a list, a text box, OK and
// キャンセル.
struct SampleDialog {
    explicit SampleDialog(platform::Ui& ui) : ui(ui) {
        window = ui.NewWindow(WindowKind::Dialog);
        window->SetTitle("表示の設定");
        window->Move(200, 150, 100, 100);
        window->SetClientSize(360, 260);
        frame = Make(ControlKind::Frame, "Frame1", {10, 10, 170, 110}, "時計の表示");
        option1a = Make(ControlKind::OptionButton, "Option1(0)", {10, 20, 150, 42}, "時刻", frame.get());
        option1b = Make(ControlKind::OptionButton, "Option1(1)", {10, 48, 150, 70}, "日付", frame.get());
        picture = Make(ControlKind::Picture, "Picture1", {180, 10, 350, 110}, "");
        option2a = Make(ControlKind::OptionButton, "Option2(0)", {10, 10, 150, 32}, "左に置く", picture.get());
        option2b = Make(ControlKind::OptionButton, "Option2(1)", {10, 38, 150, 60}, "右に置く", picture.get());
        check = Make(ControlKind::CheckBox, "Check1", {10, 120, 170, 142}, "情報を表示する");
        list = ui.NewListBox(*window, ControlSpec{"List1", {180, 120, 350, 210}, ""});
        text = Make(ControlKind::TextBox, "Text1", {10, 150, 170, 174}, "東京");
        ok = Make(ControlKind::Button, "cmdOK", {100, 222, 180, 250}, "OK");
        cancel = Make(ControlKind::Button, "cmdCancel", {190, 222, 270, 250}, "キャンセル");
        window->SetDefaultControl(ok.get());
        window->SetCancelControl(cancel.get());
        for (platform::Control* c : {option1a.get(), option1b.get(), option2a.get(), option2b.get(), check.get(),
                                     ok.get(), cancel.get()})
            c->OnClick([this, c] { clicks[c->Name()]++; });
        list->OnClick([this] { clicks["List1"]++; });
    }
    std::unique_ptr<platform::Control> Make(ControlKind kind, const char* name, Rect place, const char* caption,
                                            platform::Control* container = nullptr) {
        return ui.NewControl(*window, kind, ControlSpec{name, place, caption, container});
    }
    HWND Hwnd() const { return HwndOfWindow(*window); }
    void Show() {
        window->ShowTopmostInactive();
        UpdateWindow(Hwnd());
        PumpFor(100);
    }
    // Unloaded as a form unloads: its controls, then its window.
    void Unload() {
        cancel.reset();
        ok.reset();
        text.reset();
        list.reset();
        check.reset();
        option2b.reset();
        option2a.reset();
        picture.reset();
        option1b.reset();
        option1a.reset();
        frame.reset();
        window.reset();
    }

    platform::Ui& ui;
    std::unique_ptr<platform::Window> window;
    std::unique_ptr<platform::Control> frame, option1a, option1b, picture, option2a, option2b, check, text, ok, cancel;
    std::unique_ptr<platform::ListBox> list;
    std::map<std::string, int> clicks;
};

class Win32FormsTest : public ::testing::Test {
protected:
    TestProcess process;
    Win32Ui ui{process};
    SampleDialog dialog{ui};
};

// ---- the dialog window ----

TEST_F(Win32FormsTest, TheDialogHasACaptionAndCloseBoxNoOwnerAndTheClientSizeAsked) {
    HWND h = dialog.Hwnd();
    EXPECT_EQ(dialog.window->Kind(), WindowKind::Dialog);
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(ex & WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(ex & WS_EX_CONTROLPARENT);
    EXPECT_FALSE(ex & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindow(h, GW_OWNER), nullptr);
    EXPECT_EQ(TextOf(h), L"表示の設定");

    RECT client{};
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 260);
    const Rect bounds = dialog.window->Bounds();
    EXPECT_EQ(bounds.left, 200);  // the top-left corner stays
    EXPECT_EQ(bounds.top, 150);
    EXPECT_GT(bounds.Width(), 360);
    EXPECT_GT(bounds.Height(), 260 + GetSystemMetrics(SM_CYCAPTION) - 1);
}

TEST_F(Win32FormsTest, TheCloseBoxAsksTheProgramAndTheDialogStays) {
    RecordingWindowEvents events(*dialog.window);
    dialog.Show();
    SendMessageW(dialog.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(events.closeRequests, 1);
    EXPECT_TRUE(IsWindow(dialog.Hwnd()));
    EXPECT_TRUE(dialog.window->Visible());
}

TEST_F(Win32FormsTest, TheDialogIsPaintedInTheButtonFaceColour) {
    dialog.Show();
    RedrawWindow(dialog.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(100);
    std::vector<std::uint32_t> px = Capture(dialog.Hwnd());
    ASSERT_EQ(px.size(), 360u * 260u);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t expected = static_cast<std::uint32_t>(GetRValue(face)) << 16 | GetGValue(face) << 8 | GetBValue(face);
    EXPECT_EQ(px[255 * 360 + 5], expected);   // bottom-left corner, beside no control
    EXPECT_EQ(px[215 * 360 + 90], expected);  // between the text box and the buttons
}

TEST_F(Win32FormsTest, ShownTopmostItStaysInactiveUntilAClickIntoIt) {
    dialog.Show();
    EXPECT_TRUE(GetWindowLongPtrW(dialog.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(GetActiveWindow(), dialog.Hwnd());
    RECT r{};
    GetWindowRect(dialog.Hwnd(), &r);
    POINT corner{5, 255};
    ClientToScreen(dialog.Hwnd(), &corner);
    ClickAt(corner.x, corner.y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == dialog.Hwnd(); }, 3000));
    // Activated, the keyboard is on its first control.
    HWND focus = GetFocus();
    EXPECT_TRUE(focus != nullptr && IsChild(dialog.Hwnd(), focus));
}

// ---- the controls as native child windows ----

TEST_F(Win32FormsTest, EachControlIsANativeChildOfItsContainerInThePlaceGiven) {
    struct Expect {
        platform::Control* control;
        const wchar_t* className;
        LONG_PTR typeMask, type;
        HWND parent;
        Rect place;
        const wchar_t* caption;
    };
    HWND form = dialog.Hwnd(), frame = HwndOf(dialog.frame.get()), picture = HwndOf(dialog.picture.get());
    const Expect expected[] = {
        {dialog.frame.get(), L"MorixForm", 0, 0, form, {10, 10, 170, 110}, L"時計の表示"},
        {dialog.option1a.get(), L"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON, frame, {10, 20, 150, 42}, L"時刻"},
        {dialog.option1b.get(), L"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON, frame, {10, 48, 150, 70}, L"日付"},
        {dialog.picture.get(), L"MorixForm", 0, 0, form, {180, 10, 350, 110}, L""},
        {dialog.option2a.get(), L"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON, picture, {10, 10, 150, 32}, L"左に置く"},
        {dialog.check.get(), L"Button", BS_TYPEMASK, BS_3STATE, form, {10, 120, 170, 142}, L"情報を表示する"},
        {dialog.text.get(), L"Edit", ES_AUTOHSCROLL, ES_AUTOHSCROLL, form, {10, 150, 170, 174}, L"東京"},
        {dialog.ok.get(), L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON, form, {100, 222, 180, 250}, L"OK"},
        {dialog.cancel.get(), L"Button", BS_TYPEMASK, BS_PUSHBUTTON, form, {190, 222, 270, 250}, L"キャンセル"},
    };
    std::set<int> ids;
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.control->Name());
        HWND h = HwndOf(e.control);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(_wcsicmp(ClassOf(h).c_str(), e.className), 0) << ClassOf(h);
        EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & e.typeMask, e.type);
        EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD);
        EXPECT_EQ(GetParent(h), e.parent);
        EXPECT_EQ(PlaceInParent(h), e.place);
        EXPECT_EQ(e.control->Place(), e.place);
        // Containers draw no text of their own.
        if (e.control->Kind() != ControlKind::Frame && e.control->Kind() != ControlKind::Picture) {
            EXPECT_EQ(TextOf(h), e.caption);
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), MessageFont(h));
        }
        const int id = GetDlgCtrlID(h);
        EXPECT_GE(id, 100);  // never IDOK or IDCANCEL
        EXPECT_TRUE(ids.insert(id).second) << "id " << id << " twice";
    }
    // The frame's caption is its group box's.
    HWND groupBox = FindWindowExW(frame, nullptr, L"Button", L"時計の表示");
    ASSERT_NE(groupBox, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(groupBox, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(groupBox, WM_GETFONT, 0, 0)), MessageFont(groupBox));
    EXPECT_EQ(PlaceInParent(groupBox), (Rect{0, 0, 160, 100})) << "the group box covers the frame";
    EXPECT_EQ(GetWindow(groupBox, GW_HWNDNEXT), nullptr) << "the group box must stay beneath the frame's controls";
    EXPECT_EQ(dialog.frame->Text(), "時計の表示");
    // The first option button of each container starts its group.
    EXPECT_TRUE(GetWindowLongPtrW(HwndOf(dialog.option1a.get()), GWL_STYLE) & WS_GROUP);
    EXPECT_FALSE(GetWindowLongPtrW(HwndOf(dialog.option1b.get()), GWL_STYLE) & WS_GROUP);
    EXPECT_TRUE(GetWindowLongPtrW(HwndOf(dialog.option2a.get()), GWL_STYLE) & WS_GROUP);
    // The version 6 buttons, as Morix.exe has them through its manifest.
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(HwndOf(dialog.ok.get()), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    // The keyboard goes through the controls in the order they were made.
    EXPECT_EQ(GetNextDlgTabItem(form, HwndOf(dialog.check.get()), FALSE), static_cast<Win32ListBox&>(*dialog.list).Hwnd());
    EXPECT_EQ(GetNextDlgTabItem(form, HwndOf(dialog.ok.get()), FALSE), HwndOf(dialog.cancel.get()));
}

TEST_F(Win32FormsTest, MovingHidingAndDisablingAControlChangeItsWindow) {
    platform::Control& check = *dialog.check;
    HWND h = HwndOf(&check);
    check.Move({20, 125, 200, 149});
    EXPECT_EQ(PlaceInParent(h), (Rect{20, 125, 200, 149}));
    EXPECT_EQ(check.Place(), (Rect{20, 125, 200, 149}));
    EXPECT_TRUE(check.Visible());
    check.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_FALSE(check.Visible());
    check.SetVisible(true);
    EXPECT_TRUE(check.Visible());  // its own setting, though the dialog is hidden
    EXPECT_FALSE(IsWindowVisible(h));
    check.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(h));
    EXPECT_FALSE(check.Enabled());
    check.SetText("別の見出し");
    EXPECT_EQ(TextOf(h), L"別の見出し");
    EXPECT_EQ(check.Text(), "別の見出し");
    dialog.frame->SetText("新しい枠");
    EXPECT_EQ(dialog.frame->Text(), "新しい枠");
    EXPECT_NE(FindWindowExW(HwndOf(dialog.frame.get()), nullptr, L"Button", L"新しい枠"), nullptr);
}

// ---- check boxes and option buttons by the mouse ----

TEST_F(Win32FormsTest, ACheckBoxTogglesOnEachClickAndAGreyedOneGoesToUnticked) {
    dialog.Show();
    platform::Control& check = *dialog.check;
    HWND h = HwndOf(&check);
    EXPECT_EQ(check.Value(), 0);
    struct Step {
        int before;  // set by the program, raising nothing
        int after;   // after one click
    };
    const Step steps[] = {{0, 1}, {1, 0}, {2, 0}};
    int clicks = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE("from " + std::to_string(step.before));
        check.SetValue(step.before);
        EXPECT_EQ(check.Value(), step.before);
        EXPECT_EQ(dialog.clicks["Check1"], clicks) << "SetValue raised Click";
        if (step.before == 2) {
            EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
        }
        ClickCentre(h);
        ASSERT_TRUE(PumpUntil([&] { return dialog.clicks["Check1"] == clicks + 1; }, 3000));
        ++clicks;
        EXPECT_EQ(check.Value(), step.after);
        EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), step.after == 1 ? BST_CHECKED : BST_UNCHECKED);
    }
    EXPECT_EQ(ErrorOf([&] { check.SetValue(3); }), err::InvalidProperty);
}

TEST_F(Win32FormsTest, OptionButtonsAreChosenOnePerContainer) {
    dialog.Show();
    auto values = [&] {
        return std::vector<int>{dialog.option1a->Value(), dialog.option1b->Value(), dialog.option2a->Value(),
                                dialog.option2b->Value()};
    };
    EXPECT_EQ(values(), (std::vector<int>{0, 0, 0, 0}));
    ClickCentre(HwndOf(dialog.option1b.get()));
    ASSERT_TRUE(PumpUntil([&] { return dialog.clicks["Option1(1)"] == 1; }, 3000));
    EXPECT_EQ(values(), (std::vector<int>{0, 1, 0, 0}));
    ClickCentre(HwndOf(dialog.option2a.get()));
    ASSERT_TRUE(PumpUntil([&] { return dialog.clicks["Option2(0)"] == 1; }, 3000));
    EXPECT_EQ(values(), (std::vector<int>{0, 1, 1, 0})) << "the other container's choice must stay";
    ClickCentre(HwndOf(dialog.option1a.get()));
    ASSERT_TRUE(PumpUntil([&] { return dialog.clicks["Option1(0)"] == 1; }, 3000));
    EXPECT_EQ(values(), (std::vector<int>{1, 0, 1, 0}));

    // Chosen by the program: the same rule, and no Click.
    dialog.option2b->SetValue(1);
    EXPECT_EQ(values(), (std::vector<int>{1, 0, 0, 1}));
    // A disabled button of the container lets go too, though the system's
    // own group skips it.
    dialog.option2b->SetEnabled(false);
    ClickCentre(HwndOf(dialog.option2a.get()));
    ASSERT_TRUE(PumpUntil([&] { return dialog.clicks["Option2(0)"] == 2; }, 3000));
    EXPECT_EQ(values(), (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(dialog.clicks["Option2(1)"], 0);
    EXPECT_EQ(dialog.clicks["Option1(1)"], 1);
}

// ---- the list box and the text box ----

TEST_F(Win32FormsTest, TheListKeepsItsItemsInOrderAndReportsOnlyTheUsersPick) {
    platform::ListBox& list = *dialog.list;
    HWND h = static_cast<Win32ListBox&>(list).Hwnd();
    EXPECT_EQ(_wcsicmp(ClassOf(h).c_str(), L"ListBox"), 0);
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    EXPECT_TRUE(style & LBS_NOTIFY);
    EXPECT_FALSE(style & LBS_SORT);
    for (const char* item : {"夕凪", "Tidewalk", "朝霧", "アルファ"}) list.AddItem(item);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Item(0), "夕凪");
    EXPECT_EQ(list.Item(3), "アルファ");  // not sorted
    EXPECT_EQ(list.ListIndex(), -1);
    for (int outside : {-1, 4, 100}) EXPECT_EQ(ErrorOf([&] { list.Item(outside); }), err::InvalidCall) << outside;
    EXPECT_EQ(ErrorOf([&] { list.SetListIndex(4); }), err::InvalidCall);
    EXPECT_EQ(ErrorOf([&] { list.SetListIndex(-2); }), err::InvalidCall);

    list.SetListIndex(1);
    EXPECT_EQ(list.ListIndex(), 1);
    dialog.Show();
    EXPECT_EQ(dialog.clicks["List1"], 0) << "selecting from the program raised Click";

    RECT item{};
    SendMessageW(h, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(h, &at);
    ClickAt(at.x, at.y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return dialog.clicks["List1"] == 1; }, 3000));
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.Item(list.ListIndex()), "朝霧");

    list.SetListIndex(-1);
    EXPECT_EQ(list.ListIndex(), -1);
    // More items than it shows: it scrolls.
    for (int i = 0; i < 30; ++i) list.AddItem("項目 " + std::to_string(i));
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(list.Count(), 34);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(ErrorOf([&] { list.Item(0); }), err::InvalidCall);
    EXPECT_EQ(dialog.clicks["List1"], 1);
}

TEST_F(Win32FormsTest, TheTextBoxHoldsJapaneseTextAndWhatTheUserTypes) {
    platform::Control& text = *dialog.text;
    EXPECT_EQ(text.Text(), "東京");
    text.SetText("大阪府 堺市");
    EXPECT_EQ(text.Text(), "大阪府 堺市");
    EXPECT_EQ(TextOf(HwndOf(&text)), L"大阪府 堺市");
    dialog.Show();
    SetForegroundWindow(dialog.Hwnd());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == dialog.Hwnd(); }, 3000));
    text.SetFocus();
    ASSERT_EQ(GetFocus(), HwndOf(&text));
    SendMessageW(HwndOf(&text), EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"名古屋")) PostMessageW(HwndOf(&text), WM_CHAR, c, 1);
    PumpFor(100);
    EXPECT_EQ(text.Text(), "名古屋");
}

// ---- Esc and Enter ----

class Win32DialogKeysTest : public Win32FormsTest {
protected:
    void SetUp() override {
        dialog.Show();
        SetForegroundWindow(dialog.Hwnd());
        ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == dialog.Hwnd(); }, 3000));
        dialog.text->SetFocus();
        ASSERT_EQ(GetFocus(), HwndOf(dialog.text.get()));
    }
};

TEST_F(Win32DialogKeysTest, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    PressKey(VK_RETURN);
    EXPECT_EQ(dialog.clicks["cmdOK"], 1);
    EXPECT_EQ(dialog.clicks["cmdCancel"], 0);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(dialog.clicks["cmdOK"], 1);
    EXPECT_EQ(dialog.clicks["cmdCancel"], 1);
    EXPECT_EQ(dialog.text->Text(), "東京") << "the keys went to the buttons, not into the text";
}

TEST_F(Win32DialogKeysTest, AKeyPressesNoButtonTheUserCouldNotClick) {
    struct Case {
        const char* what;
        std::function<void()> block, unblock;
    };
    platform::Control& ok = *dialog.ok;
    const Case cases[] = {
        {"disabled", [&] { ok.SetEnabled(false); }, [&] { ok.SetEnabled(true); }},
        {"hidden", [&] { ok.SetVisible(false); }, [&] { ok.SetVisible(true); }},
        {"no default", [&] { dialog.window->SetDefaultControl(nullptr); },
         [&] { dialog.window->SetDefaultControl(&ok); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.block();
        dialog.text->SetFocus();
        PressKey(VK_RETURN);
        EXPECT_EQ(dialog.clicks["cmdOK"], 0);
        c.unblock();
    }
    dialog.text->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(dialog.clicks["cmdOK"], 1);
}

TEST_F(Win32DialogKeysTest, ADefaultButtonInADisabledContainerIsNotPressed) {
    auto inner = dialog.Make(ControlKind::Button, "cmdInner", {10, 70, 90, 95}, "適用", dialog.picture.get());
    inner->OnClick([&] { dialog.clicks["cmdInner"]++; });
    dialog.window->SetDefaultControl(inner.get());
    dialog.picture->SetEnabled(false);
    PressKey(VK_RETURN);
    EXPECT_EQ(dialog.clicks["cmdInner"], 0);
    dialog.picture->SetEnabled(true);
    PressKey(VK_RETURN);
    EXPECT_EQ(dialog.clicks["cmdInner"], 1);
    EXPECT_EQ(dialog.clicks["cmdOK"], 0);
}

TEST_F(Win32DialogKeysTest, TheProgramsMessageLoopHandsTheKeysToTheDialog) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    PostQuitMessage(7);
    EXPECT_EQ(platform::win32::RunMessageLoop(), 7);
    EXPECT_EQ(dialog.clicks["cmdCancel"], 1);
}

// ---- handlers that unload their own form ----

TEST_F(Win32FormsTest, AClickHandlerMayUnloadItsOwnDialog) {
    struct Way {
        const char* what;
        std::function<void(SampleDialog&)> press;
    };
    const Way ways[] = {
        {"mouse", [](SampleDialog& d) { ClickCentre(HwndOf(d.ok.get())); }},
        {"Enter",
         [](SampleDialog& d) {
             SetForegroundWindow(d.Hwnd());
             PumpUntil([&] { return GetActiveWindow() == d.Hwnd(); }, 3000);
             d.text->SetFocus();
             PressKey(VK_RETURN);
         }},
        {"BM_CLICK", [](SampleDialog& d) { SendMessageW(HwndOf(d.ok.get()), BM_CLICK, 0, 0); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        auto form = std::make_unique<SampleDialog>(ui);
        form->Show();
        HWND h = form->Hwnd();
        bool unloaded = false;
        form->ok->OnClick([&] {
            form->Unload();  // the window and the button that was clicked
            form.reset();
            unloaded = true;
        });
        way.press(*form);
        ASSERT_TRUE(PumpUntil([&] { return unloaded; }, 3000));
        PumpFor(100);
        EXPECT_FALSE(IsWindow(h));
    }
}

TEST_F(Win32FormsTest, AnOptionButtonsHandlerMayUnloadTheFormOnAnArrowKey) {
    // The arrow moves to the next option button of the group and clicks it.
    dialog.Show();
    SetForegroundWindow(dialog.Hwnd());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == dialog.Hwnd(); }, 3000));
    dialog.option1a->SetValue(1);
    dialog.option1a->SetFocus();
    HWND h = dialog.Hwnd();
    dialog.option1b->OnClick([&] { dialog.Unload(); });
    PressKey(VK_DOWN);
    EXPECT_FALSE(IsWindow(h));
}

// ---- labels, lines, pictures, colours, tooltips, containers ----

TEST_F(Win32FormsTest, LabelsAndPicturesRaiseClickLinesAreEtched) {
    auto label = dialog.Make(ControlKind::Label, "Label1", {200, 120, 340, 140}, "曜日の表示");
    auto flat = dialog.Make(ControlKind::Line, "Line1", {10, 200, 170, 200}, "");
    auto upright = dialog.Make(ControlKind::Line, "Line2", {175, 120, 175, 210}, "");
    dialog.list->SetVisible(false);
    int labelClicks = 0, pictureClicks = 0;
    label->OnClick([&] { ++labelClicks; });
    dialog.picture->OnClick([&] { ++pictureClicks; });
    EXPECT_EQ(_wcsicmp(ClassOf(HwndOf(label.get())).c_str(), L"Static"), 0);
    EXPECT_TRUE(GetWindowLongPtrW(HwndOf(label.get()), GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ(GetWindowLongPtrW(HwndOf(flat.get()), GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDHORZ);
    EXPECT_EQ(GetWindowLongPtrW(HwndOf(upright.get()), GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDVERT);
    EXPECT_EQ(flat->Place(), (Rect{10, 200, 170, 200}));
    EXPECT_EQ(PlaceInParent(HwndOf(flat.get())).Height(), 2) << "a line of height 0 is drawn";
    EXPECT_EQ(PlaceInParent(HwndOf(upright.get())).Width(), 2);

    dialog.Show();
    ClickCentre(HwndOf(label.get()));
    ASSERT_TRUE(PumpUntil([&] { return labelClicks == 1; }, 3000));
    // The picture box, beside its option buttons.
    RECT r{};
    GetWindowRect(HwndOf(dialog.picture.get()), &r);
    ClickAt(r.right - 10, r.bottom - 10, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return pictureClicks == 1; }, 3000));
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(dialog.clicks["Option2(0)"] + dialog.clicks["Option2(1)"], 0);
}

TEST_F(Win32FormsTest, APictureIsDrawnFromItsTopLeftInItsBackColourAround) {
    TempFolder folder;
    platform::win32::Win32Pictures pictures;
    std::string path = folder.Write(L"mark.bmp", BmpBytes(20, 10, [](int x, int) {
        return x < 10 ? RGB(250, 0, 0) : RGB(0, 0, 250);
    }));
    auto picture = dialog.Make(ControlKind::Picture, "Picture2", {200, 120, 260, 160}, "");
    dialog.list->SetVisible(false);
    picture->SetPicture(pictures.Load(path));
    picture->SetBackColour(0x10E020);
    dialog.Show();
    RedrawWindow(HwndOf(picture.get()), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpFor(100);
    std::vector<std::uint32_t> px = Capture(HwndOf(picture.get()));
    ASSERT_EQ(px.size(), 60u * 40u);
    EXPECT_EQ(px[5 * 60 + 2], 0xFA0000u);
    EXPECT_EQ(px[5 * 60 + 15], 0x0000FAu);
    EXPECT_EQ(px[5 * 60 + 40], 0x10E020u);  // right of the picture
    EXPECT_EQ(px[30 * 60 + 5], 0x10E020u);  // below it
}

TEST_F(Win32FormsTest, ABackColourPaintsBehindALabelsText) {
    auto label = dialog.Make(ControlKind::Label, "Label1", {200, 120, 340, 150}, "色");
    dialog.list->SetVisible(false);
    label->SetBackColour(0x2040C0);
    dialog.Show();
    RedrawWindow(HwndOf(label.get()), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpFor(100);
    std::vector<std::uint32_t> px = Capture(HwndOf(label.get()));
    ASSERT_FALSE(px.empty());
    EXPECT_EQ(px[px.size() - 1], 0x2040C0u);  // the bottom-right corner, clear of the text
}

TEST_F(Win32FormsTest, ATooltipShowsTheTextSetForTheControl) {
    auto& ok = static_cast<platform::win32::Win32Control&>(*dialog.ok);
    ok.SetTooltip("設定を保存して閉じます");
    HWND tip = ok.TooltipHwnd();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(GetWindow(tip, GW_OWNER), nullptr) << "an owned topmost tooltip takes the window's place under Wine";
    auto text = [&] {
        wchar_t buffer[80] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = dialog.Hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(HwndOf(&ok));
        tool.lpszText = buffer;
        SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(), L"設定を保存して閉じます");
    ok.SetTooltip("保存");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(text(), L"保存");
    ok.SetTooltip("");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(Win32FormsTest, ADisabledContainerTakesNoClicksForItsControls) {
    dialog.Show();
    dialog.frame->SetEnabled(false);
    EXPECT_TRUE(dialog.option1a->Enabled()) << "its own setting is kept";
    ClickCentre(HwndOf(dialog.option1a.get()));
    PumpFor(200);
    EXPECT_EQ(dialog.clicks["Option1(0)"], 0);
    EXPECT_EQ(dialog.option1a->Value(), 0);
    dialog.frame->SetEnabled(true);
    ClickCentre(HwndOf(dialog.option1a.get()));
    ASSERT_TRUE(PumpUntil([&] { return dialog.clicks["Option1(0)"] == 1; }, 3000));
    EXPECT_EQ(dialog.option1a->Value(), 1);
}

TEST_F(Win32FormsTest, ControlsOutlivingTheirDialogAreHarmless) {
    HWND h = HwndOf(dialog.ok.get());
    dialog.window.reset();
    EXPECT_FALSE(IsWindow(h));
    dialog.ok->SetText("x");
    dialog.ok->SetVisible(true);
    dialog.ok->SetFocus();
    dialog.check->SetValue(1);
    dialog.list->AddItem("x");
    EXPECT_EQ(dialog.ok->Text(), "x");
    dialog.Unload();
}

// ---- the borderless window and its typing controls ----

class Win32BorderlessFocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A window of "another program" in front, as notepad is under the clock.
        front = CreateWindowExW(0, L"STATIC", L"メモ帳", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(front);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == front; }, 3000));
        balloon->Move(500, 300, 280, 140);
        label = ui.NewControl(*balloon, ControlKind::Label, ControlSpec{"Label1", {10, 10, 260, 30}, "今日の予定"});
        text = ui.NewControl(*balloon, ControlKind::TextBox, ControlSpec{"Text1", {10, 40, 260, 64}, ""});
        balloon->ShowTopmostInactive();
        PumpFor(100);
    }
    void TearDown() override { DestroyWindow(front); }
    HWND Balloon() const { return HwndOfWindow(*balloon); }

    TestProcess process;
    Win32Ui ui{process};
    std::unique_ptr<platform::Window> balloon = ui.NewWindow(WindowKind::Borderless);
    std::unique_ptr<platform::Control> label, text;
    HWND front = nullptr;
};

TEST_F(Win32BorderlessFocusTest, AClickOnALabelLeavesTheFrontAClickIntoTheTextBoxTakesIt) {
    ClickCentre(HwndOf(label.get()));
    PumpFor(200);
    EXPECT_EQ(GetForegroundWindow(), front);
    EXPECT_NE(GetActiveWindow(), Balloon());
    ClickCentre(HwndOf(text.get()));
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == Balloon(); }, 3000));
    EXPECT_EQ(GetFocus(), HwndOf(text.get()));
    for (wchar_t c : std::wstring(L"会議")) PostMessageW(HwndOf(text.get()), WM_CHAR, c, 1);
    PumpFor(100);
    EXPECT_EQ(text->Text(), "会議");
}

TEST_F(Win32BorderlessFocusTest, ACheckBoxOrButtonWorksWithoutTakingTheFront) {
    auto check = ui.NewControl(*balloon, ControlKind::CheckBox, ControlSpec{"Check1", {10, 70, 260, 92}, "今後表示しない"});
    auto button = ui.NewControl(*balloon, ControlKind::Button, ControlSpec{"Command1", {10, 100, 100, 128}, "閉じる"});
    int checkClicks = 0, buttonClicks = 0;
    check->OnClick([&] { ++checkClicks; });
    button->OnClick([&] { ++buttonClicks; });
    ClickCentre(HwndOf(check.get()));
    ASSERT_TRUE(PumpUntil([&] { return checkClicks == 1; }, 3000));
    EXPECT_EQ(check->Value(), 1);
    ClickCentre(HwndOf(button.get()));
    ASSERT_TRUE(PumpUntil([&] { return buttonClicks == 1; }, 3000));
    PumpFor(100);
    EXPECT_EQ(GetForegroundWindow(), front);
    EXPECT_NE(GetActiveWindow(), Balloon());
}

TEST_F(Win32BorderlessFocusTest, HiddenOrDestroyedWhileActiveItGivesTheFrontBack) {
    for (const char* how : {"hidden", "destroyed"}) {
        SCOPED_TRACE(how);
        ClickCentre(HwndOf(text.get()));
        ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == Balloon(); }, 3000));
        if (std::string(how) == "hidden") {
            balloon->SetVisible(false);
        } else {
            label.reset();
            text.reset();
            balloon.reset();
        }
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == front; }, 3000));
        if (balloon) {
            balloon->ShowTopmostInactive();
            PumpFor(100);
        }
    }
}

TEST_F(Win32BorderlessFocusTest, FocusSetByTheProgramWaitsForTheWindowsActivation) {
    text->SetFocus();
    PumpFor(100);
    EXPECT_EQ(GetForegroundWindow(), front) << "setting the focus took the front";
    ClickCentre(HwndOf(label.get()));  // no activation
    SetForegroundWindow(Balloon());    // activated some other way
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == Balloon(); }, 3000));
    EXPECT_EQ(GetFocus(), HwndOf(text.get()));
}

}  // namespace
}  // namespace morix::win32test
