#!/usr/bin/env bash
# End to end: the real Morix.exe in fresh copies of the program folder, under
# Wine on the display given in DISPLAY (scripts/with-xvfb.sh), observed from
# outside by the probe and driven as a user drives it: xdotool clicks at the
# places the probe reports and types into whatever has the keyboard, with
# Wine's notepad as a real window in front. Screenshots go to build/.../e2e/shots. Prints one line per
# check and "N passed, N failed" at the end.
#   e2e.sh <dist folder> <probe.exe> <work folder>
# MORIX_E2E_CASES="60-*" runs only the cases whose names match.
set -u
dist=$1 probe_exe=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"
# The 32-bit program folder on a machine that cannot run it: skipped (77).
morix_wine_can_run "$dist/Morix.exe" || exit 77
morix_wine_prefix
shots="$work/shots"
# A case that made its copy immutable and did not get to undo it.
[ -d "$work" ] && chattr -R -i "$work" 2>/dev/null
rm -rf "$work"; mkdir -p "$shots"

passed=0 failed=0 failures=() misses=() case_name=""
check() {  # check <name> <command...>
    local name=$1; shift
    if "$@" >/dev/null; then passed=$((passed + 1)); echo "ok   - $name"
    else failed=$((failed + 1)); failures+=("$case_name: $name"); echo "FAIL - $name"; fi
}
probe() {  # the probe's output without CRs, and its exit status
    local out rc
    out=$(wine "$probe_exe" "$@" 2>/dev/null); rc=$?
    [ -n "$out" ] && printf '%s\n' "$out" | tr -d '\r'
    return $rc
}
field() { sed -n "s/^$1=//p"; }
shot() { import -window root "$shots/$1.png" 2>/dev/null; }

