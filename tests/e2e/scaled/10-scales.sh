# At 96, 144 and 192 dots per inch (the prefix's LogPixels, which Wine takes
# as the display's scale): the clock, its balloon and the memo window are
# drawn at the scale's size, the clock follows notepad by the caption-button
# rule at that scale, every control of each dialog lies inside it, and at
# 200 % the face is the design's 200 % picture pixel for pixel.
base_prefix=$WINEPREFIX
scaled_prefix() {  # a copy of the test prefix at that many dots per inch
    export WINEPREFIX=$work/prefix-$1
    rm -rf "$WINEPREFIX"; cp -a "$base_prefix" "$WINEPREFIX"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}
size_of() { probe window "$1" 5000 | field size; }
inside() {  # inside <outer rect> <rect>
    set -- $1 $2
    [ "$5" -ge "$1" ] && [ "$6" -ge "$2" ] && [ "$7" -le "$3" ] && [ "$8" -le "$4" ]
}
all_controls_inside() {  # the window has controls, and every one lies inside it and on the screen
    local outer; outer=$(probe window "$1" 5000 | field rect)
    local line ok=0 seen=0
    while IFS='|' read -r _ _ rect _; do
        seen=$((seen + 1))
        inside "$outer" "$rect" && inside "0 0 $sw $sh" "$rect" || { echo "outside: $rect" >&2; ok=1; }
    done < <(controls "$1" | sed 's/^ *//')
    [ "$seen" -gt 0 ] && return $ok
}
dialog_shot() {  # dialog_shot <menu keys> <title> <shot name>
    menu $1
    probe window "$2" 5000 >/dev/null || { shot "$3-failed"; check "$dpi dpi: $2 opens from the menu" false; return; }
    sleep 0.8
    check "$dpi dpi: every control of $2 lies inside it, on the screen" all_controls_inside "$2"
    shot "$3"
    set -- $(probe window "$2" | field rect) "$3"
    crop "$5" "$shots/$5-crop.png" "$1" "$2" "$3" "$4" 4
    xdotool key Escape
    closes "$2" >/dev/null
    [ -n "${MORIX_E2E_DEBUG:-}" ] && { probe count-clocks; probe clock 3000; } >&2
    probe clock 5000 >/dev/null  # a dialog's closing reloads the clock
}

