# Opening and closing the menu while the clock rides on notepad leaves notepad
# in front and the clock on its title bar.
dir=$(fresh_folder menu-over-notepad)
sample_seen "$dir"
start_notepad
probe window メモ帳 20000 >/dev/null
start_clock "$dir"
probe clock 20000 >/dev/null
sleep 2.5
before=$(probe clock | field rect)
np=$(probe window メモ帳 | field rect)
check "the clock rides on notepad ($(on_title_bar "$np"))" test "$before" = "$(on_title_bar "$np")"
set -- $before
xdotool mousemove "$(( $1 + 33 ))" "$(( $2 + 11 ))" click 1
check "the menu opens" probe popup-menu 3000
xdotool key Escape
sleep 3
check "after the menu, notepad is still in front" bash -c '[[ "$1" == *メモ帳* ]]' _ "$(probe metrics | field foreground)"
check "and the clock is still on its title bar" test "$(probe clock | field rect)" = "$before"