# The settings file read as the program wrote it (CP932).
ini_get() {  # ini_get <folder> <key>  → the value, or "<missing>"
    local f="$1/Morix.ini"
    [ -f "$f" ] || { echo "<missing>"; return; }
    iconv -f CP932 -t UTF-8 "$f" | tr -d '\r' | awk -v k="$2" -F= '
        /^\[/ { in_s = ($0 == "[Morix]") ; next }
        in_s && $1 == k { sub(/^[^=]*=/, ""); print; found = 1; exit }
        END { if (!found) print "<missing>" }'
}

fresh_folder() {  # fresh_folder <name> → path of a new copy of the program folder
    local d="$work/$1/Morix"
    mkdir -p "$(dirname "$d")"
    cp -r "$dist" "$d"
    rm -f "$d/Morix.ini"
    echo "$d"
}

# Settings as a user leaves them (UTF-8 lines, written in CP932).
write_ini() {  # write_ini <folder> <line>...
    local d=$1; shift
    { printf '[Morix]\r\n'; for l in "$@"; do printf '%s\r\n' "$l"; done; } | iconv -f UTF-8 -t CP932 > "$d/Morix.ini"
}
# A folder whose sample memo was seen and ticked away: no memo window of its own.
sample_seen() { write_ini "$1" 起動時のSample.rtf=1 "${@:2}"; }

no_message_box() { ! probe message-box "${1:-1000}" >/dev/null; }
no_window() { ! probe window "$1" "${2:-500}" >/dev/null; }  # no_window <title part> [ms]
closes() {  # closes <title part>: true once no window of that title is left, within 3 s
    local i; for i in $(seq 30); do probe window "$1" 100 >/dev/null || return 0; sleep 0.1; done; return 1
}

# The screen, the system's caption metrics, and where the clock goes: on a
# window's title bar by the formula, or home (centred) with following on.
metrics=$(probe metrics)
caption_w=$(echo "$metrics" | field cxsize) caption_h=$(echo "$metrics" | field cysize) frame_w=$(echo "$metrics" | field cxframe)
screen=$(echo "$metrics" | field screen); sw=${screen% *} sh=${screen#* }
caption_d=$(( caption_w + frame_w / 2 ))
# Twips to the nearest pixel, halves away from zero, as the program converts
# (a maximised window's title bar lies above the screen's top).
px() { if [ "$1" -ge 0 ]; then echo $(( ($1 + 7) / 15 )); else echo $(( -((7 - $1) / 15) )); fi; }
on_title_bar() {  # on_title_bar <notepad rect>: the clock's rect the formula gives
    set -- $1
    local left; left=$(px $(( ($3 - 3 * caption_d + 2) * 15 - 990 )))
    local diff=$(( caption_h * 15 - 330 )); diff=${diff#-}
    local top; top=$(px $(( diff / 2 + ($2 + 1) * 15 )))
    echo "$left $top $((left + 66)) $((top + 22))"
}
clock_rect() { probe clock 5000 | field rect; }
settles_at() {  # settles_at <rect> <seconds>
    local i; for i in $(seq $(( $2 * 5 ))); do [ "$(clock_rect)" = "$1" ] && return 0; sleep 0.2; done
    return 1
}
home="$(( ( (sw * 15 - 990) / 2 + 7 ) / 15 )) $(( ( (sh * 15 - 330) / 2 + 7 ) / 15 ))"
home_rect() { set -- $home; echo "$1 $2 $(($1 + 66)) $(($2 + 22))"; }

# The clock's menu opened by a click on its face, then walked with keys:
# 備忘録 ▸ (Down), オプション ▸ (Down Down), 日付と時刻の変更 (Up Up Up),
# ドラッグモード (Up Up), 終了 (Up); Right opens a submenu on its first item.
menu() {  # menu <key>...
    local r; r=$(clock_rect); set -- $r "$@"
    xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 )) click 1
    shift 4
    probe popup-menu 3000 >/dev/null && sleep 0.3
    xdotool key "$@"
    # Off the clock again: resting there, the pointer would open the balloon.
    sleep 0.2
    xdotool mousemove 5 5
}
# A window's controls (probe controls), one "class|text|rect|state..." per line.
controls() { probe controls "$@" | field control; }
# A field (2 the text, 3 the rect) of the first control of the class.
first_of_class() {  # first_of_class <window title part> <class> <field>
    controls "$1" | sed 's/^ *//' | awk -F'|' -v c="$2" -v f="$3" 'tolower($1) == tolower(c) { print $f; exit }'
}
control_text() { first_of_class "$1" "$2" 2; }  # control_text <window title part> <class>
# The screen rectangle of the control of that class and text.
control_rect() {  # control_rect <window title part> <class> <text>
    controls "$1" | sed 's/^ *//' | awk -F'|' -v c="$2" -v t="$3" '$1 == c && $2 == t { print $3; exit }'
}

# A user's hands: the pointer clicks the middle of what the probe saw on the
# screen; keys go to whatever has the keyboard.
click_at_centre() { [ -n "$1" ] || return 1; set -- $1; xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 )) click 1; }
click_control() { click_at_centre "$(control_rect "$@")"; }  # click_control <window title part> <class> <text>
click_item() { click_at_centre "$(probe item "$1" "$2" | field rect)"; }  # click_item <window title part> <list item>
click_day() { click_at_centre "$(probe day "$1" "$2" | field rect)"; }    # click_day <window title part> <yyyymmdd>
answer() {  # answer <start of a button's text>: clicks that button of the message box
    click_at_centre "$(probe message-box | field button | awk -F'|' -v b="$1" 'index($1, b) == 1 { print $2; exit }')"
}
# The clock thread's keyboard: the active window's title, and the focused
# control as "class|text|rect".
active_window() { probe focus | field active; }
focused() { probe focus | field focus; }
# Types into a control as a user does: a click into it, then the keys, and
# again should they not have reached it (X hands the keyboard over late at
# times). True once the control shows the text; a miss says where the
# keyboard was instead.
type_into() {  # type_into <window title part> <class> <text>
    local attempt i
    for attempt in 1 2 3; do
        click_at_centre "$(first_of_class "$1" "$2" 3)"
        sleep 0.5
        xdotool type --delay 40 "$3"
        for i in $(seq 20); do [[ "$(control_text "$1" "$2")" == *"$3"* ]] && return 0; sleep 0.1; done
        misses+=("$case_name: typing missed $2 ($attempt): active=$(active_window) focus=$(focused) message=$(probe message-box 100 | field text | head -c 60)")
        echo "# ${misses[-1]}" >&2
    done
    return 1
}
# Replaces a one-line box's text as a user does (a click into it, End,
# Shift+Home, the keys), and again should keys have been lost on the way (X
# drops some of a long run of Japanese keys on a loaded machine). True once
# the box holds exactly the text.
replace_text() {  # replace_text <window title part> <class> <text>
    local attempt i
    for attempt in 1 2 3; do
        click_at_centre "$(first_of_class "$1" "$2" 3)"
        sleep 0.3
        xdotool key End shift+Home
        xdotool type --delay 40 "$3"
        for i in $(seq 20); do [ "$(control_text "$1" "$2")" = "$3" ] && return 0; sleep 0.1; done
        misses+=("$case_name: typing missed $2 ($attempt): it holds \"$(control_text "$1" "$2")\"")
        echo "# ${misses[-1]}" >&2
    done
    return 1
}
# The settings file's bytes kept, to tell later whether anything was written.
ini_keep() { cp "$1/Morix.ini" "$work/kept.ini"; }
ini_unchanged() { cmp -s "$work/kept.ini" "$1/Morix.ini"; }
# A press at (x, y), the pointer moved by (dx, dy) in steps, and the release.
drag() {  # drag <x> <y> <dx> <dy> [steps]
    local i n=${5:-10}
    xdotool mousemove "$1" "$2" mousedown 1
    for i in $(seq "$n"); do xdotool mousemove $(( $1 + $3 * i / n )) $(( $2 + $4 * i / n )); sleep 0.05; done
    xdotool mouseup 1
    sleep 0.5
}
# A crop of the last screenshot around a rectangle, for the README.
crop() {  # crop <shot> <out.png> <left> <top> <right> <bottom> [margin]
    local m=${7:-12}
    convert "$shots/$1.png" -crop $(( $5 - $3 + 2 * m ))x$(( $6 - $4 + 2 * m ))+$(( $3 - m ))+$(( $4 - m )) +repage "$2" 2>/dev/null
}


