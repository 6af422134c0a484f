# An error that nothing handles ends the program with the run-time's
# message; the open memo's typed text is in its file before that message
# waits for an answer. The route a user finds: no vitalink.dll, the pointer
# rests on the clock, the balloon's prompt answered はい with the Enter key
# while the pointer stays there, and the balloon's next refresh fails with
# nothing to catch it.
today=$(date +%Y%m%d)
dir=$(fresh_folder memo-fatal)
sample_seen "$dir" アクティブウインドウへの移動=0
rm -f "$dir/vitalink.dll"
: > "$dir/Tickdata/$today.rtf"
start_clock "$dir"
memo_title="Morix - 備忘録"
probe window "$memo_title" 5000 >/dev/null
rect=$(controls "$memo_title" | sed 's/^ *//' | awk -F'|' 'tolower($1) == "richedit50w" { print $3; exit }')
click_at_centre "$rect"
sleep 0.5
xdotool type --delay 40 "lost no more"
sleep 0.3
set -- $(clock_rect)
on_clock="$(( $1 + 33 )) $(( $2 + 11 ))"
xdotool mousemove $on_clock
box=$(probe message-box 5000)
check "the balloon's opening asks whether to go on" bash -c '[[ "$1" == *vitalink.dll* ]]' _ "$(echo "$box" | field text)"
xdotool key Return
sleep 0.5
box=$(probe message-box 5000)
check "the next refresh ends the program with the run-time's message" \
    bash -c '[[ "$1" == "実行時エラー '"'"'53'"'"'"* ]]' _ "$(echo "$box" | field text)"
check "the typed text is in the memo's file while the message waits" grep -q "lost no more" "$dir/Tickdata/$today.rtf"
answer OK
check "OK ends the program" waited_exit "$clock_pid" 15
