# At 96 and 144 dots per inch: four zones end the balloon, and the dialog
# "他の地域の時刻" has every control inside it and on the screen.
zones_prefix() {  # a copy of the test prefix at that many dots per inch
    export WINEPREFIX=$work/prefix-zones-$1
    rm -rf "$WINEPREFIX"; cp -a "$zones_base_prefix" "$WINEPREFIX"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}
zones_inside() {  # zones_inside <title>: every control inside the window and the screen
    local outer rect bad=0 seen=0; outer=$(probe window "$1" 5000 | field rect)
    while IFS='|' read -r _ _ rect _; do
        seen=$((seen + 1)); set -- $outer $rect
        [ "$5" -ge "$1" ] && [ "$6" -ge "$2" ] && [ "$7" -le "$3" ] && [ "$8" -le "$4" ] && [ "$7" -le "$sw" ] && [ "$8" -le "$sh" ] || bad=1
    done < <(controls "$1" | sed 's/^ *//')
    [ "$seen" -gt 0 ] && [ "$bad" = 0 ]
}
zones_base_prefix=${zones_base_prefix:-$WINEPREFIX}
for dpi in ${MORIX_E2E_DPIS:-96 144}; do
    stop_all
    zones_prefix "$dpi"
    dir=$(fresh_folder "zones-$dpi")
    sample_seen "$dir" アクティブウインドウへの移動=0 CPUの表示=0 システムリソースの表示=0 \
        "他の地域1=Eastern Standard Time,ニューヨーク" "他の地域2=GMT Standard Time,ロンドン" \
        "他の地域3=India Standard Time,デリー" "他の地域4=AUS Eastern Standard Time,シドニー"
    start_clock "$dir"
    set -- $(clock_rect)
    xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
    probe window "Morix - 情報" 4000 >/dev/null
    sleep 1.2
    text=$(control_text "Morix - 情報" RichEdit50W)
    check "$dpi dpi: four zone lines end the balloon ($text)" \
        bash -c '[[ "$1" == *"\r\n[ニューヨ]"*"\r\n[ロンドン]"*"\r\n[デリー]"*"\r\n[シドニー]"* ]]' _ "$text"
    shot "zones-$dpi-balloon"
    set -- $(clock_rect) $(probe window "Morix - 情報" | field rect)
    crop "zones-$dpi-balloon" "$shots/zones-$dpi-balloon-crop.png" "$1" "$6" "$7" "$8" 4
    xdotool mousemove 5 5
    closes "Morix - 情報" >/dev/null
    menu Down Down Right Down Return
    probe window 拡張オプション 5000 >/dev/null && sleep 0.8
    click_control 拡張オプション Button "地域を選ぶ..."
    probe window "他の地域の時刻" 5000 >/dev/null && sleep 0.8
    check "$dpi dpi: every control of 他の地域の時刻 lies inside it, on the screen" zones_inside "他の地域の時刻"
    shot "zones-$dpi-choose"
    set -- $(probe window "他の地域の時刻" | field rect)
    crop "zones-$dpi-choose" "$shots/zones-$dpi-choose-crop.png" "$1" "$2" "$3" "$4" 4
    xdotool key Escape
    closes "他の地域の時刻" >/dev/null
    xdotool key Escape
    closes 拡張オプション >/dev/null
done
export WINEPREFIX=$zones_base_prefix
