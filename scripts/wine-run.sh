#!/usr/bin/env bash
# Runs one Windows program under the build tree's private Wine prefix
# (CMAKE_CROSSCOMPILING_EMULATOR of the MinGW build). A display must already
# be set (scripts/with-xvfb.sh provides one).
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
morix_wine_prefix
exec wine "$@"
