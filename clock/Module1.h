// The program's shared state and its plain procedures' home: the entry, the
// flags the windows tell each other their state by, the clip state of the
// clock update, and the error prompt. One object, owned by the program and
// handed to its forms, so that every test builds a fresh program.
#pragma once

#include "base/RuntimeError.h"
#include "base/Twips.h"
#include "clock/Subsystems.h"
#include "face/AssetPaths.h"
#include "face/ClockUpdate.h"
#include "face/PictureSets.h"
#include "platform/Platform.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsFile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace morix {

class Form1;

class Module1 {
public:
    explicit Module1(platform::Platform& platform);
    ~Module1();
    Module1(const Module1&) = delete;
    Module1& operator=(const Module1&) = delete;

    // The program entry: ends the process at once when another instance
    // runs; otherwise shows the clock window and returns.
    void Main();

    // Loading and unloading the clock window (start, reload, exit).
    void LoadForm1();
    void UnloadForm1();
    Form1* form1() const { return form1_.get(); }
    // The clock window, loaded anew first when a dialog unloaded it: the
    // other windows' touch of it is the second half of the reload cycle.
    Form1& TouchForm1();
    // Enables or disables the clock window, as a dialog's closing does; a
    // clock window that a dialog unloaded loads anew here (the reload cycle).
    void SetForm1Enabled(bool enabled);

    // An error handler's common end: stores the error and shows the prompt.
    void HandleError(const RuntimeError& error);
    // Asks the user whether to go on after a file or path error, or reports
    // any other error; ends the process unless the user goes on.
    void ShowErrorPrompt();
    // The prompt's end of the program.
    void EndFromPrompt();

    SettingsFile Settings() const {
        return SettingsFile(platform.files, platform.codePage, IniPath, &settingsCache_, &settingsWriteFailed_,
                            &platform.clock);
    }
    // Today's date stamp, from the system date at the moment of use.
    std::string TodayStamp() const;
    // The folder of what the user makes (Morix.ini, Tickdata\, Recovered\,
    // designs of their own): decided at the first ask, kept for the life of
    // the process.
    const std::string& DataFolder() const;
    // The folders designs, frames and chimes are read from.
    AssetRoots Assets() const { return {platform.process.ProgramFolder(), DataFolder()}; }
    // The folder of the design DesignName, and of any design by name.
    std::string DesignFolder() const { return DesignFolder(clips.DesignName); }
    std::string DesignFolder(std::string_view designName) const;
    // The chime's file.
    std::string ChimeFile(std::string_view chimeName) const;
    // The folders to read the design's and a frame's pictures from, and the
    // scale of what they hold: their sets for the scale (the design's for the
    // one given, a frame's for the clock's monitor).
    PictureSet DesignPictures(TwipsPerPixel scale) const;
    PictureSet FramePictures(std::string_view frameName) const;

    platform::Platform& platform;

    std::string IniPath;
    // Screen coordinates in twips and back: 15 twips a pixel at every scale
    // (base/Twips.h), so a stored place means the same place next time.
    TwipsPerPixel TwipsX;
    TwipsPerPixel TwipsY;
    // The scale of the monitor the clock is on: the clock stands for its size
    // there, and its balloons take their pictures for it.
    TwipsPerPixel MonitorScale;
    // The scale the clock's face and clips are drawn at: its pictures'. The
    // monitor's, unless no pictures of that scale could be had.
    TwipsPerPixel Scale;

    // The design and the clips the clock update keeps current.
    ClipState clips;
    std::string BackgroundPath;

    // The home position in twips, 32-bit: a wide desktop goes beyond 16 bits.
    std::int32_t HomeLeft = 0;
    std::int32_t HomeTop = 0;

    bool Reloading = false;
    bool RestoreFollowedWindow = false;
    bool MemoWindowOpen = false;
    bool InfoBalloonOpen = false;
    bool MemoPickerOpen = false;
    bool BasicOptionsOpen = false;
    bool ExtendedOptionsOpen = false;
    bool DateTimeOpen = false;
    bool AlarmDialogOpen = false;
    bool DragMode = false;
    bool MenuOpen = false;
    // The clock and its balloons stand aside for a full-screen program.
    bool HiddenForFullScreen = false;

    std::int16_t ErrNo = 0;
    std::string ErrDescription;
    // An error prompt waits for the user's answer (the timer ticks on
    // through its modal loop).
    bool ErrorPromptOpen = false;

    std::string StoredTitle;
    std::string ActiveTitle;

    // The memo file the memo window opens and saves.
    std::string MemoPath;

    // The windows of the subsystems above the clock's, handed over by the
    // program's assembly.
    MemoWindows* memos = nullptr;
    InfoBalloonWindow* infoBalloon = nullptr;
    OptionDialogs* options = nullptr;
    DateTimeDialog* dateTime = nullptr;
    AlarmClock* alarms = nullptr;

    // What a dialog's OK does after writing: the clock window unloaded for
    // the reload cycle (its unload writes nothing), and an open memo window
    // closed and shown again, so that it follows the re-created clock.
    void UnloadForm1ForReload();
    void ReshowMemoWindow();

private:
    std::unique_ptr<Form1> form1_;
    mutable SettingsCache settingsCache_{platform.clock};
    mutable std::optional<std::string> dataFolder_;
    SettingsFile::WriteFailureHandler settingsWriteFailed_;
    bool settingsWriteFailureTold_ = false;
};

}  // namespace morix
