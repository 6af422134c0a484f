#!/usr/bin/env bash
# Reads the program folder's Windows files without running them, so that a
# build for a machine this one cannot run still fails here when it is wrong:
# each is a Windows program of the intended machine, imports only the
# system's own libraries (no MinGW runtime DLL a user would not have), and
# carries its version information; vitalink.dll exports the functions the
# clock binds by their plain names; MorixSetTime.exe, the helper that sets
# the time, asks for an administrator in its manifest, and Morix.exe does not.
#   check-program-files.sh <objdump> <i386|x86-64> <program folder> <version>
# Prints one line per check and "N passed, N failed"; fails when any failed.
set -u
objdump=$1 machine=$2 folder=$3 version=$4
passed=0 failed=0
check() {  # check <name> <command...>
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); echo "ok   - $name"
    else failed=$((failed + 1)); echo "FAIL - $name"; fi
}

# The libraries every Windows from 7 on has in its system folder.
system_dlls='kernel32 user32 gdi32 advapi32 comctl32 comdlg32 shell32 shlwapi ole32 oleaut32 winmm msvcrt
             version dwmapi uxtheme imm32 msimg32'
only_system_imports() {  # only_system_imports <dump>
    local dll ok=0
    while read -r dll; do
        dll=$(echo "${dll%.[dD][lL][lL]}" | tr 'A-Z' 'a-z')
        case " $(echo $system_dlls) " in *" $dll "*) ;; *) echo "    imports $dll.dll, not a system library"; ok=1 ;; esac
    done < <(sed -n 's/^[[:space:]]*DLL Name: //p' "$1" | sort -u)
    return $ok
}
exports_plain() {  # exports_plain <dump> <name>: in the name table, undecorated
    grep -Eq "^[[:space:]]*\[ *[0-9]+\] $2\$" "$1"
}
# The version resource (type 16) with the product's name and version in its
# strings, which are UTF-16: taking the NULs out leaves their ASCII letters.
version_resource() {  # version_resource <file> <dump>
    grep -Eq 'Entry: ID: 0x0*10,' <(sed -n '/Resource Directory section/,/Resources start/p' "$2") || return 1
    local strings
    strings=$(LC_ALL=C tr -d '\000' < "$1" | LC_ALL=C grep -aoE 'ProductName.?Morix|ProductVersion.?[0-9.]+' | tr -d '\001-\037')
    grep -q 'ProductNameMorix' <<<"$strings" && grep -Eq "ProductVersion${version//./\\.}(\\.0)?\$" <<<"$strings"
}

work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
for name in Morix.exe MorixSetTime.exe vitalink.dll; do
    file=$folder/$name dump=$work/$name.txt
    check "$name is there" test -f "$file" || continue
    LC_ALL=C "$objdump" -p "$file" > "$dump" 2>/dev/null
    check "$name is a Windows program for $machine" grep -q "file format pei-$machine\$" "$dump"
    check "$name imports only the system's libraries" only_system_imports "$dump"
    check "$name carries version information (Morix $version)" version_resource "$file" "$dump"
done
if [ -f "$folder/vitalink.dll" ]; then
    for fn in GetVitalink GetCpuStart GetCpuUsage; do
        check "vitalink.dll exports $fn by its plain name" exports_plain "$work/vitalink.dll.txt" "$fn"
    done
fi
# The manifest is a resource of plain UTF-8 text.
execution_level() {  # execution_level <file> <level>
    LC_ALL=C grep -aq "requestedExecutionLevel level=\"$2\"" "$1"
}
[ -f "$folder/MorixSetTime.exe" ] &&
    check "MorixSetTime.exe asks for an administrator" execution_level "$folder/MorixSetTime.exe" requireAdministrator
[ -f "$folder/Morix.exe" ] && check "Morix.exe runs as its user starts it" execution_level "$folder/Morix.exe" asInvoker
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
