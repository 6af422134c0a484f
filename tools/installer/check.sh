#!/usr/bin/env bash
# Checks one architecture's installers under Wine (run by scripts/release.sh
# --check, with DISPLAY on a private Xvfb):
#   tools/installer/check.sh <x64|x86> <older.msi> <its program folder> <newer.msi> <its program folder> <icon> <probe>
# The older one installs per machine into Program Files, with the Start-menu
# shortcut and the entry in the list of programs, and the clock starts from
# there; the newer one replaces it and keeps the settings and memos a user
# has beside the program and in %APPDATA%\Morix; its uninstallation takes
# away its files and leaves %APPDATA%\Morix alone. One line per check; the
# exit status is the number of failed checks.
set -u
arch=$1 old=$2 oldsrc=$3 new=$4 newsrc=$5 icon=$6 probe=$7
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env.sh"; morix_wine_prefix
# The menu builder would only turn the shortcut into a desktop entry in the
# private home.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

fails=0
say() {  # say <status of the check> <what was checked>
    if [ "$1" = 0 ]; then echo "release: msi $arch: $2: ok"
    else echo "release: msi $arch: $2: FAILED"; fails=$((fails + 1)); fi
}

prop() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v k="$2" '$1 == k { print $2 }'; }
oldver=$(prop "$old" ProductVersion) newver=$(prop "$new" ProductVersion)
oldcode=$(prop "$old" ProductCode) newcode=$(prop "$new" ProductCode)
case $arch in
    x64) instw='C:\Program Files\Morix' ;;
    x86) instw='C:\Program Files (x86)\Morix' ;;
esac
winpath() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
inst=$(winepath -u "$instw" 2>/dev/null)
inst=${inst%/}
appdataw=$(winpath APPDATA) programdataw=$(winpath ProgramData)
appdata=$(winepath -u "$appdataw\\Morix" 2>/dev/null); appdata=${appdata%/}
linksw=("$programdataw\\Microsoft\\Windows\\Start Menu\\Programs" "$appdataw\\Microsoft\\Windows\\Start Menu\\Programs")
links=("$(winepath -u "${linksw[0]}" 2>/dev/null)" "$(winepath -u "${linksw[1]}" 2>/dev/null)")
work="$root/build/release/check-msi-$arch"

msiexec() {  # msiexec /i|/x <msi>
    wine msiexec "$1" "$(winepath -w "$2" 2>/dev/null)" /qn >/dev/null 2>&1
}

