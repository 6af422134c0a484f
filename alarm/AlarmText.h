// An alarm as one line of the settings file, and what keeps an alarm from
// being stored as it was entered.
//
//   アラーム3=1|07:30|曜日 月火水木金|lt37xga.mid|起きる時間です
//
// Switched on (1) or off (0) | the time HH:MM | the repetition: "一度だけ
// 2026/12/24", "毎日", "曜日 月水金", "3日ごと 2026/12/10" (every 3 days from
// that day) | the sound file, empty for none | the message, the rest of
// the line.
#pragma once

#include "alarm/AlarmRule.h"

#include <optional>
#include <string>
#include <string_view>

namespace morix {

class CodePage;

std::string FormatAlarm(const Alarm& alarm);
// Nothing when the line is not an alarm of this form.
std::optional<Alarm> ParseAlarm(std::string_view line);

std::string FormatDate(const CalendarDate& date);  // 2026/12/24
std::string FormatTime(int hour, int minute);      // 07:30
std::optional<CalendarDate> ParseDate(std::string_view text);
// 一度だけ 2026/12/24, 毎日, 月水金, 3日ごと 2026/12/10: as the list shows it.
std::string RepeatText(const Alarm& alarm);

// Why the alarm, the `number`-th of the list, cannot be stored as entered
// at `now` (a message naming the alarm and the field), or nothing.
std::optional<std::string> AlarmProblem(const Alarm& alarm, int number, const platform::LocalTime& now,
                                        const CodePage& codePage);

// The minute last looked at, as stored: YYYYMMDDHHMM.
std::string FormatMinute(MinuteStamp minute);
std::optional<MinuteStamp> ParseMinute(std::string_view text);

}  // namespace morix
