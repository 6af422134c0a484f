#include "alarm/AlarmStore.h"

#include "alarm/AlarmText.h"
#include "settings/SettingsFile.h"

#include <set>

namespace morix {

std::vector<AlarmEntry> ReadAlarms(const SettingsFile& settings) {
    std::vector<AlarmEntry> entries;
    for (int slot = 1; slot <= keys::AlarmSlots; ++slot) {
        std::string line = settings.ReadString(keys::AlarmKey(slot), "");
        if (line.empty()) continue;
        std::optional<Alarm> alarm = ParseAlarm(line);
        entries.push_back({slot, std::move(alarm), std::move(line)});
    }
    return entries;
}

bool WriteAlarms(SettingsFile& settings, std::vector<AlarmEntry>& entries) {
    if (entries.size() > static_cast<std::size_t>(keys::AlarmSlots)) return false;
    std::set<int> taken;
    for (const AlarmEntry& e : entries)
        if (e.slot > 0) taken.insert(e.slot);
    // Every place's key, alive until the one write below has read them.
    std::vector<std::string> names;
    names.reserve(keys::AlarmSlots);
    for (int slot = 1; slot <= keys::AlarmSlots; ++slot) names.push_back(keys::AlarmKey(slot));
    SettingsWrites writes;
    for (int slot = 1; slot <= keys::AlarmSlots; ++slot)
        if (!taken.contains(slot) && !settings.ReadString(names[slot - 1], "").empty())
            writes.emplace_back(names[slot - 1], "");
    int free = 1;
    for (AlarmEntry& e : entries) {
        if (!e.alarm) continue;
        if (e.slot == 0) {
            while (taken.contains(free)) ++free;
            e.slot = free;
            taken.insert(free);
        }
        e.line = FormatAlarm(*e.alarm);
        writes.emplace_back(names[e.slot - 1], e.line);
    }
    // The dialog's OK is one replacement of the file.
    settings.WriteValues(writes);
    return true;
}

std::vector<Alarm> AlarmsOf(const std::vector<AlarmEntry>& entries) {
    std::vector<Alarm> alarms;
    alarms.reserve(entries.size());
    for (const AlarmEntry& e : entries) {
        alarms.push_back(e.alarm.value_or(Alarm{}));
        if (!e.alarm) alarms.back().enabled = false;
    }
    return alarms;
}

}  // namespace morix
