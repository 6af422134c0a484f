#include "alarm/AlarmText.h"

#include "base/AnsiText.h"
#include "base/CodePage.h"
#include "base/DateStamp.h"
#include "base/Utf8.h"
#include "settings/SettingsFile.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace morix {

namespace {

constexpr std::string_view OnceWord = "一度だけ", DailyWord = "毎日", WeekdaysWord = "曜日", EveryWord = "日ごと";

std::optional<int> Number(std::string_view text) {
    int v = 0;
    if (text.empty() || text.size() > 9) return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

// The text up to the next "|", and the rest after it.
std::optional<std::string_view> Field(std::string_view& rest) {
    const std::size_t bar = rest.find('|');
    if (bar == std::string_view::npos) return std::nullopt;
    const std::string_view field = rest.substr(0, bar);
    rest.remove_prefix(bar + 1);
    return field;
}

bool ParseRepeat(std::string_view text, Alarm& a) {
    if (text == DailyWord) {
        a.repeat = AlarmRepeat::Daily;
        return true;
    }
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos) return false;
    const std::string_view word = text.substr(0, space), arg = text.substr(space + 1);
    if (word == OnceWord || word.ends_with(EveryWord)) {
        const std::optional<CalendarDate> date = ParseDate(arg);
        if (!date) return false;
        a.date = *date;
        if (word == OnceWord) {
            a.repeat = AlarmRepeat::Once;
            return true;
        }
        const std::optional<int> n = Number(word.substr(0, word.size() - EveryWord.size()));
        if (!n || *n < 1) return false;
        a.repeat = AlarmRepeat::EveryNDays;
        a.everyDays = *n;
        return true;
    }
    if (word != WeekdaysWord) return false;
    a.repeat = AlarmRepeat::Weekdays;
    a.weekdays = 0;
    std::string_view days = arg;
    while (!days.empty()) {
        int found = -1;
        for (int i = 0; i < WeekdayCount; ++i)
            if (days.starts_with(WeekdayNames[i])) found = i;
        if (found < 0) return false;
        a.weekdays |= static_cast<std::uint8_t>(1 << found);
        days.remove_prefix(std::string_view(WeekdayNames[found]).size());
    }
    return a.weekdays != 0;
}

}  // namespace

std::string FormatDate(const CalendarDate& d) {
    return std::to_string(d.year) + "/" + TwoDigits(d.month) + "/" + TwoDigits(d.day);
}

std::string FormatTime(int hour, int minute) { return TwoDigits(hour) + ":" + TwoDigits(minute); }

std::optional<CalendarDate> ParseDate(std::string_view text) {
    const std::size_t a = text.find('/'), b = text.rfind('/');
    if (a == std::string_view::npos || a == b) return std::nullopt;
    const std::optional<int> y = Number(text.substr(0, a)), m = Number(text.substr(a + 1, b - a - 1)),
                             d = Number(text.substr(b + 1));
    if (!y || !m || !d || *y < 1970 || *y > 9999) return std::nullopt;
    const CalendarDate date{*y, *m, *d};
    if (!IsCalendarDate(date)) return std::nullopt;
    return date;
}

std::string RepeatText(const Alarm& a) {
    switch (a.repeat) {
    case AlarmRepeat::Once: return std::string(OnceWord) + " " + FormatDate(a.date);
    case AlarmRepeat::Daily: return std::string(DailyWord);
    case AlarmRepeat::Weekdays: {
        std::string days;
        for (int i = 0; i < WeekdayCount; ++i)
            if ((a.weekdays >> i) & 1) days += WeekdayNames[i];
        return std::string(WeekdaysWord) + " " + days;
    }
    case AlarmRepeat::EveryNDays: return std::to_string(a.everyDays) + std::string(EveryWord) + " " + FormatDate(a.date);
    }
    return {};
}

std::string FormatAlarm(const Alarm& a) {
    return std::string(a.enabled ? "1" : "0") + "|" + FormatTime(a.hour, a.minute) + "|" +
           RepeatText(a) + "|" + a.sound + "|" + a.message;
}

