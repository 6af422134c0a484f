# Memos: the sample at the first start, dragged by its corner; today's memo
# at start, typing into it and saving, the clean-up of past memos, the date
# picker, and a save that fails keeping the text in a recovery copy.
today=$(date +%Y%m%d) yesterday=$(date -d yesterday +%Y%m%d) tomorrow=$(date -d tomorrow +%Y%m%d)
memo_title="Morix - 備忘録"
memo_text() { control_text "$memo_title" RichEdit50W; }
memo_closed() { closes "$memo_title"; }
# An RTF file of Japanese text, in code page 932 as the system's control writes it.
rtf_of() {
    printf '{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS PGothic;}}\\f0\\fs18 '
    local b trail=0
    for b in $(printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -v -tu1); do
        # Both bytes of a double-byte character as \'xx: a trail byte may be "\".
        if [ "$trail" = 1 ] || [ "$b" -ge 128 ]; then
            printf "\\\\'%02x" "$b"
            if [ "$trail" = 1 ]; then trail=0; elif [ "$b" -lt 160 ] || [ "$b" -ge 224 ]; then trail=1; fi
        else
            printf "\\$(printf %03o "$b")"
        fi
    done
    printf '\\par\r\n}'
}

# The first start: the sample, right of the clock, with its box unticked.
dir=$(fresh_folder memo-sample)
start_clock "$dir"
set -- $(probe clock 20000 | field rect); cl=$1 ct=$2 cr=$3
info=$(probe window "$memo_title" 5000)
check "the first start shows the sample memo" test -n "$info"
check "right of the clock, level with its top" test "$(echo "$info" | field rect)" = "$cr $ct $(( cr + 280 )) $(( ct + 140 ))"
check "it is shaped and topmost" test "$(echo "$info" | field region)$(echo "$info" | field topmost)" = complex1
check "its text is the sample's" bash -c '[[ "$1" == *備忘録へようこそ* ]]' _ "$(memo_text)"
check "its box 今後表示しない is unticked" bash -c '[[ "$1" == *"|今後表示しない|"*"check=0"* ]]' _ "$(controls "$memo_title")"
sleep 1
shot 60-sample-memo
crop 60-sample-memo "$shots/60-sample-memo-crop.png" "$cl" "$ct" $(( cr + 280 )) $(( ct + 140 ))
click_control "$memo_title" Button 今後表示しない
sleep 0.3
# The drag corner: 80 x 33 pixels at the memo's top left.
set -- $(echo "$info" | field rect); ml=$1 mt=$2
drag $(( ml + 20 )) $(( mt + 15 )) 100 60
check "dragged by its top-left corner, the memo moves with the pointer" \
    test "$(probe window "$memo_title" | field rect)" = "$(( ml + 100 )) $(( mt + 60 )) $(( ml + 380 )) $(( mt + 200 ))"
check "and the clock stays where it was" test "$(clock_rect)" = "$cl $ct $cr $(( ct + 22 ))"
set -- $(probe window "$memo_title" | field rect); ml=$1 mt=$2
xdotool mousemove $(( ml + 140 )) $(( mt + 122 )) click 1   # the close picture
check "the close picture closes it" memo_closed
check "ticked, the box is stored as 1" test "$(ini_get "$dir" 起動時のSample.rtf)" = 1
probe close-clock; waited_exit "$clock_pid" 15
start_clock "$dir"
probe clock 20000 >/dev/null; sleep 2
check "the next start shows no sample" no_window "$memo_title" 500
stop_all

# Today's memo at start; typed into and saved when the menu opens; the past
# cleaned up at start and at exit.
dir=$(fresh_folder memo-today)
sample_seen "$dir" アクティブウインドウへの移動=0
rtf_of "会議は十時から" > "$dir/Tickdata/$today.rtf"
for f in "$yesterday.rtf" "$tomorrow.rtf" notes.rtf; do rtf_of "x" > "$dir/Tickdata/$f"; done
start_clock "$dir"
probe clock 20000 >/dev/null
probe window "$memo_title" 5000 >/dev/null
check "today's memo opens at start with its Japanese text" bash -c '[[ "$1" == 会議は十時から* ]]' _ "$(memo_text)"
check "yesterday's memo is gone after the start" test ! -e "$dir/Tickdata/$yesterday.rtf"
check "tomorrow's and notes.rtf stay" test -e "$dir/Tickdata/$tomorrow.rtf" -a -e "$dir/Tickdata/notes.rtf"
rect=$(first_of_class "$memo_title" RichEdit50W 3)
set -- $rect
xdotool mousemove $(( $3 - 10 )) $(( $4 - 10 )) click 1
sleep 0.5
xdotool key ctrl+End type --delay 40 " typed by hand"
sleep 0.5
menu Escape
sleep 1
check "the menu opening closed the memo" memo_closed
check "and saved it as RTF" bash -c 'head -c 5 "$1" | grep -q "{\\\\rtf"' _ "$dir/Tickdata/$today.rtf"
check "with the typed text" grep -q "typed by hand" "$dir/Tickdata/$today.rtf"
rtf_of "y" > "$dir/Tickdata/$yesterday.rtf"
probe close-clock; waited_exit "$clock_pid" 15
check "yesterday's memo is gone after the exit too" test ! -e "$dir/Tickdata/$yesterday.rtf"
start_clock "$dir"
probe clock 20000 >/dev/null
probe window "$memo_title" 5000 >/dev/null
check "the next start shows the typed text" bash -c '[[ "$1" == *"typed by hand"* ]]' _ "$(memo_text)"
stop_all

