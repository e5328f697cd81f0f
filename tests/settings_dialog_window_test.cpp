// The settings dialog as a window: where it opens, what it shows besides the fields, where
// the keyboard focus starts and how Tab moves through it.
#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/settings_editor.h"
#include "tests/support/window_watcher.h"

namespace {

// A screen of the size the test chooses, as the dialog's GetSystemMetrics sees it: the
// template's own centring uses the real monitor, so only the dialog's placement follows it.
struct ScreenSize {
  int cx, cy;
};
void PrintTo(const ScreenSize& size, std::ostream* out) { *out << size.cx << "x" << size.cy; }
ScreenSize fakeScreen{};

int WINAPI FakeSystemMetrics(int index) {
  if (index == SM_CXSCREEN) return fakeScreen.cx;
  if (index == SM_CYSCREEN) return fakeScreen.cy;
  return GetSystemMetrics(index);
}

class DialogPlacement : public testing::TestWithParam<ScreenSize> {};

// Centred on the whole screen, each halving rounded toward zero, also where the dialog is
// larger than the screen.
TEST_P(DialogPlacement, OpensCentredOnTheScreen) {
  fakeScreen = GetParam();
  PrivateVael vael;
  ASSERT_NE(vael.Patch("user32.dll", "GetSystemMetrics", reinterpret_cast<void*>(FakeSystemMetrics)),
            nullptr);
  HostLedger ledger;
  RECT placed{};
  vael.Edit(nullptr, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    GetWindowRect(dialog, &placed);
    PressButton(dialog, IDCANCEL);
  });
  const int width = placed.right - placed.left;
  const int height = placed.bottom - placed.top;
  ASSERT_GT(width, 0);
  EXPECT_EQ(placed.left, (fakeScreen.cx - width) / 2);
  EXPECT_EQ(placed.top, (fakeScreen.cy - height) / 2);
}

INSTANTIATE_TEST_SUITE_P(Screens, DialogPlacement,
                         testing::Values(ScreenSize{1001, 701}, ScreenSize{1920, 1080},
                                         ScreenSize{101, 51}, ScreenSize{100, 50}),
                         [](const testing::TestParamInfo<ScreenSize>& info) {
                           return std::to_string(info.param.cx) + "x" + std::to_string(info.param.cy);
                         });

TEST(SettingsDialogWindow, FocusStartsOnXAndTabRunsThroughFieldsSwatchOkCancel) {
  PrivateVael vael;
  HostLedger ledger;
  int focusedAtOpen = 0;
  std::vector<int> tabOrder;
  vael.Edit(nullptr, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    focusedAtOpen = GetDlgCtrlID(FocusOf(dialog));
    HWND control = GetDlgItem(dialog, IDC_X_SCALE);
    for (int step = 0; step < 8; ++step) {
      control = GetNextDlgTabItem(dialog, control, FALSE);
      tabOrder.push_back(GetDlgCtrlID(control));
    }
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(focusedAtOpen, IDC_X_SCALE);
  const std::vector<int> expected = {IDC_Y_SCALE, IDC_Z_SCALE, IDC_THRESHOLD, IDC_SHARPNESS,
                                     IDC_COLOR,   IDOK,        IDCANCEL,      IDC_X_SCALE};
  EXPECT_EQ(tabOrder, expected);
}

// The caption and the name label carry the version, and the dialog manager finds the
// picture in the library itself, shown at its real size.
TEST(SettingsDialogWindow, ShowsCaptionNameAndPicture) {
  PrivateVael vael;
  HostLedger ledger;
  std::string caption, name;
  BITMAP picture{};
  vael.Edit(nullptr, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    caption = WindowText(dialog);
    name = ControlText(dialog, IDC_NAME_LABEL);
    DWORD_PTR image = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, IDC_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0,
                        SMTO_ABORTIFHUNG, 2000, &image);
    if (image != 0) GetObjectA(reinterpret_cast<HBITMAP>(image), sizeof picture, &picture);
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(caption, "Vael 0.2");
  EXPECT_EQ(name, "Vael 0.2");
  EXPECT_EQ(picture.bmWidth, 160);
  EXPECT_EQ(picture.bmHeight, 120);
}

}  // namespace
