# The memo picker left open across midnight (the wall clock faked to a few
# seconds before it): the tick opens the new day's memo, and OK on the day
# still chosen saves that memo, typed into, to its own file before the
# chosen day's memo opens.
stamp="$work/93-picker-midnight.faketime"
check "libfaketime is installed (scripts/deps.sh)" test -n "$faketime_lib"
if [ -n "$faketime_lib" ]; then
    stop_all
    now=$(date +%s)
    # Midnight of the faked day comes 25 s from now.
    offset=$(( $(date -d "tomorrow 00:00" +%s) - now - 25 ))
    printf '%+d\n' "$offset" > "$stamp"
    old_day=$(date -d "@$(( now + offset ))" +%Y%m%d) new_day=$(date -d "@$(( now + offset + 60 ))" +%Y%m%d)
    dir=$(fresh_folder picker-midnight)
    sample_seen "$dir" アクティブウインドウへの移動=0 自動表示=2 "終了時の日付=$old_day"
    : > "$dir/Tickdata/$old_day.rtf"
    : > "$dir/Tickdata/$new_day.rtf"
    memo_title="Morix - 備忘録" picker_title="備忘録（新規・開く）"
    faked "$stamp" start_clock "$dir"
    menu Down Right Return
    probe window "$picker_title" 5000 >/dev/null
    check "at midnight the new day's memo opens beside the open picker" probe window "$memo_title" 40000
    sleep 1
    type_into "$memo_title" RichEdit50W "new day"
    click_control "$picker_title" Button OK
    sleep 1.5
    check "OK saves the new day's memo to its own file" grep -q "new day" "$dir/Tickdata/$new_day.rtf"
    check "and leaves the old day's file as it was" test ! -s "$dir/Tickdata/$old_day.rtf"
    check "the old day's memo is open now" probe window "$memo_title" 3000
    check "showing the old day's (empty) text" test -z "$(control_text "$memo_title" RichEdit50W)"
fi
