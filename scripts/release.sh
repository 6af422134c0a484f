#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit program folder as release builds and
# packs each into a zip a user downloads: dist/Morix-1.0.0-win64.zip and
# dist/Morix-1.0.0-win32.zip, each holding one folder Morix/ (no Morix.ini),
# then the installers of the same files, dist/Morix-1.0.0-x64.msi and
# dist/Morix-1.0.0-x86.msi (tools/installer), and dist/SHA256SUMS. The zips
# are the same bytes for the same commit: the files go in a fixed order with
# a fixed time, and without the extra fields of access and change times
# (Info-ZIP's zip -X; CMake's own archiver writes a file's change time, which
# no copy can fix). The installers are too (tools/installer/msi.sh).
#
# The version is the project's (CMakeLists.txt). MORIX_VERSION=1.0.1 builds
# another one, in build trees of its own, into build/release/v1.0.1/dist,
# leaving dist/ and the usual build trees alone.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
project_version=$(sed -n 's/^project(Morix VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$project_version" ] || { echo "release: no version in CMakeLists.txt's project()" >&2; exit 1; }
version=${MORIX_VERSION:-$project_version}
scripts/deps.sh

cmake --preset native >/dev/null && cmake --build --preset native --target assets
if [ "$version" = "$project_version" ]; then
    out=$root/dist folder64=$root/dist/Morix folder32=$root/dist/Morix-x86
    for preset in mingw mingw-x86; do
        # -U: a build tree follows the project's version.
        cmake --preset "$preset" -DCMAKE_BUILD_TYPE=Release -UMORIX_VERSION >/dev/null
        cmake --build --preset "$preset" --target Morix vitalink
    done
else
    other=$root/build/release/v$version
    out=$other/dist folder64=$other/Morix folder32=$other/Morix-x86
    mkdir -p "$out"
    for preset in mingw mingw-x86; do
        folder=$folder64; [ $preset = mingw ] || folder=$folder32
        cmake --preset "$preset" -B "$other/$preset" -DCMAKE_BUILD_TYPE=Release \
            -DMORIX_VERSION="$version" -DMORIX_DIST_DIR="$folder" >/dev/null
        cmake --build "$other/$preset" -j2 --target Morix vitalink
    done
fi

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
pack "$folder64" "$out/Morix-$version-win64.zip"
pack "$folder32" "$out/Morix-$version-win32.zip"

# The installers, of the folders just packed (their files' times the zips').
for arch in x64 x86; do
    zipname=Morix-$version-win64; [ $arch = x64 ] || zipname=Morix-$version-win32
    msi=$out/Morix-$version-$arch.msi
    tools/installer/msi.sh "$root/build/release/$zipname/Morix" "$root/dist/Morix.ico" $arch "$version" \
        "$msi" "$root/build/release/msi-$version-$arch" "$stamp"
    echo "release: $msi ($(msiinfo export "$msi" File | tail -n +4 | wc -l) files)"
done
( cd "$out" && sha256sum "Morix-$version-win64.zip" "Morix-$version-win32.zip" \
      "Morix-$version-x64.msi" "Morix-$version-x86.msi" > SHA256SUMS && cat SHA256SUMS )

# --check: each zip unpacked into a folder whose name has spaces and Japanese
# characters starts there under Wine (the 32-bit one as a 32-bit process) and
# ends when closed; each installer installs, starts the clock, is upgraded
# by the next version (built here with MORIX_VERSION) keeping the user's
# data, and uninstalls (tools/installer/check.sh).
if [ "${1:-}" = --check ]; then
    cmake --build --preset mingw --target morix_probe >/dev/null
    next=${version%.*}.$(( ${version##*.} + 1 ))
    MORIX_VERSION=$next scripts/release.sh >/dev/null
    check_zip() {
        local place="$root/build/release/展開 テスト $1" machine=x86-64
        [ $1 = win64 ] || machine=i386
        rm -rf "$place"; mkdir -p "$place"
        ( cd "$place" && unzip -q "$out/Morix-$version-$1.zip" )
        # Its files read, on any machine.
        bash "$root/tests/pe/check-program-files.sh" x86_64-w64-mingw32-objdump $machine "$place/Morix" "$version" \
            > "$place/files.txt" \
            && echo "release: $1: its files are Windows programs for $machine, with system imports and version information" \
            || { sed 's/^/release: '"$1"': /' "$place/files.txt" | grep FAIL; return 1; }
        . "$root/scripts/wine-env.sh"
        if ! reason=$(morix_wine_can_run "$place/Morix/Morix.exe"); then
            echo "release: $1 from \"$place\": not started: $reason"
            return 0
        fi
        morix_wine_prefix
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
    check_msi() {
        local zipname=Morix-$version-win64 nextzip=Morix-$next-win64
        [ $1 = x64 ] || { zipname=Morix-$version-win32; nextzip=Morix-$next-win32; }
        tools/installer/check.sh $1 "$out/Morix-$version-$1.msi" "$root/build/release/$zipname/Morix" \
            "$root/build/release/v$next/dist/Morix-$next-$1.msi" "$root/build/release/$nextzip/Morix" \
            "$root/dist/Morix.ico" "$root/build/mingw/morix_probe.exe"
    }
    export -f check_zip check_msi; export root version out next
    # Every check runs; the status is a failure when any of them failed.
    scripts/with-xvfb.sh bash -c 'f=0; check_zip win64 || f=1; check_zip win32 || f=1
                                  check_msi x64 || f=1; check_msi x86 || f=1; exit $f'
fi
