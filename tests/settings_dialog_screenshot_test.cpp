// A picture of the open settings dialog, frame and all, as the README shows it: written to
// the path in VAEL_SCREENSHOT (scripts/screenshot-settings-dialog.sh sets it), else to the
// temporary folder, and checked to hold what the dialog painted.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "resources/resource.h"
#include "tests/support/settings_editor.h"
#include "tests/support/window_capture.h"
#include "tests/support/window_watcher.h"

namespace {

std::string ScreenshotPath() {
  if (const char* path = std::getenv("VAEL_SCREENSHOT")) return path;
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "settings-dialog.png";
}

TEST(SettingsDialogScreenshot, CapturesTheOpenDialog) {
  PrivateVael vael;
  HostLedger ledger;
  Pixels shot;
  RECT window{}, swatch{};
  const std::string path = ScreenshotPath();
  bool written = false;
  vael.Edit(nullptr, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    GetWindowRect(dialog, &window);
    GetWindowRect(GetDlgItem(dialog, IDC_COLOR), &swatch);
    const int x = (swatch.left + swatch.right) / 2 - window.left;
    const int y = (swatch.top + swatch.bottom) / 2 - window.top;
    // The dialog paints on its own thread: take the picture once the swatch is on screen.
    WaitUntil(
        [&] {
          RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
          shot = CaptureWindow(dialog);
          return shot.width > x && shot.height > y && shot.At(x, y) == RGB(120, 128, 128);
        },
        2000);
    written = WritePng(shot, path);
    PressButton(dialog, IDCANCEL);
  });
  ASSERT_TRUE(written) << path;
  EXPECT_EQ(shot.width, window.right - window.left);
  EXPECT_EQ(shot.height, window.bottom - window.top);
  const int x = (swatch.left + swatch.right) / 2 - window.left;
  const int y = (swatch.top + swatch.bottom) / 2 - window.top;
  EXPECT_EQ(shot.At(x, y), RGB(120, 128, 128)) << "the swatch is not where the capture shows it";
}

}  // namespace
