// The memo files: one RTF file per day in the data folder's "\Tickdata",
// named by the day's date stamp; the date value read back from a file's
// name; and what a fresh start shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morix {

class SettingsFile;

// The date value of a memo file's name: its first eight characters (after
// trimming) read as a decimal number and cut to an integer ("20261206 old.rtf"
// gives 20261206, "2026120.rtf" gives 2026120); none when they do not begin
// with a number.
std::optional<long long> MemoDateValue(std::string_view fileName);

// The day a memo file's name stands for: its date value read as year, month
// and day; none when that is no day of the calendar ("2026120.rtf", "notes.rtf").
struct MemoDayOf {
    int year, month, day;
};
std::optional<MemoDayOf> MemoDay(std::string_view fileName);

// data folder + "\Tickdata".
std::string MemoFolder(std::string_view dataFolder);

// How long the memo window's rich-text box takes to open a memo of these
// bytes, in milliseconds, as measured under Wine (bench/large-memo.sh): about
// linear in its bytes (RTF cheaper per byte than plain text, whose every byte
// is text), more for a line longer than a few thousand bytes, and quadratic in
// the text bytes of each word, which the box measures again at every row it
// wraps (one word of 64 kB of ASCII letters takes 2.7 s; double-byte
// characters cost less a byte).
double MemoOpeningCost(std::string_view bytes);
// A memo of another program's whose opening would cost more is not opened:
// the window never freezes the clock for longer on a file it did not write.
// A memo the window saved (platform::HasOwnRtfMark) opens whatever its size.
inline constexpr double MemoOpeningLimitMs = 1000;

// What a fresh start does about memos after the clean-up.
enum class MemoStartAction { None, ShowSample, ShowToday };

// The sample while "起動時のSample.rtf" is 0; otherwise today's memo by
// "自動表示": 1 always, 2 when "終了時の日付" differs from today's stamp.
MemoStartAction MemoStartActionDue(const SettingsFile& settings, const std::string& todayStamp);

}  // namespace morix
