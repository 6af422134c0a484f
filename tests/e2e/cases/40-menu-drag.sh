# A click on the clock opens the pop-up menu; drag mode moves the clock and
# its right-click end stores the new home; "終了" ends the program.
dir=$(fresh_folder menu)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
info=$(probe clock 20000)
set -- $(echo "$info" | field rect)
cx=$(( $1 + 33 )) cy=$(( $2 + 11 ))
menu_shown() { probe popup-menu 3000 >/dev/null; }
menu_closed() {
    local i; for i in $(seq 20); do probe popup-menu 100 >/dev/null || return 0; sleep 0.1; done; return 1
}

xdotool mousemove "$cx" "$cy" click 1
check "a left click on the clock opens the pop-up menu" menu_shown
sleep 0.5
shot 40-menu
xdotool key Escape
check "Escape closes it" menu_closed
xdotool mousemove "$((cx - 14))" "$cy" click 3
check "a right click on the hour clip opens it too" menu_shown
xdotool key Escape

# "ドラッグモード" is the item above "終了".
xdotool mousemove "$cx" "$cy" click 1
# The menu takes keys a moment after it shows (as menu() in e2e.sh waits).
menu_shown && sleep 0.3
xdotool key Up Up Return
sleep 0.5
drag "$cx" "$cy" 120 60
moved=$(probe clock | field rect)
check "dragging moves the clock by the dragged distance" test "$moved" = "$(( $1 + 120 )) $(( $2 + 60 )) $(( $3 + 120 )) $(( $4 + 60 ))"
shot 40-dragged
set -- $moved
xdotool mousemove "$(( $1 + 33 ))" "$(( $2 + 11 ))" click 3
sleep 1
check "the right click ends drag mode and stores the new home (left)" test "$(ini_get "$dir" 起動時のLeft)" = "$(( $1 * 15 ))"
check "... and top" test "$(ini_get "$dir" 起動時のTop)" = "$(( $2 * 15 ))"

xdotool mousemove "$(( $1 + 33 ))" "$(( $2 + 11 ))" click 1
menu_shown && sleep 0.3
xdotool key Up Return
check "終了 ends the program" waited_exit "$clock_pid" 15
check "the exit date is today" test "$(ini_get "$dir" 終了時の日付)" = "$(date +%Y%m%d)"
check "the home stays where it was dropped" test "$(ini_get "$dir" 起動時のLeft)" = "$(( $1 * 15 ))"
