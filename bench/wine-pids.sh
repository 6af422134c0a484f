# Sourced by the bench scripts (after scripts/wine-env.sh): the Linux
# processes behind a Windows program and the Wine server of this prefix.
#
# `wine Morix.exe` does not always become the program's process: given a
# Unix path, or whenever Wine decides to, it runs start.exe /exec, which
# starts the program as a child and waits for it. So the program's process is
# found by what it runs: its argv[0] is the Windows path of its executable
# (Z:\...\Morix.exe), or its bare name with its own folder as the working
# folder, and it belongs to this script's prefix.

# Wine pads a program's argv; the padding is dropped.
morix_cmdline() { tr '\0' ' ' < "/proc/$1/cmdline" 2>/dev/null | sed 's/ *$//'; }
morix_of_prefix() { tr '\0' '\n' < "/proc/$1/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; }

# morix_process_of <unix path of the .exe> [seconds to wait, default 10]:
# prints the PID of the process that runs it.
morix_process_of() {
    local want i p argv0
    want="Z:$(printf '%s' "$1" | tr / '\\')"
    for i in $(seq $(( ${2:-10} * 10 ))); do
        for p in $(pgrep -u "$(id -u)" -f "$(basename "$1")" || true); do
            argv0=$(tr '\0' '\n' < "/proc/$p/cmdline" 2>/dev/null | head -n 1)
            # Started from its own folder as "wine Morix.exe", it may keep
            # the bare name; its working folder then tells which copy it is.
            if { [ "${argv0,,}" = "${want,,}" ] || { [ "${argv0,,}" = "$(basename "${1,,}")" ] &&
                    [ "$(readlink "/proc/$p/cwd")" = "$(dirname "$1")" ]; }; } && morix_of_prefix "$p"; then
                echo "$p"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}

# The Wine server of this prefix.
morix_wineserver() {
    local p
    for p in $(pgrep -u "$(id -u)" -x 'wineserver|wineserver64' || true); do
        if morix_of_prefix "$p"; then echo "$p"; return 0; fi
    done
    return 1
}