# The program's files (not the user's data) of a folder, in byte order.
program_files() {
    ( cd "$1" && find . -type f ! -path ./Morix.ini ! -path './Tickdata/*' ! -path './Recovered/*' -printf '%P\n' \
        | LC_ALL=C sort )
}
# The installed folder holds a program folder's files, the same bytes, and
# no other program file.
same_files() {  # same_files <program folder> <installed folder>
    [ -d "$2" ] || return 1
    [ "$(program_files "$1")" = "$(program_files "$2")" ] || return 1
    local f
    while IFS= read -r f; do cmp -s "$1/$f" "$2/$f" || return 1; done < <(program_files "$1")
}
none_left() {  # none_left <program folder> <installed folder>
    local f
    while IFS= read -r f; do [ ! -e "$2/$f" ] || return 1; done < <(program_files "$1")
}
# The Start-menu shortcut, to the installed Morix.exe. Windows puts a
# per-machine installation's in the common Start menu; Wine's msi puts it
# in the user's.
shortcut() {
    local i
    for i in 0 1; do
        [ -f "${links[$i]}/Morix.lnk" ] && grep -aqF "$instw\\Morix.exe" "${links[$i]}/Morix.lnk" \
            && { echo "${linksw[$i]}\\Morix.lnk"; return 0; }
    done
    return 1
}
no_shortcut() { local l; for l in "${links[@]}"; do [ ! -e "$l/Morix.lnk" ] || return 1; done; }
# The entry in the list of installed programs: its values, from whichever
# view of the registry holds it.
arp() {  # arp <product code>
    local view out
    for view in 64 32; do
        # reg tells of a missing key on standard output: only its status says.
        if out=$(wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" /reg:$view 2>/dev/null); then
            printf '%s\n' "${out//$'\r'/}"; return 0
        fi
    done
    return 1
}
arp_value() { sed -n "s/^ *$2 *REG_[A-Z_]* *//p" <<<"$1"; }
arp_entry() {  # arp_entry <product code> <version>: Morix of that version, installed there
    local a; a=$(arp "$1") || return 1
    [ "$(arp_value "$a" DisplayName)" = Morix ] && [ "$(arp_value "$a" DisplayVersion)" = "$2" ] \
        && [ "$(arp_value "$a" Publisher)" = "The Morix developers" ] \
        && [ "$(arp_value "$a" InstallLocation)" = "$instw\\" ]
}
# The icon the list shows: ARPPRODUCTICON, kept by Windows Installer for the
# product (its ProductIcon, under the product code's packed form).
packed() {
    local g=${1//[\{\}-]/} p="" i
    for i in 7 6 5 4 3 2 1 0 11 10 9 8 15 14 13 12; do p+=${g:$i:1}; done
    for ((i = 16; i < 32; i += 2)); do p+=${g:$((i + 1)):1}${g:$i:1}; done
    printf '%s' "$p"
}
arp_icon() {  # arp_icon <product code>
    local out f
    out=$(wine reg query "HKLM\\Software\\Classes\\Installer\\Products\\$(packed "$1")" /v ProductIcon /reg:64 2>/dev/null) || return 1
    f=$(arp_value "${out//$'\r'/}" ProductIcon)
    [ -n "$f" ] && cmp -s "$icon" "$(winepath -u "$f" 2>/dev/null)"
}
# The clock started from the installed folder, seen by the probe, closed; it
# wrote its settings where it keeps its data (beside it, which Wine lets it
# write, or %APPDATA%\Morix).
run_clock() {
    rm -f "$inst/Morix.ini" "$appdata/Morix.ini"
    ( cd "$inst" && exec wine Morix.exe >/dev/null 2>&1 ) &
    local pid=$! ok=0
    wine "$probe" clock 20000 > "$work/clock.txt" 2>/dev/null || ok=1
    wine "$probe" close-clock >/dev/null 2>&1
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    kill $pid 2>/dev/null; wait $pid 2>/dev/null
    [ -f "$inst/Morix.ini" ] || [ -f "$appdata/Morix.ini" ] || ok=1
    return $ok
}
# A user's settings and memo, different in each place.
user_data() {  # user_data <folder> <place>
    mkdir -p "$1/Tickdata"
    printf '[Morix]\r\n; %s\r\nDesign=Lantern\r\nChime=1\r\n' "$2" > "$1/Morix.ini"
    printf '{\\rtf1\\ansi\\deff0 {\\fonttbl {\\f0 MS UI Gothic;}}\\f0 %s: the meeting at ten\\par }\r\n' "$2" > "$1/Tickdata/20261209.rtf"
}
same_data() {  # same_data <folder> <reference>
    cmp -s "$1/Morix.ini" "$2/Morix.ini" && cmp -s "$1/Tickdata/20261209.rtf" "$2/Tickdata/20261209.rtf"
}

# What an earlier run may have left in the prefix goes first.
msiexec /x "$new"; msiexec /x "$old"
rm -rf "$inst" "$appdata" "$work"; mkdir -p "$work"

msiexec /i "$old"; say $? "msiexec /i Morix-$oldver-$arch.msi"
same_files "$oldsrc" "$inst" && [ ! -e "$inst/Tickdata" ]
say $? "the files of the zip's Morix/ folder ($(program_files "$oldsrc" | wc -l)) in $instw, no Tickdata"
lnk=$(shortcut); say $? "Start-menu shortcut Morix to $instw\\Morix.exe${lnk:+ ($lnk)}"
arp_entry "$oldcode" "$oldver"; say $? "installed programs: Morix $oldver, The Morix developers, in $instw\\"
arp_icon "$oldcode"; say $? "installed programs: the program's icon"
# A 32-bit clock on a machine that cannot run it: the check is skipped.
if reason=$(morix_wine_can_run "$inst/Morix.exe"); then
    run_clock; say $? "clock started from $instw and ended"
else
    echo "release: msi $arch: clock started from $instw and ended: $reason"
fi

# The user's data, beside the program (Wine lets a user write Program
# Files) and in %APPDATA%\Morix, and copies to compare with.
user_data "$inst" "beside the program"; user_data "$appdata" "in APPDATA"
mkdir -p "$work/beside"
cp -r "$inst/Morix.ini" "$inst/Tickdata" "$work/beside/"
cp -a "$appdata" "$work/appdata"

msiexec /i "$new"; say $? "msiexec /i Morix-$newver-$arch.msi over $oldver"
same_data "$inst" "$work/beside"
say $? "upgrade kept Morix.ini and Tickdata\\20261209.rtf beside the program"
same_data "$appdata" "$work/appdata" && diff -r "$appdata" "$work/appdata" >/dev/null
say $? "upgrade kept Morix.ini and Tickdata\\20261209.rtf in %APPDATA%\\Morix"
same_files "$newsrc" "$inst" && ! cmp -s "$oldsrc/Morix.exe" "$inst/Morix.exe"
say $? "the program files are $newver's"
arp_entry "$newcode" "$newver" && ! arp "$oldcode" >/dev/null
say $? "installed programs: only Morix $newver"
shortcut >/dev/null; say $? "Start-menu shortcut kept"

msiexec /x "$new"; say $? "msiexec /x Morix-$newver-$arch.msi"
none_left "$newsrc" "$inst"; say $? "uninstalled: no program file left in $instw"
no_shortcut && ! arp "$newcode" >/dev/null; say $? "uninstalled: no shortcut, no entry in installed programs"
same_data "$appdata" "$work/appdata" && diff -r "$appdata" "$work/appdata" >/dev/null
say $? "uninstalled: %APPDATA%\\Morix untouched"

rm -rf "$inst" "$appdata"
exit $fails
