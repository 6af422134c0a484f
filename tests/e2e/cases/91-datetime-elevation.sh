# The date and time set as a Windows user without the right to change it: the
# clock runs in a session whose token lacks that right (the probe takes it
# out; Wine gives every program an administrator's full token), so OK wears
# the shield and starts MorixSetTime.exe through the elevation prompt with
# the date and the time an hour on. Wine lets nobody move its clock by more
# than half a second: the helper is refused, and the dialog says the date and
# time could not be changed, not that the input was wrong. The clock runs on
# and this machine's clock stays where it was.
dir=$(fresh_folder datetime-elevation)
sample_seen "$dir" アクティブウインドウへの移動=0
(cd "$dir" && exec wine "$probe_exe" without-time-right Morix.exe >/dev/null 2>&1) &
clock_pid=$!
pids+=("$clock_pid")
probe clock 20000 >/dev/null && { xdotool mousemove 6 6 mousemove 5 5; sleep 1.2; }
wall_before=$(date +%s) up_before=$(cut -d. -f1 /proc/uptime)
menu Up Up Up Return
check "日付と時刻の変更 opens the dialog" test -n "$(probe window "日付と日時の変更" 5000)"
sleep 0.5
shot 91-datetime-shield
# The time picker's hour: a click on its first field, then Up, as a user
# moves it an hour on.
picker=$(first_of_class "日付と日時の変更" SysDateTimePick32 3)
set -- $picker
xdotool mousemove $(( $1 + 8 )) $(( ($2 + $4) / 2 )) click 1
sleep 0.3
xdotool key Up
sleep 0.3
hour_now=$(date +%H)
want_hour=$(printf '%02d' $(( (10#$hour_now + 1) % 24 )))
seen="$work/91-helper.txt"
wine "$probe_exe" process MorixSetTime.exe 20000 2>/dev/null | tr -d '\r' > "$seen" &
watcher=$!
pids+=("$watcher")
sleep 0.5
click_control "日付と日時の変更" Button "OK"
box=$(probe message-box 20000)
wait "$watcher" 2>/dev/null
check "the helper's process was seen ($(tr '\n' ' ' < "$seen"))" grep -q '^pid=' "$seen"
command_line=$(field command < "$seen")
check "it was handed the date chosen and the hour on ($command_line)" \
    bash -c '[[ "$1" == *MorixSetTime.exe*" $2 $3:"[0-9][0-9]:[0-9][0-9]" "[0-9]* ]]' _ "$command_line" "$(date +%Y-%m-%d)" "$want_hour"
check "Wine refused it: the helper ended with 1314, the right not held ($(field exit < "$seen"))" \
    test "$(field exit < "$seen")" = 1314
check "a message says so" test -n "$box"
check "titled Morix" test "$(echo "$box" | field caption)" = Morix
check "the date and time could not be changed, with the system's error" \
    bash -c '[[ "$1" == *"日付と時刻を変更できませんでした。"*"（エラー 1314）"* ]]' _ "$box"
check "and no input error" bash -c '[[ "$1" != *入力ミス* && "$1" != *半角文字* ]]' _ "$box"
shot 91-datetime-refused
answer OK
sleep 0.5
check "the message closes" no_message_box 500
check "the dialog stays for another try" test -n "$(probe window "日付と日時の変更" 2000)"
check "the clock runs on" test -n "$(probe clock 2000)"
wall_after=$(date +%s) up_after=$(cut -d. -f1 /proc/uptime)
check "this machine's clock is untouched (wall $((wall_after - wall_before)) s, uptime $((up_after - up_before)) s)" \
    test $(( (wall_after - wall_before) - (up_after - up_before) )) -ge -2 -a $(( (wall_after - wall_before) - (up_after - up_before) )) -le 2
click_control "日付と日時の変更" Button "キャンセル"
check "キャンセル closes the dialog" closes "日付と日時の変更"
menu Up Return
check "a later 終了 ends the program" waited_exit "$clock_pid" 15
