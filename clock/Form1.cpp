// The clock window's life: construction of its controls, start-up, the
// design, shut-down, and its position in twips.
#include "clock/Form1.h"

#include "clock/Module1.h"
#include "clock/Twips.h"
#include "face/AssetPaths.h"
#include "face/ClockUpdate.h"
#include "memo/MemoStartup.h"

namespace morix {

// The clips hand their mouse event on to the window face.
class Form1::ClipEvents final : public platform::AnimationEvents {
public:
    explicit ClipEvents(Form1& form) : form_(form) {}
    void OnMouseButton(platform::MouseButton button) override {
        form_.Form_MouseUp(button == platform::MouseButton::Right ? platform::MouseButton::Right
                                                                  : platform::MouseButton::Left);
    }

private:
    Form1& form_;
};

Form1::Form1(Module1& module) : m(module) {
    platform::Ui& ui = m.platform.ui;
    window_ = ui.CreateWindow(*this);
    window_->SetTitle("Morix");
    clipEvents1_ = std::make_unique<ClipEvents>(*this);
    clipEvents2_ = std::make_unique<ClipEvents>(*this);
    animation1_ = ui.CreateAnimation(*window_, *clipEvents1_);
    animation2_ = ui.CreateAnimation(*window_, *clipEvents2_);
    ysTransForm1_ = ui.CreateShaper(*window_, *this);
    ysTransForm1_->SetTooltip("右クリックでドラックモード解除");
    ysTransForm1_->SetVisible(false);
    timer1_ = ui.CreateTimer(*window_, *this);
    mciChyaim_ = ui.CreateSoundDevice(*window_, *this);
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
        if (FollowSetting == 1) {
            m.StoredTitle = settings.ReadString(keys::ActiveTitle);
            SavedHandle = settings.ReadInt(keys::ActiveHandle);
            SizeRule = ToInt16(settings.ReadInt(keys::FollowSizeRule));
            PlaceByActiveWindow();
        } else {
            const platform::Rect screen = m.platform.desktop.PrimaryScreen();
            m.HomeLeft = ToInt16(settings.ReadInt(
                keys::HomeLeft, static_cast<std::int32_t>((PixelsToTwips(screen.Width(), m.TwipsX) - Width()) / 2)));
            m.HomeTop = ToInt16(settings.ReadInt(
                keys::HomeTop, static_cast<std::int32_t>((PixelsToTwips(screen.Height(), m.TwipsY) - Height()) / 2)));
            Move(m.HomeLeft, m.HomeTop);
        }

        if (m.Reloading) {
            m.Reloading = false;
            if (m.MemoWindowOpen) SetMemoMenuEnabled(false);
        } else {
            if (settings.ReadInt(keys::AutoDeleteMemos) == 1) DeletePastMemos(m);
            switch (MemoStartActionDue(settings, m.TodayStamp())) {
            case MemoStartAction::ShowSample: ShowSampleMemo(m); break;
            case MemoStartAction::ShowToday: ShowTodayMemo(m); break;
            case MemoStartAction::None: break;
            }
        }

        timer1_->SetInterval(1000);
        timer1_->SetEnabled(true);

        ysTransForm1_->Move(1, 1);
        ysTransForm1_->SetMaskPicture(m.platform.pictures.Load(m.DesignFolder() + "\\TP.bmp"));
        ysTransForm1_->ApplyShape(true);
        window_->MakeTopmost();
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

MemoStartAction Form1::MemoStartActionDue(const SettingsFile& settings, const std::string& today) {
    if (settings.ReadInt(keys::SampleMemoDone) == 0) return MemoStartAction::ShowSample;
    switch (settings.ReadInt(keys::AutoShowMemo)) {
    case 1: return MemoStartAction::ShowToday;
    // The exit date is compared as text, as it was written.
    case 2: return std::to_string(settings.ReadInt(keys::ExitDate)) != today ? MemoStartAction::ShowToday : MemoStartAction::None;
    default: return MemoStartAction::None;
    }
}

void Form1::LoadDesign() {
    try {
        m.DesignName = m.Settings().ReadString(keys::DesignName);
        m.BackgroundPath = m.DesignFolder() + "\\Back.bmp";
        window_->SetBackground(m.platform.pictures.Load(m.BackgroundPath));
        SetSize(ToInt16(static_cast<long long>(m.TwipsX) * 66), ToInt16(static_cast<long long>(m.TwipsY) * 22));
        const platform::LocalTime now = m.platform.clock.Now();
        m.CurrentHour = static_cast<std::int16_t>(now.hour);
        m.CurrentMinute = static_cast<std::int16_t>(now.minute);
        m.HourFile = ClipPath(m.DesignFolder(), m.CurrentHour);
        m.MinuteFile = ClipPath(m.DesignFolder(), m.CurrentMinute);
        PlayClip(*animation1_, HourClipLeft, m.HourFile);
        PlayClip(*animation2_, MinuteClipLeft, m.MinuteFile);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

void Form1::Form_Unload() {
    if (!m.Reloading) {
        SettingsFile settings = m.Settings();
        settings.WriteValue(keys::ExitDate, m.TodayStamp());
        for (const auto* key : {&keys::ActiveTitle.name, &keys::ActiveLeft.name, &keys::ActiveRight.name,
                                &keys::ActiveTop.name, &keys::ActiveBottom.name, &keys::CurrentLeft.name,
                                &keys::CurrentTop.name})
            settings.WriteValue(*key, "");
        if (settings.ReadInt(keys::AutoDeleteMemos) == 1) DeletePastMemos(m);
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

void Form1::OnMouseUp(platform::MouseButton button) { Form_MouseUp(button); }
void Form1::OnCloseRequest() { ExitFromOutside(); }
void Form1::OnEndSession() { ExitFromOutside(); }
void Form1::OnRightClick() { ysTransForm1_DragEnd(); }
void Form1::OnTimer() { Timer1_Timer(); }
void Form1::OnDone(int notifyCode) { mciChyaim_Done(notifyCode); }

}  // namespace morix
