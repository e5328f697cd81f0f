#!/usr/bin/env bash
# Builds vael.dll and the stand-in renderer and prints the README's performance table:
# vael-host bench under Wine (arguments go to it, e.g. --repeats 15). Timings depend on what
# else the machine is doing; run it on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target vael vael-host
mkdir -p build/bench-session
# A Wine prefix of its own, so that this never stops another run's Wine.
scripts/wine-session.sh build/bench-session scripts/wine-run.sh build/win32/host/vael-host.exe \
  bench --dll build/win32/plugin/vael.dll "$@"
