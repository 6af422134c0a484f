// The alarm subsystem as the clock reaches it: the stored alarms, the look
// at them once a tick, the sound of a due alarm on the program's sound
// device (again each minute until answered, at most five times), and the
// alarm window.
#pragma once

#include "alarm/AlarmRule.h"
#include "alarm/AlarmStore.h"
#include "alarm/Form10.h"
#include "alarm/Form9.h"
#include "clock/Subsystems.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morix {

class Module1;

class Alarms final : public AlarmClock {
public:
    // A due alarm rings this many times, a minute apart, unless answered.
    static constexpr int MaxPlays = 5;
    static constexpr int SnoozeMinutes = 5;

    explicit Alarms(Module1& module);
    ~Alarms() override;

    void Tick(const platform::LocalTime& now) override;
    bool RingsIn(long long minute) override;
    void AddLastLook(SettingsWrites& writes) const override;
    // The menu's "アラーム...": the dialog, shown with the front and the
    // keyboard; opened again while open, it only comes to the front.
    void OpenAlarmDialog() override;
    void CloseAlarmDialog();

    // The window's answer: "停止", or "5分後にもう一度" (snooze).
    void Answer(bool snooze);
    // The stored alarms read again (after they were changed).
    void Reload();

    Form9* form9() const { return form9_.get(); }
    Form10* form10() const { return form10_.get(); }
    const std::vector<AlarmEntry>& Entries() const { return entries_; }

private:
    // One due time shown in the window.
    struct Shown {
        std::optional<int> slot;  // the stored alarm's place; nothing for a snooze
        Alarm alarm;
        MinuteStamp at = 0;
        bool missed = false;
    };
    void Load();
    void Lookup();  // alarms_ from the entries and the snoozes
    void Play();
    void ShowWindow();
    void WriteLastLook();

    Module1& m;
    bool loaded_ = false;
    std::vector<AlarmEntry> entries_;
    std::vector<Alarm> snoozes_;
    // The entries' alarms, then the snoozes: what the watch looks at.
    std::vector<Alarm> alarms_;
    AlarmWatch watch_;
    std::vector<Shown> shown_;
    std::string sound_;  // the ringing alarm's sound file name
    int plays_ = 0;
    MinuteStamp lastPlay_ = 0;
    MinuteStamp minute_ = 0;  // the minute of the last tick
    std::unique_ptr<Form9> form9_;
    std::unique_ptr<Form10> form10_;
};

}  // namespace morix