# 新規・開く: the picker with the clock disabled; Escape leaves it; a day
# clicked and OK make that day's file and open it.
dir=$(fresh_folder memo-picker)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
probe clock 20000 >/dev/null
picker_title="備忘録（新規・開く）"
menu Down Right Return
probe window "$picker_title" 5000 >/dev/null && sleep 0.5
ini_keep "$dir"; files=$(ls "$dir/Tickdata")
in_front=$(active_window)
xdotool key Escape
check "Escape closes the picker (the active window was: $in_front)" closes "$picker_title"
left_alone() { [ "$(ls "$dir/Tickdata")" = "$files" ] && ini_unchanged "$dir"; }
check "making no file and writing no setting" left_alone
check "and the clock is enabled again" test "$(probe clock | field enabled)" = 1
menu Down Right Return
picker=$(probe window "$picker_title" 5000)
check "新規・開く opens the memo picker" test -n "$picker"
check "the clock is disabled meanwhile" test "$(probe clock | field enabled)" = 0
sleep 0.5
shot 60-picker
set -- $(echo "$picker" | field rect); crop 60-picker "$shots/60-picker-crop.png" "$@"
# A day of this month's page other than today.
day=$tomorrow; [ "${day:0:6}" = "${today:0:6}" ] || day=$yesterday
click_day "$picker_title" "$day"
sleep 0.5
check "a click on day $day hands the keyboard to OK" bash -c '[[ "$1" == Button\|OK\|* ]]' _ "$(focused)"
click_control "$picker_title" Button OK
sleep 1
check "its OK makes that day's file" test -e "$dir/Tickdata/$day.rtf"
check "and opens it" probe window "$memo_title" 3000
check "the clock is enabled again" test "$(probe clock | field enabled)" = 1

# The memo folder replaced by a plain file while the memo is open: closing
# tells which file failed and where the text went.
check "text typed into the open memo shows" type_into "$memo_title" RichEdit50W "keep me"
rm -rf "$dir/Tickdata"; echo "not a folder" > "$dir/Tickdata"
set -- $(probe window "$memo_title" | field rect)
xdotool mousemove $(( $1 + 140 )) $(( $2 + 122 )) click 1
box=$(probe message-box 5000)
text=$(echo "$box" | field text)
check "a failed save tells the user" test -n "$box"
check "naming the file" bash -c '[[ "$1" == *"Tickdata\\$2.rtf"* ]]' _ "$text" "$day"
copy=$(ls "$dir"/Recovered/*.rtf 2>/dev/null | head -n 1)
check "and the recovery copy it wrote" bash -c '[[ -n "$2" && "$1" == *"$(basename "$2")"* ]]' _ "$text" "$copy"
check "which holds the typed text" grep -q "keep me" "$copy"
shot 60-save-failed
answer OK
check "a click on OK closes the message" no_message_box
stop_all

# A memo that is plain UTF-8 text (an editor's file named .rtf), 700 kB of
# short lines: shown readably, and closed unedited it stays byte for byte as
# it was.
dir=$(fresh_folder memo-utf8)
sample_seen "$dir" アクティブウインドウへの移動=0
{ printf '買い物：牛乳と卵\r\n'; for i in $(seq 12000); do printf 'Meeting %05d at ten in room two; the papers are on the share.\r\n' "$i"; done; } > "$dir/Tickdata/$today.rtf"
cp "$dir/Tickdata/$today.rtf" "$work/utf8-before.rtf"
start_clock "$dir"
probe window "$memo_title" 5000 >/dev/null
check "a UTF-8 text memo of 700 kB opens, not refused as too large" no_message_box
check "and reads as its text" bash -c '[[ "$1" == 買い物：牛乳と卵* ]]' _ "$(memo_text | head -c 100)"
set -- $(probe window "$memo_title" | field rect)
xdotool mousemove $(( $1 + 140 )) $(( $2 + 122 )) click 1   # the close picture
check "closed by its close picture" memo_closed
check "and, unedited, left byte for byte as it was" cmp -s "$work/utf8-before.rtf" "$dir/Tickdata/$today.rtf"
