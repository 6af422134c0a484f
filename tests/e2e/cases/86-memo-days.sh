# The memo picker's calendar draws the days that have a memo in bold: what it
# gave the calendar, read back from the calendar's window, and what it drew,
# read from the screen; a click on the next-month arrow shows the next months'.
title="備忘録（新規・開く）"
ym=$(date +%Y%m) day=$(date +%d)
ym_next=$(date -d "$(date +%Y-%m-01) +1 month" +%Y%m) ym_after=$(date -d "$(date +%Y-%m-01) +2 months" +%Y%m)
# Two days of this month that are not today (today is selected and circled).
d1=12 d2=25
[ "$day" = 12 ] && d1=13
[ "$day" = 25 ] && d2=26
dir=$(fresh_folder memo-days)
sample_seen "$dir" 自動削除=0
for f in "$ym$d1" "$ym$d2" "$ym_after$d1" "${ym}9" "${ym}32" notes; do echo "{\rtf1 x}" > "$dir/Tickdata/$f.rtf"; done
start_clock "$dir"
menu Down Right Return
probe window "$title" 5000 >/dev/null && sleep 1
days=$(probe bold-days "$title")
check "the calendar shows from last month's days ($(echo "$days" | field first))" \
    test "$(echo "$days" | field first)" = "$(date -d "$(date +%Y-%m-01) -1 month" +%Y%m)"
check "bold: the two memo days of this month, not the names that are no day ($(echo "$days" | field bold))" \
    test "$(echo "$days" | field bold)" = "$ym$d1 $ym$d2"
shot 86-picker
set -- $(probe window "$title" | field rect)
crop 86-picker "$shots/86-picker-crop.png" "$@"
# How dark a day's cell is on the screen: its mean grey, 0 black to 1 white.
darkness_of() {  # darkness_of <shot> <yyyymmdd>
    set -- "$1" $(probe day "$title" "$2" | field rect)
    convert "$shots/$1.png" -crop $(( $4 - $2 ))x$(( $5 - $3 ))+$2+$3 +repage -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null
}
bold_grey=$(darkness_of 86-picker "$ym$d1")

click_at_centre "$(probe calendar-next "$title" | field rect)"
sleep 1
days=$(probe bold-days "$title")
check "the next month shown, the calendar asks again from this month ($(echo "$days" | field first))" \
    test "$(echo "$days" | field first)" = "$ym"
check "and the month after next brings its memo day ($(echo "$days" | field bold))" \
    test "$(echo "$days" | field bold)" = "$ym$d1 $ym$d2 $ym_after$d1"
shot 86-picker-next
plain_grey=$(darkness_of 86-picker-next "$ym_next$d1")
check "on the screen day $d1 with a memo is darker, bold, than day $d1 of next month without ($bold_grey < $plain_grey)" \
    awk -v b="$bold_grey" -v p="$plain_grey" 'BEGIN { exit !(b != "" && p != "" && b + 0.01 < p) }'
xdotool key Escape
closes "$title"
