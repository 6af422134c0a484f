#!/usr/bin/env bash
# The longest tick at the full hour, when the chime rings: how long the
# clock's window stands still then, under Wine on a private Xvfb. Each run
# starts the clock from a fresh copy of the program folder (default
# dist/Morix; an older build's folder works too) with the chime on every
# hour ("チャイムの鳴らし方=1", "チャイムファイル名=lt37xga.mid"), under
# libfaketime: started at minute 20 of the hour and, once it stands, moved to
# minute 58, second 50, so that the minute changes and then the hour changes
# while it is watched, however long the start took.
# bench_hour_tick_wine, under the same faked clock, sends the clock WM_NULL
# every 5 ms until 6 s past the hour and times each round trip; it prints the
# longest round trip from 2 s before to 5 s after the hour's change ("hour"),
# the same around the minute's change before it ("minute": the clips change,
# no chime) and in the rest of the two minutes ("quiet"). After each run,
# with the clock closed, it times MCI's "open" of the chime file in a fresh
# process of its own (the first open loads the sequencer's driver, as the
# clock's first chime does). At the end: the median and the most of each
# figure over the runs.
#   bench/hour-tick.sh [runs, default 5] [program folder, default dist/Morix]
# MORIX_HOUR_TICK_TRACE=1 runs Morix.exe with WINEDEBUG=+timestamp,+tid,+mci
# and prints, from the trace, how long the clock's own "open" of the chime
# took (the trace itself slows the program: the round trips of such a run
# are not comparable with the others); other channels can be given instead
# of 1 (MORIX_HOUR_TICK_TRACE=+mci,+winmm,+midi). The trace stays in
# build/bench-hour-tick/run<n>.mci.log. Every run's pings stay in
# build/bench-hour-tick/run<n>.samples ("<ms from the hour> <round trip ms>").
# Needs the native and mingw builds, and libfaketime (scripts/deps.sh).
set -euo pipefail
runs=${1:-5}
src=$(cd "${2:-$(dirname "$0")/../dist/Morix}" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
if [ -z "${DISPLAY:-}" ] || [ -z "${MORIX_HOUR_TICK_INNER:-}" ]; then
    exec env MORIX_HOUR_TICK_INNER=1 scripts/with-xvfb.sh "$0" "$runs" "$src"
fi
[ -f "$src/Morix.exe" ] || { echo "no Morix.exe in $src" >&2; exit 2; }
[ -f "$src/Sound/lt37xga.mid" ] || { echo "no Sound/lt37xga.mid in $src (the native build writes it)" >&2; exit 2; }
pinger=$root/build/mingw/bench_hour_tick_wine.exe
probe_exe=$root/build/mingw/morix_probe.exe
for exe in "$pinger" "$probe_exe"; do
    [ -f "$exe" ] || { echo "build $(basename "$exe" .exe) first (cmake --build --preset mingw --target $(basename "$exe" .exe))" >&2; exit 2; }
done
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$faketime_lib" ] || { echo "libfaketime is not installed (scripts/deps.sh)" >&2; exit 2; }
. scripts/wine-env.sh
morix_wine_prefix
work=$root/build/bench-hour-tick
rm -rf "$work"; mkdir -p "$work"
stamp=$work/faketime

# The wall clock as the stamp file gives it ("+N" seconds off the real one),
# re-read at every reading, for every process started through it: the Wine
# server, the clock and the pinger. Wine's timers and the pinger's
# stopwatch keep the real monotonic clock.
faked() {
    LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$stamp" FAKETIME_NO_CACHE=1 \
        FAKETIME_DONT_FAKE_MONOTONIC=1 "$@"
}
winpath() { echo "Z:$1" | tr / '\\'; }

started=()
stop_run() {
    local p
    for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${started[@]}"; do wait "$p" 2>/dev/null || true; done
    started=()
    wineserver -k 2>/dev/null || true  # this prefix's server only
    wineserver -w 2>/dev/null || true
}
trap stop_run EXIT

# The clock's own "open" in a +mci trace (to the millisecond): from the line
# that sends it to the line of that thread with its answer.
open_from_trace() {
    awk '
        /mciSendString/ && /\(L"open / && !t0 { t0 = $1 + 0; tid = $2; next }
        t0 && $2 == tid && /mciSendStringW => 2\// { printf "%.0f", ($1 - t0) * 1000; found = 1; exit }
        END { if (!found) printf "n/a" }' FS='[: ]+' "$1"
}

one_run() {  # one_run <n>
    local n=$1
    local dir=$work/run$n/Morix
    stop_run
    # The clock starts at minute 20 of the real hour (of the one before,
    # past 23:00: the clock shows the day's memo at midnight when so set),
    # however long its start takes, and is set to minute 58, second 50 once
    # it stands.
    local now hour
    now=$(date +%s)
    hour=$(date -d "@$now" +%H)
    [ "$hour" = 23 ] && hour=22
    at() { date -d "$(date -d "@$now" +%F) $hour:$1" +%s; }
    printf '%+d\n' $(( $(at 20:00) - now )) > "$stamp"

    mkdir -p "$(dirname "$dir")"; cp -r "$src" "$dir"; rm -f "$dir/Morix.ini"
    printf '[Morix]\r\n起動時のSample.rtf=1\r\nチャイムの鳴らし方=1\r\nチャイムファイル名=lt37xga.mid\r\n' |
        iconv -f UTF-8 -t CP932 > "$dir/Morix.ini"
    local trace=$work/run$n.mci.log
    if [ -n "${MORIX_HOUR_TICK_TRACE:-}" ]; then
        local channels=$MORIX_HOUR_TICK_TRACE
        [ "$channels" = 1 ] && channels=+mci
        (cd "$dir" && WINEDEBUG=+timestamp,+tid,$channels exec env LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$stamp" \
            FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 wine Morix.exe >/dev/null 2>"$trace") &
    else
        (cd "$dir" && exec env LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$stamp" \
            FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 wine Morix.exe >/dev/null 2>&1) &
    fi
    started+=($!)
    faked wine "$probe_exe" clock 30000 >/dev/null 2>&1 || { echo "run $n: the clock did not come up" >&2; return 1; }
    # The pointer away from the clock (resting on it would open the balloon).
    xdotool mousemove 6 6 mousemove 5 5
    sleep 1
    local target offset
    target=$(at 58:50)
    offset=$(( target - $(date +%s) ))
    printf '%+d\n' "$offset" > "$stamp"
    # The tick after the jump shows the new minute; pinging starts after it
    # and goes on until 6 s past the hour's change, on the faked clock.
    sleep 2
    local seconds=$(( target + 70 + 6 - ($(date +%s) + offset) ))
    local out
    out=$(faked wine "$pinger" "$seconds" 5 "$(winpath "$work/run$n.samples")" 2>&1 | tr -d '\r') ||
        { echo "run $n: the pinger failed: $out" >&2; return 1; }
    echo "$out" > "$work/run$n.out"
    faked wine "$probe_exe" close-clock >/dev/null 2>&1 || true
    faked wine "$probe_exe" gone 10000 >/dev/null 2>&1 || true
    # MCI's open alone, in a process of its own, the clock closed.
    local mci
    mci=$(faked wine "$pinger" --mci "$(winpath "$dir/Sound/lt37xga.mid")" 2>&1 | tr -d '\r')
    echo "$mci" >> "$work/run$n.out"
    local first rest count
    first=$(echo "$mci" | sed -n 's/^mci_open 1: open_ms=\([0-9.]*\).*/\1/p')
    rest=$(echo "$mci" | sed -n 's/^mci_open [2-5]: open_ms=\([0-9.]*\).*/\1/p' | sort -n | tail -n 1)
    count=$(echo "$mci" | sed -n 's/.*first_count_ms=\([0-9.]*\).*/\1/p')
    pinged() { echo "$out" | sed -n "s/^$1: .*$2=\([-+0-9.]*\).*/\1/p"; }
    local line="run $n: hour $(pinged hour longest_ms) ms at $(pinged hour at_ms) ms (its tick $(pinged hour-tick longest_ms) ms); minute $(pinged minute longest_ms) ms at $(pinged minute at_ms) ms; quiet $(pinged quiet longest_ms) ms (p50 $(pinged quiet p50_ms) ms); mci open first ${first:-n/a} ms, later at most ${rest:-n/a} ms; first count of MIDI devices ${count:-n/a} ms; load $(cut -d' ' -f1 /proc/loadavg)"
    if [ -n "${MORIX_HOUR_TICK_TRACE:-}" ]; then
        line+="; the clock's open in its trace $(open_from_trace "$trace") ms"
    fi
    echo "$line"
    printf '%s %s %s %s\n' "$(pinged hour longest_ms)" "$(pinged minute longest_ms)" "$(pinged quiet longest_ms)" \
        "${first:-n/a}" >> "$work/figures"
    stop_run
}

echo "program folder: $src"
echo "midi/wave devices: $(WINEDEBUG=-all wine "$pinger" --mci "$(winpath "$src/Sound/lt37xga.mid")" 2>/dev/null | tr -d '\r' | head -n 1)"
stop_run
for i in $(seq "$runs"); do one_run "$i" || true; done

# Median and most of each figure over the runs.
[ -f "$work/figures" ] || { echo "no run completed" >&2; exit 1; }
column=1
for what in "hour's longest round trip" "minute's longest round trip" "quiet longest round trip" "first MCI open"; do
    awk -v c=$column '$c ~ /^[0-9.]+$/ { print $c }' "$work/figures" | sort -n |
        awk -v what="$what" '{ v[NR] = $1 } END {
            if (!NR) exit
            m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%s over %d runs: median %.1f ms, max %.1f ms\n", what, NR, m, v[NR] }'
    column=$((column + 1))
done
