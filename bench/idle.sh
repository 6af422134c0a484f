#!/usr/bin/env bash
# What the running clock costs when nothing happens: Morix.exe and the Wine
# server's share of one core over a while (default 120 s), under Wine on a
# private Xvfb, in one of three situations (bench/idle-setup.sh): following
# on with the desktop in front (default), with notepad in front, or
# following off. Runs a fresh copy of the program folder (default
# dist/Morix, built by scripts/test.sh or scripts/run.sh; another build's
# folder can be given, an older one too).
#   bench/idle.sh [seconds] [program folder] [desktop|notepad|unfollowed|floor]
# "floor" runs notepad alone, without the clock, and gives the Wine server's
# own share: the server wakes every 16 ms to update the time it shares with
# every process, clock or not, so its figure in the other situations is that
# floor plus what the clock asks of it.
# With MORIX_IDLE_STRACE=<seconds>, the share is followed by a count of the
# system calls of the Wine server and of Morix.exe over that long, by name,
# and of the files each opened (strace -f; the share is measured first,
# without strace attached). The figures are of the process that runs
# Morix.exe, which `wine Morix.exe` may start as a child of start.exe.
set -euo pipefail
seconds=${1:-120}
situation=${3:-desktop}
src=$(cd "${2:-$(dirname "$0")/../dist/Morix}" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
if [ -z "${DISPLAY:-}" ] || [ -z "${MORIX_IDLE_INNER:-}" ]; then
    exec env MORIX_IDLE_INNER=1 scripts/with-xvfb.sh "$0" "$seconds" "$src" "$situation"
fi
. bench/idle-setup.sh
morix_idle_prepare "$src" "$situation"
dir=$root/build/bench-idle/Morix
trap morix_idle_stop EXIT
morix_idle_folder "$src" "$dir" "$situation"
morix_idle_start "$dir" "$situation" "$probe_exe"
clock=
if [ "$situation" != floor ]; then
    clock=$(morix_process_of "$dir/Morix.exe") || { echo "no process runs $dir/Morix.exe" >&2; exit 1; }
    echo "program folder: $src; situation: $situation"
    echo "Morix.exe: pid $clock ($(morix_cmdline "$clock"))"
fi
server=$(morix_wineserver) || { echo "no wineserver of $WINEPREFIX found" >&2; exit 1; }
echo "wineserver: pid $server ($(morix_cmdline "$server"))"

ticks() { if [ -n "$1" ]; then awk '{ print $14 + $15 }' "/proc/$1/stat"; else echo 0; fi; }
hz=$(getconf CLK_TCK)
c0=$(ticks "$clock") s0=$(ticks "$server") t0=$(date +%s.%N)
sleep "$seconds"
c1=$(ticks "$clock") s1=$(ticks "$server") t1=$(date +%s.%N)
awk -v c=$((c1 - c0)) -v s=$((s1 - s0)) -v hz="$hz" -v t0="$t0" -v t1="$t1" -v floor="$([ -z "$clock" ] && echo 1)" 'BEGIN {
    t = t1 - t0
    if (floor) { printf "over %.0f s, no clock: wineserver %.3f %% of one core\n", t, 100 * s / hz / t; exit }
    printf "over %.0f s: Morix.exe %.3f %%, wineserver %.3f %%, together %.3f %% of one core\n",
           t, 100 * c / hz / t, 100 * s / hz / t, 100 * (c + s) / hz / t }'
[ -n "$clock" ] || exit 0

if [ -n "${MORIX_IDLE_STRACE:-}" ]; then
    command -v strace >/dev/null || { echo "strace is not installed" >&2; exit 1; }
    out=$root/build/bench-idle
    strace -f -qq -o "$out/wineserver.strace" -p "$server" 2>/dev/null &
    st1=$!
    strace -f -qq -o "$out/morix.strace" -p "$clock" 2>/dev/null &
    st2=$!
    sleep "$MORIX_IDLE_STRACE"
    kill -INT "$st1" "$st2"; wait "$st1" "$st2" 2>/dev/null || true
    for who in wineserver morix; do
        echo "system calls of $who over $MORIX_IDLE_STRACE s (strace -f), by name, and the files it opened:"
        # One line per call ("pid name(args) = result"); a call another
        # thread interrupted continues on a "<... name resumed>" line, not
        # counted again.
        awk '{ sub(/^[0-9]+ +/, "") }
             /^[a-z_0-9]+\(/ { n = substr($0, 1, index($0, "(") - 1); calls[n]++; all++
                               if (n == "openat" && match($0, /"[^"]*"/)) opened[substr($0, RSTART, RLENGTH)]++ }
             END { for (k in calls) printf "  %8d  %s\n", calls[k], k; printf "  %8d  (all)\n", all
                   for (k in opened) printf "  %8d  openat %s\n", opened[k], k }' "$out/$who.strace" |
            sort -n -r | head -24
    done
    echo "(the calls one by one: $out/wineserver.strace, $out/morix.strace)"
fi
