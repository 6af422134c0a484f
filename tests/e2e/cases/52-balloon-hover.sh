# The pointer coming to rest on the clock opens the balloon after the
# system's hover time (400 ms), whatever the phase of the clock's second:
# twelve rests, each a twelfth of a second later after a tick than the one
# before (a tick is seen as the moment the balloon closes), on the face and
# on a clip by turns. The balloon is the one the tick opens.
dir=$(fresh_folder balloon-hover)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
set -- $(probe clock 20000 | field rect); cl=$1 ct=$2 cr=$3
now_ms() { date +%s%3N; }
xdotool mousemove $(( cl + 33 )) $(( ct + 11 ))
probe window "Morix - 情報" 2500 >/dev/null  # open, so that the first closing is a tick's
quick=0 delays=
for k in $(seq 0 11); do
    xdotool mousemove 5 5
    tick=$(probe vanishes "Morix - 情報" 3000 | field at)
    [ -n "$tick" ] || tick=$(now_ms)
    # The watcher is started first: Wine takes a while to start a program.
    probe appears "Morix - 情報" 4000 > "$work/hover-$k" &
    watcher=$!
    target=$(( tick + 2000 + k * 1000 / 12 ))
    while [ "$(now_ms)" -lt "$target" ]; do sleep 0.005; done
    x=$(( k % 2 ? cl + 33 : cl + 12 ))  # the face between the clips, or the hour clip
    moved=$(now_ms); xdotool mousemove "$x" $(( ct + 11 ))
    wait "$watcher"
    seen=$(field at < "$work/hover-$k")
    delay=$(( ${seen:-$(( moved + 9999 ))} - moved ))
    delays="$delays $delay"
    [ "$delay" -le 500 ] && quick=$(( quick + 1 ))
done
# How soon is a measurement, printed for the record and not asserted: a
# loaded machine moves it (the target is at most 500 ms in 11 of 12).
echo "# balloon after resting (ms, tick phase 0/12 .. 11/12 of a second):$delays; within 500 ms: $quick of 12"
seen_all() { for k in $(seq 0 11); do [ -n "$(field at < "$work/hover-$k")" ] || return 1; done; }
check "a rest in each of the 12 phases opens the balloon" seen_all
info=$(probe window "Morix - 情報" 500)
check "right of the clock, level with its top, as the tick places it" test "$(echo "$info" | field rect)" = "$cr $ct $(( cr + 280 )) $(( ct + 140 ))"
check "it is shaped" test "$(echo "$info" | field region)" = complex
text=$(control_text "Morix - 情報" RichEdit50W)
check "its lines are the tick's" bash -c '[[ "$1" == "[CPU稼働率]  "*%"\r\n[ｼｽﾃﾑﾘｿｰｽ使用率]  "*%"\r\n[メモリー使用率]  "*%"\r\n["*"\r\n[空容量]  "* ]]' _ "$text"
sleep 1.2
check "it stays over the next tick while the pointer rests" probe window "Morix - 情報" 500
xdotool mousemove 5 5
check "off the clock and balloon, it closes" closes "Morix - 情報"
check "no message box came up" no_message_box 500
stop_all
