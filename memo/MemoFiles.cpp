#include "memo/MemoFiles.h"

#include "settings/SettingsFile.h"

#include <cctype>
#include <chrono>

namespace morix {

std::optional<long long> MemoDateValue(std::string_view name) {
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    name = name.substr(0, 8);
    long long value = 0;
    std::size_t i = 0;
    for (; i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])); ++i) value = value * 10 + (name[i] - '0');
    if (i == 0) return std::nullopt;
    return value;
}

std::optional<MemoDayOf> MemoDay(std::string_view name) {
    const std::optional<long long> value = MemoDateValue(name);
    if (!value || *value < 10000101 || *value > 99991231) return std::nullopt;
    const MemoDayOf day{static_cast<int>(*value / 10000), static_cast<int>(*value / 100 % 100), static_cast<int>(*value % 100)};
    const std::chrono::year_month_day date{std::chrono::year{day.year}, std::chrono::month{static_cast<unsigned>(day.month)},
                                           std::chrono::day{static_cast<unsigned>(day.day)}};
    if (!date.ok()) return std::nullopt;
    return day;
}

std::string MemoFolder(std::string_view dataFolder) { return std::string(dataFolder) + "\\Tickdata"; }

MemoStartAction MemoStartActionDue(const SettingsFile& settings, const std::string& today) {
    if (settings.ReadInt(keys::SampleMemoDone) == 0) return MemoStartAction::ShowSample;
    switch (settings.ReadInt(keys::AutoShowMemo)) {
    case 1: return MemoStartAction::ShowToday;
    // The exit date is compared as text, as it was written.
    case 2: return std::to_string(settings.ReadInt(keys::ExitDate)) != today ? MemoStartAction::ShowToday : MemoStartAction::None;
    default: return MemoStartAction::None;
    }
}

double MemoOpeningCost(std::string_view bytes) {
    // Fitted to the measurements: 1 MB of RTF 0.48 to 0.65 s; plain text in
    // short lines, which the box takes a few thousand characters at a time,
    // 0.84 s a megabyte of Japanese and 0.54 to 0.73 s of ASCII in lines of
    // up to 2000 letters. A longer line goes in whole, and the box measures
    // what is left of a word at every row it wraps: one line of ASCII words
    // 2.8 to 3.5 ms a kilobyte, one line of 128 kB of Japanese without a
    // space 2.9 s.
    const bool rtf = bytes.substr(0, 5) == "{\\rtf";
    const double perByte = rtf ? 0.00050 : 0.00080;
    constexpr std::size_t LongLine = 4096;
    constexpr double perLongLineByte = 0.0027;
    constexpr double perWordByteSquared = 1.8e-7;
    double cost = perByte * static_cast<double>(bytes.size());
    std::size_t line = 0, word = 0;
    for (std::size_t at = 0; at <= bytes.size(); ++at) {
        const bool lineEnd = at == bytes.size() || bytes[at] == '\n' || (rtf && bytes.compare(at, 4, "\\par") == 0);
        if (lineEnd || bytes[at] == ' ' || bytes[at] == '\t') {
            const double length = static_cast<double>(at - word);
            cost += perWordByteSquared * length * length;
            word = at + 1;
        }
        if (lineEnd) {
            if (at - line > LongLine) cost += perLongLineByte * static_cast<double>(at - line);
            line = at + 1;
        }
    }
    return cost;
}

}  // namespace morix
