#!/usr/bin/env bash
# Builds the program folder dist/Morix and starts the clock: natively on
# Windows (Git Bash / MSYS), under Wine elsewhere. With no DISPLAY, the clock
# runs on a private Xvfb and a screenshot is saved to build/screenshots/run.png
# every few seconds; stop it with Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

case "$(uname -s)" in
MINGW*|MSYS*|CYGWIN*)
    cmake -S . -B build/windows
    cmake --build build/windows --config Release
    exec "$root/dist/Morix/Morix.exe"
    ;;
esac

scripts/deps.sh
cmake --preset native >/dev/null && cmake --build --preset native --target assets
cmake --preset mingw >/dev/null && cmake --build --preset mingw --target Morix vitalink
. scripts/wine-env.sh
morix_wine_prefix

start_clock() {
    cd "$root/dist/Morix"
    wine Morix.exe &
    pid=$!
    trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; exit 0' INT TERM
    if [ -n "${MORIX_SCREENSHOTS:-}" ]; then
        mkdir -p "$root/build/screenshots"
        while kill -0 $pid 2>/dev/null; do
            sleep 3
            import -window root "$root/build/screenshots/run.png" 2>/dev/null || true
        done
    fi
    wait $pid
}

if [ -n "${DISPLAY:-}" ]; then
    start_clock
else
    echo "No DISPLAY: running on a private Xvfb; screenshots go to build/screenshots/run.png"
    export MORIX_SCREENSHOTS=1
    export -f start_clock
    export root
    scripts/with-xvfb.sh bash -c start_clock
fi
