#include "info/ZoneLines.h"

#include "base/AnsiText.h"
#include "base/DateStamp.h"

#include <cstdio>

namespace morix {

namespace {

std::string TimeText(const platform::LocalTime& t) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%02d", t.day);
    std::string text = digits;
    text += std::string("(") + WeekdayNames[WeekdayOf(DayNumber({t.year, t.month, t.day}))] + ")";
    std::snprintf(digits, sizeof digits, " %02d:%02d", t.hour, t.minute);
    return text + digits;
}

// What follows the label when the system no longer has the zone.
constexpr const char* NoSuchZone = "地域がありません";

}  // namespace

std::string ZoneLine(const CodePage& codePage, std::string_view label, const std::optional<platform::LocalTime>& time) {
    // Every time text takes the same columns ("09(水) 11:36"); the label
    // gets what the row leaves after it and the brackets, which part the two.
    const std::string tail = time ? TimeText(*time) : NoSuchZone;
    const std::size_t tailColumns = static_cast<std::size_t>(AnsiByteLength(codePage, "[]09(水) 11:36"));
    std::string cut = CutToAnsiBytes(codePage, label, BalloonColumns - tailColumns);
    // A cut between two words leaves no space before the bracket.
    while (!cut.empty() && cut.back() == ' ') cut.pop_back();
    return "[" + cut + "]" + tail;
}

std::string UnreadableZoneLine() { return "[?] 読めない設定"; }

void ZoneLines::Load(const std::vector<ChosenZone>& chosen, const platform::TimeZones& zones) {
    shown_.clear();
    for (const ChosenZone& c : chosen) shown_.push_back({c, c.readable ? zones.Find(c.key) : nullptr});
}

void ZoneLines::Build(const CodePage& codePage, platform::UtcSeconds now) {
    Lines.clear();
    for (const Shown& s : shown_) {
        if (!s.chosen.readable) Lines.push_back(UnreadableZoneLine());
        else if (!s.zone) Lines.push_back(ZoneLine(codePage, s.chosen.label, std::nullopt));
        else Lines.push_back(ZoneLine(codePage, s.chosen.label, s.zone->At(now)));
    }
}

void ZoneLines::Clear() {
    Lines.clear();
    shown_.clear();
}

}  // namespace morix
