# The extended options dialog: beside the clock with its defaults; following
# switched off stays off with notepad in front; the memo line with a
# Japanese text shows in the next balloon; Cancel writes nothing.
dir=$(fresh_folder extended)
sample_seen "$dir"
start_clock "$dir"
set -- $(probe clock 20000 | field rect); cr=$3 ct=$2
menu Down Down Right Down Return
dlg=$(probe window "拡張オプション" 5000)
check "拡張オプション opens its dialog" test -n "$dlg"
set -- $(echo "$dlg" | field rect)
check "right of the clock, level with it" test "$1 $2" = "$cr $ct"
check "the clock stays usable" test "$(probe clock | field enabled)" = 1
ctl=$(controls "拡張オプション")
ticked() { echo "$ctl" | grep -q "|$1|.*check=1"; }
for box in "Morix をアクティブウインドウのタイトルバーに移動させる" \
           "アクティブウインドウのサイズが 640×480 ピクセル未満のときは移動させない" "吹き出しを出す" "CPU稼働率" \
           "システムリソース使用率" "メモリー使用率" "電源の状態" "ディスク空容量" "FD，MO etc." "HD" "CD"; do
    check "ticked by default: $box" ticked "$box"
done
check "メモ is not" bash -c '! grep -q "|メモ|.*check=1" <<< "$1"' _ "$ctl"
sleep 0.5
shot 80-extended
crop 80-extended "$shots/80-extended-crop.png" "$@"

before=$(md5sum < "$dir/Morix.ini")
probe press "拡張オプション" "キャンセル"
sleep 1
check "キャンセル writes nothing" test "$(md5sum < "$dir/Morix.ini")" = "$before"

menu Down Down Right Down Return
probe window "拡張オプション" 5000 >/dev/null
probe press "拡張オプション" "Morix をアクティブウインドウのタイトルバーに移動させる"
probe press "拡張オプション" "メモ"
sleep 0.3
probe settext "拡張オプション" "今日は早く帰る"
probe press "拡張オプション" OK
sleep 2
check "following off is stored as 0" test "$(ini_get "$dir" アクティブウインドウへの移動)" = 0
check "with an empty size rule" test "$(ini_get "$dir" 移動を許可するウインドウサイズ)" = ""
check "the memo line's text is stored" test "$(ini_get "$dir" メモの内容)" = "今日は早く帰る"
home_now=$(clock_rect)
start_notepad
probe window メモ帳 20000 >/dev/null
sleep 3
check "notepad in front, the clock stays where it is" test "$(clock_rect)" = "$home_now"
set -- $home_now
xdotool mousemove $(( $1 + 33 )) $(( $2 + 11 ))
probe window "Morix - 情報" 3000 >/dev/null
text=$(control_text "Morix - 情報" RichEdit50W)
check "the next balloon ends with the memo line ($text)" bash -c '[[ "$1" == *"[メモ]  今日は早く帰る" ]]' _ "$text"
xdotool mousemove 5 5
