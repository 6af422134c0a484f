#include "options/Form4.h"

#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"
#include "options/Form11.h"
#include "options/Options.h"
#include "platform/Ui.h"

namespace morix {

namespace {

using platform::ControlKind;

// The dialog grew by one row at the bottom for the full-screen box: every
// other place in it is taken, and no control moved to make room.
constexpr long long ClientWidth = 6915, ClientHeight = 5955;

// The settings behind the six balloon lines and the three drive kinds, in
// the order of their boxes.
constexpr std::array<const keys::IntKey*, 6> ItemKeys{&keys::ShowCpu,   &keys::ShowResources, &keys::ShowMemory,
                                                     &keys::ShowPower, &keys::ShowFreeSpace, &keys::ShowMemo};
constexpr std::array<const keys::IntKey*, 3> DriveKeys{&keys::ShowRemovable, &keys::ShowFixed, &keys::ShowCd};

// The label beside the program's picture: its name, its version, and a word
// of what it is.
constexpr const char* AboutText = "Morix\r\n                 Version 1.00\r\n時計と備忘録のちいさな道具";

}  // namespace

Form4::Form4(Module1& module, Options& options) : m(module), options_(options) {
    platform::Ui& ui = m.platform.ui;
    const Form1::DialogSite site = m.TouchForm1().SiteForDialog();
    const TwipsLayout at(site.scale, site.scale);
    window_ = ui.NewWindow(platform::WindowKind::Dialog, site.origin);
    window_->SetTitle("拡張オプション");
    window_->OnCloseRequest([this] { options_.CloseExtendedOptions(); });
    platform::Window& w = *window_;

    Check1_ = ui.NewControl(w, ControlKind::CheckBox,
                            at("Check1", "Morix をアクティブウインドウのタイトルバーに移動させる", 120, 120, 4695, 315));
    Check1_->OnClick([this] { Check1_Click(); });
    Line_[0] = ui.NewControl(w, ControlKind::Line, at("Line1", "", 4800, 240, 1800, 0));
    Picture1_ = ui.NewControl(w, ControlKind::Picture, at("Picture1", "", 360, 360, 6255, 1575));
    const char* sizeRules[] = {"アクティブウインドウのサイズが 800×600 ピクセル未満のときは移動させない",
                               "アクティブウインドウのサイズが 640×480 ピクセル未満のときは移動させない",
                               "アクティブウインドウのサイズが 400×320 ピクセル未満のときは移動させない",
                               "アクティブウインドウであればサイズに関係なく移動させる"};
    for (int i = 0; i < 4; ++i)
        Option1_[i] = ui.NewControl(w, ControlKind::OptionButton,
                                    at("Option1(" + std::to_string(i) + ")", sizeRules[i], 0, 120 + 360 * i,
                                       i == 3 ? 6135 : 6375, 255, Picture1_.get()));

    Check2_ = ui.NewControl(w, ControlKind::CheckBox, at("Check2", "吹き出しを出す", 120, 2040, 1455, 315));
    Check2_->OnClick([this] { Check2_Click(); });
    Line_[1] = ui.NewControl(w, ControlKind::Line, at("Line2", "", 1680, 2160, 4920, 0));
    Picture2_ = ui.NewControl(w, ControlKind::Picture, at("Picture2", "", 240, 2400, 6495, 3015));
    platform::Control* p2 = Picture2_.get();
    struct Box {
        const char* caption;
        long long left, top, width;
    };
    const Box items[] = {{"CPU稼働率", 0, 0, 1455},         {"システムリソース使用率", 0, 360, 2295},
                         {"メモリー使用率", 0, 720, 1695},  {"電源の状態", 0, 1080, 1455},
                         {"ディスク空容量", 0, 1440, 1815}, {"メモ", 2640, 0, 855}};
    for (int i = 0; i < 6; ++i) {
        Check3_[i] = ui.NewControl(w, ControlKind::CheckBox,
                                   at("Check3(" + std::to_string(i) + ")", items[i].caption, items[i].left, items[i].top,
                                      items[i].width, 255, p2));
        Check3_[i]->OnClick([this, i] { Check3_Click(i); });
    }
    const Box drives[] = {{"FD，MO etc.", 240, 1800, 1455}, {"HD", 240, 2160, 615}, {"CD", 240, 2520, 735}};
    for (int i = 0; i < 3; ++i)
        Check4_[i] = ui.NewControl(w, ControlKind::CheckBox,
                                   at("Check4(" + std::to_string(i) + ")", drives[i].caption, drives[i].left,
                                      drives[i].top, drives[i].width, 255, p2));
    Text1_ = ui.NewControl(w, ControlKind::TextBox, at("Text1", "", 2760, 360, 3495, 270, p2));
    // In the row between the memo box and the frame below it.
    Check6_ = ui.NewControl(w, ControlKind::CheckBox, at("Check6", "他の地域の時刻", 2640, 660, 1815, 255, p2));
    Check6_->OnClick([this] { Check6_Click(); });
    cmdZones_ = ui.NewControl(w, ControlKind::Button, at("cmdZones", "地域を選ぶ...", 4560, 660, 1695, 285, p2));
    cmdZones_->OnClick([this] { cmdZones_Click(); });
    Image1_ = ui.NewControl(w, ControlKind::Picture, at("Image1", "", 2640, 1200, 720, 720, p2));
    Image1_->SetPicture(m.platform.pictures.ProgramIcon(32));
    Label1_ = ui.NewControl(w, ControlKind::Label, at("Label1", AboutText, 3480, 1200, 2505, 720, p2));
    Line_[2] = ui.NewControl(w, ControlKind::Line, at("Line3", "", 2400, 960, 3960, 0, p2));
    Line_[3] = ui.NewControl(w, ControlKind::Line, at("Line4", "", 2400, 2880, 3960, 0, p2));
    Line_[4] = ui.NewControl(w, ControlKind::Line, at("Line5", "", 2400, 960, 0, 1920, p2));
    Line_[5] = ui.NewControl(w, ControlKind::Line, at("Line6", "", 6360, 960, 0, 1920, p2));

    cmdCancel_ = ui.NewControl(w, ControlKind::Button, at("cmdCancel", "キャンセル", 2880, 4560, 1635, 435));
    cmdCancel_->OnClick([this] { cmdCancel_Click(); });
    cmdOK_ = ui.NewControl(w, ControlKind::Button, at("cmdOK", "OK", 4680, 4560, 1635, 435));
    cmdOK_->OnClick([this] { cmdOK_Click(); });
    Check5_ = ui.NewControl(w, ControlKind::CheckBox,
                            at("Check5", "全画面表示のウィンドウが手前のときは時計を隠す", 120, 5520, 4695, 315));
    window_->SetCancelControl(cmdCancel_.get());
    window_->SetClientSize(at.Pixels(ClientWidth), at.PixelsY(ClientHeight));
    // In a font wider than the one the places were drawn for, no caption is cut.
    window_->FitToCaptions();
}

Form4::~Form4() = default;

void Form4::Form_Load() {
    try {
        m.ExtendedOptionsOpen = true;
        m.TouchForm1().PlaceBeside(*window_);
        LoadFollowOptions();
        LoadInfoOptions();
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form4::LoadFollowOptions() {
    Check1_->SetValue(CheckBoxValue(m.Settings().ReadInt(keys::FollowActiveWindow)));
    const bool ticked = Check1_->Value() == 1;
    if (ticked) ElementAt(Option1_, ToInt16(m.Settings().ReadInt(keys::FollowSizeRule))).SetValue(1);
    for (auto& b : Option1_) b->SetEnabled(ticked);
    // Whether the clock follows or stays home, it steps aside all the same.
    Check5_->SetValue(CheckBoxValue(m.Settings().ReadInt(keys::HideForFullScreen)));
}

void Form4::SetDriveBoxesEnabled(bool enabled) {
    for (auto& b : Check4_) b->SetEnabled(enabled);
}

void Form4::LoadInfoOptions() {
    try {
        const SettingsFile settings = m.Settings();
        Check2_->SetValue(CheckBoxValue(settings.ReadInt(keys::ShowInfoBalloon)));
        if (Check2_->Value() == 1) {
            for (std::size_t i = 0; i < Check3_.size(); ++i) {
                Check3_[i]->SetValue(CheckBoxValue(settings.ReadInt(*ItemKeys[i])));
                Check3_[i]->SetEnabled(true);
            }
            if (Check3_[4]->Value() == 1) {
                for (std::size_t i = 0; i < Check4_.size(); ++i)
                    Check4_[i]->SetValue(CheckBoxValue(settings.ReadInt(*DriveKeys[i])));
            } else {
                SetDriveBoxesEnabled(false);
            }
            Text1_->SetText(settings.ReadString(keys::MemoText));
            Text1_->SetEnabled(Check3_[5]->Value() == 1);
            Check6_->SetValue(CheckBoxValue(settings.ReadInt(keys::ShowOtherZones)));
        } else {
            // The boxes stay unticked; their keys are not read.
            for (auto& b : Check3_) b->SetEnabled(false);
            SetDriveBoxesEnabled(false);
            Text1_->SetText(keys::MemoText.defaultValue);
            Text1_->SetEnabled(false);
        }
        SetZoneControlsEnabled();
        zones_ = ReadOtherZones(settings, m.platform.timeZones);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

// The selection is not changed.
void Form4::Check1_Click() {
    for (auto& b : Option1_) b->SetEnabled(Check1_->Value() == 1);
}

// Text1 is not touched.
void Form4::Check2_Click() {
    const bool ticked = Check2_->Value() == 1;
    for (auto& b : Check3_) b->SetEnabled(ticked);
    SetDriveBoxesEnabled(ticked && Check3_[4]->Value() == 1);
    SetZoneControlsEnabled();
}

void Form4::SetZoneControlsEnabled() {
    Check6_->SetEnabled(Check2_->Value() == 1);
    cmdZones_->SetEnabled(Check2_->Value() == 1 && Check6_->Value() == 1);
}

void Form4::Check6_Click() { SetZoneControlsEnabled(); }

// The choice is this dialog's until its OK; meanwhile this dialog waits.
void Form4::cmdZones_Click() {
    if (form11_) return;
    form11_ = std::make_unique<Form11>(
        m, zones_,
        [this](const std::vector<ChosenZone>& zones) {
            zones_ = zones;
            zonesChosen_ = true;
        },
        [this] { CloseZoneChoice(); });
    form11_->Form_Load();
    window_->SetEnabled(false);
    ShowDialog(form11_->Window());
}

void Form4::CloseZoneChoice() {
    std::unique_ptr<Form11> form = std::move(form11_);
    window_->SetEnabled(true);
    if (form) ShowDialog(*window_);
}

void Form4::Check3_Click(int index) {
    if (index == 4) SetDriveBoxesEnabled(Check3_[4]->Value() == 1);
    if (index == 5) Text1_->SetEnabled(Check3_[5]->Value() == 1);
}

void Form4::SaveExtendedOptions() {
    SettingsWrites writes{{keys::FollowActiveWindow.name, std::to_string(Check1_->Value())}};
    if (Check1_->Value() == 1) {
        // The first chosen rule; nothing when none is chosen.
        for (std::size_t i = 0; i < Option1_.size(); ++i)
            if (Option1_[i]->Value() == 1) {
                writes.emplace_back(keys::FollowSizeRule.name, std::to_string(i));
                break;
            }
    } else {
        writes.emplace_back(keys::FollowSizeRule.name, "");
    }
    writes.emplace_back(keys::HideForFullScreen.name, std::to_string(Check5_->Value()));
    writes.emplace_back(keys::ShowInfoBalloon.name, std::to_string(Check2_->Value()));
    if (Check2_->Value() == 1)
        for (std::size_t i = 0; i < Check3_.size(); ++i)
            writes.emplace_back(ItemKeys[i]->name, std::to_string(Check3_[i]->Value()));
    if (Check2_->Value() == 1) writes.emplace_back(keys::ShowOtherZones.name, std::to_string(Check6_->Value()));
    if (zonesChosen_) AddOtherZones(writes, zones_);
    // These two go by their own boxes, whatever the balloon's box holds.
    if (Check3_[4]->Value() == 1)
        for (std::size_t i = 0; i < Check4_.size(); ++i)
            writes.emplace_back(DriveKeys[i]->name, std::to_string(Check4_[i]->Value()));
    if (Check3_[5]->Value() == 1) writes.emplace_back(keys::MemoText.name, Text1_->Text());
    m.Settings().WriteValues(writes);
    m.RestoreFollowedWindow = true;
}

void Form4::cmdOK_Click() {
    SaveExtendedOptions();
    m.UnloadForm1ForReload();
    m.ReshowMemoWindow();
    options_.CloseExtendedOptions();
}

// Closing without OK writes nothing and leaves Reloading clear.
void Form4::cmdCancel_Click() { options_.CloseExtendedOptions(); }

void Form4::Form_Unload() {
    m.ExtendedOptionsOpen = false;
    m.SetForm1Enabled(true);
}

}  // namespace morix
