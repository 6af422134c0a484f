// The lines of the other zones in the information balloon: one per chosen
// zone, "[ニューヨ]09(水) 11:36" (the day of the month and the weekday tell
// the date beside the local one; the month would not fit the row), its time
// taken afresh from the system's zone data at every build.
#pragma once

#include "platform/TimeZones.h"
#include "settings/OtherZones.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morix {

class CodePage;

// Half-width columns in a row of the balloon's text box: what its 160 pixels
// hold beside the scroll bar and the box's margins, in 9-point ＭＳ ゴシック,
// whose half-width characters are 6 pixels wide.
inline constexpr int BalloonColumns = 22;

// The line of one zone: its label cut (between characters, by their ANSI
// bytes) so that the line fits a row; the zone's day, weekday and
// time, or a word that the system has no such zone (`time` empty).
std::string ZoneLine(const CodePage& codePage, std::string_view label, const std::optional<platform::LocalTime>& time);
// The line of a stored value that could not be read.
std::string UnreadableZoneLine();

class ZoneLines {
public:
    // The zones looked up once, when the balloon opens.
    void Load(const std::vector<ChosenZone>& chosen, const platform::TimeZones& zones);
    // Every line again, for the instant.
    void Build(const CodePage& codePage, platform::UtcSeconds now);
    void Clear();

    std::vector<std::string> Lines;

private:
    struct Shown {
        ChosenZone chosen;
        std::unique_ptr<platform::TimeZone> zone;  // nullptr: the system has none of that key
    };
    std::vector<Shown> shown_;
};

}  // namespace morix
