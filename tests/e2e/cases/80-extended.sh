# The extended options dialog: beside the clock with its defaults (the
# full-screen box ticked too); Tab walks
# its controls in the order they are laid out; Escape and a click on Cancel
# write nothing; following clicked off stays off with notepad in front; the
# memo line typed in Japanese shows in the next balloon.
dir=$(fresh_folder extended)
sample_seen "$dir"
start_clock "$dir"
set -- $(probe clock 20000 | field rect); cr=$3 ct=$2
title="拡張オプション"
open_extended() { menu Down Down Right Down Return; probe window "$title" 5000 >/dev/null && sleep 0.5; }
menu Down Down Right Down Return
dlg=$(probe window "$title" 5000)
check "拡張オプション opens its dialog" test -n "$dlg"
set -- $(echo "$dlg" | field rect)
# Level with the clock, or raised to end at the screen's bottom when it would
# pass it (the clock at home on a screen 800 high).
dlg_top=$ct; [ $(( ct + $4 - $2 )) -gt "$sh" ] && dlg_top=$(( sh - ($4 - $2) ))
check "right of the clock, level with it or ending at the screen's bottom" test "$1 $2" = "$cr $dlg_top"
check "the clock stays usable" test "$(probe clock | field enabled)" = 1
ctl=$(controls "$title")
ticked() { echo "$ctl" | grep -q "|$1|.*check=1"; }
for box in "Morix をアクティブウインドウのタイトルバーに移動させる" \
           "アクティブウインドウのサイズが 640×480 ピクセル未満のときは移動させない" "吹き出しを出す" "CPU稼働率" \
           "システムリソース使用率" "メモリー使用率" "電源の状態" "ディスク空容量" "FD，MO etc." "HD" "CD" \
           "全画面表示のウィンドウが手前のときは時計を隠す" "他の地域の時刻"; do
    check "ticked by default: $box" ticked "$box"
done
check "メモ is not" bash -c '! grep -q "|メモ|.*check=1" <<< "$1"' _ "$ctl"
sleep 0.5
shot 80-extended
crop 80-extended "$shots/80-extended-crop.png" "$@"

# Tab from where the dialog put the keyboard until it comes back there.
walk=$(focused) first=$walk prev=$walk
for i in $(seq 24); do
    xdotool key Tab
    # The keyboard's new place, once the probe sees it there (a reading
    # while it moves may find no control).
    for _ in $(seq 20); do sleep 0.1; f=$(focused); [ -n "$f" ] && [ "$f" != "$prev" ] && break; done
    [ "$f" = "$first" ] && break
    walk+=$'\n'"$f" prev=$f
done
# Each stop lower, or on the same row further right, than the one before.
in_layout_order() {
    awk -F'|' '{ split($3, r, " "); if (NR > 1 && (r[2] < top || (r[2] == top && r[1] <= left))) bad = 1; top = r[2]; left = r[1] }
               END { exit bad || NR < 2 }' <<< "$walk"
}
check "Tab walks the controls top to bottom, left to right" in_layout_order
# A group of option buttons is one stop, at its selected button.
check "stopping at the selected size option" bash -c '[[ "$(sed -n 2p <<< "$1")" == *"|アクティブウインドウのサイズが 640×480 ピクセル未満のときは移動させない|"* ]]' _ "$walk"
stops=$(awk -F'|' '$2 !~ /^アクティブウインドウ/ { printf "%s%s", sep, $2; sep = "," }' <<< "$walk")
# HD lies level with キャンセル and OK, CD below them, the full-screen box last.
check "through every box, キャンセル and OK ($stops)" test "$stops" = \
    "Morix をアクティブウインドウのタイトルバーに移動させる,吹き出しを出す,CPU稼働率,メモ,システムリソース使用率,他の地域の時刻,地域を選ぶ...,メモリー使用率,電源の状態,ディスク空容量,FD，MO etc.,HD,キャンセル,OK,CD,全画面表示のウィンドウが手前のときは時計を隠す"

ini_keep "$dir"
click_control "$title" Button "キャンセル"
check "a click on キャンセル closes it" closes "$title"
check "and writes nothing" ini_unchanged "$dir"

open_extended
in_front=$(active_window)
xdotool key Escape
check "right after the menu, Escape closes it (the active window was: $in_front)" closes "$title"
check "and writes nothing" ini_unchanged "$dir"

open_extended
click_control "$title" Button "Morix をアクティブウインドウのタイトルバーに移動させる"
click_control "$title" Button "メモ"
sleep 0.3
# The memo line's box: its text replaced as a user does, end to start.
replace_text "$title" Edit "今日は早く帰る"
click_control "$title" Button OK
sleep 2
check "following clicked off is stored as 0" test "$(ini_get "$dir" アクティブウインドウへの移動)" = 0
check "with an empty size rule" test "$(ini_get "$dir" 移動を許可するウインドウサイズ)" = ""
check "the memo line's text is stored" test "$(ini_get "$dir" メモの内容)" = "今日は早く帰る"
start_notepad
probe window メモ帳 20000 >/dev/null
sleep 3
check "notepad in front, the clock stays home" test "$(clock_rect)" = "$(home_rect)"
set -- $(clock_rect)
xdotool mousemove $(( $1 + 33 )) $(( $2 + 11 ))
probe window "Morix - 情報" 3000 >/dev/null
text=$(control_text "Morix - 情報" RichEdit50W)
check "the next balloon ends with the memo line ($text)" bash -c '[[ "$1" == *"[メモ]  今日は早く帰る" ]]' _ "$text"
xdotool mousemove 5 5
