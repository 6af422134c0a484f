// The alarms as the settings file keeps them: one a key, each in its own
// place. A line that is no alarm is kept as it is, in its place, until the
// user deletes it.
#pragma once

#include "alarm/AlarmRule.h"

#include <optional>
#include <string>
#include <vector>

namespace morix {

class SettingsFile;

struct AlarmEntry {
    int slot = 0;  // its key's number; 0: not stored yet
    std::optional<Alarm> alarm;  // nothing: the line could not be read
    std::string line;            // the line as read
};

// The stored alarms in the order of their places.
std::vector<AlarmEntry> ReadAlarms(const SettingsFile& settings);
// Stores the entries: a new one takes a free place; a place no entry holds
// any more is emptied; an unreadable line is not written at all. False when
// there are more entries than places.
bool WriteAlarms(SettingsFile& settings, std::vector<AlarmEntry>& entries);
// One alarm for each entry, in their order; an unreadable line's is
// switched off.
std::vector<Alarm> AlarmsOf(const std::vector<AlarmEntry>& entries);

}  // namespace morix
