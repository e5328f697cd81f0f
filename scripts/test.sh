#!/usr/bin/env bash
# Runs every test: the core natively and under AddressSanitizer + UBSan, then the cross
# build (core, vael.dll, stand-in renderer) under Wine on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
for preset in native sanitize; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

echo "== win32 (under Wine)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
scripts/wine-session.sh build/win32 ctest --preset win32 -j "$jobs"
