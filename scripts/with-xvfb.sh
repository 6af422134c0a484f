#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb on a free display number,
# and stops that Xvfb (by its PID) afterwards. MORIX_XVFB_SCREEN sets its
# screen (1280x800x24 by default).
set -u
n=${MORIX_XVFB_FIRST:-91}
while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 "${MORIX_XVFB_SCREEN:-1280x800x24}" -nolisten tcp >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${n}" ] && break; sleep 0.1; done
export DISPLAY=":$n"
"$@"
rc=$?
kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null
exit $rc
