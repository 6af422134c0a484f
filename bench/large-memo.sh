#!/usr/bin/env bash
# The memo window opening memos of 128 kB to 4 MB (RTF and plain text) over
# the real controls under Wine on a private Xvfb: bench_large_memo_wine run
# from a fresh copy of the program folder.
#   bench/large-memo.sh [runs per size, default 3] [largest size in kB, default 4096] [step in kB, default: doubling] [program folder]
# Needs the native and mingw builds (scripts/test.sh). The error prompt of a
# memo above the size the window opens is answered by the harness's own
# display: the run is unattended only while every size opens, so the script
# answers a waiting prompt with the probe-free xdotool key Return.
set -euo pipefail
runs=${1:-3} largest=${2:-4096} step=${3:-0}
src=$(cd "${4:-$(dirname "$0")/../dist/Morix}" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
harness=${MORIX_BENCH_HARNESS:-$root/build/mingw/bench_large_memo_wine.exe}  # another build's harness, to compare
[ -f "$harness" ] || { echo "build bench_large_memo_wine first (cmake --build --preset mingw --target bench_large_memo_wine)" >&2; exit 2; }
dir=$root/build/bench-large-memo/Morix
rm -rf "$root/build/bench-large-memo"; mkdir -p "$(dirname "$dir")"; cp -r "$src" "$dir"; rm -f "$dir/Morix.ini"
cp "$harness" "$dir/"
exec scripts/with-xvfb.sh bash -c '
    ( while sleep 2; do xdotool key --clearmodifiers Return 2>/dev/null; done ) & answerer=$!
    timeout 1800 scripts/wine-run.sh "$@"; rc=$?
    kill $answerer 2>/dev/null; . scripts/wine-env.sh; wineserver -w; exit $rc' _ "$dir/bench_large_memo_wine.exe" "$runs" "$largest" "$step"
