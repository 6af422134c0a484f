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
        m.TwipsX = m.TwipsY = ScreenTwipsPerPixel;
        // Until the clock is placed it is drawn for the primary monitor; a
        // reload keeps the scale of the monitor it is on.
        if (!m.Reloading) m.MonitorScale = TwipsPerPixel(desktop.MonitorDpi(desktop.PrimaryScreen()));
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
        const PictureSet set = m.DesignPictures(m.MonitorScale);
        clips.ClipFolder = set.folder;
        m.Scale = set.scale;
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

// The empty face of the clip folder's scale, the window the size of its
// pictures, in the place of a clock of the monitor's scale.
void Form1::ShowFacePicture() {
    m.BackgroundPath = m.clips.ClipFolder + "\\Back.bmp";
    window_->SetBackground(m.platform.pictures.Load(m.BackgroundPath));
    SetSize(FaceWidth(m.MonitorScale), FaceHeight(m.MonitorScale), m.Scale.Scaled(FacePixels.x),
            m.Scale.Scaled(FacePixels.y));
}

long long Form1::FaceWidth(TwipsPerPixel scale) const { return m.TwipsX.Twips(scale.Scaled(FacePixels.x)); }
long long Form1::FaceHeight(TwipsPerPixel scale) const { return m.TwipsY.Twips(scale.Scaled(FacePixels.y)); }

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
    if (dpi == m.MonitorScale.Dpi()) return;
    m.MonitorScale = TwipsPerPixel(dpi);
    ClipState& clips = m.clips;
    const PictureSet set = m.DesignPictures(m.MonitorScale);
    m.Scale = set.scale;
    const std::string& folder = set.folder;
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
        // The record of the followed window is emptied, title first; the
        // handle stays.
        SettingsWrites writes{{keys::ExitDate.name, m.TodayStamp()}, {keys::ActiveTitle.name, ""}};
        for (std::size_t i = 0; i < 6; ++i) writes.emplace_back(keys::FollowedRecord[i], "");
        if (m.alarms) m.alarms->AddLastLook(writes);
        settings.WriteValues(writes);
        if (settings.ReadInt(keys::AutoDeleteMemos) == 1) m.memos->DeletePastMemos();
    }
    timer1_->SetEnabled(false);
    animation1_->Stop();
    animation1_->Close();
    animation2_->Stop();
    animation2_->Close();
}

void Form1::ShowPlain() {
    const int width = m.MonitorScale.Scaled(70), height = m.MonitorScale.Scaled(20);
    SetSize(m.TwipsX.Twips(width), m.TwipsY.Twips(height), width, height);
    Move(m.HomeLeft, m.HomeTop);
    // Standing aside for a full-screen program, it stays hidden: the step
    // aside shows it when that program leaves.
    if (!m.HiddenForFullScreen) window_->SetVisible(true);
}

// Pictures of another size than the clock's place (none of the monitor's
// scale could be had) are drawn centred on it.
int Form1::DrawnOffsetX() const { return (m.TwipsX.Pixels(widthTwips_) - drawnWidth_) / 2; }
int Form1::DrawnOffsetY() const { return (m.TwipsY.Pixels(heightTwips_) - drawnHeight_) / 2; }

long long Form1::Left() const {
    // The drag surface moves the window without telling the program: what
    // the window says wins over what was last set.
    const int pixels = window_->Bounds().left - DrawnOffsetX();
    return m.TwipsX.Pixels(leftTwips_) == pixels ? leftTwips_ : m.TwipsX.Twips(pixels);
}

long long Form1::Top() const {
    const int pixels = window_->Bounds().top - DrawnOffsetY();
    return m.TwipsY.Pixels(topTwips_) == pixels ? topTwips_ : m.TwipsY.Twips(pixels);
}

void Form1::Move(long long left, long long top) {
    MoveFor(m.MonitorScale, [left, top](TwipsPerPixel) { return Form1::TwipsPlace{left, top}; });
}

// The place is worked out for the clock's size at the scale of the monitor
// it is to be on, then the clock is drawn for that monitor. A place that
// lands on a monitor of another scale is worked out again for that one's
// size; where that second place would land back (astride the two), the
// first stands, so that the place always fits the size drawn.
Form1::TwipsPlace Form1::MoveFor(TwipsPerPixel first, const std::function<TwipsPlace(TwipsPerPixel)>& placeFor) {
    const auto landsOn = [this](const TwipsPlace& p, TwipsPerPixel scale) {
        const int x = m.TwipsX.Pixels(p.left), y = m.TwipsY.Pixels(p.top);
        return m.platform.desktop.MonitorDpi(
            {x, y, x + m.TwipsX.Pixels(FaceWidth(scale)), y + m.TwipsY.Pixels(FaceHeight(scale))});
    };
    TwipsPerPixel scale = first;
    TwipsPlace place = placeFor(scale);
    if (const int landed = landsOn(place, scale); landed != scale.Dpi()) {
        const TwipsPlace again = placeFor(TwipsPerPixel(landed));
        if (landsOn(again, TwipsPerPixel(landed)) == landed) {
            scale = TwipsPerPixel(landed);
            place = again;
        }
    }
    TakeScale(scale.Dpi());
    Place(place.left, place.top);
    return place;
}

void Form1::Place(long long left, long long top) {
    leftTwips_ = left;
    topTwips_ = top;
    window_->Move(m.TwipsX.Pixels(left) + DrawnOffsetX(), m.TwipsY.Pixels(top) + DrawnOffsetY(), drawnWidth_,
                  drawnHeight_);
}

void Form1::SetSize(long long width, long long height, int drawnWidth, int drawnHeight) {
    const long long left = Left(), top = Top();
    widthTwips_ = width;
    heightTwips_ = height;
    drawnWidth_ = drawnWidth;
    drawnHeight_ = drawnHeight;
    Place(left, top);
}

platform::Rect Form1::Screen() const { return m.platform.desktop.ScreenOf(window_->Bounds()); }

TwipsRect Form1::ScreenTwips() const { return TwipsOf(Screen(), m.TwipsX, m.TwipsY); }

BalloonPlacement Form1::BalloonBeside(TwipsPerPixel balloon) const {
    return PlaceBalloon(Left(), Top(), Width(), m.TwipsX.Twips(balloon.Scaled(280)), m.TwipsY.Twips(balloon.Scaled(140)),
                        ScreenTwips(), m.TwipsY.Twips(balloon.Scaled(20)));
}

Form1::DialogSite Form1::SiteForDialog() const {
    const platform::Rect screen = Screen();
    return {{screen.left, screen.top}, TwipsPerPixel(m.platform.desktop.MonitorDpi(screen))};
}

void Form1::PlaceBeside(platform::Window& dialog) const {
    const platform::Rect outer = dialog.Bounds();
    const DialogPlacement p = PlaceBesideClock(Left(), Top(), Width(), m.TwipsX.Twips(outer.Width()),
                                               m.TwipsY.Twips(outer.Height()), ScreenTwips());
    dialog.Move(m.TwipsX.Pixels(p.left), m.TwipsY.Pixels(p.top), outer.Width(), outer.Height());
}

}  // namespace morix
