# The error prompt's いいえ ends the program at once, with no unload
# handling; the open memo's typed text is in its file all the same. The
# route a user finds: no vitalink.dll, the pointer rests on the clock, and
# the balloon's prompt is answered いいえ (its はい goes on, 51-*).
today=$(date +%Y%m%d)
dir=$(fresh_folder memo-fatal)
sample_seen "$dir" アクティブウインドウへの移動=0
rm -f "$dir/vitalink.dll"
: > "$dir/Tickdata/$today.rtf"
start_clock "$dir"
memo_title="Morix - 備忘録"
probe window "$memo_title" 5000 >/dev/null
# Wine takes the pointer for the screen's middle until it moves, where the
# clock's home is: a prompt up already is that balloon's, noted and
# answered はい (it goes on) as a user would, not failed.
early=$(probe message-box 300 | field text)
if [ -n "$early" ]; then
    misses+=("$case_name: a message before the pointer reached the clock: ${early:0:60}")
    answer はい; sleep 1.2
fi
check "the text is typed into the memo" type_into "$memo_title" RichEdit50W "lost no more"
set -- $(clock_rect)
on_clock="$(( $1 + 33 )) $(( $2 + 11 ))"
xdotool mousemove $on_clock
box=$(probe message-box 5000)
check "the balloon's opening asks whether to go on" bash -c '[[ "$1" == *vitalink.dll* ]]' _ "$(echo "$box" | field text)"
answer いいえ
check "いいえ ends the program" waited_exit "$clock_pid" 15
check "the typed text is in the memo's file" grep -q "lost no more" "$dir/Tickdata/$today.rtf"
check "and the exit date is not written" test "$(ini_get "$dir" 終了時の日付)" = "<missing>"
