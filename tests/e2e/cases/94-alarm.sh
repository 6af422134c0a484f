# An alarm made in the アラーム dialog by clicks and keys, two minutes ahead
# of the faked wall clock, with a Japanese message: at its minute the sound
# opens on the sound device (Wine's MCI trace) and "Morix - アラーム" shows the
# message beside the clock while notepad keeps the keyboard; snoozed, it
# comes back five minutes later; stopped, it closes. Stopped and started
# again after the next due time, the clock tells the missed alarm once.
stamp="$work/94-alarm.faketime"
check "libfaketime is installed (scripts/deps.sh)" test -n "$faketime_lib"
if [ -n "$faketime_lib" ]; then
    stop_all
    now=$(date +%s)
    # The faked wall clock starts at second 45 of a minute.
    offset=$(( 45 - now % 60 ))
    printf '%+d\n' "$offset" > "$stamp"
    due=$(date -d "@$(( now + offset + 120 ))" +%H:%M)
    dir=$(fresh_folder alarm)
    sample_seen "$dir" アクティブウインドウへの移動=0
    mci="$work/94-alarm.mci"
    (cd "$dir" && LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$stamp" FAKETIME_NO_CACHE=1 \
        FAKETIME_DONT_FAKE_MONOTONIC=1 WINEDEBUG=+mci exec wine Morix.exe >/dev/null 2>"$mci") &
    clock_pid=$!; pids+=("$clock_pid")
    check "the clock shows" probe clock 40000
    xdotool mousemove 6 6 mousemove 5 5 && sleep 1.2
    start_notepad
    probe window メモ帳 20000 >/dev/null
    # Beside the clock, not over it: the clock does not follow here.
    probe move メモ帳 10 10 500 350
    set -- $(clock_rect); cr=$3 ct=$2

    menu Up Up Up Up Return
    dlg=$(probe window "アラーム" 5000)
    check "アラーム... opens the dialog" test -n "$dlg"
    set -- $(echo "$dlg" | field rect)
    check "beside the clock" test "$1" = "$cr"
    check "the clock is disabled meanwhile" test "$(probe clock | field enabled)" = 0
    click_control "アラーム" Button "追加"
    sleep 0.5
    # The text boxes as they are read, top to bottom and left to right: hour,
    # minute, days, date, message.
    edit_rect() {
        controls "アラーム" | sed 's/^ *//' | awk -F'|' 'tolower($1) == "edit" { split($3, r, " "); print r[2], r[1], $3 }' |
            sort -n -k1,1 -k2,2 | sed -n "$1p" | cut -d' ' -f3-
    }
    click_at_centre "$(edit_rect 1)"; xdotool key End BackSpace BackSpace BackSpace; xdotool type "${due%%:*}"
    click_at_centre "$(edit_rect 2)"; xdotool key End BackSpace BackSpace BackSpace; xdotool type "${due##*:}"
    # Japanese through xdotool drops a character now and then under Wine:
    # typed again, slower, until the box shows it.
    for attempt in 1 2 3; do
        click_at_centre "$(edit_rect 5)"; sleep 0.3; xdotool key End shift+Home Delete
        xdotool type --delay $(( 80 * attempt )) "会議の時間です"
        sleep 0.5
        [[ "$(controls アラーム)" == *"|会議の時間です|"* ]] && break
    done
    check "the message was typed" bash -c '[[ "$1" == *"|会議の時間です|"* ]]' _ "$(controls アラーム)"
    sleep 0.3
    shot 94-alarm-dialog
    set -- $(echo "$dlg" | field rect)
    crop 94-alarm-dialog "$shots/94-alarm-dialog-crop.png" "$@"
    xdotool key Return
    check "Enter stores it and closes the dialog" closes "アラーム"
    check "as one line of the settings file" test "$(ini_get "$dir" アラーム1)" = "1|$due|毎日|lt37xga.mid|会議の時間です"

    # Notepad in front, with the keyboard.
    set -- $(probe window メモ帳 | field rect)
    xdotool mousemove $(( ($1 + $3) / 2 )) $(( $2 + 10 )) click 1
    sleep 0.5
    check "notepad is in front" bash -c '[[ "$1" == *メモ帳* ]]' _ "$(probe metrics | field foreground)"
    w=$(probe window "Morix - アラーム" 150000)
    check "at $due the alarm window opens" test -n "$w"
    sleep 1
    check "the sound opens on the sound device" grep -q "lt37xga.mid" "$mci"
    check "it shows the message" bash -c '[[ "$1" == *"会議の時間です"* ]]' _ "$(control_text "Morix - アラーム" Static)"
    check "notepad stays in front" bash -c '[[ "$1" == *メモ帳* ]]' _ "$(probe metrics | field foreground)"
    check "and no window of the clock took the keyboard" test -z "$(active_window)"
    set -- $(echo "$w" | field rect)
    check "beside the clock, where a balloon goes" test "$1 $2" = "$cr $ct"
    shot 94-alarm-window
    crop 94-alarm-window "$shots/94-alarm-window-crop.png" "$@"

    click_control "Morix - アラーム" Button "5分後にもう一度"
    check "5分後にもう一度 closes it" closes "Morix - アラーム"
    # Four and a half minutes on at once: the wall clock alone moved, the
    # snooze still comes at its minute.
    offset=$(( offset + 270 ))
    printf '%+d\n' "$offset" > "$stamp"
    check "five minutes later it is back" probe window "Morix - アラーム" 90000
    sleep 1
    opens() { grep -ac 'verb=L"open" on dev=.*lt37xga.mid' "$mci"; }
    check "with its sound again" test "$(opens)" = 2
    click_control "Morix - アラーム" Button "停止"
    check "停止 closes it" closes "Morix - アラーム"
    # A minute and more on: unanswered, it would sound again now.
    offset=$(( offset + 70 ))
    printf '%+d\n' "$offset" > "$stamp"
    sleep 3
    check "and no more sound comes" test "$(opens)" = 2
    check "a daily alarm stays on" test "$(ini_get "$dir" アラーム1)" = "1|$due|毎日|lt37xga.mid|会議の時間です"

    xdotool mousemove $(( cr - 33 )) $(( ct + 11 )) click 1
    probe popup-menu 3000 >/dev/null && sleep 0.3 && xdotool key Up Return
    waited_exit "$clock_pid" 10
    check "the exit keeps the minute last looked at" test -n "$(ini_get "$dir" アラームの確認時刻)"
    stop_all
    # A day and two minutes on: the alarm fell due while the clock was stopped.
    offset=$(( offset - 340 + 86400 + 120 ))
    printf '%+d\n' "$offset" > "$stamp"
    faked "$stamp" start_clock "$dir"
    w=$(probe window "Morix - アラーム" 10000)
    check "started again, the missed alarm is told" test -n "$w"
    check "as missed, with its time" bash -c '[[ "$1" == *"$2 のアラーム（鳴らせませんでした）"* ]]' _ "$(control_text "Morix - アラーム" Static)" "$due"
    sleep 0.5
    shot 94-alarm-missed
    click_control "Morix - アラーム" Button "停止"
    check "answered, it closes" closes "Morix - アラーム"
    check "and is not told again" no_window "Morix - アラーム" 3000
fi
