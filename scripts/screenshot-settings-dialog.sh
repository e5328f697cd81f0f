#!/usr/bin/env bash
# Takes the README's picture of the settings dialog, docs/settings-dialog.png: the real
# dialog of the real DLL, opened on the default settings on the Xvfb display and captured.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target settings_editor_tests
mkdir -p docs
VAEL_SCREENSHOT="$PWD/docs/settings-dialog.png" scripts/wine-session.sh build/win32 \
  scripts/wine-run.sh build/win32/tests/settings_editor_tests.exe \
  --gtest_filter=SettingsDialogScreenshot.CapturesTheOpenDialog
echo "docs/settings-dialog.png written"
