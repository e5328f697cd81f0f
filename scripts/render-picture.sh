#!/usr/bin/env bash
# Renders the settings dialog's picture, resources/picture.bmp, with the stand-in renderer
# through the real DLL: white clouds on a sky-blue rounded cube, on a plain blue background.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target vael vael-host

picture=resources/picture.bmp
scripts/wine-session.sh build/win32 scripts/wine-run.sh build/win32/host/vael-host.exe preview \
  --dll build/win32/plugin/vael.dll \
  --params "# 1.00 1.00 1.00 0.20 0.80 255.00 255.00 255.00" \
  --size 160x120 --surface 135,206,235 --background 40,70,170 --out "$picture"

# The resource states its image size (120 rows of 480 bytes); the image writer leaves it 0.
printf '\x00\xe1\x00\x00' | dd of="$picture" bs=1 seek=34 conv=notrunc status=none

# The layout the dialog's resource must have: pixels right after the 54 bytes of headers; a
# 40-byte header, 160 x 120 bottom-up, 1 plane, 24 bits, no compression, 57,600 bytes of
# pixels, resolutions 0, no palette; then 120 rows of 480 bytes.
expected="36000000""28000000a0000000780000000100180000000000""00e10000000000000000000000000000""00000000"
actual=$(od -An -tx1 -j10 -N44 -v "$picture" | tr -d ' \n')
if [ "$actual" != "$expected" ] || [ "$(stat -c %s "$picture")" -ne $((54 + 57600)) ]; then
  echo "render-picture: $picture does not have the resource's layout" >&2
  exit 1
fi
echo "$picture: 160x120, 24 bits, bottom-up, 57600 bytes of pixels"
