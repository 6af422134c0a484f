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
        m.TwipsX = ToInt16(desktop.TwipsPerPixelX());
        m.TwipsY = ToInt16(desktop.TwipsPerPixelY());
        m.IniPath = m.platform.process.ProgramFolder() + "\\Morix.ini";
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
        ysTransForm1_->SetMaskPicture(m.platform.pictures.Load(m.DesignFolder() + "\\TP.bmp"));
        ysTransForm1_->ApplyShape(true);
        window_->ShowTopmostInactive();
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form1::LoadDesign() {
    try {
        ClipState& clips = m.clips;
        clips.DesignName = m.Settings().ReadString(keys::DesignName);
        m.BackgroundPath = m.DesignFolder() + "\\Back.bmp";
        window_->SetBackground(m.platform.pictures.Load(m.BackgroundPath));
        SetSize(ToInt16(static_cast<long long>(m.TwipsX) * 66), ToInt16(static_cast<long long>(m.TwipsY) * 22));
        const platform::LocalTime now = m.platform.clock.Now();
        clips.CurrentHour = static_cast<std::int16_t>(now.hour);
        clips.CurrentMinute = static_cast<std::int16_t>(now.minute);
        // The face is set from this reading until the first tick reads the
        // clock; a reload keeps the last tick's reading, whose minute may not
        // have been acted on yet.
        if (!clips.LastReading) clips.LastReading = now;
        clips.HourFile = ClipPath(m.DesignFolder(), clips.CurrentHour);
        clips.MinuteFile = ClipPath(m.DesignFolder(), clips.CurrentMinute);
        PlayClip(*animation1_, HourClipLeft, clips.HourFile);
        PlayClip(*animation2_, MinuteClipLeft, clips.MinuteFile);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
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
    SetSize(static_cast<long long>(m.TwipsX) * 70, static_cast<long long>(m.TwipsY) * 20);
    Move(m.HomeLeft, m.HomeTop);
    window_->SetVisible(true);
}

long long Form1::Left() const {
    // The drag surface moves the window without telling the program: what
    // the window says wins over what was last set.
    const int pixels = window_->Bounds().left;
    return TwipsToPixels(leftTwips_, m.TwipsX) == pixels ? leftTwips_ : PixelsToTwips(pixels, m.TwipsX);
}

long long Form1::Top() const {
    const int pixels = window_->Bounds().top;
    return TwipsToPixels(topTwips_, m.TwipsY) == pixels ? topTwips_ : PixelsToTwips(pixels, m.TwipsY);
}

void Form1::Move(long long left, long long top) {
    leftTwips_ = left;
    topTwips_ = top;
    window_->Move(TwipsToPixels(left, m.TwipsX), TwipsToPixels(top, m.TwipsY), TwipsToPixels(widthTwips_, m.TwipsX),
                  TwipsToPixels(heightTwips_, m.TwipsY));
}

void Form1::SetSize(long long width, long long height) {
    widthTwips_ = width;
    heightTwips_ = height;
    Move(Left(), Top());
}

platform::Rect Form1::Screen() const { return m.platform.desktop.ScreenOf(window_->Bounds()); }

TwipsRect Form1::ScreenTwips() const { return TwipsOf(Screen(), m.TwipsX, m.TwipsY); }

BalloonPlacement Form1::BalloonBeside() const {
    return PlaceBalloon(Left(), Top(), Width(), PixelsToTwips(280, m.TwipsX), PixelsToTwips(140, m.TwipsY), ScreenTwips(),
                        m.TwipsY);
}

void Form1::PlaceBeside(platform::Window& dialog) const {
    const platform::Rect outer = dialog.Bounds();
    const DialogPlacement p = PlaceBesideClock(Left(), Top(), Width(), PixelsToTwips(outer.Width(), m.TwipsX),
                                               PixelsToTwips(outer.Height(), m.TwipsY), ScreenTwips());
    dialog.Move(TwipsToPixels(p.left, m.TwipsX), TwipsToPixels(p.top, m.TwipsY), outer.Width(), outer.Height());
}

}  // namespace morix
