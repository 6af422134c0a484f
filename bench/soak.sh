#!/usr/bin/env bash
# A long run of the real Morix.exe under Wine on a private Xvfb, to see
# whether anything it holds grows: a fresh copy of the program folder (the
# sample memo seen), Wine's notepad in front; every 3 s the pointer rests on
# the clock (the balloon opens) and leaves it, every 5 s notepad is moved
# (the clock follows). Every minute, with the balloon closed, it samples
# Morix.exe's resident memory (VmRSS), its open file descriptors
# (/proc/<pid>/fd), and what the probe sees from inside Wine (probe
# gui-objects: GDI and USER objects, kernel handles, the process's windows).
# Prints each sample, then the growth from the first minute to the end.
#   bench/soak.sh [seconds, default 600] [program folder, default dist/Morix]
# Not part of the tests. Needs the native and mingw builds (scripts/test.sh).
set -euo pipefail
seconds=${1:-600}
src=$(cd "${2:-$(dirname "$0")/../dist/Morix}" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
if [ -z "${DISPLAY:-}" ] || [ -z "${MORIX_SOAK_INNER:-}" ]; then
    exec env MORIX_SOAK_INNER=1 scripts/with-xvfb.sh "$0" "$seconds" "$src"
fi
probe_exe=$root/build/mingw/morix_probe.exe
[ -f "$probe_exe" ] || { echo "build morix_probe first (cmake --build --preset mingw --target morix_probe)" >&2; exit 2; }
. scripts/wine-env.sh
morix_wine_prefix
dir=$root/build/bench-soak/Morix
rm -rf "$root/build/bench-soak"; mkdir -p "$(dirname "$dir")"; cp -r "$src" "$dir"; rm -f "$dir/Morix.ini"
{ printf '[Morix]\r\n'; printf '起動時のSample.rtf=1\r\n' | iconv -f UTF-8 -t CP932; } > "$dir/Morix.ini"

probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
field() { sed -n "s/^$1=//p"; }
. bench/wine-pids.sh

pids=()
stop_all() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
}
trap stop_all EXIT

wine notepad >/dev/null 2>&1 &
pids+=($!)
probe window メモ帳 20000 >/dev/null || { echo "notepad did not come up" >&2; exit 1; }
probe move メモ帳 100 80 600 400 >/dev/null || true
(cd "$dir" && exec wine Morix.exe >/dev/null 2>&1) &
pids+=($!)
probe clock 20000 >/dev/null || { echo "the clock did not come up" >&2; exit 1; }
xdotool mousemove 6 6 mousemove 5 5
clock=$(morix_process_of "$dir/Morix.exe") || { echo "no process runs $dir/Morix.exe" >&2; exit 1; }
echo "Morix.exe: pid $clock ($(morix_cmdline "$clock")), program folder $src"

balloon_gone() { local i; for i in $(seq 30); do probe window "Morix - 情報" 50 >/dev/null || return 0; sleep 0.1; done; return 1; }
samples=()
sample() {  # sample <elapsed s>: one line of figures, kept for the summary
    balloon_gone || true
    local rss fds gui
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$clock/status")
    fds=$(find "/proc/$clock/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
    gui=$(probe gui-objects)
    # A count the system does not keep reads as n/a: GetGuiResources fails
    # with error 120 (not implemented) under Wine, whose handle count of a
    # process is 0.
    local gdi user handles line
    gdi=$(echo "$gui" | field gdi) user=$(echo "$gui" | field user) handles=$(echo "$gui" | field handles)
    [ "$gdi" = 0 ] && [ "$(echo "$gui" | field gdi_error)" != 0 ] && gdi=n/a
    [ "$user" = 0 ] && [ "$(echo "$gui" | field user_error)" != 0 ] && user=n/a
    [ "$handles" = 0 ] && handles=n/a
    line=$(printf '%s %s %s %s %s %s %s' "$1" "$rss" "$fds" "${gdi:-?}" "${user:-?}" "${handles:-?}" \
        "$(echo "$gui" | field windows)")
    samples+=("$line")
    set -- $line
    printf '%5s s  VmRSS %7s kB  fds %4s  GDI %4s  USER %4s  handles %5s  windows %3s\n' "$@"
    if [ "${#samples[@]}" -eq 1 ]; then
        echo "       (probe gui-objects: $(echo "$gui" | tr '\n' ' '))"
    fi
}

start=$(date +%s)
elapsed() { echo $(( $(date +%s) - start )); }
next_hover=0 next_move=5 next_sample=60 hovers=0 opened=0 moves=0 flip=0
while [ "$(elapsed)" -lt "$seconds" ]; do
    kill -0 "$clock" 2>/dev/null || { echo "Morix.exe ended at $(elapsed) s" >&2; exit 1; }
    now=$(elapsed)
    if [ "$now" -ge "$next_sample" ]; then
        sample "$now"
        next_sample=$((next_sample + 60))
    elif [ "$now" -ge "$next_move" ]; then
        if [ "$flip" -eq 0 ]; then probe move メモ帳 300 200 640 420 >/dev/null || true; flip=1
        else probe move メモ帳 100 80 600 400 >/dev/null || true; flip=0; fi
        moves=$((moves + 1))
        next_move=$((next_move + 5))
    elif [ "$now" -ge "$next_hover" ]; then
        rect=$(probe clock 3000 | field rect)
        if [ -n "$rect" ]; then
            set -- $rect
            xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
            # Resting until the balloon stands (a tick or two), then off again.
            probe window "Morix - 情報" 2000 >/dev/null && opened=$((opened + 1))
            xdotool mousemove 5 5
        fi
        hovers=$((hovers + 1))
        next_hover=$((next_hover + 3))
    else
        sleep 0.2
    fi
done
sample "$(elapsed)"
echo "over $(elapsed) s: $hovers hovers ($opened saw the balloon open), $moves notepad moves"
set -- ${samples[0]}; f=("$@")
set -- ${samples[-1]}; l=("$@")
growth() { if [[ "$1" =~ ^[0-9]+$ && "$2" =~ ^[0-9]+$ ]]; then echo $(( $2 - $1 )); else echo "-"; fi; }
printf 'growth from %s s to %s s: VmRSS %s kB, fds %s, GDI %s, USER %s, handles %s, windows %s\n' "${f[0]}" "${l[0]}" \
    "$(growth "${f[1]}" "${l[1]}")" "$(growth "${f[2]}" "${l[2]}")" "$(growth "${f[3]}" "${l[3]}")" \
    "$(growth "${f[4]}" "${l[4]}")" "$(growth "${f[5]}" "${l[5]}")" "$(growth "${f[6]}" "${l[6]}")"
probe close-clock >/dev/null || true
for _ in $(seq 100); do kill -0 "$clock" 2>/dev/null || break; sleep 0.1; done
