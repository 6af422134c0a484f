#!/usr/bin/env bash
# Builds everything and runs every test: the native suite (the program over
# the simulated desktop, the settings file, libvitalink.so, the assets, the
# settings fuzz target for a bounded time), then the Windows suite under Wine
# on a private Xvfb (Win32 components, the differential test against the
# system's profile functions, vitalink.dll, end to end with Morix.exe), then
# the 32-bit build's tests under 32-bit Wine (vitalink.dll, the start-up).
# On a machine that cannot run 32-bit programs the 32-bit build is still
# built and its files read (tests/pe), and the tests that would run it are
# reported as skipped, with the reason.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

echo "== native build =="
cmake --preset native >/dev/null
cmake --build --preset native
# A failed suite does not stop the others: every suite runs and says what
# it saw, and the command fails at the end if any did.
failed=()
echo "== native tests =="
ctest --preset native || failed+=(native)

echo "== Windows build (MinGW-w64) =="
cmake --preset mingw >/dev/null
cmake --build --preset mingw
echo "== Windows tests under Wine =="
. scripts/wine-env.sh
morix_wine_prefix
scripts/with-xvfb.sh ctest --preset mingw || failed+=("Windows under Wine")

echo "== 32-bit Windows build (MinGW-w64 i686) =="
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86
echo "== 32-bit Windows tests under Wine =="
[ "$MORIX_WINE32" = yes ] || echo "32-bit tests that run the programs: skipped: $MORIX_NO32_REASON"
scripts/with-xvfb.sh ctest --preset mingw-x86 || failed+=("32-bit Windows")

if [ ${#failed[@]} -gt 0 ]; then
    printf 'test: failed: %s\n' "${failed[@]}"
    exit 1
fi
