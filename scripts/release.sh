#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit program folder as release builds and
# packs each into a zip a user downloads: dist/Morix-1.0.0-win64.zip and
# dist/Morix-1.0.0-win32.zip, each holding one folder Morix/ (no Morix.ini),
# and dist/SHA256SUMS. The zips are the same bytes for the same commit: the
# files go in a fixed order with a fixed time, and without the extra fields
# of access and change times (Info-ZIP's zip -X; CMake's own archiver writes
# a file's change time, which no copy can fix).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
version=1.0.0
scripts/deps.sh

cmake --preset native >/dev/null && cmake --build --preset native --target assets
for preset in mingw mingw-x86; do
    cmake --preset "$preset" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build --preset "$preset" --target Morix vitalink
done

# The time every file of the zips carries: the commit's, so that the same
# commit gives the same bytes.
stamp=$(TZ=UTC git log -1 --format=%cd --date=format-local:'%Y-%m-%d %H:%M:%S' 2>/dev/null || echo '2026-01-01 00:00:00')
pack() {  # pack <program folder> <zip>
    local stage="$root/build/release/$(basename "$2" .zip)"
    rm -rf "$stage"; mkdir -p "$stage"
    cp -r "$1" "$stage/Morix"
    rm -f "$stage/Morix/Morix.ini"
    ( cd "$stage"
      # The files, in byte order.
      find Morix -type f | LC_ALL=C sort > files.txt
      TZ=UTC find Morix -exec touch -h -d "$stage_time" {} +
      rm -f "$2"
      TZ=UTC zip -X -D -q -9 "$2" -@ < files.txt
      # -D leaves folders out; the memo folder is one with no file in it.
      TZ=UTC zip -X -q "$2" Morix/Tickdata/ )
    echo "release: $2 ($(wc -l < "$stage/files.txt") entries)"
}
stage_time=$stamp
pack "$root/dist/Morix" "$root/dist/Morix-$version-win64.zip"
pack "$root/dist/Morix-x86" "$root/dist/Morix-$version-win32.zip"
( cd "$root/dist" && sha256sum "Morix-$version-win64.zip" "Morix-$version-win32.zip" > SHA256SUMS && cat SHA256SUMS )

# --check: each zip unpacked into a folder whose name has spaces and Japanese
# characters starts there under Wine (the 32-bit one as a 32-bit process) and
# ends when closed.
if [ "${1:-}" = --check ]; then
    cmake --build --preset mingw --target morix_probe >/dev/null
    check_zip() {
        local place="$root/build/release/展開 テスト $1"
        rm -rf "$place"; mkdir -p "$place"
        ( cd "$place" && unzip -q "$root/dist/Morix-$version-$1.zip" )
        . "$root/scripts/wine-env.sh"; morix_wine_prefix
        ( cd "$place/Morix" && exec wine Morix.exe >/dev/null 2>&1 ) &
        local pid=$! probe="$root/build/mingw/morix_probe.exe" ok=1
        wine "$probe" clock 20000 > "$place/clock.txt" 2>/dev/null || ok=0
        wine "$probe" close-clock >/dev/null 2>&1
        for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
        kill $pid 2>/dev/null; wait $pid 2>/dev/null
        [ -f "$place/Morix/Morix.ini" ] || ok=0
        echo "release: $1 from \"$place\": $([ $ok = 1 ] && echo started and ended || echo FAILED)"
        [ $ok = 1 ]
    }
    export -f check_zip; export root version
    scripts/with-xvfb.sh bash -c 'check_zip win64 && check_zip win32'
fi
