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
    // Fitted to the measurements: 1 MB of RTF 0.48 s; Japanese text in short
    // lines 1.3 s a megabyte; text of ASCII letters in short lines far more
    // and not even in proportion (192 kB 0.6 s, 256 kB 1.1 to 1.6 s, 384 kB
    // 3.3 s, 448 kB 0.45 s), so its letters are charged as the worst of
    // those; one line of 128 kB 2.9 s.
    const bool rtf = bytes.substr(0, 5) == "{\\rtf";
    const double perByte = rtf ? 0.00050 : 0.00128;
    constexpr double perAsciiLetter = 0.0032;  // plain text only: printable ASCII
    constexpr double perParagraphByteSquared = 1.8e-7;
    double paragraphs = 0, letters = 0;
    std::size_t start = 0;
    bool trail = false;  // the second byte of a double-byte character of code page 932
    for (std::size_t at = 0; at <= bytes.size(); ++at) {
        if (!rtf && at < bytes.size()) {
            const auto b = static_cast<unsigned char>(bytes[at]);
            if (!trail && b >= 0x20 && b < 0x7F) ++letters;
            trail = !trail && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
        }
        const bool end = at == bytes.size() || bytes[at] == '\n' || (rtf && bytes.compare(at, 4, "\\par") == 0);
        if (!end) continue;
        const double length = static_cast<double>(at - start);
        paragraphs += length * length;
        start = at + 1;
    }
    return perByte * static_cast<double>(bytes.size()) + perAsciiLetter * letters + perParagraphByteSquared * paragraphs;
}

}  // namespace morix
