# Sourced by bench/idle.sh and bench/tick-requests.sh from the source tree's
# root, on a display: an idle clock in one of three situations, from a fresh
# copy of a program folder.
#   desktop     following on, nothing but the desktop in front
#   notepad     following on, Wine's notepad in front (the clock on its title bar)
#   unfollowed  following off ("アクティブウインドウへの移動=0"), the desktop in front
#   floor       notepad alone, no clock: what Wine costs without it
# The sample memo is marked seen in every one, and the pointer rests away
# from the clock and from notepad.

morix_idle_pids=()

morix_idle_situation_ok() {
    case "$1" in desktop | notepad | unfollowed | floor) return 0 ;; esac
    echo "unknown situation '$1' (desktop, notepad, unfollowed or floor)" >&2
    return 1
}

# morix_idle_prepare <program folder> <situation>: checks both, and sets up
# the build tree's Wine (its prefix made when needed) and probe_exe.
morix_idle_prepare() {
    [ -f "$1/Morix.exe" ] || { echo "no Morix.exe in $1" >&2; exit 2; }
    morix_idle_situation_ok "$2" || exit 2
    probe_exe=$(pwd)/build/mingw/morix_probe.exe
    [ -f "$probe_exe" ] || { echo "build morix_probe first (cmake --build --preset mingw --target morix_probe)" >&2; exit 2; }
    . scripts/wine-env.sh
    morix_wine_prefix
    . bench/wine-pids.sh
}

# morix_idle_folder <program folder> <copy> <situation>
morix_idle_folder() {
    rm -rf "$2"; mkdir -p "$(dirname "$2")"; cp -r "$1" "$2"; rm -f "$2/Morix.ini"
    {
        printf '[Morix]\r\n'
        printf '起動時のSample.rtf=1\r\n' | iconv -f UTF-8 -t CP932
        [ "$3" = unfollowed ] && printf 'アクティブウインドウへの移動=0\r\n' | iconv -f UTF-8 -t CP932
        # MORIX_IDLE_ALARMS=<n>: that many daily alarms, half a day away from
        # now, so that none is near while the figures are taken.
        local i far=$(( (10#$(date +%H) + 12) % 24 ))
        for ((i = 1; i <= ${MORIX_IDLE_ALARMS:-0}; ++i)); do
            printf 'アラーム%d=1|%02d:%02d|毎日|lt37xga.mid|アラーム %d\r\n' "$i" "$far" "$i" "$i" | iconv -f UTF-8 -t CP932
        done
        true
    } > "$2/Morix.ini"
}

# morix_idle_start <copy> <situation> <probe.exe>: starts notepad when the
# situation has it, then the clock; sets morix_idle_pids to what it started.
# Returns once the clock stands (and, with notepad, sits on it) and the
# pointer is off both.
morix_idle_start() {
    local probe_exe=$3
    morix_idle_pids=()
    if [ "$2" = notepad ] || [ "$2" = floor ]; then
        wine notepad >/dev/null 2>&1 &
        morix_idle_pids+=($!)
        wine "$probe_exe" window メモ帳 20000 >/dev/null 2>&1 || { echo "notepad did not come up" >&2; return 1; }
        wine "$probe_exe" move メモ帳 100 80 700 500 >/dev/null 2>&1 || true
    fi
    if [ "$2" = floor ]; then
        sleep 3
        return 0
    fi
    (cd "$1" && exec wine Morix.exe >/dev/null 2>&1) &
    morix_idle_pids+=($!)
    wine "$probe_exe" clock 20000 >/dev/null 2>&1 || { echo "the clock did not come up" >&2; return 1; }
    # The pointer starts in the screen's middle, which is the clock's default
    # home: resting there it would open the balloon. An idle clock has it away.
    xdotool mousemove 6 6 mousemove 5 5
    # The first ticks place the clock (onto notepad, or home) and write the
    # record of the followed window; idle is what comes after.
    sleep 3
}

morix_idle_stop() {
    local p
    for p in "${morix_idle_pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${morix_idle_pids[@]}"; do wait "$p" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true  # this prefix's server only
}
