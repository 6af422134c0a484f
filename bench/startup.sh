#!/usr/bin/env bash
# How long Morix.exe takes to show its clock under Wine on a private Xvfb,
# with the Wine server warm (notepad kept running, so the server and the
# desktop process stay up between the runs). Each run starts from a fresh
# copy of the program folder whose Morix.ini has the sample memo seen (no
# memo window comes); bench_startup_wine starts Morix.exe with CreateProcess,
# times it to its clock window visible, and closes it. One run first warms
# the file cache and is shown apart; the measured runs follow.
#   bench/startup.sh [runs, default 5] [program folder, default dist/Morix]
# Needs the native and mingw builds (scripts/test.sh).
set -euo pipefail
runs=${1:-5}
src=$(cd "${2:-$(dirname "$0")/../dist/Morix}" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
if [ -z "${DISPLAY:-}" ] || [ -z "${MORIX_STARTUP_INNER:-}" ]; then
    exec env MORIX_STARTUP_INNER=1 scripts/with-xvfb.sh "$0" "$runs" "$src"
fi
timer=$root/build/mingw/bench_startup_wine.exe
[ -f "$timer" ] || { echo "build bench_startup_wine first (cmake --build --preset mingw --target bench_startup_wine)" >&2; exit 2; }
. scripts/wine-env.sh
morix_wine_prefix
work=$root/build/bench-startup
rm -rf "$work"; mkdir -p "$work"

wine cmd /c exit >/dev/null 2>&1 || true
wine notepad >/dev/null 2>&1 &
notepad=$!
trap 'kill $notepad 2>/dev/null; wait $notepad 2>/dev/null; wineserver -k 2>/dev/null' EXIT
sleep 3

winpath() { echo "Z:$1" | tr / '\\'; }
one_run() {  # one_run <n>: prints the milliseconds to the visible clock
    local dir=$work/run$1/Morix
    mkdir -p "$(dirname "$dir")"; cp -r "$src" "$dir"; rm -f "$dir/Morix.ini"
    { printf '[Morix]\r\n'; printf '起動時のSample.rtf=1\r\n' | iconv -f UTF-8 -t CP932; } > "$dir/Morix.ini"
    local out
    out=$(wine "$timer" "$(winpath "$dir/Morix.exe")" 30000 2>&1 | tr -d '\r') || { echo "run $1 failed: $out" >&2; return 1; }
    echo "$out" | sed -n 's/^visible_ms=//p'
    # Closed by WM_CLOSE, the clock should end by itself (exit 0).
    local code; code=$(echo "$out" | sed -n 's/^exit=//p')
    [ "$code" = 0 ] || echo "run $1: the clock ended with exit code ${code:-?} after WM_CLOSE" >&2
}

echo "program folder: $src"
echo "warm-up run: $(one_run 0) ms"
times=()
for i in $(seq "$runs"); do
    t=$(one_run "$i")
    echo "run $i: $t ms"
    times+=("$t")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "CreateProcess to clock visible over %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n", NR, v[1], m, v[NR] }'
