#include "options/Form3.h"

#include "base/AsciiCase.h"
#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"
#include "face/AssetPaths.h"
#include "options/Options.h"
#include "platform/Ui.h"

namespace morix {

namespace {

using platform::ControlKind;

// The client area, in twips: a row below the chime's frame holds the box for
// starting at logon.
constexpr long long ClientWidth = 7005, ClientHeight = 5475;

// The command the user's logon starts: this executable, quoted, as Windows
// wants a path with spaces.
std::string LogonCommand(std::string_view executable) {
    std::string command;
    command.reserve(executable.size() + 2);
    command.append(1, '"').append(executable).append(1, '"');
    return command;
}

// Whether the entry starts this very executable, quoted or not, with or
// without arguments; an entry of a copy elsewhere does not.
bool StartsThisProgram(std::string_view command, std::string_view executable) {
    while (!command.empty() && command.front() == ' ') command.remove_prefix(1);
    if (!command.empty() && command.front() == '"') {
        command.remove_prefix(1);
        return EqualIgnoringAsciiCase(command.substr(0, command.find('"')), executable);
    }
    if (command.size() > executable.size() && command[executable.size()] == ' ')
        command = command.substr(0, executable.size());
    while (!command.empty() && command.back() == ' ') command.remove_suffix(1);
    return EqualIgnoringAsciiCase(command, executable);
}

}  // namespace

Form3::Form3(Module1& module, Options& options) : m(module), options_(options) {
    platform::Ui& ui = m.platform.ui;
    const Form1::DialogSite site = m.TouchForm1().SiteForDialog();
    const TwipsLayout at(site.scale, site.scale);
    window_ = ui.NewWindow(platform::WindowKind::Dialog, site.origin);
    window_->SetTitle("オプション");
    window_->OnCloseRequest([this] { options_.CloseBasicOptions(); });
    platform::Window& w = *window_;

    Check2_ = ui.NewControl(w, ControlKind::CheckBox,
                            at("Check2", "過ぎた日の備忘録（.rtfファイル）は自動的に削除する", 120, 120, 4695, 315));
    Check3_ = ui.NewControl(w, ControlKind::CheckBox,
                            at("Check3", ".rtfファイルがある場合、備忘録を自動的に表示する", 120, 480, 4335, 315));
    Check3_->OnClick([this] { Check3_Click(); });
    Picture1_ = ui.NewControl(w, ControlKind::Picture, at("Picture1", "", 360, 840, 4635, 615));
    Option1_[0] = ui.NewControl(w, ControlKind::OptionButton,
                                at("Option1(0)", "Morix の起動時毎に表示する", 0, 0, 4515, 315, Picture1_.get()));
    Option1_[1] = ui.NewControl(w, ControlKind::OptionButton,
                                at("Option1(1)", "日付が変わった（もしくは、起動時に変わっていた）場合", 0, 360, 4515, 315,
                                   Picture1_.get()));
    Check4_ = ui.NewControl(w, ControlKind::CheckBox, at("Check4", "アラームを鳴らす", 120, 1560, 1875, 315));
    Check4_->OnClick([this] { Check4_Click(); });
    Picture2_ = ui.NewControl(w, ControlKind::Picture, at("Picture2", "", 360, 1920, 1635, 615));
    Option2_[0] = ui.NewControl(w, ControlKind::OptionButton,
                                at("Option2(0)", "1時間毎に鳴らす", 0, 0, 1815, 315, Picture2_.get()));
    Option2_[1] = ui.NewControl(w, ControlKind::OptionButton,
                                at("Option2(1)", "30分毎に鳴らす", 0, 360, 1755, 315, Picture2_.get()));

    Frame1_ = ui.NewControl(w, ControlKind::Frame, at("Frame1", "デザインの変更", 120, 2760, 4095, 975));
    lstDsin_ = ui.NewListBox(w, at("lstDsin", "", 120, 240, 2055, 600, Frame1_.get()));
    cmdPreView_ = ui.NewControl(w, ControlKind::Button, at("cmdPreView", "ﾌﾟﾚﾋﾞｭｰ", 2400, 360, 975, 375, Frame1_.get()));
    cmdPreView_->OnClick([this] { cmdPreView_Click(); });
    aniPreView_ = ui.NewAnimation(w, Frame1_.get());
    aniPreView_->Move(at.Pixels(3480), at.PixelsY(360));
    aniPreView_->SetVisible(false);

    Frame2_ = ui.NewControl(w, ControlKind::Frame, at("Frame2", "チャイムの変更", 120, 3960, 4095, 975));
    lstCyaim_ = ui.NewListBox(w, at("lstCyaim", "", 120, 240, 2055, 600, Frame2_.get()));
    cmdPlay_ = ui.NewControl(w, ControlKind::Button, at("cmdPlay", "Play", 2400, 360, 735, 375, Frame2_.get()));
    cmdPlay_->OnClick([this] { cmdPlay_Click(); });
    cmdStop_ = ui.NewControl(w, ControlKind::Button, at("cmdStop", "Stop", 3240, 360, 735, 375, Frame2_.get()));
    cmdStop_->OnClick([this] { cmdStop_Click(); });

    Frame3_ = ui.NewControl(w, ControlKind::Frame, at("Frame3", "吹き出しの変更", 4320, 2760, 2535, 975));
    lstHukidasi_ = ui.NewListBox(w, at("lstHukidasi", "", 120, 240, 1215, 600, Frame3_.get()));
    lstHukidasi_->OnClick([this] { lstHukidasi_Click(); });
    imgHukidasi_ = ui.NewControl(w, ControlKind::Picture, at("imgHukidasi", "", 1440, 240, 975, 615, Frame3_.get()));
    // The whole balloon in small, not its corner.
    imgHukidasi_->SetStretch(true);

    Check5_ = ui.NewControl(w, ControlKind::CheckBox, at("Check5", "Windows の起動時に Morix を起動する", 120, 5040, 4695, 315));

    cmdOK_ = ui.NewControl(w, ControlKind::Button, at("cmdOK", "OK", 4320, 4080, 1155, 795));
    cmdOK_->OnClick([this] { cmdOK_Click(); });
    cmdCancel_ = ui.NewControl(w, ControlKind::Button, at("cmdCancel", "キャンセル", 5640, 4080, 1155, 795));
    cmdCancel_->OnClick([this] { cmdCancel_Click(); });
    // Esc presses "キャンセル"; Enter presses no button.
    window_->SetCancelControl(cmdCancel_.get());

    Timer1_ = ui.NewTimer(w);
    Timer1_->OnTimer([this] { Timer1_Timer(); });
    mciChyaim_ = ui.NewSoundDevice();
    mciChyaim_->OnDone([this](platform::SoundEnd) { mciChyaim_Done(); });
    window_->SetClientSize(at.Pixels(ClientWidth), at.PixelsY(ClientHeight));
    // In a font wider than the one the places were drawn for, no caption is cut.
    window_->FitToCaptions();
}

Form3::~Form3() = default;

void Form3::Form_Load() {
    try {
        m.BasicOptionsOpen = true;
        m.TouchForm1().PlaceBeside(*window_);
        LoadAutoDelete();
        LoadAutoShow();
        FillDesignList();
        FillChimeList();
        FillFrameList();
        LoadLogonStart();
        Timer1_->SetInterval(2000);
        Timer1_->SetEnabled(false);
        m.SetForm1Enabled(false);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form3::LoadAutoDelete() { Check2_->SetValue(CheckBoxValue(m.Settings().ReadInt(keys::AutoDeleteMemos))); }

void Form3::LoadLogonStart() {
    const platform::LogonStart& logon = m.platform.logonStart;
    const std::optional<std::string> command = logon.Command();
    // An entry Windows' own switch turned off does not start: shown unticked.
    logonShown_ = command && StartsThisProgram(*command, m.platform.process.ExecutablePath()) &&
                          !platform::SwitchedOff(logon.Switch())
                      ? 1
                      : 0;
    Check5_->SetValue(logonShown_);
}

void Form3::LoadAutoShow() {
    const std::int16_t v = ToInt16(m.Settings().ReadInt(keys::AutoShowMemo));
    Check3_->SetValue(v == 0 ? 0 : 1);
    for (auto& b : Option1_) b->SetEnabled(v != 0);
    if (v != 0) ElementAt(Option1_, v - 1).SetValue(1);
}

void Form3::FillList(platform::ListBox& list, const std::vector<std::string>& entries, const std::string& stored) {
    for (const std::string& name : entries) {
        list.AddItem(name);
        if (name == stored) list.SetListIndex(list.Count() - 1);
    }
}

void Form3::FillDesignList() {
    try {
        const std::string stored = m.Settings().ReadString(keys::DesignName);
        FillList(*lstDsin_, AssetFolderNames(m.platform.files, m.Assets(), "Design"), stored);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form3::SetChimeControlsEnabled(bool enabled) {
    Frame2_->SetEnabled(enabled);
    lstCyaim_->SetEnabled(enabled);
    cmdPlay_->SetEnabled(enabled);
    cmdStop_->SetEnabled(enabled);
}

void Form3::FillChimeList() {
    try {
        const SettingsFile settings = m.Settings();
        const std::int16_t v = ToInt16(settings.ReadInt(keys::ChimeMode));
        Check4_->SetValue(v == 0 ? 0 : 1);
        for (auto& b : Option2_) b->SetEnabled(v != 0);
        if (v != 0) ElementAt(Option2_, v - 1).SetValue(1);
        SetChimeControlsEnabled(v != 0);
        FillList(*lstCyaim_, ChimeNames(m.platform.files, m.Assets()), settings.ReadString(keys::ChimeFile));
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form3::FillFrameList() {
    try {
        const std::string stored = m.Settings().ReadString(keys::FrameName);
        for (const std::string& name : AssetFolderNames(m.platform.files, m.Assets(), "Frame")) {
            lstHukidasi_->AddItem(name);
            if (name != stored) continue;
            lstHukidasi_->SetListIndex(lstHukidasi_->Count() - 1);
            // Selecting the stored frame shows its picture at once.
            lstHukidasi_Click();
        }
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form3::Check3_Click() {
    for (auto& b : Option1_) b->SetEnabled(!b->Enabled());
}

void Form3::Check4_Click() {
    Option2_[0]->SetEnabled(!Option2_[0]->Enabled());
    SetChimeControlsEnabled(Option2_[0]->Enabled());
    Option2_[1]->SetEnabled(!Option2_[1]->Enabled());
}

void Form3::lstHukidasi_Click() {
    try {
        imgHukidasi_->SetPicture(
            m.platform.pictures.Load(m.FramePictures(SelectedText(*lstHukidasi_)).folder + "\\MsgLU.gif"));
        imgHukidasi_->SetVisible(true);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form3::cmdPreView_Click() {
    try {
        PreviewBusy = true;
        const std::string clip = m.DesignFolder(SelectedText(*lstDsin_)) + "\\" + ClipName(0);
        aniPreView_->SetVisible(true);
        aniPreView_->SetAutoPlay(false);
        aniPreView_->Open(clip);
        aniPreView_->Play(1);
        cmdPreView_->SetEnabled(false);
        cmdOK_->SetEnabled(false);
        cmdCancel_->SetEnabled(false);
        Timer1_->SetEnabled(true);
    } catch (const RuntimeError& e) {
        // A preview that could not start is no preview running.
        PreviewBusy = false;
        aniPreView_->SetVisible(false);
        m.HandleError(e);
    }
}

void Form3::Timer1_Timer() {
    PreviewBusy = false;
    aniPreView_->Stop();
    aniPreView_->Close();
    aniPreView_->SetVisible(false);
    cmdPreView_->SetEnabled(true);
    if (!ChimeBusy) {
        cmdOK_->SetEnabled(true);
        cmdCancel_->SetEnabled(true);
    }
    Timer1_->SetEnabled(false);
}

void Form3::cmdPlay_Click() {
    try {
        ChimeBusy = true;
        mciChyaim_->SetFileName(m.ChimeFile(SelectedText(*lstCyaim_)));
        mciChyaim_->SetCommand("open");
        mciChyaim_->SetCommand("play");
        cmdPlay_->SetEnabled(false);
        cmdStop_->SetEnabled(true);
        cmdOK_->SetEnabled(false);
        cmdCancel_->SetEnabled(false);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

// The buttons change when the device reports the end.
void Form3::cmdStop_Click() { mciChyaim_->SetCommand("stop"); }

void Form3::mciChyaim_Done() {
    ChimeBusy = false;
    mciChyaim_->SetCommand("close");
    cmdPlay_->SetEnabled(true);
    cmdStop_->SetEnabled(false);
    if (!PreviewBusy) {
        cmdOK_->SetEnabled(true);
        cmdCancel_->SetEnabled(true);
    }
}

void Form3::SaveOptions() {
    m.Settings().WriteValues({
        {keys::AutoDeleteMemos.name, std::to_string(Check2_->Value())},
        {keys::AutoShowMemo.name, Check3_->Value() == 0 ? "0" : Option1_[0]->Value() == 1 ? "1" : "2"},
        {keys::ChimeMode.name, Check4_->Value() == 0 ? "0" : Option2_[0]->Value() == 1 ? "1" : "2"},
        {keys::ChimeFile.name, SelectedText(*lstCyaim_)},
        {keys::DesignName.name, SelectedText(*lstDsin_)},
        {keys::FrameName.name, SelectedText(*lstHukidasi_)},
    });
    m.RestoreFollowedWindow = true;
}

// Only a change of the box touches the entry: one left unticked because it
// names a copy elsewhere stays that copy's.
void Form3::SaveLogonStart() {
    const int wanted = Check5_->Value() == 1 ? 1 : 0;
    if (wanted == logonShown_) return;
    platform::LogonStart& logon = m.platform.logonStart;
    const bool done = wanted == 1 ? logon.SetCommand(LogonCommand(m.platform.process.ExecutablePath())) : logon.Remove();
    if (!done) Raise(err::PathFileAccess, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    // Ticked again, the entry is turned back on as the system's own setting
    // turns it on; unticked, the removed entry leaves no switch to obey.
    if (wanted == 1 && platform::SwitchedOff(logon.Switch()) && !logon.SetSwitch(platform::SwitchedOnValue()))
        Raise(err::PathFileAccess,
              "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run");
}

void Form3::cmdOK_Click() {
    SaveOptions();
    try {
        SaveLogonStart();
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
    m.UnloadForm1ForReload();
    m.ReshowMemoWindow();
    options_.CloseBasicOptions();
}

// Closing without OK changes nothing; Reloading is not set, so that a later
// real exit still writes its exit date and cleans up past memos.
void Form3::cmdCancel_Click() { options_.CloseBasicOptions(); }

void Form3::Form_Unload() {
    m.BasicOptionsOpen = false;
    lstDsin_->Clear();
    lstCyaim_->Clear();
    lstHukidasi_->Clear();
    m.SetForm1Enabled(true);
}

}  // namespace morix
