#!/usr/bin/env bash
# Runs one Windows program under the build tree's private Wine prefix
# (CMAKE_CROSSCOMPILING_EMULATOR of the MinGW build). A display must already
# be set (scripts/with-xvfb.sh provides one). A 32-bit program on a machine
# that cannot run one ends with 77, which the 32-bit tests report as skipped.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
morix_wine_can_run "$1" || exit 77
morix_wine_prefix
exec wine "$@"
