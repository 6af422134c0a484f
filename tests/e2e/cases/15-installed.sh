# Where the user's things are kept: from a program folder nobody may write
# (as Program Files is for a standard user; made immutable, which holds even
# for root) they go to %APPDATA%\Morix, from a writable one beside Morix.exe;
# either way the sample ticked away, today's memo and an option are there at
# the next start. Then the box for starting at logon: the user's Run key
# names this Morix.exe, and a new Wine session's logon starts the clock.
appdata="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Morix"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
memo_title="Morix - 備忘録" picker_title="備忘録（新規・開く）"
today=$(date +%Y%m%d)
logon_box="Windows の起動時に Morix を起動する"
box_ticked() { controls "オプション" | grep -q "|$1|.*check=1"; }
memo_text() { control_text "$memo_title" RichEdit50W; }
# Today's memo from the picker, by clicks; the text typed after a click into it.
write_todays_memo() {
    local text=$1
    menu Down Right Return
    probe window "$picker_title" 5000 >/dev/null && sleep 0.5
    click_control "$picker_title" Button OK
    probe window "$memo_title" 5000 >/dev/null && sleep 0.5
    type_into "$memo_title" RichEdit50W "$text"
}
close_memo() {
    set -- $(probe window "$memo_title" | field rect)
    xdotool mousemove $(( $1 + 140 )) $(( $2 + 122 )) click 1   # the close picture
    closes "$memo_title"
}
wine reg delete "$run_key" /v Morix /f >/dev/null 2>&1

for where in locked writable; do
    rm -rf "$appdata"
    dir=$(fresh_folder "installed-$where")
    if [ $where = locked ]; then
        data=$appdata
        chattr -R +i "$dir" || echo "chattr failed: the program folder stays writable"
        check "$where: the copy cannot be written" bash -c '! touch "$1/x" 2>/dev/null' _ "$dir"
    else
        data=$dir
    fi
    before=$(cd "$dir" && find . -type f | sort | xargs md5sum)
    start_clock "$dir"
    check "$where: the clock starts" probe clock 100
    check "$where: without a message" no_message_box 1500
    # The sample at the first start, ticked away.
    probe window "$memo_title" 5000 >/dev/null && sleep 0.5
    click_control "$memo_title" Button 今後表示しない
    sleep 0.3
    check "$where: the sample closed by its picture" close_memo
    check "$where: 今後表示しない kept" test "$(ini_get "$data" 起動時のSample.rtf)" = 1
    # Today's memo made by clicks in the picker, typed into, closed.
    write_todays_memo "dentist at 3"
    check "$where: today's memo closed" close_memo
    check "$where: the memo is in $data/Tickdata" grep -q "dentist at 3" "$data/Tickdata/$today.rtf"
    # An option changed in 基本オプション and confirmed.
    menu Down Down Right Return
    probe window "オプション" 5000 >/dev/null && sleep 0.5
    click_control "オプション" Button "過ぎた日の備忘録（.rtfファイル）は自動的に削除する"
    click_control "オプション" Button OK
    check "$where: OK closes the dialog" closes "オプション"
    check "$where: with no message" no_message_box 1000
    check "$where: the option kept" test "$(ini_get "$data" 自動削除)" = 0
    menu Up Return
    check "$where: 終了 ends it" waited_exit "$clock_pid" 15
    check "$where: the exit date written" test "$(ini_get "$data" 終了時の日付)" = "$today"

    # The next start: today's memo instead of the sample, the option as left.
    start_clock "$dir"
    check "$where, next start: today's memo shows by itself" probe window "$memo_title" 5000
    sleep 0.5
    check "$where, next start: with its text" bash -c '[[ "$1" == *"dentist at 3"* ]]' _ "$(memo_text)"
    shot "15-$where-memo"
    close_memo >/dev/null
    menu Down Down Right Return
    probe window "オプション" 5000 >/dev/null && sleep 0.5
    check "$where, next start: the option unticked" bash -c '! grep -q "|過ぎた日の備忘録（.rtfファイル）は自動的に削除する|.*check=1" <<< "$1"' \
        _ "$(controls "オプション")"
    xdotool key Escape; closes "オプション"
    probe close-clock >/dev/null; waited_exit "$clock_pid" 15

    if [ $where = locked ]; then
        check "locked: nothing written beside the program" \
            test "$(cd "$dir" && find . -type f | sort | xargs md5sum)" = "$before"
        chattr -R -i "$dir"
    else
        check "writable: Morix.ini and Tickdata beside Morix.exe" test -f "$dir/Morix.ini" -a -f "$dir/Tickdata/$today.rtf"
        check "writable: no %APPDATA%\\Morix made" test ! -e "$appdata"
    fi
    stop_all
done

# Start at logon: the box clicked and OK write the user's Run key.
dir=$(fresh_folder logon)
sample_seen "$dir" アクティブウインドウへの移動=0
exe=$(winepath -w "$dir/Morix.exe" 2>/dev/null)
start_clock "$dir"
menu Down Down Right Return
probe window "オプション" 5000 >/dev/null && sleep 0.5
check "logon: the box is there, unticked" bash -c '[[ "$1" == *"|$2|"*"check=0"* ]]' _ "$(controls "オプション")" "$logon_box"
shot 15-options-logon
click_control "オプション" Button "$logon_box"
click_control "オプション" Button OK
closes "オプション"
run_value() { wine reg query "$run_key" /v Morix 2>/dev/null | tr -d '\r' | sed -n 's/^ *Morix *REG_SZ *//p'; }
check "logon: ticked and OK, the Run key names this Morix.exe ($(run_value))" test "$(run_value)" = "\"$exe\""
probe close-clock >/dev/null; waited_exit "$clock_pid" 15
# A new session: the user's logon (wineboot) runs the Run key.
stop_all
wineboot >/dev/null 2>&1 &
pids+=($!)
check "logon: a new session starts the clock by itself" probe clock 30000
xdotool mousemove 6 6 mousemove 5 5; sleep 1.2
menu Down Down Right Return
probe window "オプション" 5000 >/dev/null && sleep 0.5
check "logon: its box shows ticked" box_ticked "$logon_box"
click_control "オプション" Button "$logon_box"
click_control "オプション" Button OK
closes "オプション"
check "logon: unticked and OK, the value is gone" test -z "$(run_value)"
probe close-clock >/dev/null
for _ in $(seq 50); do probe clock 100 >/dev/null || break; sleep 0.2; done
wine reg delete "$run_key" /v Morix /f >/dev/null 2>&1
