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
rect=$(controls "$memo_title" | sed 's/^ *//' | awk -F'|' 'tolower($1) == "richedit50w" { print $3; exit }')
memo_text() { control_text "$memo_title" RichEdit50W; }
typed() {  # true once the box shows the text, within 2 s
    local i; for i in $(seq 20); do [[ "$(memo_text)" == *"lost no more"* ]] && return 0; sleep 0.1; done; return 1
}
# Typed after a click into the box; typed again should the keyboard not
# have been there yet (X hands it over late at times).
for attempt in 1 2; do
    click_at_centre "$rect"
    sleep 0.5
    xdotool type --delay 40 "lost no more"
    typed && break
done
check "the text is typed into the memo" typed
set -- $(clock_rect)
on_clock="$(( $1 + 33 )) $(( $2 + 11 ))"
xdotool mousemove $on_clock
box=$(probe message-box 5000)
check "the balloon's opening asks whether to go on" bash -c '[[ "$1" == *vitalink.dll* ]]' _ "$(echo "$box" | field text)"
answer いいえ
check "いいえ ends the program" waited_exit "$clock_pid" 15
check "the typed text is in the memo's file" grep -q "lost no more" "$dir/Tickdata/$today.rtf"
check "and the exit date is not written" test "$(ini_get "$dir" 終了時の日付)" = "<missing>"
