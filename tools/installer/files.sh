#!/usr/bin/env bash
# Writes the WiX fragment of a program folder's files to standard output:
#   tools/installer/files.sh <program folder> <x64|x86> <prefix of Source>
# Every file becomes one component (the file its key path; a 64-bit one for
# x64, which wixl does not make by itself) in a nested Directory under
# INSTALLDIR; the ComponentGroup "ProgramFiles" lists them.
# Morix.exe is left to Morix.wxs, which gives it the Start-menu shortcut, and
# the user's data (Morix.ini, Tickdata/, Recovered/) is no part of an
# installation. Folders and files come in byte order, and identifiers and
# component GUIDs are made from the paths, so the same folder gives the same
# text, and a file keeps its component GUID from one version to the next.
set -euo pipefail
src=$1 arch=$2 prefix=$3
[ -d "$src" ] || { echo "files.sh: no folder $src" >&2; exit 1; }
case $arch in
    x64) win64=yes ;;
    x86) win64=no ;;
    *) echo "files.sh: arch is x64 or x86, not $arch" >&2; exit 1 ;;
esac

# A GUID made from the SHA-1 of a name, with the version and variant bits of
# RFC 4122's name-based GUIDs.
name_guid() {
    local h; h=$(printf '%s' "$1" | sha1sum); h=${h%% *}
    printf '%s-%s-5%s-%x%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" \
        $(( (0x${h:16:1} & 3) | 8 )) "${h:17:3}" "${h:20:12}" | tr a-f A-F
}

# Sets id to an identifier (letters, digits, "_" and "." only, at most 72
# characters) made from a path; two paths that would give the same one are
# an error.
declare -A taken=()
ident() {  # ident <letter> <path>
    id="$1_${2//[^A-Za-z0-9_.]/_}"
    if [ ${#id} -gt 72 ]; then
        local h; h=$(printf '%s' "$2" | sha1sum); id="$1_${h:0:32}"
    fi
    if [ -n "${taken[$id]:-}" ]; then
        echo "files.sh: \"$2\" and \"${taken[$id]}\" give the same identifier $id" >&2
        exit 1
    fi
    taken[$id]=$2
}

xml() {  # the text as an XML attribute value
    local s=${1//&/&amp;}; s=${s//</&lt;}; s=${s//>/&gt;}; s=${s//\"/&quot;}
    printf '%s' "$s"
}

components=()
emit() {  # emit <folder relative to the program folder, "" for itself> <indent>
    local rel=$1 ind=$2 name path
    while IFS= read -r -d '' name; do
        path=${rel:+$rel/}$name
        if [ -z "$rel" ] && { [ "$name" = Morix.exe ] || [ "$name" = Morix.ini ]; }; then continue; fi
        ident F "$path"
        components+=("$id")
        echo "$ind<Component Id=\"$id\" Guid=\"$(name_guid "Morix $arch $path")\" Win64=\"$win64\">"
        echo "$ind  <File Id=\"$id\" Name=\"$(xml "$name")\" Source=\"$(xml "$prefix/$path")\" KeyPath=\"yes\"/>"
        echo "$ind</Component>"
    done < <(cd "$src/$rel" && find . -mindepth 1 -maxdepth 1 -type f -printf '%P\0' | LC_ALL=C sort -z)
    while IFS= read -r -d '' name; do
        path=${rel:+$rel/}$name
        if [ -z "$rel" ] && { [ "$name" = Tickdata ] || [ "$name" = Recovered ]; }; then continue; fi
        # A folder with no file anywhere in it is not installed.
        [ -n "$(find "$src/$path" -type f -print -quit)" ] || continue
        ident D "$path"
        echo "$ind<Directory Id=\"$id\" Name=\"$(xml "$name")\">"
        emit "$path" "$ind  "
        echo "$ind</Directory>"
    done < <(cd "$src/$rel" && find . -mindepth 1 -maxdepth 1 -type d -printf '%P\0' | LC_ALL=C sort -z)
}

body=$(mktemp)
trap 'rm -f "$body"' EXIT
# Not in a subshell: the identifiers taken and the components listed stay.
emit "" "      " > "$body"
echo '<?xml version="1.0" encoding="utf-8"?>'
echo '<!-- Written by tools/installer/files.sh from the program folder. -->'
echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">'
echo '  <Fragment>'
echo '    <DirectoryRef Id="INSTALLDIR">'
cat "$body"
echo '    </DirectoryRef>'
echo '    <ComponentGroup Id="ProgramFiles">'
printf '      <ComponentRef Id="%s"/>\n' "${components[@]}"
echo '    </ComponentGroup>'
echo '  </Fragment>'
echo '</Wix>'
