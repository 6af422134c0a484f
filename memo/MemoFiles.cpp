#include "memo/MemoFiles.h"

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

std::string MemoFolder(std::string_view programFolder) { return std::string(programFolder) + "\\Tickdata"; }

MemoStartAction MemoStartActionDue(const SettingsFile& settings, const std::string& today) {
    if (settings.ReadInt(keys::SampleMemoDone) == 0) return MemoStartAction::ShowSample;
    switch (settings.ReadInt(keys::AutoShowMemo)) {
    case 1: return MemoStartAction::ShowToday;
    // The exit date is compared as text, as it was written.
    case 2: return std::to_string(settings.ReadInt(keys::ExitDate)) != today ? MemoStartAction::ShowToday : MemoStartAction::None;
    default: return MemoStartAction::None;
    }
}

}  // namespace morix
