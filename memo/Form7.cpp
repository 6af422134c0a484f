#include "memo/Form7.h"

#include "base/DateStamp.h"
#include "base/Twips.h"
#include "clock/Form1.h"
#include "clock/Module1.h"
#include "face/AssetPaths.h"
#include "memo/CloseButton.h"
#include "memo/MemoFiles.h"
#include "memo/Memos.h"
#include "platform/FileErrors.h"
#include "platform/Ui.h"

namespace morix {

namespace {

constexpr platform::Rect TextPlace{60, 35, 60 + 160, 35 + 80};
constexpr int WindowWidth = 280, WindowHeight = 140;
constexpr int CheckWidth = 105, CheckHeight = 17;
constexpr std::uint32_t White = 0xFFFFFF;

}  // namespace

Form7::Form7(Module1& module, const Memos& memos) : m(module), memos_(memos) {
    platform::Ui& ui = m.platform.ui;
    // Made on the clock's monitor, where its check box takes that monitor's
    // font.
    window_ = ui.NewWindow(platform::WindowKind::Borderless, m.TouchForm1().SiteForDialog().origin);
    window_->SetTitle("Morix - 備忘録");
    MakeTextBox();
    picClose_ = ui.NewControl(*window_, platform::ControlKind::Picture, {"picClose", {}, "", nullptr});
    picClose_->SetTooltip("Save & Close");
    picClose_->OnClick([this] { picClose_Click(); });
    Check1_ = ui.NewControl(*window_, platform::ControlKind::CheckBox, {"Check1", {}, "今後表示しない", nullptr});
    Check1_->SetBackColour(White);
    Check1_->SetVisible(false);
    ysTransForm1_ = ui.NewShaper(*window_);
    // The corner by which the memo window is dragged stays visible.
    ysTransForm1_->SetSurfaceSize(80, 33);
    ysTransForm1_->SetVisible(true);
}

Form7::~Form7() = default;

void Form7::Form_Load() {
    // A window kept from an earlier opening starts as a new one would.
    placed_ = memoLoaded_ = showsSample_ = false;
    memoPath_.clear();
    try {
        m.MemoWindowOpen = true;
        const std::string frame = m.Settings().ReadString(keys::FrameName);
        Form1& clock = m.TouchForm1();
        const TwipsPerPixel scale = m.FramePictures(frame).scale;
        const BalloonPlacement placement = clock.BalloonBeside(scale);
        window_->Move(m.TwipsX.Pixels(placement.left), m.TwipsY.Pixels(placement.top), scale.Scaled(WindowWidth),
                      scale.Scaled(WindowHeight));
        placed_ = true;

        txtMsg_->SetText("");
        // The box is new at every opening (see PutAway).
        txtMsg_->SetFont({"ＭＳ Ｐゴシック", 9, true});
        Check1_->SetVisible(false);
        if (!(laidOutFor_ && *laidOutFor_ == scale)) LayOut(scale);

        const std::string programFolder = m.platform.process.ProgramFolder();
        if (!m.MemoPath.empty()) {
            memoPath_ = m.MemoPath;
            txtMsg_->LoadFile(memoPath_);
            memoLoaded_ = true;
        } else if (m.Settings().ReadInt(keys::SampleMemoDone) == 0) {
            Check1_->SetValue(0);
            Check1_->SetVisible(true);
            txtMsg_->LoadFile(programFolder + "\\Sample.rtf");
            showsSample_ = true;
        }

        ApplyFrame(frame, placement.picture);
        clock.SetMemoMenuEnabled(false);
        window_->ShowTopmostInactive();
    } catch (const RuntimeError& e) {
        // The window stays as far as it got and counts as open, so that its
        // closing still runs; shown, so that its close picture can be
        // reached (a window not even placed is closed by the caller).
        m.HandleError(e);
        if (placed_) window_->ShowTopmostInactive();
    }
}

void Form7::Place(const std::string& frameName, const BalloonPlacement& placement) {
    const TwipsPerPixel scale = m.FramePictures(frameName).scale;
    window_->Move(m.TwipsX.Pixels(placement.left), m.TwipsY.Pixels(placement.top), scale.Scaled(WindowWidth),
                  scale.Scaled(WindowHeight));
    if (!(laidOutFor_ && *laidOutFor_ == scale)) LayOut(scale);
    ApplyFrame(frameName, placement.picture);
}

// What lies on the balloon, for the scale of its frame picture: laid out
// again when the clock took another monitor's scale.
void Form7::LayOut(TwipsPerPixel scale) {
    laidOutFor_ = scale;
    PlaceTextBox(scale);
    picClose_->SetPicture(m.platform.pictures.FromPixels(scale.Scaled(CloseButtonWidth), scale.Scaled(CloseButtonHeight),
                                                         CloseButtonPixels(scale)));
    // Centred under the text box.
    const int closeLeft = (WindowWidth - CloseButtonWidth) / 2;
    picClose_->Move(scale.Scaled(
        {closeLeft, TextPlace.bottom + 1, closeLeft + CloseButtonWidth, TextPlace.bottom + 1 + CloseButtonHeight}));
    const int checkLeft = (WindowWidth - CheckWidth) / 2;
    Check1_->Move(scale.Scaled({checkLeft, 18, checkLeft + CheckWidth, 18 + CheckHeight}));
}

void Form7::PlaceTextBox(TwipsPerPixel scale) {
    txtMsg_->Move(scale.Scaled(TextPlace));
    txtMsg_->SetRightMargin(scale.Scaled(1024));
}

void Form7::ApplyFrame(const std::string& frameName, const std::string& pictureName) {
    // A window kept between openings keeps its face and outline while hidden.
    const std::string path = m.FramePictures(frameName).folder + "\\" + pictureName;
    if (path == shapedWith_) return;
    auto picture = m.platform.pictures.Load(path);
    // The frame picture is the balloon's face as well as its outline.
    window_->SetBackground(picture);
    ysTransForm1_->Move(1, 1);
    ysTransForm1_->SetMaskPicture(picture);
    ysTransForm1_->ApplyShape(true);
    shapedWith_ = path;
}

void Form7::Form_Unload() {
    if (!ShowsSample()) {
        SaveMemo();
    } else {
        // The sample is never saved; its box says whether it comes again.
        m.Settings().WriteValue(keys::SampleMemoDone, std::to_string(Check1_->Value() == 1 ? 1 : 0));
    }
    // A memo window opened while this one's save failure was being told
    // (the clock is usable behind the message) owns the flag and the menu
    // now: cleared here, it would read closed, and the exit would not save it.
    if (memos_.form7() != nullptr && memos_.form7() != this) return;
    m.TouchForm1().SetMemoMenuEnabled(true);
    m.MemoWindowOpen = false;
}

void Form7::PutAway() {
    window_->SetVisible(false);
    // A new, empty box: under Wine, destroying a box that holds a long memo
    // takes a fraction of the time emptying it does.
    txtMsg_.reset();
    MakeTextBox();
    if (laidOutFor_) PlaceTextBox(*laidOutFor_);
}

void Form7::MakeTextBox() { txtMsg_ = m.platform.ui.NewRichTextBox(*window_, {"txtMsg", TextPlace, "", nullptr}); }

void Form7::SaveMemo() {
    // Unchanged, the file stays as it is, byte for byte (a plain-text memo
    // is not turned into RTF by looking at it); unless it went away while
    // shown, when the window holds the only copy of its text.
    if (ShowsSample()) return;
    if (!txtMsg_->Modified() && (!memoLoaded_ || m.platform.files.FileExists(memoPath_))) return;
    if (memoPath_.empty()) {
        // A window shown with neither a memo nor the sample has no file; a
        // text typed into it still must not be lost.
        if (!txtMsg_->Text().empty()) ReportSaveFailure("", "保存先の備忘録ファイルがありません。");
        return;
    }
    if (!memoLoaded_ && m.platform.files.FileExists(memoPath_)) {
        // A memo that could not be read is never overwritten by what the
        // window holds instead of it.
        if (!txtMsg_->Text().empty())
            ReportSaveFailure(memoPath_, "読み込めなかった備忘録は上書きしません。");
        return;
    }
    try {
        // A memo folder that went missing is made again.
        const std::string folder = platform::FolderOf(memoPath_);
        if (!folder.empty() && !m.platform.files.FolderExists(folder)) m.platform.files.CreateFolder(folder);
        txtMsg_->SaveFile(memoPath_);
    } catch (const RuntimeError& e) {
        ReportSaveFailure(memoPath_, e.Description());
    }
}

std::string Form7::WriteRecoveryCopy(const std::string& failedPath) {
    const platform::LocalTime now = m.platform.clock.Now();
    std::string name = failedPath.empty() ? std::string("memo") : failedPath.substr(failedPath.find_last_of("\\/") + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".rtf") == 0) name.resize(name.size() - 4);
    name += "-" + DateStamp({now.year, now.month, now.day}) + "-" + TwoDigits(now.hour) + TwoDigits(now.minute) +
            TwoDigits(now.second) + ".rtf";
    platform::Files& files = m.platform.files;
    std::vector<std::string> folders{m.DataFolder() + "\\Recovered"};
    const std::string localData = m.platform.process.LocalDataFolder();
    if (!localData.empty()) {
        files.CreateFolder(localData + "\\Morix");
        folders.push_back(localData + "\\Morix\\Recovered");
    }
    for (const std::string& folder : folders) {
        files.CreateFolder(folder);
        try {
            txtMsg_->SaveFile(folder + "\\" + name);
            return folder + "\\" + name;
        } catch (const RuntimeError&) {
            // On to the next place.
        }
    }
    return {};
}

void Form7::ReportSaveFailure(const std::string& path, const std::string& reason) {
    const std::string copy = WriteRecoveryCopy(path);
    std::string text = "備忘録を保存できませんでした。\r\n" + (path.empty() ? std::string() : path + "\r\n") + reason +
                       "\r\n\r\n";
    text += copy.empty() ? "内容を別の場所に保存することもできませんでした。"
                         : "内容は次のファイルに保存しました。\r\n" + copy;
    m.platform.ui.ShowMessageBox(text, "Morix", platform::MessageButtons::Ok, platform::MessageIcon::Exclamation,
                                 window_.get());
}

void Form7::picClose_Click() { m.memos->CloseMemoWindow(); }

}  // namespace morix
