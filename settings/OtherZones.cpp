#include "settings/OtherZones.h"

#include "settings/Keys.h"
#include "settings/SettingsFile.h"

#include <algorithm>

namespace morix {

namespace {

bool IsKeyName(std::string_view key) {
    if (key.empty()) return false;
    for (char c : key)
        if (c < 0x20 || c > 0x7E || c == ',') return false;
    return true;
}

// A stand-in no stored value can be: values are trimmed of spaces.
constexpr std::string_view Missing = " ";

}  // namespace

ChosenZone ParseZoneValue(std::string_view value) {
    const std::size_t comma = value.find(',');
    const std::string_view key = value.substr(0, comma);
    if (comma == std::string_view::npos || !IsKeyName(key)) return {"", "", false, std::string(value)};
    return {std::string(key), std::string(value.substr(comma + 1)), true, ""};
}

std::string ZoneValue(const ChosenZone& zone) { return zone.readable ? zone.key + "," + zone.label : zone.stored; }

std::vector<ChosenZone> ReadOtherZones(const SettingsFile& settings, const platform::TimeZones& zones) {
    std::vector<ChosenZone> chosen;
    bool any = false;
    for (std::string_view key : keys::OtherZones) {
        const std::string value = settings.ReadString(key, Missing);
        if (value == Missing) continue;
        any = true;
        if (!value.empty()) chosen.push_back(ParseZoneValue(value));
    }
    if (any) return chosen;
    for (const platform::AdditionalClock& clock : zones.AdditionalClocks()) {
        std::string label = clock.label;
        if (label.empty())
            for (const platform::ZoneName& name : zones.List())
                if (name.key == clock.key) label = ShortZoneName(name.displayName);
        chosen.push_back({clock.key, label.empty() ? clock.key : label, true, ""});
    }
    return chosen;
}

void AddOtherZones(SettingsWrites& writes, const std::vector<ChosenZone>& chosen) {
    for (std::size_t i = 0; i < keys::OtherZones.size(); ++i)
        writes.emplace_back(keys::OtherZones[i], i < chosen.size() ? ZoneValue(chosen[i]) : "");
}

std::string ShortZoneName(std::string_view display) {
    std::string_view name = display;
    if (!name.empty() && name.front() == '(') {
        const std::size_t close = name.find(')');
        if (close != std::string_view::npos) name.remove_prefix(close + 1);
    }
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    // Up to the first separator of the places it lists: a comma, the
    // Japanese "、", or an explanation in brackets.
    std::size_t end = name.size();
    for (std::string_view stop : {",", "、", " (", "（"}) end = std::min(end, name.find(stop));
    name = name.substr(0, end);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return std::string(name.empty() ? display : name);
}

}  // namespace morix
