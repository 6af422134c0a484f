# A 2560 x 1440 screen: homes right of pixel 2184 are beyond 16 bits of
# twips. With following off the clock dragged to x = 2400 starts there next
# time with no prompt; with following on, notepad at the right edge carries
# the clock, and with only the desktop in front it goes home with no error.
dir=$(fresh_folder wide)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
set -- $(clock_rect)
mx=$(( ($1 + $3) / 2 )) my=$(( ($2 + $4) / 2 ))
menu Up Up Return   # ドラッグモード
sleep 0.5
drag "$mx" "$my" $(( 2400 - $1 )) 0 20
set -- $(clock_rect)
check "dragged to x = 2400" test "$1" = 2400
xdotool mousemove $(( $1 + 33 )) $(( $2 + 11 )) click 3
sleep 1
check "the home beyond 16 bits is stored" test "$(ini_get "$dir" 起動時のLeft)" = 36000
probe close-clock; waited_exit "$clock_pid" 15
start_clock "$dir"
set -- $(clock_rect)
check "the next start shows the clock there" test "$1" = 2400
check "with no prompt" no_message_box 2000
stop_all

dir=$(fresh_folder wide-follow)
sample_seen "$dir"
start_notepad
probe window メモ帳 20000 >/dev/null
probe move メモ帳 1760 100 800 600
np=$(probe window メモ帳 | field rect)
start_clock "$dir"
check "notepad at the right edge carries the clock ($(on_title_bar "$np"))" settles_at "$(on_title_bar "$np")" 4
# Notepad gone, nothing but the desktop is in front.
kill "$notepad_pid" 2>/dev/null; wait "$notepad_pid" 2>/dev/null
check "the desktop in front sends it home" settles_at "$(home_rect)" 6
check "with no error" no_message_box 1000
check "and it still runs" probe clock 2000
