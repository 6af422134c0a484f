# Another program holding Morix.ini for a moment, as a virus scanner, the
# search indexer or a backup client does (open, others not let to rename over
# it), right when オプション's OK writes: the write waits the hold out, no
# prompt comes, the dialog closes and the new value is in the file.
dir=$(fresh_folder held-settings)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
menu Down Down Right Return
probe window "オプション" 5000 >/dev/null && sleep 0.5
half_hour() { controls "オプション" | grep -q "|30分毎に鳴らす|.*check=1"; }
click_control "オプション" Button "30分毎に鳴らす"
sleep 0.3
check "a click picks 30分毎に鳴らす" half_hour
shot 74-picked
# The pointer rests on OK already, so that the click follows the start of
# the hold at once.
ok=$(control_rect "オプション" Button OK)
[ -n "$ok" ] && set -- $ok && xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
sleep 0.3
# The hand waits, ready, for the holder's first line and clicks the moment
# it says it holds the file: xdotool, started beforehand, takes its
# commands from a pipe (a press and a release: its own click lingers a
# tenth of a second after), and says where the pointer is once it clicked.
coproc hand { xdotool - 2>/dev/null; }
pids+=("$hand_PID")
fifo="$work/74-hold.fifo"
rm -f "$fifo"; mkfifo "$fifo"
ini_path=$(winepath -w "$dir/Morix.ini" 2>/dev/null | tr -d '\r')
wine "$probe_exe" hold-file "$ini_path" 300 >"$fifo" 2>/dev/null &
holder=$!
pids+=("$holder")
exec 3<"$fifo"
held=""
IFS= read -r -t 30 -u 3 held
printf 'mousedown 1\nsleep 0.03\nmouseup 1\ngetmouselocation\n' >&"${hand[1]}"
IFS= read -r -t 10 -u "${hand[0]}" _
clicked=$(date +%s%3N)
eval "exec ${hand[1]}>&-"
hold=$(tr -d '\r' <&3)
exec 3<&-
wait "$holder"
held=$(echo "$held" | tr -d '\r' | field held)
released=$(echo "$hold" | field released)
changes=$(echo "$hold" | field folder_changes)
echo "# held at $held, OK clicked at $clicked, released at $released, the folder changed $changes times meanwhile"
check "the other program held Morix.ini" test -n "$held"
check "OK was clicked while it held the file ($(( ${released:-0} - clicked )) ms before the release)" \
    test "$clicked" -lt "${released:-0}"
check "the clock tried to write while the file was held (folder changes: ${changes:-none})" \
    test "${changes:-0}" -ge 1
check "and the file was still the held one at the release: the write waited" \
    test "$(echo "$hold" | field unchanged)" = 1
check "no prompt (…続けますか？)" no_message_box 1500
check "OK closed the dialog" closes "オプション"
check "Morix.ini holds the new way of chiming" test "$(ini_get "$dir" チャイムの鳴らし方)" = 2
check "and kept the other keys" test "$(ini_get "$dir" アクティブウインドウへの移動)" = 0
check "the clock runs on, enabled" test "$(probe clock 5000 | field enabled)" = 1
check "its process is there" kill -0 "$clock_pid"
shot 74-held-settings
rm -f "$fifo"
