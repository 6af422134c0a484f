#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit program folder as release builds and
# packs each into a zip a user downloads: dist/Morix-1.0.0-win64.zip and
# dist/Morix-1.0.0-win32.zip, each holding one folder Morix/ (no Morix.ini),
# and dist/SHA256SUMS. The zips are the same bytes for the same commit: the
# files go in a fixed order with a fixed time.
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
stamp=$(git log -1 --format=%cd --date=format:'%Y-%m-%d %H:%M:%S' 2>/dev/null || echo '2026-01-01 00:00:00')
pack() {  # pack <program folder> <zip>
    local stage="$root/build/release/$(basename "$2" .zip)"
    rm -rf "$stage"; mkdir -p "$stage"
    cp -r "$1" "$stage/Morix"
    rm -f "$stage/Morix/Morix.ini"
    ( cd "$stage"
      # Files, and the folders that hold none (Tickdata), in byte order.
      { find Morix -type f; find Morix -type d -empty; } | LC_ALL=C sort > files.txt
      find Morix -exec touch -h -d "$stage_time" {} +
      rm -f "$2"
      cmake -E tar cf "$2" --format=zip --mtime="$stage_time" --files-from=files.txt )
    echo "release: $2 ($(wc -l < "$stage/files.txt") entries)"
}
stage_time=$stamp
pack "$root/dist/Morix" "$root/dist/Morix-$version-win64.zip"
pack "$root/dist/Morix-x86" "$root/dist/Morix-$version-win32.zip"
( cd "$root/dist" && sha256sum "Morix-$version-win64.zip" "Morix-$version-win32.zip" > SHA256SUMS && cat SHA256SUMS )
