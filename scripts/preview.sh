#!/usr/bin/env bash
# The main job: builds vael.dll and the stand-in renderer, then renders a preview of the
# default settings through the real DLL under Wine and prints where the image is.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target vael vael-host
scripts/wine-session.sh build/win32 scripts/wine-run.sh build/win32/host/vael-host.exe preview \
  --dll build/win32/plugin/vael.dll --out build/preview.png "$@"
