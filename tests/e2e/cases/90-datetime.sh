# The date and time dialog from the menu, in Japanese, beside the clock, with
# the clock disabled; Escape or a click on キャンセル closes it and a later 終了
# is a real exit. OK is pressed in the next case, as a user without the
# right to change the time.
dir=$(fresh_folder datetime)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
set -- $(probe clock 20000 | field rect); cr=$3 ct=$2
menu Up Up Up Return
probe window "日付と日時の変更" 5000 >/dev/null && sleep 0.5
in_front=$(active_window)
xdotool key Escape
check "right after the menu, Escape closes the dialog (the active window was: $in_front)" closes "日付と日時の変更"
check "and enables the clock" test "$(probe clock | field enabled)" = 1
menu Up Up Up Return
dlg=$(probe window "日付と日時の変更" 5000)
check "日付と時刻の変更 opens the dialog" test -n "$dlg"
set -- $(echo "$dlg" | field rect)
check "right of the clock, level with it" test "$1 $2" = "$cr $ct"
check "the clock is disabled meanwhile" test "$(probe clock | field enabled)" = 0
ctl=$(controls "日付と日時の変更")
check "it has the calendar and the time picker" bash -c '[[ "$1" == *SysMonthCal32* && "$1" == *SysDateTimePick32* ]]' _ "$ctl"
check "and キャンセル" bash -c '[[ "$1" == *"|キャンセル|"* ]]' _ "$ctl"
sleep 0.5
shot 90-datetime
crop 90-datetime "$shots/90-datetime-crop.png" "$@"
click_control "日付と日時の変更" Button "キャンセル"
check "a click on キャンセル closes it" closes "日付と日時の変更"
check "and enables the clock" test "$(probe clock | field enabled)" = 1
menu Up Return
check "a later 終了 ends the program" waited_exit "$clock_pid" 15
check "and writes the exit date" test "$(ini_get "$dir" 終了時の日付)" = "$(date +%Y%m%d)"
