// The zones whose time the information balloon shows beside the local one:
// as the settings file keeps them, and where they come from before the user
// chose any (the additional clocks of Windows' date and time settings).
#pragma once

#include "platform/TimeZones.h"
#include "settings/SettingsFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace morix {


struct ChosenZone {
    std::string key;    // the zone's key name, ASCII
    std::string label;  // the user's name for it
    // A stored value this program cannot read; kept as it was, in `stored`.
    bool readable = true;
    std::string stored;
    friend bool operator==(const ChosenZone&, const ChosenZone&) = default;
};

inline constexpr std::size_t MaxOtherZones = 8;

// "key,label": the key printable ASCII without a comma, the label anything.
ChosenZone ParseZoneValue(std::string_view value);
std::string ZoneValue(const ChosenZone& zone);

// The user's zones in order; until the user chose any, Windows' additional
// clocks that are switched on.
std::vector<ChosenZone> ReadOtherZones(const SettingsFile& settings, const platform::TimeZones& zones);
// All eight places, the unused ones empty, among the keys of one write: from
// then on the choice is the user's, even a choice of none.
void AddOtherZones(SettingsWrites& writes, const std::vector<ChosenZone>& chosen);

// A short name from a zone's display name, for a label: the first place it
// names after the offset ("(UTC+10:00) キャンベラ、メルボルン、シドニー" gives
// "キャンベラ", "(UTC-05:00) Eastern Time (US & Canada)" "Eastern Time").
std::string ShortZoneName(std::string_view displayName);

}  // namespace morix
