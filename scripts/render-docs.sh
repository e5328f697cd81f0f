#!/usr/bin/env bash
# Renders the README's pictures of the stand-in renderer through the real DLL under Wine:
# docs/preview.png (the default settings), docs/sheet.png (threshold against sharpness) and
# docs/morph.png (a morph between two settings). The README states each picture's size.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--in-session" ]; then
  host() {
    scripts/wine-run.sh build/win32/host/vael-host.exe "$@" --dll build/win32/plugin/vael.dll
  }
  host preview --size 640x480 --out docs/preview.png
  # Dark blue clouds, which show on the pale cube where the weight is low as well as high.
  host sheet "# 1.00 1.00 1.00 0.20 0.80 30.00 50.00 110.00" --out docs/sheet.png
  host morph "# 1.00 1.00 1.00 0.20 0.80 120.00 128.00 128.00" \
    "# 2.00 2.00 0.50 0.50 0.25 40.00 40.00 60.00" --out docs/morph.png
  exit 0
fi

scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target vael vael-host
mkdir -p docs build/docs-session
# A Wine prefix of its own, so that this never stops another run's Wine.
scripts/wine-session.sh build/docs-session "$0" --in-session
