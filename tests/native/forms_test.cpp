// A small form over the simulated desktop, written the way the program's
// dialogs are: its controls are platform objects placed from twips, its
// handlers are member functions set as callbacks, and a test drives it as a
// user would (tick a box, pick an entry, press OK, read what was written).
#include "clock/FormLayout.h"
#include "settings/SettingsFile.h"
#include "tests/fake/FakeSystem.h"
#include "tests/fake/TempFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace morix::test {
namespace {

using platform::ControlKind;

class TestForm {
public:
    TestForm(platform::Ui& ui, SettingsFile& settings) : settings_(settings) {
        const TwipsLayout at(TwipsPerPixel(96), TwipsPerPixel(96));
        window_ = ui.NewWindow(platform::WindowKind::Dialog);
        window_->SetTitle("テスト");
        chkShow_ = ui.NewControl(*window_, ControlKind::CheckBox, at("chkShow", "表示する", 120, 120, 1500, 300));
        chkShow_->OnClick([this] { chkShow_Click(); });
        fraKind_ = ui.NewControl(*window_, ControlKind::Frame, at("fraKind", "種類", 120, 480, 2000, 900));
        for (int i = 0; i < 2; ++i)
            optKind_[i] = ui.NewControl(*window_, ControlKind::OptionButton,
                                        at("optKind(" + std::to_string(i) + ")", i ? "B" : "A", 120, 240 + 300 * i, 900,
                                           255, fraKind_.get()));
        lstName_ = ui.NewListBox(*window_, at("lstName", "", 2400, 120, 1500, 900));
        for (auto name : {"一", "二", "三"}) lstName_->AddItem(name);
        cmdOK_ = ui.NewControl(*window_, ControlKind::Button, at("cmdOK", "OK", 120, 1500, 900, 375));
        cmdOK_->OnClick([this] { cmdOK_Click(); });
        cmdCancel_ = ui.NewControl(*window_, ControlKind::Button, at("cmdCancel", "キャンセル", 1200, 1500, 900, 375));
        cmdCancel_->OnClick([this] { closed = true; });
        window_->SetCancelControl(cmdCancel_.get());
        window_->SetVisible(true);
        chkShow_->SetValue(1);
    }
    void chkShow_Click() { fraKind_->SetEnabled(chkShow_->Value() == 1); }
    void cmdOK_Click() {
        settings_.WriteValue("表示", std::to_string(chkShow_->Value()));
        settings_.WriteValue("種類", optKind_[1]->Value() == 1 ? "B" : "A");
        settings_.WriteValue("名前", SelectedText(*lstName_));
        closed = true;
    }
    bool closed = false;

private:
    SettingsFile& settings_;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::Control> chkShow_, fraKind_, cmdOK_, cmdCancel_;
    std::array<std::unique_ptr<platform::Control>, 2> optKind_;
    std::unique_ptr<platform::ListBox> lstName_;
};

TEST(Forms, ATestFormDrivenAsAUserWould) {
    TempFolder dir;
    FakeSystem sys{dir.ProgramPath()};
    SettingsFile settings(sys.files, sys.codePage, dir.ProgramPath() + "\\Morix.ini");
    TestForm form(sys.ui, settings);
    FakeWindow& w = *sys.ui.FindWindow("テスト");
    EXPECT_EQ(w.Control("fraKind").place, (platform::Rect{8, 32, 141, 92})) << "twips of the container to pixels";

    // Option buttons are chosen one at a time within their container.
    w.Control("optKind(0)").Click();
    w.Control("optKind(1)").Click();
    EXPECT_EQ(w.Control("optKind(0)").value, 0);
    // Unticking the box disables the frame; what is in it takes no clicks.
    w.Control("chkShow").Click();
    EXPECT_EQ(w.Control("chkShow").value, 0);
    EXPECT_THROW(w.Control("optKind(0)").Click(), std::logic_error);
    w.List("lstName").Pick("二");
    w.Control("cmdOK").Click();
    EXPECT_TRUE(form.closed);
    EXPECT_EQ(settings.ReadString("表示", ""), "0");
    EXPECT_EQ(settings.ReadString("種類", ""), "B");
    EXPECT_EQ(settings.ReadString("名前", ""), "二");

    // Esc presses the cancel button, but not while it is disabled.
    form.closed = false;
    w.Control("cmdCancel").enabled = false;
    w.PressEsc();
    EXPECT_FALSE(form.closed);
    w.Control("cmdCancel").enabled = true;
    w.PressEsc();
    EXPECT_TRUE(form.closed);
}

}  // namespace
}  // namespace morix::test
