#!/usr/bin/env bash
# Runs every test: the core natively, under AddressSanitizer + UBSan and under ThreadSanitizer,
# a short fuzzing run of the core, then the cross build (core, vael.dll, stand-in renderer)
# under Wine on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
for preset in native sanitize tsan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

scripts/fuzz.sh 30

echo "== win32 (under Wine)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
scripts/wine-session.sh build/win32 ctest --preset win32 -j "$jobs"
