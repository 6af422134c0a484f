# Wine's notepad in front: the clock sits on its title bar, left of the
# caption buttons, follows it when it moves, and goes home when it becomes too
# small or closes.
dir=$(fresh_folder follow)
sample_seen "$dir"
start_notepad
np=$(probe window メモ帳 20000 | field rect)
start_clock "$dir"
probe clock 20000 >/dev/null
check "within two seconds the clock is on notepad's title bar ($(on_title_bar "$np"))" settles_at "$(on_title_bar "$np")" 4
set -- $np
check "the record holds notepad's rectangle" test "$(ini_get "$dir" アクティブウィンドウのLeft) $(ini_get "$dir" アクティブウィンドウのTop) $(ini_get "$dir" アクティブウィンドウのRight) $(ini_get "$dir" アクティブウィンドウのBottom)" = "$np"
check "and its title" bash -c '[[ "$1" == *メモ帳* ]]' _ "$(ini_get "$dir" アクティブウィンドウのタイトル)"
shot 30-on-notepad
set -- $(on_title_bar "$np")
convert "$shots/30-on-notepad.png" -crop 300x60+$(( $1 - 200 ))+0 -scale 300% "$shots/30-on-notepad-zoom.png" 2>/dev/null

probe move メモ帳 150 120 700 520
np=$(probe window メモ帳 | field rect)
check "moved, the clock follows ($(on_title_bar "$np"))" settles_at "$(on_title_bar "$np")" 4
check "the record follows" test "$(ini_get "$dir" アクティブウィンドウのLeft)" = "${np%% *}"

probe move メモ帳 150 120 600 400
check "shrunk below 640 x 480, the clock goes home" settles_at "$(home_rect)" 4
check "the record is emptied" test "$(ini_get "$dir" アクティブウィンドウのLeft)" = ""
check "the clock position is home" test "$(ini_get "$dir" 現在のForm1のLeft)" = "$(( (sw * 15 - 990) / 2 ))"

probe move メモ帳 100 80 800 600
np=$(probe window メモ帳 | field rect)
check "large again, it is back on the title bar" settles_at "$(on_title_bar "$np")" 4
kill "$notepad_pid" 2>/dev/null; wait "$notepad_pid" 2>/dev/null
check "notepad closed, the clock goes home" settles_at "$(home_rect)" 6
shot 30-home-again
