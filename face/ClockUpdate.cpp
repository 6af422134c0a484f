#include "face/ClockUpdate.h"

#include "base/RuntimeError.h"
#include "face/AssetPaths.h"
#include "platform/Clock.h"
#include "platform/Controls.h"

namespace morix {

void PlayClip(platform::Animation& display, int left, std::string_view clipPath) {
    display.Move(left, 0);
    display.SetVisible(true);
    display.SetAutoPlay(false);
    display.Open(clipPath);
    display.Play(1);
}

std::string DesignFolder(std::string_view programFolder, std::string_view designName) {
    return std::string(programFolder) + "\\Design\\" + std::string(designName);
}

namespace {

void RingChime(const ClockFace& face) {
    face.chimeDevice.SetFileName(ChimePath(face.programFolder, face.settings.ReadString(keys::ChimeFile)));
    face.chimeDevice.SetCommand("open");
    face.chimeDevice.SetCommand("play");
}

}  // namespace

void UpdateClockAndChime(ClipState& s, const ClockFace& face) {
    try {
        const platform::Clock& clock = face.clock;
        // Three readings, as the time is read part by part.
        s.CurrentHour = static_cast<std::int16_t>(clock.Now().hour);
        s.CurrentMinute = static_cast<std::int16_t>(clock.Now().minute);
        s.CurrentSecond = static_cast<std::int16_t>(clock.Now().second);
        const std::string design = DesignFolder(face.programFolder, s.DesignName);
        s.HourFile = ClipPath(design, s.CurrentHour);
        s.MinuteFile = ClipPath(design, s.CurrentMinute);

        if (s.CurrentSecond != 0) {
            if (s.CurrentSecond < 57) {
                s.LastSecond = static_cast<std::int16_t>(clock.Now().second);
                return;
            }
            if (s.CurrentSecond == s.LastSecond) return;
            // From second 57 the minute display shows the coming minute.
            s.MinuteFile = ClipPath(design, (s.CurrentMinute + 1) % 60);
            PlayClip(face.minuteDisplay, MinuteClipLeft, s.MinuteFile);
        } else {
            PlayClip(face.minuteDisplay, MinuteClipLeft, s.MinuteFile);
            if (s.CurrentMinute == 0) PlayClip(face.hourDisplay, HourClipLeft, s.HourFile);
        }

        if (s.CurrentHour == 0 && s.CurrentMinute == 0 && s.CurrentSecond == 0 &&
            face.settings.ReadInt(keys::AutoShowMemo) == 2)
            face.showTodayMemo();

        const std::int32_t chime = face.settings.ReadInt(keys::ChimeMode);
        if ((chime == 1 && s.CurrentMinute == 0 && s.CurrentSecond == 0) ||
            (chime == 2 && s.CurrentSecond == 0 && (s.CurrentMinute == 0 || s.CurrentMinute == 30)))
            RingChime(face);

        s.LastSecond = static_cast<std::int16_t>(clock.Now().second);
    } catch (const RuntimeError& e) {
        face.handleError(e);
    }
}

}  // namespace morix
