// The clock window: a shaped 66 x 22 face with the hour and minute clips,
// the one-second tick, following the window in front, the pop-up menu and
// drag mode.
#pragma once

#include "base/Placement.h"
#include "base/Twips.h"
#include "platform/Controls.h"
#include "platform/Geometry.h"
#include "platform/Ui.h"
#include "platform/Window.h"
#include "settings/SettingsFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace morix {

class Module1;

// The clock face's size at 100 %, in pixels.
inline constexpr Point FacePixels{66, 22};

// Menu item ids of the clock's pop-up menu.
namespace menu {
inline constexpr int Add = 101, Del = 102, Option = 201, Option2 = 202, Nitiji = 301, Alarm = 302, Drg = 401, End = 501;
}

class Form1 final {
public:
    explicit Form1(Module1& module);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void Form_Load();
    void Form_Unload();
    void LoadDesign();

    void Timer1_Timer();
    void Form_MouseUp(platform::MouseButton button);
    void Form_MouseHover();
    void mnuMain_Click();
    void mnuDrg_Click();
    void mnuEnd_Click();
    void ysTransForm1_DragEnd();
    void mciChyaim_Done();
    // An exit that does not come from the menu (closed by another program,
    // end of the session) is the real exit all the same.
    void ExitFromOutside();

    // Following the window in front.
    void PlaceByActiveWindow();
    void MoveOntoActiveWindow();
    void ReturnHome();
    // HomeLeft and HomeTop from the settings, or the default home.
    void LoadHome(const SettingsFile& settings);

    // The plain window the error prompt leaves when the user goes on:
    // 70 x 20 pixels at the home position, shown.
    void ShowPlain();

    // Position and size in twips.
    long long Left() const;
    long long Top() const;
    long long Width() const { return widthTwips_; }
    long long Height() const { return heightTwips_; }
    // Moves the clock, drawn for the scale of the monitor it lands on.
    void Move(long long left, long long top);
    // The size the clock stands for (twips) and the size its pictures are
    // drawn at (pixels), centred on it.
    void SetSize(long long width, long long height, int drawnWidth, int drawnHeight);
    // Draws the face for a monitor of that many dots per inch: the scale's
    // pictures, size and clip places.
    void TakeScale(int dpi);
    // The monitor that holds the clock, in twips: "the screen" of the
    // placement rules.
    TwipsRect ScreenTwips() const;
    // Where a balloon of 280 x 140 pixels at the scale of its pictures goes
    // beside the clock, and the frame picture of that corner.
    BalloonPlacement BalloonBeside(TwipsPerPixel balloon) const;
    // Where a dialog to be shown beside the clock is made, and the scale it
    // is laid out for, once: the monitor that holds the clock, which placing
    // it beside the clock keeps it on.
    struct DialogSite {
        platform::Point origin;
        TwipsPerPixel scale;
    };
    DialogSite SiteForDialog() const;
    // Moves a dialog beside the clock, keeping its size: right of it, or
    // left when it would pass the screen's right edge; level with it, or up
    // to end at the screen's bottom.
    void PlaceBeside(platform::Window& dialog) const;

    platform::Window& Window() { return *window_; }
    platform::Animation& Animation1() { return *animation1_; }
    platform::Animation& Animation2() { return *animation2_; }
    platform::Shaper& ysTransForm1() { return *ysTransForm1_; }
    platform::Timer& Timer1() { return *timer1_; }
    platform::SoundDevice& mciChyaim() { return *mciChyaim_; }

    bool MemoMenuEnabled() const { return mnuYoteiEnabled_; }
    void SetMemoMenuEnabled(bool enabled) { mnuYoteiEnabled_ = enabled; }
    std::vector<platform::MenuItem> MenuTree() const;

    // Settings read at load and kept while the window lives.
    std::int16_t ShowInfoSetting = 1;
    std::int16_t FollowSetting = 1;
    std::int16_t SizeRule = 1;
    std::int16_t HideForFullScreenSetting = 1;
    platform::WindowHandle SavedHandle = 0;
    platform::WindowHandle ActiveHandle = 0;

private:
    // The tick's parts: stepping aside for a full-screen program, the
    // information balloon, following, the clock update.
    bool TickFullScreen();
    bool TickInfoBalloon();
    // The pointer in screen pixels, in twips; on the clock by the inclusive
    // test of the tick.
    bool OnClock(long long x, long long y) const;
    void TickFollow();
    void TickClockUpdate();
    bool FullScreenInFront();
    platform::WindowHandle FrontThisTick();
    bool AnyDialogOrDragOpen() const;
    bool AnyDialogOrModeOpen() const;
    std::string ForegroundTitle() const;
    platform::Rect Screen() const;
    struct TwipsPlace {
        long long left = 0, top = 0;
    };
    // Puts the clock where `placeFor` places a clock of a scale's size, drawn
    // for the monitor it ends on (tried first: `first`); the place it took.
    TwipsPlace MoveFor(TwipsPerPixel first, const std::function<TwipsPlace(TwipsPerPixel)>& placeFor);
    void Place(long long left, long long top);
    long long FaceWidth(TwipsPerPixel scale) const;
    long long FaceHeight(TwipsPerPixel scale) const;
    int DrawnOffsetX() const;
    int DrawnOffsetY() const;
    void ShowFacePicture();
    void PlayClips();
    void ApplyOutline();

    Module1& m;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::Animation> animation1_, animation2_;
    std::unique_ptr<platform::Shaper> ysTransForm1_;
    std::unique_ptr<platform::Timer> timer1_;
    std::unique_ptr<platform::SoundDevice> mciChyaim_;
    long long leftTwips_ = 0, topTwips_ = 0;
    long long widthTwips_ = 0, heightTwips_ = 0;
    int drawnWidth_ = 0, drawnHeight_ = 0;
    bool mnuYoteiEnabled_ = true;
    bool outlined_ = false;
    // The window in front as this tick found it.
    std::optional<platform::WindowHandle> tickFront_;
};

}  // namespace morix
