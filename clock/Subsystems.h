// The windows of the subsystems above the clock window, as the clock window
// and the other forms reach them. Those subsystems read the clock's shared
// state (Module1), so the clock's own subsystem cannot name them: Module1
// holds one of each interface, and the program's assembly (app/Program)
// hands it the real windows.
#pragma once

#include "base/Geometry.h"
#include "platform/Clock.h"
#include "settings/SettingsFile.h"

#include <string>

namespace morix {

struct BalloonPlacement;

// The memo subsystem: the memo window (Form7), the memo date picker (Form2),
// the deletion by hand and the automatic steps.
class MemoWindows {
public:
    virtual ~MemoWindows() = default;
    // Deletes the memo files of past days (the caller has checked "自動削除").
    virtual void DeletePastMemos() = 0;
    // A fresh start's memo: the sample, or today's memo by "自動表示" and
    // "終了時の日付", or none.
    virtual void ShowMemoAtStart() = 0;
    // Closes an open memo window (which saves it) and shows today's memo
    // when its file exists.
    virtual void ShowTodayMemo() = 0;
    // Shows the memo window on MemoPath (the sample when MemoPath is empty).
    virtual void ShowMemoWindow() = 0;
    // Closes the memo window, saving it.
    virtual void CloseMemoWindow() = 0;
    // Saves the open memo and nothing else, as the program ends at once.
    virtual void SaveOpenMemo() = 0;
    // Hides the open memo window and shows it again, unchanged (the
    // information balloon stands in its place meanwhile).
    virtual void HideMemoWindow() = 0;
    virtual void RevealMemoWindow() = 0;
    // Moves the open memo window to the placement and gives it the frame
    // picture of that corner.
    virtual void PlaceMemoWindow(const std::string& frameName, const BalloonPlacement& placement) = 0;
    // The menu items "新規・開く" and "削除".
    virtual void OpenMemoPicker() = 0;
    virtual void DeleteMemoByHand() = 0;
};

// The information balloon (Form8), opened, refreshed and closed by the tick.
class InfoBalloonWindow {
public:
    virtual ~InfoBalloonWindow() = default;
    virtual void Show() = 0;
    // The four changing lines built again and the text replaced.
    virtual void Refresh() = 0;
    virtual void Unload() = 0;
    // Its left, top, right and bottom edges in twips.
    virtual TwipsRect Bounds() const = 0;
};

// The option dialogs of the menu.
class OptionDialogs {
public:
    virtual ~OptionDialogs() = default;
    virtual void OpenBasicOptions() = 0;     // "基本オプション", Form3
    virtual void OpenExtendedOptions() = 0;  // "拡張オプション", Form4
};

// The date and time dialog of the menu ("日付と時刻の変更", Form5).
class DateTimeDialog {
public:
    virtual ~DateTimeDialog() = default;
    virtual void OpenDateTime() = 0;
};

// The alarms: asked once a tick, after the clock update, with the reading
// that update made.
class AlarmClock {
public:
    virtual ~AlarmClock() = default;
    // Rings or tells what has fallen due by that reading; does nothing more
    // while no alarm is near.
    virtual void Tick(const platform::LocalTime& now) = 0;
    // An alarm with a sound rings in that minute (counted from 1970): the
    // chime gives way to it.
    virtual bool RingsIn(long long minute) = 0;
    // The real exit: the minute last looked at joins the exit's keys, kept
    // for the next run, which tells what fell due while the clock was not
    // running.
    virtual void AddLastLook(SettingsWrites& writes) const = 0;
    // The menu's "アラーム...".
    virtual void OpenAlarmDialog() = 0;
};

}  // namespace morix
