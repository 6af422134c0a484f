#!/usr/bin/env bash
# End to end: the real Morix.exe in fresh copies of the program folder, under
# Wine on the display given in DISPLAY (scripts/with-xvfb.sh), observed from
# outside by the probe and driven with xdotool, with Wine's notepad as a real
# window in front. Screenshots go to build/.../e2e/shots. Prints one line per
# check and "N passed, N failed" at the end.
#   e2e.sh <dist folder> <probe.exe> <work folder>
set -u
dist=$1 probe_exe=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"
morix_wine_prefix
shots="$work/shots"
rm -rf "$work"; mkdir -p "$shots"

passed=0 failed=0
check() {  # check <name> <command...>
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); echo "ok   - $name"
    else failed=$((failed + 1)); echo "FAIL - $name"; fi
}
probe() {  # the probe's output without CRs, and its exit status
    local out rc
    out=$(wine "$probe_exe" "$@" 2>/dev/null); rc=$?
    [ -n "$out" ] && printf '%s\n' "$out" | tr -d '\r'
    return $rc
}
field() { sed -n "s/^$1=//p"; }
shot() { import -window root "$shots/$1.png" 2>/dev/null; }

# The settings file read as the program wrote it (CP932).
ini_get() {  # ini_get <folder> <key>  → the value, or "<missing>"
    local f="$1/Morix.ini"
    [ -f "$f" ] || { echo "<missing>"; return; }
    iconv -f CP932 -t UTF-8 "$f" | tr -d '\r' | awk -v k="$2" -F= '
        /^\[/ { in_s = ($0 == "[Morix]") ; next }
        in_s && $1 == k { sub(/^[^=]*=/, ""); print; found = 1; exit }
        END { if (!found) print "<missing>" }'
}

fresh_folder() {  # fresh_folder <name> → path of a new copy of the program folder
    local d="$work/$1/Morix"
    mkdir -p "$(dirname "$d")"
    cp -r "$dist" "$d"
    rm -f "$d/Morix.ini"
    echo "$d"
}

pids=()
start_clock() {  # start_clock <folder>; sets clock_pid
    (cd "$1" && exec wine Morix.exe >/dev/null 2>&1) &
    clock_pid=$!
    pids+=("$clock_pid")
}
start_notepad() {
    wine notepad >/dev/null 2>&1 &
    notepad_pid=$!
    pids+=("$notepad_pid")
}
stop_all() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
    pids=()
    wineserver -k 2>/dev/null  # our own prefix's server only
    sleep 1
}
trap stop_all EXIT

waited_exit() {  # waited_exit <pid> <seconds>: true when the process ended in time
    local i
    for i in $(seq $(( $2 * 10 ))); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}

for case_file in "$here"/cases/*.sh; do
    echo "# $(basename "$case_file" .sh)"
    . "$case_file"
    stop_all
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
