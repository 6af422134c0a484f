#!/usr/bin/env bash
# The Wine server requests of one idle tick: the clock runs from a fresh copy
# of the program folder in one of the situations of bench/idle-setup.sh under
# a server that traces every request (wineserver -d1, WINEDEBUG=+server's
# trace), and the requests of Morix.exe's threads over `seconds` are counted
# by name and divided by the ticks seen in that time (the WM_TIMER messages
# its threads took). Each request is a round trip to the server: a figure
# that does not depend on how busy the machine is.
#   bench/tick-requests.sh [seconds, default 20] [program folder] [desktop|notepad|unfollowed]
set -euo pipefail
seconds=${1:-20}
situation=${3:-desktop}
src=$(cd "${2:-$(dirname "$0")/../dist/Morix}" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
if [ -z "${DISPLAY:-}" ] || [ -z "${MORIX_REQUESTS_INNER:-}" ]; then
    exec env MORIX_REQUESTS_INNER=1 scripts/with-xvfb.sh "$0" "$seconds" "$src" "$situation"
fi
. bench/idle-setup.sh
morix_idle_prepare "$src" "$situation"
[ "$situation" != floor ] || { echo "floor has no clock to count" >&2; exit 2; }
out=$root/build/bench-requests
dir=$out/Morix
morix_idle_folder "$src" "$dir" "$situation"
trace=$out/server.trace

wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -f -d1 -p5 > "$trace" 2>&1 &
server_launch=$!
trap 'morix_idle_stop; wait $server_launch 2>/dev/null || true' EXIT
sleep 1
morix_idle_start "$dir" "$situation" "$probe_exe"
clock=$(morix_process_of "$dir/Morix.exe") || { echo "no process runs $dir/Morix.exe" >&2; exit 1; }

from=$(wc -l < "$trace")
sleep "$seconds"
to=$(wc -l < "$trace")
# The server's ids of Morix.exe's threads: each thread's first request names
# its Linux thread (init_first_thread, init_thread: unix_tid=...).
tids=$(ls "/proc/$clock/task" | tr '\n' ' ')

echo "program folder: $src; situation: $situation; Morix.exe pid $clock"
head -n "$to" "$trace" | awk -v from="$from" -v tids="$tids" '
    BEGIN { n = split(tids, t, " "); for (i = 1; i <= n; ++i) unix[t[i]] = 1 }
    /: init_(first_)?thread\(/ && match($0, /unix_tid=[0-9]+/) {
        if (substr($0, RSTART + 9, RLENGTH - 9) in unix) ours[substr($1, 1, length($1) - 1)] = 1
    }
    NR <= from { next }
    { id = substr($1, 1, length($1) - 1) }
    !(id in ours) { next }
    # A request: "id: name( args )"; its reply: "id: name() = ...".
    # A request: "id: name( args )"; its reply: "id: name() = ...". A tick
    # runs from the reply that hands over WM_TIMER to the next one.
    $2 ~ /^[a-z_0-9]+\($/ && ticks {
        name = $2; sub(/\(.*/, "", name); count[name]++; all++; per[ticks]++
    }
    $2 == "get_message()" && /msg=00000113/ { ticks++ }
    END {
        if (ticks < 2) { print "fewer than two ticks seen"; exit 1 }
        n = ticks - 1  # the last tick is cut short by the end of the count
        for (i = 1; i <= n; ++i) for (j = i; j > 1 && per[j - 1] > per[j]; --j) { x = per[j]; per[j] = per[j - 1]; per[j - 1] = x }
        printf "%d ticks: %.1f requests a tick on average, %d the median, %d to %d\n", n, all / ticks, per[int((n + 1) / 2)], per[1], per[n]
        for (k in count) printf "  %6.1f  %s\n", count[k] / ticks, k
    }' | { read -r head; echo "$head"; sort -rn; }
