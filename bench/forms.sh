#!/usr/bin/env bash
# The information balloon and the memo window timed over the real controls
# under Wine on a private Xvfb: bench_forms_wine run from a fresh copy of the
# program folder (it needs the frames, the sample and vitalink.dll beside it,
# as Morix.exe does).
#   bench/forms.sh [balloon runs, default 50] [memo runs, default 20] [program folder]
# Needs the native and mingw builds (scripts/test.sh).
set -euo pipefail
balloons=${1:-50} memos=${2:-20}
src=$(cd "${3:-$(dirname "$0")/../dist/Morix}" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
harness=${MORIX_BENCH_HARNESS:-$root/build/mingw/bench_forms_wine.exe}  # another build's harness, to compare
[ -f "$harness" ] || { echo "build bench_forms_wine first (cmake --build --preset mingw --target bench_forms_wine)" >&2; exit 2; }
dir=$root/build/bench-forms/Morix
rm -rf "$root/build/bench-forms"; mkdir -p "$(dirname "$dir")"; cp -r "$src" "$dir"; rm -f "$dir/Morix.ini"
cp "$harness" "$dir/"
# The server waited for before the display goes, so that nothing of Wine's
# is cut off from it while still running.
exec scripts/with-xvfb.sh bash -c 'timeout 900 scripts/wine-run.sh "$@"; rc=$?; . scripts/wine-env.sh; wineserver -w; exit $rc' \
    _ "$dir/bench_forms_wine.exe" "$balloons" "$memos"
