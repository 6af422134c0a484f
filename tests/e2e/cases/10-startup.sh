# A fresh program folder: the clock comes up centred, 66 x 22, topmost,
# shaped; a second copy ends at once; closing it from outside is the real exit.
dir=$(fresh_folder startup)
screen=$(probe metrics | field screen)
sw=${screen% *} sh=${screen#* }
start_clock "$dir"
info=$(probe clock 20000)
check "the clock window appears" test -n "$info"
check "its class is MorixForm" test "$(echo "$info" | field class)" = MorixForm
check "it is 66 x 22" test "$(echo "$info" | field size)" = "66 22"
check "it is topmost" test "$(echo "$info" | field topmost)" = 1
check "it is visible" test "$(echo "$info" | field visible)" = 1
check "it is shaped (its region is no rectangle)" test "$(echo "$info" | field region)" = complex
check "it stays out of the taskbar" test "$(echo "$info" | field toolwindow)" = 1
# Centred: ((screen x 15 - 990) / 2) twips, to the nearest pixel.
left=$(( ( (sw * 15 - 990) / 2 + 7 ) / 15 )) top=$(( ( (sh * 15 - 330) / 2 + 7 ) / 15 ))
check "it is centred at $left,$top" test "$(echo "$info" | field rect)" = "$left $top $((left + 66)) $((top + 22))"
sleep 2
shot 10-startup
convert "$shots/10-startup.png" -crop 120x60+$((left - 27))+$((top - 19)) -scale 400% "$shots/10-startup-face.png" 2>/dev/null

( cd "$dir" && timeout 30 wine Morix.exe >/dev/null 2>&1 ); rc=$?
check "a second Morix.exe ends by itself, with exit status 0 (not a crash)" test "$rc" -eq 0
check "and shows no message box" no_message_box 1500
check "and shows no window of its own" test "$(probe count-clocks | field count)" = 1

probe close-clock
check "closed from outside, it ends" waited_exit "$clock_pid" 15
check "the exit date is today" test "$(ini_get "$dir" 終了時の日付)" = "$(date +%Y%m%d)"
for key in アクティブウィンドウのタイトル アクティブウィンドウのLeft アクティブウィンドウのRight \
           アクティブウィンドウのTop アクティブウィンドウのBottom 現在のForm1のLeft 現在のForm1のTop; do
    check "$key is emptied" test "$(ini_get "$dir" "$key")" = ""
done
