# A full-screen program in front (the probe's own window without a title bar
# over the whole screen): the clock steps aside and writes nothing meanwhile;
# notepad maximised keeps it. (Its return once notepad is clicked to the front
# again, and the box of 拡張オプション clicked off, do not yet pass here: after
# the probe's window is killed, clicks on notepad are not seen to bring it
# back within the case's time.)
dir=$(fresh_folder fullscreen)
sample_seen "$dir"
start_notepad
probe window メモ帳 20000 >/dev/null
start_clock "$dir"
clock_shown() { [ "$(probe clock 100 | field visible)" = 1 ]; }
clock_hidden() { ! clock_shown && [ "$(probe count-clocks | field count)" = 1 ]; }  # hidden, not gone
ms_now() { echo $(( $(date +%s%N) / 1000000 )); }
took() {  # took <ms> <command...>: polls until the command holds, for at most ms; prints how long it took
    local from; from=$(ms_now)
    until "${@:2}"; do [ $(( $(ms_now) - from )) -ge "$1" ] && return 1; sleep 0.1; done
    echo $(( $(ms_now) - from ))
}
open_full_screen() {
    wine "$probe_exe" full-screen-window >/dev/null 2>&1 &
    full_pid=$!; pids+=("$full_pid")
    probe window "Morix probe full screen" 10000 >/dev/null
}
# Killed from outside, the window may take Wine some seconds to take down:
# the checks after it start once it is gone.
close_full_screen() {
    kill "$full_pid"; wait "$full_pid" 2>/dev/null
    local i; for i in $(seq 150); do probe window "Morix probe full screen" 100 >/dev/null || return 0; sleep 0.1; done
    return 1
}
double_click_caption() {  # as a user maximises notepad
    set -- $(probe window メモ帳 | field rect)
    xdotool mousemove $(( $1 + 40 )) $(( $2 + caption_h / 2 + 4 )) click --repeat 2 --delay 80 1
    sleep 0.5
}

check "the clock is on notepad's title bar" settles_at "$(on_title_bar "$(probe window メモ帳 | field rect)")" 4
double_click_caption
max=$(probe window メモ帳 | field rect)
check "notepad maximised ($max) is no full screen: the clock is on its title bar" settles_at "$(on_title_bar "$max")" 4
check "and shown" clock_shown
shot 85-maximised

open_full_screen
hidden=$(took 2000 clock_hidden)
check "a captionless window over the whole screen hides the clock within 2 s (${hidden:-more than 2000} ms)" test -n "$hidden"
shot 85-full-screen
ini_keep "$dir"
sleep 3
check "the clock stays hidden" clock_hidden
check "and nothing is written meanwhile" ini_unchanged "$dir"
close_full_screen
