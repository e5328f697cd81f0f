#!/usr/bin/env bash
# wine-session.sh BUILD_DIR COMMAND...: runs COMMAND with a private Wine prefix under
# BUILD_DIR and a fresh Xvfb display, and stops that prefix's wineserver afterwards, so
# that no Wine or X process outlives the run.
set -euo pipefail

if [ "${1:-}" != "--inside-display" ]; then
  build_dir=$(cd "$1" && pwd)
  shift
  export WINEPREFIX="$build_dir/wineprefix" WINEARCH=win32 WINEDEBUG=-all
  # A wineserver started without this display would hand out a desktop that cannot draw.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" --inside-display "$@"
fi
shift

if [ ! -f "$WINEPREFIX/.vael-ready" ]; then
  echo "wine-session: creating the Wine prefix in $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Unmanaged windows: without a window manager Wine waits 2 s for every closed window.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.vael-ready"
fi
# Kept up for the whole run: every program then starts in a tenth of a second, not seconds.
wineserver -p
# Wine's own services start with the first program and inherit its output; started here,
# they cannot hold a test's output pipe open after the test has ended.
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
status=0
"$@" || status=$?
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exit $status
