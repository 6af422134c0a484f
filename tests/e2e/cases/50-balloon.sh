# The pointer resting on the clock opens the information balloon beside it,
# refreshed every second while it rests, closed when the pointer leaves; near
# the lower right corner it opens to the left, raised.
dir=$(fresh_folder balloon)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
set -- $(probe clock 20000 | field rect); cl=$1 ct=$2 cr=$3 cb=$4
xdotool mousemove $(( cl + 33 )) $(( ct + 11 ))
info=$(probe window "Morix - 情報" 2500)
check "within two seconds of resting on the clock, the balloon stands" test -n "$info"
check "it is 280 x 140" test "$(echo "$info" | field size)" = "280 140"
check "right of the clock, level with its top" test "$(echo "$info" | field rect)" = "$cr $ct $(( cr + 280 )) $(( ct + 140 ))"
check "it is topmost" test "$(echo "$info" | field topmost)" = 1
check "it is shaped" test "$(echo "$info" | field region)" = complex
text=$(control_text "Morix - 情報" RichEdit50W)
check "its text holds the lines in order" bash -c '[[ "$1" == "[CPU稼働率]  "*%"\r\n[ｼｽﾃﾑﾘｿｰｽ使用率]  "*%"\r\n[メモリー使用率]  "*%"\r\n["*"\r\n[空容量]  "* ]]' _ "$text"
sleep 1
shot 50-balloon
crop 50-balloon "$shots/50-balloon-crop.png" "$cl" "$ct" $(( cr + 280 )) $(( ct + 140 ))
sleep 2
check "it stays while the pointer rests" probe window "Morix - 情報" 500
xdotool mousemove $(( cr + 400 )) $(( ct + 300 ))
gone_balloon() { local i; for i in $(seq 30); do probe window "Morix - 情報" 100 >/dev/null || return 0; sleep 0.1; done; return 1; }
check "the pointer gone from clock and balloon, it closes" gone_balloon
check "no message box came up" no_message_box 500
stop_all

# Home in the lower right corner: the balloon opens on the left, raised.
dir=$(fresh_folder balloon-corner)
sample_seen "$dir" アクティブウインドウへの移動=0 "起動時のLeft=$(( (sw - 66) * 15 ))" "起動時のTop=$(( (sh - 22) * 15 ))"
start_clock "$dir"
set -- $(probe clock 20000 | field rect); cl=$1 ct=$2
xdotool mousemove $(( cl + 33 )) $(( ct + 11 ))
info=$(probe window "Morix - 情報" 2500)
check "in the lower right corner it stands left of the clock, raised" test "$(echo "$info" | field rect)" = "$(( cl - 280 )) $(( ct - 120 )) $cl $(( ct + 20 ))"
xdotool mousemove 5 5