# The wall clock as a stamp file gives it ("+N", seconds off the real one),
# re-read at every reading: libfaketime preloaded into a Wine program and the
# Wine server it starts (stop_all first, so that one starts). Wine's timers
# keep the real monotonic clock.
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
faked() {  # faked <stamp file> <command...>
    local stamp=$1; shift
    LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$stamp" FAKETIME_NO_CACHE=1 \
        FAKETIME_DONT_FAKE_MONOTONIC=1 "$@"
}

pids=()
start_clock() {  # start_clock <folder> [--no-wait]; sets clock_pid once the clock is shown
    (cd "$1" && exec wine Morix.exe >/dev/null 2>&1) &
    clock_pid=$!
    pids+=("$clock_pid")
    # Until the pointer moves, Wine takes it for the screen's middle, where
    # the clock's home is: resting on the clock, it opens the balloon. Moved
    # away once the clock is there, the pointer lets a balloon close at the
    # next tick.
    if [ "${2:-}" != --no-wait ] && probe clock 20000 >/dev/null; then
        xdotool mousemove 6 6 mousemove 5 5
        sleep 1.2
    fi
}
start_notepad() {
    wine notepad >/dev/null 2>&1 &
    notepad_pid=$!
    pids+=("$notepad_pid")
}
stop_all() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
    pids=()
    wineserver -k 2>/dev/null  # our own prefix's server only
    sleep 1
}
trap stop_all EXIT

waited_exit() {  # waited_exit <pid> <seconds>: true when the process ended in time
    local i
    for i in $(seq $(( $2 * 10 ))); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}

# MORIX_E2E_CASES picks cases by a pattern of their names ("60-*"; all by default).
# MORIX_E2E_FOLDER takes the cases from another folder (wide: the wide screen's).
for case_file in "$here"/${MORIX_E2E_FOLDER:-cases}/${MORIX_E2E_CASES:-*}.sh; do
    case_name=$(basename "$case_file" .sh)
    echo "# $case_name"
    . "$case_file"
    stop_all
done

# The failures again at the end, where a long log is read first, with the
# keys that missed on the way.
for f in "${misses[@]}"; do echo "# $f"; done
for f in "${failures[@]}"; do echo "FAIL - $f"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
