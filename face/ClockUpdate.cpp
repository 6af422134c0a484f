#include "face/ClockUpdate.h"

#include "clock/Form1.h"
#include "clock/Module1.h"
#include "face/AssetPaths.h"
#include "memo/MemoStartup.h"
#include "platform/Controls.h"

namespace morix {

void PlayClip(platform::Animation& display, int left, std::string_view clipPath) {
    display.Move(left, 0);
    display.SetVisible(true);
    display.SetAutoPlay(false);
    display.Open(clipPath);
    display.Play(1);
}

namespace {

void RingChime(Module1& m, SettingsFile& settings) {
    platform::SoundDevice& device = m.form1()->mciChyaim();
    device.SetFileName(ChimePath(m.platform.process.ProgramFolder(), settings.ReadString(keys::ChimeFile)));
    device.SetCommand("open");
    device.SetCommand("play");
}

}  // namespace

void UpdateClockAndChime(Module1& m) {
    try {
        Form1& form = *m.form1();
        platform::Clock& clock = m.platform.clock;
        // Three readings, as the time is read part by part.
        m.CurrentHour = static_cast<std::int16_t>(clock.Now().hour);
        m.CurrentMinute = static_cast<std::int16_t>(clock.Now().minute);
        m.CurrentSecond = static_cast<std::int16_t>(clock.Now().second);
        const std::string design = m.DesignFolder();
        m.HourFile = ClipPath(design, m.CurrentHour);
        m.MinuteFile = ClipPath(design, m.CurrentMinute);

        if (m.CurrentSecond != 0) {
            if (m.CurrentSecond < 57) {
                m.LastSecond = static_cast<std::int16_t>(clock.Now().second);
                return;
            }
            if (m.CurrentSecond == m.LastSecond) return;
            // From second 57 the minute display shows the coming minute.
            m.MinuteFile = ClipPath(design, (m.CurrentMinute + 1) % 60);
            PlayClip(form.Animation2(), MinuteClipLeft, m.MinuteFile);
        } else {
            PlayClip(form.Animation2(), MinuteClipLeft, m.MinuteFile);
            if (m.CurrentMinute == 0) PlayClip(form.Animation1(), HourClipLeft, m.HourFile);
        }

        SettingsFile settings = m.Settings();
        if (m.CurrentHour == 0 && m.CurrentMinute == 0 && m.CurrentSecond == 0 &&
            settings.ReadInt(keys::AutoShowMemo) == 2)
            ShowTodayMemo(m);

        const std::int32_t chime = settings.ReadInt(keys::ChimeMode);
        if ((chime == 1 && m.CurrentMinute == 0 && m.CurrentSecond == 0) ||
            (chime == 2 && m.CurrentSecond == 0 && (m.CurrentMinute == 0 || m.CurrentMinute == 30)))
            RingChime(m, settings);

        m.LastSecond = static_cast<std::int16_t>(clock.Now().second);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
    }
}

}  // namespace morix