std::optional<Alarm> ParseAlarm(std::string_view line) {
    Alarm a;
    std::string_view rest = line;
    const auto on = Field(rest), time = Field(rest), repeat = Field(rest), sound = Field(rest);
    if (!on || !time || !repeat || !sound) return std::nullopt;
    if (*on != "0" && *on != "1") return std::nullopt;
    a.enabled = *on == "1";
    if (time->size() != 5 || (*time)[2] != ':') return std::nullopt;
    const std::optional<int> h = Number(time->substr(0, 2)), m = Number(time->substr(3));
    if (!h || !m || *h > 23 || *m > 59) return std::nullopt;
    a.hour = *h, a.minute = *m;
    if (!ParseRepeat(*repeat, a)) return std::nullopt;
    a.sound = *sound;
    a.message = rest;
    return a;
}

std::optional<std::string> AlarmProblem(const Alarm& a, int number, const platform::LocalTime& now,
                                        const CodePage& codePage) {
    const std::string name = "アラーム " + std::to_string(number) + "（" + FormatTime(a.hour, a.minute) + "）";
    if (a.repeat == AlarmRepeat::Weekdays && (a.weekdays & 0x7F) == 0)
        return name + " の「繰り返し」: 曜日が一つも選ばれていません。";
    if (a.repeat == AlarmRepeat::EveryNDays && a.everyDays < 1)
        return name + " の「繰り返し」: 日数は 1 以上にしてください。";
    if (a.repeat == AlarmRepeat::Once && a.enabled &&
        DayNumber(a.date) * 24 * 60 + a.hour * 60 + a.minute <= MinuteOf(now))
        return name + " の「日付」: " + FormatDate(a.date) + " " + FormatTime(a.hour, a.minute) + " はもう過ぎています。";
    // Characters the file's code page turns into "?" would come back as
    // something else.
    std::string lost;
    for (std::size_t i = 0; i < a.message.size();) {
        const std::size_t start = i;
        DecodeUtf8(a.message, i);
        const std::string_view ch(a.message.data() + start, i - start);
        if (codePage.FromAnsi(codePage.ToAnsi(ch)) != ch) lost += ch;
    }
    if (!lost.empty()) return name + " の「メッセージ」: 「" + lost + "」は設定ファイルに保存できない文字です。";
    const std::string line = FormatAlarm(a);
    if (static_cast<std::size_t>(AnsiByteLength(codePage, line)) > SettingsFile::MaxTextBytes)
        return name + " の「メッセージ」: 長すぎます（あと " +
               std::to_string(AnsiByteLength(codePage, line) - SettingsFile::MaxTextBytes) + " バイト短くしてください）。";
    // The file trims the ends of a value: the message keeps its own.
    if (!a.message.empty() && (a.message.back() == ' ' || a.message.front() == ' ' || a.message.back() == '\t'))
        return name + " の「メッセージ」: 前後の空白は保存できません。";
    return std::nullopt;
}

std::string FormatMinute(MinuteStamp minute) {
    const platform::LocalTime t = TimeOfMinute(minute);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute);
    return buf;
}

std::optional<MinuteStamp> ParseMinute(std::string_view text) {
    if (text.size() != 12) return std::nullopt;
    const std::optional<int> y = Number(text.substr(0, 4)), mo = Number(text.substr(4, 2)), d = Number(text.substr(6, 2)),
                             h = Number(text.substr(8, 2)), mi = Number(text.substr(10, 2));
    if (!y || !mo || !d || !h || !mi || *h > 23 || *mi > 59) return std::nullopt;
    const std::optional<CalendarDate> date =
        ParseDate(std::to_string(*y) + "/" + std::to_string(*mo) + "/" + std::to_string(*d));
    if (!date) return std::nullopt;
    return DayNumber(*date) * 24 * 60 + *h * 60 + *mi;
}

}  // namespace morix
