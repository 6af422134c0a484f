# Other zones' time in the information balloon: New York and Sydney chosen
# in "他の地域の時刻" through the extended options by clicks and keys; the
# balloon's lines then give what the host's zone data gives for that minute;
# kept at the next start; the item switch off leaves no zone line.
dir=$(fresh_folder other-zones)
# Only the memo line besides, so that the zone lines show without scrolling.
sample_seen "$dir" アクティブウインドウへの移動=0 メモの表示=1 CPUの表示=0 システムリソースの表示=0 メモリーの表示=0 電源の表示=0 空容量の表示=0
start_clock "$dir"
ext="拡張オプション" choose="他の地域の時刻"
open_extended() { menu Down Down Right Down Return; probe window "$ext" 5000 >/dev/null && sleep 0.5; }
open_extended
click_control "$ext" Button "地域を選ぶ..."
check "地域を選ぶ... opens $choose" probe window "$choose" 5000
sleep 0.5
set -- $(probe window "$choose" | field rect)
shot 55-choose
crop 55-choose "$shots/55-choose-crop.png" "$@"
# A zone of the system's list, reached as a user does: a click into the list,
# Page Down until the zone shows, a click on it, then 追加.
list_rect() { controls "$choose" | sed 's/^ *//' | awk -F'|' '$1 == "ListBox" { print $3; exit }'; }
add_zone() {  # add_zone <display name>
    local i r l; l=$(list_rect)
    set -- "$1" $l
    xdotool mousemove $(( $2 + 20 )) $(( $3 + 8 )) click 1
    for i in $(seq 40); do
        r=$(probe item "$choose" "$1" | field rect)
        if [ -n "$r" ]; then set -- "$1" $l $r; [ "$7" -ge "$3" ] && [ "$9" -le "$5" ] && break; fi
        xdotool key Next; sleep 0.2
    done
    click_item "$choose" "$1"
    sleep 0.3
    click_control "$choose" Button "追加"
    sleep 0.3
}
ny="(UTC-05:00) Eastern Time (US & Canada)" sydney="(UTC+10:00) Canberra, Melbourne, Sydney"
add_zone "$ny"
check "the label box holds the short name" test "$(control_text "$choose" Edit)" = "Eastern Time"
click_at_centre "$(first_of_class "$choose" Edit 3)"
xdotool key End shift+Home
xdotool type --delay 60 "東海岸の本社"
add_zone "$sydney"
chosen=$(controls "$choose" | grep '^ *ListBox' | sed -n 2p)
check "both chosen, in order ($chosen)" bash -c '[[ "$1" == *"items=東海岸の本社  $2,Canberra  $3" ]]' _ "$chosen" "$ny" "$sydney"
sleep 0.3
shot 55-chosen
crop 55-chosen "$shots/55-chosen-crop.png" $(probe window "$choose" | field rect)
click_control "$choose" Button OK
check "OK closes $choose" closes "$choose"
click_control "$ext" Button OK
sleep 2
check "stored in order" test "$(ini_get "$dir" 他の地域1),$(ini_get "$dir" 他の地域2)" = \
    "Eastern Standard Time,東海岸の本社,AUS Eastern Standard Time,Canberra"

# The lines the host's zone data gives for this minute.
zone_line() {  # zone_line <label> <TZ>
    local w; w=$(TZ=$2 date +%w)
    echo "[$1]$(TZ=$2 date +%d)($(echo 日 月 火 水 木 金 土 | cut -d' ' -f$(( w + 1 )))) $(TZ=$2 date +%H:%M)"
}
# The probe writes a line break as the four characters \r\n.
expected() { echo "$(zone_line 東海岸の America/New_York)\\r\\n$(zone_line Canberra Australia/Sydney)"; }
balloon_zone_lines() {
    local before after text
    set -- $(clock_rect)
    xdotool mousemove $(( $1 + 33 )) $(( $2 + 11 ))
    probe window "Morix - 情報" 3000 >/dev/null
    sleep 1.2
    before=$(expected); text=$(control_text "Morix - 情報" RichEdit50W); after=$(expected)
    text=${text#*\\r\\n}  # past the memo line
    # The minute may turn between the readings.
    [ "$text" = "$before" ] || [ "$text" = "$after" ]
}
check "the balloon's zone lines are the host's New York and Sydney time" balloon_zone_lines
shot 55-balloon
set -- $(probe window "Morix - 情報" | field rect)
crop 55-balloon "$shots/55-balloon-crop.png" $(( $1 - 70 )) "$2" "$3" "$4"
xdotool mousemove 5 5
stop_all

start_clock "$dir"
check "the choice is kept at the next start" balloon_zone_lines
xdotool mousemove 5 5
sleep 1.5
open_extended
click_control "$ext" Button "他の地域の時刻"
click_control "$ext" Button OK
sleep 2
check "the switch off is stored" test "$(ini_get "$dir" 他の地域の時刻の表示)" = 0
set -- $(clock_rect)
xdotool mousemove $(( $1 + 33 )) $(( $2 + 11 ))
probe window "Morix - 情報" 3000 >/dev/null
sleep 1.2
text=$(control_text "Morix - 情報" RichEdit50W)
check "switched off, no zone line ($text)" bash -c '[[ "$1" == "[メモ]  "* && "$1" != *"\\r\\n"* ]]' _ "$text"
xdotool mousemove 5 5
