#include "memo/MemoFiles.h"

#include "base/DateStamp.h"
#include "base/HexDigit.h"
#include "settings/SettingsFile.h"

#include <cctype>

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
    if (!IsCalendarDate({day.year, day.month, day.day})) return std::nullopt;
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
    // Fitted to the measurements, the box's scroll bars raised before the
    // loading: 1 MB of RTF 0.17 to 0.27 s; plain text in short lines, which
    // the box takes a few thousand characters at a time, 0.53 to 0.73 s a
    // megabyte; one line of ASCII words 1.1 ms a kilobyte. A word the box
    // wraps is measured again at every row: one word of 32 kB of ASCII
    // letters 0.66 s, 64 kB 2.7 s; one line of 128 kB of Japanese without a
    // space 0.61 s, 192 kB 1.4 to 2.0 s.
    const bool rtf = bytes.substr(0, 5) == "{\\rtf";
    const double perByte = rtf ? 0.00030 : 0.00080;
    constexpr std::size_t LongLine = 4096;
    constexpr double perLongLineByte = 0.0003;
    // Per square of a word's text bytes, and more for the square of its ASCII
    // bytes: a run of ASCII letters costs more a byte than double-byte text.
    constexpr double perWordByteSquared = 4e-8, perAsciiByteSquared = 6.5e-7 - perWordByteSquared;
    double cost = perByte * static_cast<double>(bytes.size());
    std::size_t line = 0;
    double word = 0, ascii = 0;
    bool trail = false;  // the byte after a Shift_JIS lead byte belongs to its character
    auto count = [&](unsigned char b) {
        word += 1;
        if (trail) {
            trail = false;
        } else if (b >= 0x80) {
            trail = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        } else {
            ascii += 1;
        }
    };
    for (std::size_t at = 0; at <= bytes.size(); ++at) {
        const bool lineEnd = at == bytes.size() || bytes[at] == '\n' || (rtf && bytes.compare(at, 4, "\\par") == 0);
        if (lineEnd || bytes[at] == ' ' || bytes[at] == '\t') {
            cost += perWordByteSquared * word * word + perAsciiByteSquared * ascii * ascii;
            word = ascii = 0;
            trail = false;
        } else if (rtf && bytes.compare(at, 2, "\\'") == 0 && at + 3 < bytes.size() && HexDigitValue(bytes[at + 2]) >= 0 &&
                   HexDigitValue(bytes[at + 3]) >= 0) {
            // An RTF escape is one byte of text.
            count(static_cast<unsigned char>(HexDigitValue(bytes[at + 2]) * 16 + HexDigitValue(bytes[at + 3])));
            at += 3;
        } else {
            count(static_cast<unsigned char>(bytes[at]));
        }
        if (lineEnd) {
            if (at - line > LongLine) cost += perLongLineByte * static_cast<double>(at - line);
            line = at + 1;
        }
    }
    return cost;
}

}  // namespace morix
