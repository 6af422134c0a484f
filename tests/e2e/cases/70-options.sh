# The basic options dialog from the menu: beside the clock, in Japanese, the
# defaults shown; the chime trial and the design preview; OK stores the
# choices clicked in the lists and the clock comes back with them; Enter
# presses nothing; Escape and Cancel write nothing.
dir=$(fresh_folder options)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
set -- $(probe clock 20000 | field rect); cl=$1 ct=$2 cr=$3
menu Down Down Right Return
dlg=$(probe window "オプション" 5000)
check "基本オプション opens the dialog オプション" test "$(echo "$dlg" | field title)" = "オプション"
set -- $(echo "$dlg" | field rect)
check "right of the clock, level with it" test "$1 $2" = "$cr $ct"
check "the clock takes no input meanwhile" test "$(probe clock | field enabled)" = 0
ctl=$(controls "オプション")
ticked() { echo "$ctl" | grep -q "|$1|.*check=1"; }
for box in "過ぎた日の備忘録（.rtfファイル）は自動的に削除する" ".rtfファイルがある場合、備忘録を自動的に表示する" \
           "Morix の起動時毎に表示する" "アラームを鳴らす" "1時間毎に鳴らす"; do
    check "ticked by default: $box" ticked "$box"
done
selected() {  # selected <item>: some list box has it selected
    echo "$ctl" | sed 's/^ *//' | awk -F'|' -v i="$1" '$1 == "ListBox" {
        sub("selected=", "", $5); sub("items=", "", $6); n = split($6, items, ",")
        if ($5 >= 0 && items[$5 + 1] == i) found = 1 } END { exit !found }'
}
for item in Tidewalk lt37xga.mid Ellip01; do check "selected by default: $item" selected "$item"; done
sleep 0.5
shot 70-options
crop 70-options "$shots/70-options-crop.png" "$@"
state() { controls "オプション" | sed 's/^ *//' | awk -F'|' -v c="$1" '$1 == "Button" && $2 == c { print $4; exit }'; }
click_control "オプション" Button Play
sleep 1.5
check "Play with no sound device: Play comes back" test "$(state Play)" = ve
check "and OK too" test "$(state OK)" = ve
click_control "オプション" Button "ﾌﾟﾚﾋﾞｭｰ"
sleep 0.5
check "the design preview disables OK" test "$(state OK)" = v-
sleep 2.5
check "for two seconds" test "$(state OK)" = ve
for item in Lantern kirari.mid Cloud01; do click_item "オプション" "$item"; sleep 0.3; done
click_control "オプション" Button OK
sleep 2
check "OK closes the dialog" no_window "オプション"
check "it stored the design Lantern" test "$(ini_get "$dir" Aviディレクトリ名)" = Lantern
check "the chime kirari.mid" test "$(ini_get "$dir" チャイムファイル名)" = kirari.mid
check "the frame Cloud01" test "$(ini_get "$dir" 吹き出しのディレクトリ名)" = Cloud01
set -- $(probe clock 5000 | field rect)
check "the clock is back, enabled" test "$(probe clock | field enabled)" = 1
shot 70-lantern
# The Lantern face is amber where Tidewalk is teal.
rgb=$(convert "$shots/70-lantern.png" -crop 50x14+$(( $1 + 8 ))+$(( $2 + 4 )) -resize 1x1\! -format '%[fx:int(255*r)] %[fx:int(255*b)]' info: 2>/dev/null)
check "showing the Lantern face ($rgb)" bash -c 'set -- $1; [ "$1" -gt "$2" ]' _ "$rgb"

# The keyboard alone, right after the menu: Enter, then Escape.
menu Down Down Right Return
probe window "オプション" 5000 >/dev/null && sleep 0.5
ini_keep "$dir"
in_front=$(active_window)
xdotool key Return
sleep 1
check "Enter presses no button: the dialog stays (the active window was: $in_front)" probe window "オプション" 100
check "and nothing is written" ini_unchanged "$dir"
xdotool key Escape
check "Escape closes it" closes "オプション"
check "and writes nothing" ini_unchanged "$dir"

menu Down Down Right Return
probe window "オプション" 5000 >/dev/null && sleep 0.5
click_control "オプション" Button "キャンセル"
check "a click on キャンセル closes it" closes "オプション"
check "and writes nothing" ini_unchanged "$dir"
menu Up Return
check "終了 afterwards ends the program" waited_exit "$clock_pid" 15
check "and still writes the exit date" test "$(ini_get "$dir" 終了時の日付)" = "$(date +%Y%m%d)"
