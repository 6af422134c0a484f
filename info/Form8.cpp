#include "info/Form8.h"

#include "base/Twips.h"
#include "clock/Form1.h"
#include "clock/Module1.h"
#include "face/AssetPaths.h"
#include "info/InfoLines.h"
#include "platform/Ui.h"

namespace morix {

Form8::Form8(Module1& module, InfoLines& lines) : m(module), lines_(lines) {
    platform::Ui& ui = m.platform.ui;
    window_ = ui.NewWindow(platform::WindowKind::Borderless);
    window_->SetTitle("Morix - 情報");
    lstSysInfo_ = ui.NewListBox(*window_, {"lstSysInfo", {}, "", nullptr});
    lstSysInfo_->SetVisible(false);
    List1_ = ui.NewListBox(*window_, {"List1", {}, "", nullptr});
    List1_->SetVisible(false);
    RichTextBox1_ = ui.NewRichTextBox(*window_, {"RichTextBox1", {}, "", nullptr});
    RichTextBox1_->SetFont({"ＭＳ ゴシック", 9, true});
    // Shown, never typed into: the balloon never takes the keyboard.
    RichTextBox1_->SetReadOnly(true);
    ysTransForm1_ = ui.NewShaper(*window_);
    ysTransForm1_->SetVisible(false);
}

Form8::~Form8() = default;

void Form8::Form_Load() {
    placed_ = false;
    failureReported_ = false;
    try {
        m.InfoBalloonOpen = true;
        if (m.MemoWindowOpen) m.memos->HideMemoWindow();
        const SettingsFile settings = m.Settings();
        const std::string frame = settings.ReadString(keys::FrameName);
        // Sized for the scale of the frame pictures it gets.
        const PictureSet frameSet = m.FramePictures(frame);
        const TwipsPerPixel scale = frameSet.scale;
        widthTwips_ = m.TwipsX.Twips(scale.Scaled(280));
        heightTwips_ = m.TwipsY.Twips(scale.Scaled(140));
        const BalloonPlacement place = m.form1()->BalloonBeside(scale);
        leftTwips_ = place.left;
        topTwips_ = place.top;
        window_->Move(m.TwipsX.Pixels(leftTwips_), m.TwipsY.Pixels(topTwips_), m.TwipsX.Pixels(widthTwips_),
                      m.TwipsY.Pixels(heightTwips_));
        placed_ = true;

        CpuItemSetting = settings.ReadInt(keys::ShowCpu);
        ResourceItemSetting = settings.ReadInt(keys::ShowResources);
        MemoryItemSetting = settings.ReadInt(keys::ShowMemory);
        PowerItemSetting = settings.ReadInt(keys::ShowPower);
        DiskItemSetting = settings.ReadInt(keys::ShowFreeSpace);
        MemoItemSetting = settings.ReadInt(keys::ShowMemo);
        ZonesItemSetting = settings.ReadInt(keys::ShowOtherZones);
        ListLines(true);
        ShowListedText(true);
        // The window keeps its box's place and its outline while hidden:
        // they are made again only for another scale or frame picture.
        if (boxScale_ != scale) {
            RichTextBox1_->Move(scale.Scaled({60, 35, 60 + 160, 35 + 80}));
            ysTransForm1_->Move(1, 1);
            boxScale_ = scale;
        }
        const std::string outline = frameSet.folder + "\\" + place.picture;
        if (outline != outline_) {
            outline_.clear();
            ysTransForm1_->SetMaskPicture(m.platform.pictures.Load(outline));
            ysTransForm1_->ApplyShape(true);
            outline_ = outline;
        }
        window_->ShowTopmostInactive();
    } catch (const RuntimeError& e) {
        // The balloon stays as far as it was built and counts as open, shown
        // once it has its place (the caller closes one that has none).
        failureReported_ = true;
        m.HandleError(e);
        if (placed_) window_->ShowTopmostInactive();
    }
}

void Form8::ListLines(bool opening) {
    lstSysInfo_->Clear();
    if (CpuItemSetting == 1) {
        lines_.BuildCpuLine();
        lstSysInfo_->AddItem(lines_.CpuLine);
    }
    if (ResourceItemSetting == 1) {
        lines_.BuildResourceLine();
        lstSysInfo_->AddItem(lines_.ResourceLine);
    }
    if (MemoryItemSetting == 1) {
        lines_.BuildMemoryLine();
        lstSysInfo_->AddItem(lines_.MemoryLine);
    }
    if (PowerItemSetting == 1) {
        lines_.BuildPowerLine();
        lstSysInfo_->AddItem(lines_.PowerLine);
    }
    if (DiskItemSetting == 1) {
        if (opening) lines_.BuildDiskLine(*List1_);
        if (!lines_.DiskLine.empty()) lstSysInfo_->AddItem(lines_.DiskLine);
    }
    if (MemoItemSetting == 1) {
        if (opening) lines_.BuildMemoLine();
        lstSysInfo_->AddItem(lines_.MemoLine);
    }
    // The zones are looked up once; their times change with every tick.
    if (ZonesItemSetting == 1) {
        if (opening) lines_.LoadZoneLines();
        lines_.BuildZoneLines();
        for (const std::string& line : lines_.Zones.Lines) lstSysInfo_->AddItem(line);
    }
}

void Form8::ShowListedText(bool opening) {
    std::string text;
    for (int i = 0; i < lstSysInfo_->Count(); ++i) text += (i > 0 ? "\r\n" : "") + lstSysInfo_->Item(i);
    // A refresh changes a figure or two of the text the box shows.
    if (opening) RichTextBox1_->SetText(text);
    else RichTextBox1_->UpdateText(text);
}

void Form8::Refresh() {
    // A line that fails here (most often the measurement library missing)
    // would end the program from the tick; it is reported as at the opening,
    // once for the balloon: the user who chose to go on is not asked again
    // every second, and the balloon keeps its last text.
    try {
        ListLines(false);
        ShowListedText(false);
    } catch (const RuntimeError& e) {
        if (failureReported_) return;
        failureReported_ = true;
        m.HandleError(e);
    }
}

void Form8::Form_Unload() {
    m.InfoBalloonOpen = false;
    // Hidden first: a box emptied out of sight is not drawn again.
    window_->SetVisible(false);
    List1_->Clear();
    lstSysInfo_->Clear();
    RichTextBox1_->SetText("");
    lines_.Clear();
    if (m.MemoWindowOpen) m.memos->RevealMemoWindow();
}

TwipsRect Form8::Bounds() const { return {leftTwips_, topTwips_, leftTwips_ + widthTwips_, topTwips_ + heightTwips_}; }

}  // namespace morix
