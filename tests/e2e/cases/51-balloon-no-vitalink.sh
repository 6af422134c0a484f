# No vitalink.dll in the program folder and the pointer resting on the clock:
# the balloon's opening asks once whether to go on; はい by Enter with the
# pointer left there, and the program runs on, never with more than one
# message box at a time, until 終了 ends it as usual, writing the exit date.
dir=$(fresh_folder no-vitalink)
sample_seen "$dir" アクティブウインドウへの移動=0
rm -f "$dir/vitalink.dll"
start_clock "$dir"
set -- $(clock_rect)
xdotool mousemove $(( $1 + 33 )) $(( $2 + 11 ))
box=$(probe message-box 5000)
check "the balloon's opening asks whether to go on" bash -c '[[ "$1" == *vitalink.dll*続けますか* ]]' _ "$(echo "$box" | field text)"
boxes() { probe count-message-boxes | field count; }
sleep 2
check "while it waits, no second message comes ($(boxes))" test "$(boxes)" = 1
xdotool key Return
most=0
for _ in $(seq 5); do
    sleep 2
    n=$(boxes); [ "${n:-0}" -gt "$most" ] && most=$n
done
check "over 10 s with the pointer on the clock, at most one message box at a time (saw $most)" test "$most" -le 1
check "the program still runs 10 s later" kill -0 "$clock_pid"
menu Up Return
check "終了 ends it" waited_exit "$clock_pid" 15
check "writing the exit date" test "$(ini_get "$dir" 終了時の日付)" = "$(date +%Y%m%d)"
