#!/usr/bin/env bash
# What the running clock costs when nothing happens: Morix.exe and the Wine
# server's share of one core over a while (default 120 s), with following on
# and the desktop in front, under Wine on a private Xvfb. Needs the program
# folder built (scripts/test.sh or scripts/run.sh).
#   bench/idle.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-120}
if [ -z "${DISPLAY:-}" ] || [ -z "${MORIX_IDLE_INNER:-}" ]; then
    exec env MORIX_IDLE_INNER=1 scripts/with-xvfb.sh "$0" "$seconds"
fi
. scripts/wine-env.sh
morix_wine_prefix
dir=$root/build/bench-idle/Morix
rm -rf "$root/build/bench-idle"; mkdir -p "$(dirname "$dir")"; cp -r dist/Morix "$dir"; rm -f "$dir/Morix.ini"
printf '[Morix]\r\n' > "$dir/Morix.ini"
printf '起動時のSample.rtf=1\r\n' | iconv -f UTF-8 -t CP932 >> "$dir/Morix.ini"
(cd "$dir" && exec wine Morix.exe >/dev/null 2>&1) &
clock=$!
trap 'kill $clock 2>/dev/null; wait $clock 2>/dev/null; wineserver -k 2>/dev/null' EXIT
sleep 8
# The Wine server of this prefix (the one this script's Wine started).
server=""
for p in $(pgrep -u "$(id -u)" -x wineserver); do
    if tr '\0' '\n' < "/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then server=$p; fi
done
[ -n "$server" ] || server=$(pgrep -u "$(id -u)" -n -x wineserver || true)
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
c0=$(ticks "$clock") s0=$(ticks "$server") t0=$(date +%s.%N)
sleep "$seconds"
c1=$(ticks "$clock") s1=$(ticks "$server") t1=$(date +%s.%N)
awk -v c=$((c1 - c0)) -v s=$((s1 - s0)) -v hz="$hz" -v t0="$t0" -v t1="$t1" 'BEGIN {
    t = t1 - t0
    printf "over %.0f s: Morix.exe %.3f %%, wineserver %.3f %%, together %.3f %% of one core\n",
           t, 100 * c / hz / t, 100 * s / hz / t, 100 * (c + s) / hz / t }'
