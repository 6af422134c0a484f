#include "alarm/Alarms.h"

#include "alarm/AlarmText.h"
#include "base/DateStamp.h"
#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"

namespace morix {

namespace {

std::string TimeText(MinuteStamp at) {
    const platform::LocalTime t = TimeOfMinute(at);
    return FormatTime(t.hour, t.minute);
}

}  // namespace

Alarms::Alarms(Module1& module) : m(module) {}

Alarms::~Alarms() = default;

void Alarms::Load() {
    const SettingsFile settings = m.Settings();
    entries_ = ReadAlarms(settings);
    watch_.Start(ParseMinute(settings.ReadString(keys::AlarmLastLooked)));
    loaded_ = true;
    Lookup();
}

void Alarms::Reload() {
    entries_ = ReadAlarms(m.Settings());
    Lookup();
}

void Alarms::Lookup() {
    alarms_ = AlarmsOf(entries_);
    alarms_.insert(alarms_.end(), snoozes_.begin(), snoozes_.end());
    watch_.AlarmsChanged();
}

void Alarms::Tick(const platform::LocalTime& now) {
    if (!loaded_) Load();
    minute_ = MinuteOf(now);
    const std::vector<DueAlarm> due = watch_.Look(alarms_, now, m.platform.clock.TickCountMs());
    if (due.empty()) {
        // Rung and not answered: again at the next minute, five times at most.
        if (!sound_.empty() && plays_ < MaxPlays && minute_ > lastPlay_) Play();
        return;
    }
    bool rings = false;
    for (const DueAlarm& d : due) {
        Shown s;
        s.at = d.at;
        s.missed = d.missed;
        s.alarm = alarms_[d.index];
        // Past the stored entries come the snoozes, which have no slot.
        if (d.index < entries_.size()) s.slot = entries_[d.index].slot;
        if (!s.missed && !s.alarm.sound.empty()) {
            sound_ = s.alarm.sound;
            rings = true;
        }
        shown_.push_back(std::move(s));
    }
    // A snooze that fell due is done with.
    std::erase_if(snoozes_, [this](const Alarm& a) { return !NextDue(a, minute_); });
    Lookup();
    // Kept at every due alarm: a run that ends without its exit still
    // tells the next one nothing twice.
    WriteLastLook();
    if (rings) {
        plays_ = 0;
        Play();
    }
    ShowWindow();
}

bool Alarms::RingsIn(long long minute) {
    if (!loaded_) Load();
    const std::optional<MinuteStamp> last = watch_.LastLooked();
    if (last && minute <= *last) return false;
    for (const Alarm& a : alarms_)
        if (const std::optional<MinuteStamp> t = NextDue(a, last ? *last : minute - 1); t && *t == minute && !a.sound.empty())
            return true;
    return false;
}

void Alarms::Play() {
    platform::SoundDevice& device = m.TouchForm1().mciChyaim();
    device.SetFileName(m.ChimeFile(sound_));
    device.SetCommand("open");
    device.SetCommand("play");
    ++plays_;
    lastPlay_ = minute_;
}

void Alarms::ShowWindow() {
    std::string text;
    bool ringing = false;
    for (const Shown& s : shown_) {
        if (!text.empty()) text += "\r\n";
        if (s.missed) {
            text += TimeText(s.at) + " のアラーム（鳴らせませんでした）";
            if (!s.alarm.message.empty()) text += "\r\n" + s.alarm.message;
        } else {
            ringing = true;
            text += TimeText(s.at) + " " + (s.alarm.message.empty() ? "のアラーム" : s.alarm.message);
        }
    }
    if (!form9_) form9_ = std::make_unique<Form9>(m, *this);
    form9_->Show(text, ringing);
}

void Alarms::Answer(bool snooze) {
    SettingsFile settings = m.Settings();
    for (const Shown& s : shown_) {
        if (snooze && !s.missed) {
            Alarm again = s.alarm;
            const platform::LocalTime t = TimeOfMinute(minute_ + SnoozeMinutes);
            again.enabled = true;
            again.repeat = AlarmRepeat::Once;
            again.date = {t.year, t.month, t.day};
            again.hour = t.hour;
            again.minute = t.minute;
            snoozes_.push_back(std::move(again));
        }
        // "一度だけ" is done with once answered.
        if (!s.slot || s.alarm.repeat != AlarmRepeat::Once) continue;
        for (AlarmEntry& e : entries_)
            if (e.slot == *s.slot && e.alarm && e.alarm->enabled) {
                e.alarm->enabled = false;
                e.line = FormatAlarm(*e.alarm);
                settings.WriteValue(keys::AlarmKey(e.slot), e.line);
            }
    }
    shown_.clear();
    if (!sound_.empty()) {
        sound_.clear();
        m.TouchForm1().mciChyaim().SetCommand("stop");
    }
    Lookup();
    std::unique_ptr<Form9> form = std::move(form9_);
    if (form) form->Window().SetVisible(false);
}

void Alarms::OpenAlarmDialog() {
    if (!form10_) {
        form10_ = std::make_unique<Form10>(m, *this);
        form10_->Form_Load();
    }
    ShowDialog(form10_->Window());
}

void Alarms::CloseAlarmDialog() {
    if (!form10_) return;
    std::unique_ptr<Form10> form = std::move(form10_);
    form->Form_Unload();
}

void Alarms::WriteLastLook() {
    if (const std::optional<MinuteStamp> last = watch_.LastLooked())
        m.Settings().WriteValue(keys::AlarmLastLooked, FormatMinute(*last));
}

void Alarms::AddLastLook(SettingsWrites& writes) const {
    if (!loaded_) return;
    if (const std::optional<MinuteStamp> last = watch_.LastLooked())
        writes.emplace_back(keys::AlarmLastLooked.name, FormatMinute(*last));
}

}  // namespace morix
