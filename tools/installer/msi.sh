#!/usr/bin/env bash
# Builds the installer of a program folder with wixl:
#   tools/installer/msi.sh <program folder> <icon> <x64|x86> <version> <out.msi> <work folder> <time>
# The program folder is the one the zip holds (its files' times already the
# release's); <time> ("2026-12-08 10:00:00", UTC) is the package's time.
# The same folder, version and time give the same bytes: wixl's only own
# randomness, the package code, is replaced by one made from the package's
# tables and files, and its clock reads <time> (libfaketime).
set -euo pipefail
src=$(cd "$1" && pwd) icon=$2 arch=$3 version=$4 out=$5 work=$6 stamp=$7
here=$(cd "$(dirname "$0")" && pwd)

name_guid() {  # as files.sh makes them
    local h; h=$(printf '%s' "$1" | sha1sum); h=${h%% *}
    printf '%s-%s-5%s-%x%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" \
        $(( (0x${h:16:1} & 3) | 8 )) "${h:17:3}" "${h:20:12}" | tr a-f A-F
}

rm -rf "$work"; mkdir -p "$work"
# wixl finds a Source relative to the folder it runs in.
ln -s "$src" "$work/files"
cp "$icon" "$work/Morix.ico"
cp "$here/Morix.wxs" "$work/Morix.wxs"
"$here/files.sh" "$src" "$arch" files > "$work/Files.wxs"

# Each version is another product to Windows Installer: its product code
# follows the version; the upgrade code (Morix.wxs) stays.
product=$(name_guid "Morix product $arch $version")
frozen() { TZ=UTC faketime -f "$stamp" "$@"; }
rm -f "$out"
( cd "$work" && frozen wixl -a "$arch" -D Arch="$arch" -D Version="$version" -D ProductCode="$product" \
      -o "$out" Morix.wxs Files.wxs )

# The package code: from everything in the package but the summary that
# holds it.
summary=$(msiinfo suminfo "$out")
field() { sed -n "s/^$1: //p" <<<"$summary"; }
# (An export writes a table's streams, the icon's, into files of its own.)
mkdir "$work/tables"
content=$( cd "$work/tables" && {
               for t in $(msiinfo tables "$out" | tr -d '\r' | LC_ALL=C sort); do
                   [ "$t" = _SummaryInformation ] || msiinfo export "$out" "$t"
               done
               find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r cat
               msiinfo extract "$out" Morix.cab; } | sha256sum)
package=$(name_guid "Morix package ${content%% *}")
frozen msibuild "$out" -s "$(field Subject)" "$(field Author)" "$(field Template)" "{$package}"

# The package holds every file of the program folder but the user's data.
want=$(cd "$src" && find . -type f ! -path ./Morix.ini ! -path './Tickdata/*' ! -path './Recovered/*' | wc -l)
have=$(msiinfo export "$out" File | tail -n +4 | wc -l)
[ "$want" = "$have" ] || { echo "msi.sh: $out holds $have files, the folder $want" >&2; exit 1; }
msiinfo suminfo "$out" | grep -q "^Revision number (UUID): {$package}$" \
    || { echo "msi.sh: the package code of $out was not set" >&2; exit 1; }
