#include "options/Form11.h"

#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"
#include "platform/TimeZones.h"
#include "platform/Ui.h"

#include <algorithm>

namespace morix {

namespace {

using platform::ControlKind;

constexpr long long ClientWidth = 6915, ClientHeight = 5535;

}  // namespace

Form11::Form11(Module1& module, std::vector<ChosenZone> zones, Chosen chosen, std::function<void()> closed)
    : m(module), system_(module.platform.timeZones.List()), zones_(std::move(zones)), chosen_(std::move(chosen)),
      closed_(std::move(closed)) {
    platform::Ui& ui = m.platform.ui;
    const Form1::DialogSite site = m.TouchForm1().SiteForDialog();
    const TwipsLayout at(site.scale, site.scale);
    window_ = ui.NewWindow(platform::WindowKind::Dialog, site.origin);
    window_->SetTitle("他の地域の時刻");
    window_->OnCloseRequest([this] { cmdCancel_Click(); });
    platform::Window& w = *window_;

    Label1_ = ui.NewControl(w, ControlKind::Label, at("Label1", "地域の一覧", 120, 120, 6675, 255));
    lstZones_ = ui.NewListBox(w, at("lstZones", "", 120, 420, 6675, 1800));
    cmdAdd_ = ui.NewControl(w, ControlKind::Button, at("cmdAdd", "追加", 120, 2340, 1335, 375));
    cmdAdd_->OnClick([this] { cmdAdd_Click(); });
    Label2_ = ui.NewControl(w, ControlKind::Label,
                            at("Label2", "吹き出しに出す地域（8 つまで、この順に）", 120, 2880, 6675, 255));
    lstChosen_ = ui.NewListBox(w, at("lstChosen", "", 120, 3180, 4215, 1560));
    lstChosen_->OnClick([this] { lstChosen_Click(); });
    cmdUp_ = ui.NewControl(w, ControlKind::Button, at("cmdUp", "上へ", 4455, 3180, 1095, 375));
    cmdUp_->OnClick([this] { cmdUp_Click(); });
    cmdDown_ = ui.NewControl(w, ControlKind::Button, at("cmdDown", "下へ", 5700, 3180, 1095, 375));
    cmdDown_->OnClick([this] { cmdDown_Click(); });
    cmdRemove_ = ui.NewControl(w, ControlKind::Button, at("cmdRemove", "削除", 4455, 3660, 2340, 375));
    cmdRemove_->OnClick([this] { cmdRemove_Click(); });
    Label3_ = ui.NewControl(w, ControlKind::Label, at("Label3", "表示名", 4455, 4140, 2340, 255));
    txtLabel_ = ui.NewControl(w, ControlKind::TextBox, at("txtLabel", "", 4455, 4440, 2340, 300));
    cmdCancel_ = ui.NewControl(w, ControlKind::Button, at("cmdCancel", "キャンセル", 3360, 4980, 1635, 435));
    cmdCancel_->OnClick([this] { cmdCancel_Click(); });
    cmdOK_ = ui.NewControl(w, ControlKind::Button, at("cmdOK", "OK", 5160, 4980, 1635, 435));
    cmdOK_->OnClick([this] { cmdOK_Click(); });
    window_->SetCancelControl(cmdCancel_.get());
    window_->SetClientSize(at.Pixels(ClientWidth), at.PixelsY(ClientHeight));
    // In a font wider than the one the places were drawn for, no caption is cut.
    window_->FitToCaptions();
}

Form11::~Form11() = default;

void Form11::Form_Load() {
    m.TouchForm1().PlaceBeside(*window_);
    for (const platform::ZoneName& zone : system_) lstZones_->AddItem(zone.displayName);
    if (!system_.empty()) lstZones_->SetListIndex(0);
    ShowChosen(zones_.empty() ? -1 : 0);
}

void Form11::ShowChosen(int select) {
    lstChosen_->Clear();
    for (const ChosenZone& zone : zones_) {
        if (!zone.readable) {
            lstChosen_->AddItem("（読めない設定） " + zone.stored);
            continue;
        }
        std::string display = "（この地域はありません）";
        for (const platform::ZoneName& name : system_)
            if (name.key == zone.key) display = name.displayName;
        lstChosen_->AddItem(zone.label + "  " + display);
    }
    lstChosen_->SetListIndex(select);
    editing_ = select >= 0 && zones_[select].readable ? select : -1;
    txtLabel_->SetText(editing_ >= 0 ? zones_[editing_].label : "");
    txtLabel_->SetEnabled(editing_ >= 0);
    cmdRemove_->SetEnabled(select >= 0);
    cmdUp_->SetEnabled(select > 0);
    cmdDown_->SetEnabled(select >= 0 && select + 1 < static_cast<int>(zones_.size()));
    cmdAdd_->SetEnabled(zones_.size() < MaxOtherZones && !system_.empty());
}

void Form11::KeepLabel() {
    if (editing_ >= 0) zones_[editing_].label = txtLabel_->Text();
}

void Form11::cmdAdd_Click() {
    const int picked = lstZones_->ListIndex();
    if (picked < 0 || zones_.size() >= MaxOtherZones) return;
    KeepLabel();
    const platform::ZoneName& zone = system_[picked];
    zones_.push_back({zone.key, ShortZoneName(zone.displayName), true, ""});
    ShowChosen(static_cast<int>(zones_.size()) - 1);
}

void Form11::cmdRemove_Click() {
    const int at = lstChosen_->ListIndex();
    if (at < 0) return;
    editing_ = -1;  // its label goes with it
    zones_.erase(zones_.begin() + at);
    ShowChosen(std::min(at, static_cast<int>(zones_.size()) - 1));
}

void Form11::Move(int from, int to) {
    if (from < 0 || to < 0 || to >= static_cast<int>(zones_.size())) return;
    KeepLabel();
    std::swap(zones_[from], zones_[to]);
    ShowChosen(to);
}

void Form11::cmdUp_Click() { Move(lstChosen_->ListIndex(), lstChosen_->ListIndex() - 1); }
void Form11::cmdDown_Click() { Move(lstChosen_->ListIndex(), lstChosen_->ListIndex() + 1); }

void Form11::lstChosen_Click() {
    KeepLabel();
    ShowChosen(lstChosen_->ListIndex());
}

void Form11::cmdOK_Click() {
    KeepLabel();
    chosen_(zones_);
    closed_();
}

void Form11::cmdCancel_Click() { closed_(); }

}  // namespace morix
