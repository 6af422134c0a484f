#include "clock/Module1.h"

#include "base/DateStamp.h"
#include "clock/Form1.h"
#include "face/AssetPaths.h"
#include "face/PictureSets.h"
#include "settings/DataFolder.h"

namespace morix {

Module1::Module1(platform::Platform& p) : platform(p) {
    // A settings file that cannot be written loses every change the user
    // makes: the user hears of it once, with the file, and the program goes
    // on as before.
    settingsWriteFailed_ = [this](const std::string& path) {
        if (settingsWriteFailureTold_) return;
        settingsWriteFailureTold_ = true;
        HandleError(RuntimeError(err::PathFileAccess, path));
    };
    // An error that nothing handled ends the program; the open memo's text
    // is saved first, as the error prompt's end saves it.
    platform.process.OnFatalError([this] {
        if (MemoWindowOpen && memos) memos->SaveOpenMemo();
    });
}

Module1::~Module1() { platform.process.OnFatalError(nullptr); }

void Module1::Main() {
    if (platform.process.AnotherInstanceRunning()) platform.process.Exit(0);
    // An installer that closes the clock to update it starts it again.
    platform.process.RegisterForRestart();
    LoadForm1();
}

void Module1::LoadForm1() {
    if (form1_) return;
    form1_ = std::make_unique<Form1>(*this);
    form1_->Form_Load();
}

void Module1::UnloadForm1() {
    if (!form1_) return;
    // The form is gone even when its unload handling fails; the error still
    // reaches the event's guard.
    std::unique_ptr<Form1> form = std::move(form1_);
    form->Form_Unload();
}

void Module1::UnloadForm1ForReload() {
    Reloading = true;
    UnloadForm1();
}

void Module1::ReshowMemoWindow() {
    if (!MemoWindowOpen) return;
    memos->CloseMemoWindow();
    memos->ShowMemoWindow();
}

Form1& Module1::TouchForm1() {
    LoadForm1();
    return *form1_;
}

void Module1::SetForm1Enabled(bool enabled) { TouchForm1().Window().SetEnabled(enabled); }

void Module1::HandleError(const RuntimeError& error) {
    // Numbers beyond 16 bits do not occur among the run-time's errors; one
    // that did would be reported as it stands, with its own text.
    ErrNo = static_cast<std::int16_t>(error.Number());
    ErrDescription = error.Description();
    ShowErrorPrompt();
}

std::string Module1::TodayStamp() const {
    platform::LocalTime now = platform.clock.Now();
    return DateStamp({now.year, now.month, now.day});
}

const std::string& Module1::DataFolder() const {
    if (!dataFolder_)
        dataFolder_ = ChooseDataFolder(platform.files, platform.process.ProgramFolder(), platform.process.RoamingDataFolder(),
                                       [this](std::string_view folder) { return platform.process.NormalRunMayWrite(folder); });
    return *dataFolder_;
}

std::string Module1::DesignFolder(std::string_view designName) const {
    return AssetFolder(platform.files, Assets(), "Design", designName);
}

std::string Module1::ChimeFile(std::string_view chimeName) const {
    return morix::ChimeFile(platform.files, Assets(), chimeName);
}

namespace {

// Where pictures scaled for a display are kept: beside the user's other data,
// never in the program folder, which may not be writable.
std::string ScaledCopies(const platform::Process& process, std::string_view kind, std::string_view name,
                         TwipsPerPixel scale) {
    const std::string localData = process.LocalDataFolder();
    if (localData.empty()) return {};
    return localData + "\\Morix\\Scaled\\" + std::string(kind) + "\\" + std::string(name) + "\\" +
           std::to_string(scale.Dpi());
}

}  // namespace

PictureSet Module1::DesignPictures(TwipsPerPixel scale) const {
    return PictureSetFolder(platform.files, DesignFolder(), DesignPictureNames(), scale,
                            ScaledCopies(platform.process, "Design", clips.DesignName, scale));
}

PictureSet Module1::FramePictures(std::string_view frameName) const {
    return PictureSetFolder(platform.files, AssetFolder(platform.files, Assets(), "Frame", frameName), FramePictureNames(),
                            MonitorScale, ScaledCopies(platform.process, "Frame", frameName, MonitorScale));
}

}  // namespace morix
