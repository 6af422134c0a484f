# The wall clock moved forward an hour under the running clock (set by hand,
# by a time sync, by another time zone): the face shows the new hour within
# 2 s. Wine reads the time through libfaketime, preloaded into Morix.exe and
# the Wine server it starts, from a file re-read at every reading; the case
# first checks that a program under Wine sees the time that file gives. The
# probe itself runs on the real clock, so its timings are real.
stamp="$work/92-clock-jump.faketime"
local_seconds() {  # the probe's local time, as seconds since 1970
    date -d "$(echo "$1" | field local)" +%s 2>/dev/null || echo 0
}
near() { [ "$1" -ge $(( $2 - 3 )) ] && [ "$1" -le $(( $2 + 3 )) ]; }

check "libfaketime is installed (scripts/deps.sh)" test -n "$faketime_lib"
if [ -n "$faketime_lib" ]; then
    # The server must start under the faked clock too.
    stop_all
    # A clock at minute 20 of the hour: the jump stays clear of any other
    # minute's or hour's change while the case runs.
    now=$(date +%s)
    offset=$(( 20 * 60 + 5 - now % 3600 ))
    printf '%+d\n' "$offset" > "$stamp"
    seen=$(local_seconds "$(faked "$stamp" probe local-time)")
    check "a program under Wine reads the faked clock" near "$seen" $(( $(date +%s) + offset ))
    printf '%+d\n' $(( offset + 7200 )) > "$stamp"
    seen=$(local_seconds "$(faked "$stamp" probe local-time)")
    check "and the faked clock moved two hours when the file said so" near "$seen" $(( $(date +%s) + offset + 7200 ))
    printf '%+d\n' "$offset" > "$stamp"
    stop_all

    dir=$(fresh_folder clock-jump)
    sample_seen "$dir" アクティブウインドウへの移動=0
    faked "$stamp" start_clock "$dir"
    design="$(winepath -w "$dir/Design/Tidewalk" 2>/dev/null)"
    before=$(probe clips "$design" 5000)
    hour_before=$(echo "$before" | field hour)
    minute_before=$(echo "$before" | field minute)
    expected=$(date -d "@$(( $(date +%s) + offset ))" +%H)
    check "the face shows the faked hour $expected (saw $hour_before:$minute_before)" test "$hour_before" = "$expected"

    next=$(date -d "@$(( $(date +%s) + offset + 3600 ))" +%H)
    watch="$work/92-clock-jump.watch"
    wine "$probe_exe" clips "$design" 10000 "$((10#$next))" > "$watch" 2>/dev/null &
    watcher=$!
    for _ in $(seq 100); do grep -q '^ready=1' "$watch" 2>/dev/null && break; sleep 0.1; done
    moved_at=$(date +%s%3N)
    printf '%+d\n' $(( offset + 3600 )) > "$stamp"
    wait "$watcher"
    after=$(tr -d '\r' < "$watch")
    seen_at=$(echo "$after" | field seen_unix_ms)
    took=$(( ${seen_at:--1} >= 0 ? seen_at - moved_at : -1 ))
    echo "#   the clock moved an hour at $moved_at; the face showed hour $(echo "$after" | field hour) after ${took} ms"
    check "an hour later on the wall clock, the face shows hour $next within 2 s (${took} ms)" \
        test "$took" -ge 0 -a "$took" -le 2000
    check "and the minute it showed before" test "$(echo "$after" | field minute)" = "$minute_before"
    shot 92-clock-jump
fi