for dpi in ${MORIX_E2E_DPIS:-96 144 192}; do
    stop_all
    scaled_prefix "$dpi"
    s() { echo $(( ($1 * dpi + 48) / 96 )); }          # unscaled pixels at this scale
    twips() { echo $(( $1 * 15 )); }                    # places: 15 twips a pixel at every scale
    pixels() { echo $(( ($1 + 7) / 15 )); }             # nearest (not negative)
    m=$(probe metrics)
    check "$dpi dpi: the prefix gives the scale" test "$(echo "$m" | field dpix)" = "$dpi"
    cw=$(echo "$m" | field cxsize) ch=$(echo "$m" | field cysize) fw=$(echo "$m" | field cxframe)
    d=$(( cw + fw / 2 ))

    dir=$(fresh_folder "scale-$dpi")  # no settings: the sample memo opens beside the clock
    start_notepad
    probe window メモ帳 20000 >/dev/null
    start_clock "$dir"
    check "$dpi dpi: the clock is $(s 66) x $(s 22)" test "$(probe clock | field size)" = "$(s 66) $(s 22)"
    check "$dpi dpi: the memo window is $(s 280) x $(s 140)" test "$(size_of 備忘録)" = "$(s 280) $(s 140)"
    shot "scale-$dpi-memo"
    # Ticked away, the sample stays closed; notepad in front again.
    click_control 備忘録 Button 今後表示しない
    set -- $(probe window 備忘録 | field rect)
    xdotool mousemove $(( $1 + $(s 140) )) $(( $2 + $(s 122) )) click 1   # the close picture
    closes 備忘録 >/dev/null
    probe front メモ帳 >/dev/null

    set -- $(probe window メモ帳 | field rect)
    H=$(twips "$(s 22)")
    left=$(pixels $(( $(twips $(( $3 - 3 * d + 2 ))) - $(twips "$(s 66)") )))
    diff=$(( $(twips "$ch") - H )); diff=${diff#-}
    top=$(pixels $(( diff / 2 + $(twips $(( $2 + 1 ))) )))
    check "$dpi dpi: the clock follows onto notepad's title bar" settles_at "$left $top $(( left + $(s 66) )) $(( top + $(s 22) ))" 4
    shot "scale-$dpi-notepad"
    set -- $(clock_rect)
    crop "scale-$dpi-notepad" "$shots/scale-$dpi-clock.png" "$1" "$2" "$3" "$4" 6
    if [ "$dpi" = 192 ]; then
        # Between the two clips the face is the design's own picture: the
        # 200 % set's Back.bmp, pixel for pixel.
        convert "$shots/scale-$dpi-notepad.png" -crop "12x$(s 22)+$(( $1 + 60 ))+$2" +repage "$work/face-crop.png"
        convert "$dir/Design/Tidewalk/200/Back.bmp" -crop "12x$(s 22)+60+0" +repage "$work/back-crop.png"
        check "200 %: the face between the clips is the 200 % Back.bmp pixel for pixel" \
            test "$(compare -metric AE "$work/face-crop.png" "$work/back-crop.png" null: 2>&1)" = 0
    fi

    # The pointer resting on the clock opens the balloon.
    xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
    probe window "Morix - 情報" 4000 >/dev/null
    check "$dpi dpi: the balloon is $(s 280) x $(s 140)" test "$(size_of "Morix - 情報")" = "$(s 280) $(s 140)"
    shot "scale-$dpi-balloon"
    set -- $(clock_rect) $(probe window "Morix - 情報" | field rect)
    crop "scale-$dpi-balloon" "$shots/scale-$dpi-balloon-crop.png" "$(( $1 < $5 ? $1 : $5 ))" "$(( $2 < $6 ? $2 : $6 ))" \
        "$(( $3 > $7 ? $3 : $7 ))" "$(( $4 > $8 ? $4 : $8 ))" 4
    xdotool mousemove 5 5
    closes "Morix - 情報" >/dev/null

    # The dialogs from the clock at home: with notepad given the front back
    # after a dialog, Wine draws notepad over the reloaded clock.
    kill "$notepad_pid"; wait "$notepad_pid" 2>/dev/null
    closes メモ帳 >/dev/null
    sleep 1.5
    dialog_shot "Down Down Right Return" オプション "scale-$dpi-options"
    dialog_shot "Down Down Right Down Return" 拡張オプション "scale-$dpi-extended"
    dialog_shot "Up Up Up Return" 日付と日時の変更 "scale-$dpi-datetime"
    dialog_shot "Down Right Return" 備忘録（新規・開く） "scale-$dpi-picker"
    dialog_shot "Up Up Up Up Return" アラーム "scale-$dpi-alarms"

    # An alarm that fell due while the clock was stopped: the alarm window
    # at the start, beside the clock, drawn at the scale.
    stop_all
    dir=$(fresh_folder "alarm-$dpi")
    sample_seen "$dir" アクティブウインドウへの移動=0 "アラーム1=1|$(date -d '-1 hour' +%H:%M)|毎日||会議の時間です" \
        "アラームの確認時刻=$(date -d '-2 hours' +%Y%m%d%H%M)"
    start_clock "$dir"
    if probe window "Morix - アラーム" 5000 >/dev/null; then
        sleep 0.8
        check "$dpi dpi: every control of the alarm window lies inside it, on the screen" all_controls_inside "Morix - アラーム"
        shot "scale-$dpi-alarm"
        set -- $(clock_rect) $(probe window "Morix - アラーム" | field rect)
        crop "scale-$dpi-alarm" "$shots/scale-$dpi-alarm-crop.png" "$1" "$6" "$7" "$8" 4
    else
        check "$dpi dpi: the missed alarm is shown at the start" false
    fi
done

# A home dropped in drag mode at 96 dpi is the same pixel place after the
# prefix is switched to 144 dpi, the clock drawn there at 150 %.
stop_all
[ -d "$work/prefix-96" ] && export WINEPREFIX=$work/prefix-96 || scaled_prefix 96
dir=$(fresh_folder home-scales)
sample_seen "$dir" アクティブウインドウへの移動=0
start_clock "$dir"
menu Up Up Return  # ドラッグモード
sleep 0.5
set -- $(clock_rect)
drag $(( $1 + 33 )) $(( $2 + 11 )) 300 200
set -- $(clock_rect)
dropped_left=$1 dropped_top=$2
xdotool mousemove $(( $1 + 33 )) $(( $2 + 11 )) click 3
sleep 1
check "96 dpi: the dropped home is stored" test "$(ini_get "$dir" 起動時のLeft)" = "$(( dropped_left * 15 ))"
menu Up Return  # 終了
waited_exit "$clock_pid" 15
stop_all
[ -d "$work/prefix-144" ] && export WINEPREFIX=$work/prefix-144 || scaled_prefix 144
start_clock "$dir"
check "a home dropped at 96 dpi is the same pixel place at 144 dpi" \
    test "$(clock_rect)" = "$dropped_left $dropped_top $(( dropped_left + 99 )) $(( dropped_top + 33 ))"
shot scale-home-144

# A user's own design with only its 100 % pictures, at 200 %: no prompt; the
# face is drawn at 132 x 44 from its pictures scaled once.
stop_all
[ -d "$work/prefix-192" ] && export WINEPREFIX=$work/prefix-192 || scaled_prefix 192
dir=$(fresh_folder user-design)
cp -r "$dir/Design/Tidewalk" "$dir/Design/Mine"
rm -rf "$dir/Design/Mine/125" "$dir/Design/Mine/150" "$dir/Design/Mine/200"
sample_seen "$dir" Aviディレクトリ名=Mine アクティブウインドウへの移動=0
start_clock "$dir"
check "200 %, a design without its set: no message" no_message_box 2000
check "and the clock is 132 x 44" test "$(probe clock | field size)" = "132 44"
shot scale-192-user-design
set -- $(clock_rect)
crop scale-192-user-design "$shots/scale-192-user-design-clock.png" "$1" "$2" "$3" "$4" 6
stop_all
export WINEPREFIX=$base_prefix
