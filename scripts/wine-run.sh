#!/usr/bin/env bash
# Runs one 32-bit Windows program under the build's private Wine prefix; CTest's emulator.
# Expects to run inside wine-session.sh, which provides the display and the prefix.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
: "${WINEPREFIX:?run inside scripts/wine-session.sh}"
exec wine "$@"
