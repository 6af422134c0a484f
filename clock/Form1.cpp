// The clock window's life: construction of its controls, start-up, the
// design, shut-down, and its position in twips.
#include "clock/Form1.h"

#include "base/Twips.h"
#include "clock/Module1.h"
#include "face/AssetPaths.h"
#include "face/ClockUpdate.h"

namespace morix {

Form1::Form1(Module1& module) : m(module) {
    platform::Ui& ui = m.platform.ui;
    using platform::MouseButton;
    window_ = ui.NewWindow(platform::WindowKind::Borderless);
    window_->SetTitle("Morix");
    window_->OnMouseUp([this](MouseButton b) { Form_MouseUp(b); });
    window_->OnPointerRest([this] { Form_MouseHover(); });
    window_->OnCloseRequest([this] { ExitFromOutside(); });
    window_->OnEndSession([this] { ExitFromOutside(); });
    animation1_ = ui.NewAnimation(*window_);
    animation2_ = ui.NewAnimation(*window_);
    // The clips hand their mouse event on to the window face.
    for (platform::Animation* clip : {animation1_.get(), animation2_.get()})
        clip->OnMouseUp([this](MouseButton b) { Form_MouseUp(b == MouseButton::Right ? b : MouseButton::Left); });
    ysTransForm1_ = ui.NewShaper(*window_);
    ysTransForm1_->SetTooltip("右クリックでドラックモード解除");
    ysTransForm1_->SetVisible(false);
    ysTransForm1_->OnRightClick([this] { ysTransForm1_DragEnd(); });
    timer1_ = ui.NewTimer(*window_);
    timer1_->OnTimer([this] { Timer1_Timer(); });
    mciChyaim_ = ui.NewSoundDevice();
    mciChyaim_->OnDone([this](platform::SoundEnd) { mciChyaim_Done(); });
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    try {
        platform::Desktop& desktop = m.platform.desktop;
        m.TwipsX = m.TwipsY = TwipsPerPixel(desktop.SystemDpi());
        // Until the clock is placed it is drawn for the primary monitor; a
        // reload keeps the scale of the monitor it is on.
        if (!m.Reloading) m.Scale = TwipsPerPixel(desktop.MonitorDpi(desktop.PrimaryScreen()));
        m.IniPath = m.DataFolder() + "\\Morix.ini";
        LoadDesign();

        SettingsFile settings = m.Settings();
        ShowInfoSetting = ToInt16(settings.ReadInt(keys::ShowInfoBalloon));
        FollowSetting = ToInt16(settings.ReadInt(keys::FollowActiveWindow));
        HideForFullScreenSetting = ToInt16(settings.ReadInt(keys::HideForFullScreen));
        if (FollowSetting == 1) {
            m.StoredTitle = settings.ReadString(keys::ActiveTitle);
            SavedHandle = settings.ReadInt(keys::ActiveHandle);
            SizeRule = ToInt16(settings.ReadInt(keys::FollowSizeRule));
            PlaceByActiveWindow();
        } else {
            LoadHome(settings);
            Move(m.HomeLeft, m.HomeTop);
        }

        if (m.Reloading) {
            m.Reloading = false;
            if (m.MemoWindowOpen) SetMemoMenuEnabled(false);
        } else {
            if (settings.ReadInt(keys::AutoDeleteMemos) == 1) m.memos->DeletePastMemos();
            m.memos->ShowMemoAtStart();
        }

        timer1_->SetInterval(1000);
        timer1_->SetEnabled(true);

        ysTransForm1_->Move(1, 1);
        ApplyOutline();
        window_->ShowTopmostInactive();
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form1::LoadDesign() {
    try {
        ClipState& clips = m.clips;
        clips.DesignName = m.Settings().ReadString(keys::DesignName);
        clips.ClipFolder = m.DesignPictures(m.Scale);
        ShowFacePicture();
        const platform::LocalTime now = m.platform.clock.Now();
        clips.CurrentHour = static_cast<std::int16_t>(now.hour);
        clips.CurrentMinute = static_cast<std::int16_t>(now.minute);
        // The face is set from this reading until the first tick reads the
        // clock; a reload keeps the last tick's reading, whose minute may not
        // have been acted on yet.
        if (!clips.LastReading) clips.LastReading = now;
        clips.HourFile = ClipPath(clips.ClipFolder, clips.CurrentHour);
        clips.MinuteFile = ClipPath(clips.ClipFolder, clips.CurrentMinute);
        PlayClips();
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

// The empty face of the clip folder's scale, and the window's size for it.
void Form1::ShowFacePicture() {
    m.BackgroundPath = m.clips.ClipFolder + "\\Back.bmp";
    window_->SetBackground(m.platform.pictures.Load(m.BackgroundPath));
    SetSize(m.TwipsX.Twips(m.Scale.Scaled(66)), m.TwipsY.Twips(m.Scale.Scaled(22)));
}

void Form1::PlayClips() {
    PlayClip(*animation1_, m.Scale.Scaled(HourClipLeft), m.clips.HourFile);
    PlayClip(*animation2_, m.Scale.Scaled(MinuteClipLeft), m.clips.MinuteFile);
}

void Form1::ApplyOutline() {
    ysTransForm1_->SetMaskPicture(m.platform.pictures.Load(m.clips.ClipFolder + "\\TP.bmp"));
    ysTransForm1_->ApplyShape(true);
    outlined_ = true;
}

void Form1::TakeScale(int dpi) {
    if (dpi == m.Scale.Dpi()) return;
    m.Scale = TwipsPerPixel(dpi);
    ClipState& clips = m.clips;
    const std::string folder = m.DesignPictures(m.Scale);
    // The clips shown stay the same numbers, now from the new scale's folder.
    const auto inFolder = [&folder](const std::string& file) {
        const std::size_t slash = file.find_last_of('\\');
        return slash == std::string::npos ? file : folder + file.substr(slash);
    };
    clips.HourFile = inFolder(clips.HourFile);
    clips.MinuteFile = inFolder(clips.MinuteFile);
    clips.ClipFolder = folder;
    ShowFacePicture();
    PlayClips();
    if (outlined_) ApplyOutline();
}

void Form1::Form_Unload() {
    if (!m.Reloading) {
        SettingsFile settings = m.Settings();
        settings.WriteValue(keys::ExitDate, m.TodayStamp());
        // The record of the followed window is emptied, title first; the
        // handle stays.
        settings.WriteValue(keys::ActiveTitle, "");
        for (std::size_t i = 0; i < 6; ++i) settings.WriteValue(keys::FollowedRecord[i], "");
        if (settings.ReadInt(keys::AutoDeleteMemos) == 1) m.memos->DeletePastMemos();
    }
    timer1_->SetEnabled(false);
    animation1_->Stop();
    animation1_->Close();
    animation2_->Stop();
    animation2_->Close();
}

void Form1::ShowPlain() {
    SetSize(m.TwipsX.Twips(m.Scale.Scaled(70)), m.TwipsY.Twips(m.Scale.Scaled(20)));
    Move(m.HomeLeft, m.HomeTop);
    // Standing aside for a full-screen program, it stays hidden: the step
    // aside shows it when that program leaves.
    if (!m.HiddenForFullScreen) window_->SetVisible(true);
}

long long Form1::Left() const {
    // The drag surface moves the window without telling the program: what
    // the window says wins over what was last set.
    const int pixels = window_->Bounds().left;
    return m.TwipsX.Pixels(leftTwips_) == pixels ? leftTwips_ : m.TwipsX.Twips(pixels);
}

long long Form1::Top() const {
    const int pixels = window_->Bounds().top;
    return m.TwipsY.Pixels(topTwips_) == pixels ? topTwips_ : m.TwipsY.Twips(pixels);
}

void Form1::Move(long long left, long long top) {
    // A place on a monitor of another scale redraws the clock for that scale.
    const int x = m.TwipsX.Pixels(left), y = m.TwipsY.Pixels(top);
    TakeScale(m.platform.desktop.MonitorDpi(
        {x, y, x + m.TwipsX.Pixels(widthTwips_), y + m.TwipsY.Pixels(heightTwips_)}));
    Place(left, top);
}

void Form1::Place(long long left, long long top) {
    leftTwips_ = left;
    topTwips_ = top;
    window_->Move(m.TwipsX.Pixels(left), m.TwipsY.Pixels(top), m.TwipsX.Pixels(widthTwips_), m.TwipsY.Pixels(heightTwips_));
}

void Form1::SetSize(long long width, long long height) {
    widthTwips_ = width;
    heightTwips_ = height;
    Place(Left(), Top());
}

platform::Rect Form1::Screen() const { return m.platform.desktop.ScreenOf(window_->Bounds()); }

TwipsRect Form1::ScreenTwips() const { return TwipsOf(Screen(), m.TwipsX, m.TwipsY); }

BalloonPlacement Form1::BalloonBeside() const {
    return PlaceBalloon(Left(), Top(), Width(), m.TwipsX.Twips(m.Scale.Scaled(280)), m.TwipsY.Twips(m.Scale.Scaled(140)),
                        ScreenTwips(), m.TwipsY.Twips(m.Scale.Scaled(20)));
}

void Form1::PlaceBeside(platform::Window& dialog) const {
    const platform::Rect outer = dialog.Bounds();
    const DialogPlacement p = PlaceBesideClock(Left(), Top(), Width(), m.TwipsX.Twips(outer.Width()),
                                               m.TwipsY.Twips(outer.Height()), ScreenTwips());
    dialog.Move(m.TwipsX.Pixels(p.left), m.TwipsY.Pixels(p.top), outer.Width(), outer.Height());
}

}  // namespace morix
