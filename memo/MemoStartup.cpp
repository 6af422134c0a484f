#include "memo/MemoStartup.h"

#include "clock/Module1.h"
#include "clock/Placement.h"

#include <cctype>
#include <optional>

namespace morix {

namespace {

// The date value of a memo file's name: its first eight characters (after
// trimming) read as a decimal number and cut to an integer ("20261206 old.rtf"
// gives 20261206, "2026120.rtf" gives 2026120); none when they do not begin
// with a number.
std::optional<long long> DateValue(std::string_view name) {
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    name = name.substr(0, 8);
    long long value = 0;
    std::size_t i = 0;
    for (; i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])); ++i) value = value * 10 + (name[i] - '0');
    if (i == 0) return std::nullopt;
    return value;
}

}  // namespace

void DeletePastMemos(Module1& m) {
    const long long today = std::stoll(m.TodayStamp());
    const std::string folder = m.platform.process.ProgramFolder() + "\\Tickdata";
    for (const std::string& name : m.platform.files.ListFiles(folder, ".rtf")) {
        std::optional<long long> date = DateValue(name);
        // A file that cannot be deleted is passed over; nothing is reported.
        if (date && *date < today) m.platform.files.RemoveFile(folder + "\\" + name);
    }
}

void ShowTodayMemo(Module1& m) {
    if (m.MemoWindowOpen) CloseMemoWindow(m);
    const std::string today = m.TodayStamp();
    const long long todayValue = std::stoll(today);
    const std::string folder = m.platform.process.ProgramFolder() + "\\Tickdata";
    for (const std::string& name : m.platform.files.ListFiles(folder, ".rtf")) {
        std::optional<long long> date = DateValue(name);
        if (!date || *date != todayValue) continue;
        m.MemoPath = folder + "\\" + today + ".rtf";
        ShowMemoWindow(m);
    }
}

// The memo window (the rich-text balloon beside the clock) joins the program
// with the memo subsystem; until then a request to show it passes, as a
// failure of the automatic memo steps would, and no window is open to close
// or move.
void ShowMemoWindow(Module1&) {}
void ShowSampleMemo(Module1&) {}
void CloseMemoWindow(Module1& m) { m.MemoWindowOpen = false; }
void PlaceMemoWindow(Module1&, const std::string&, const BalloonPlacement&) {}

}  // namespace morix
