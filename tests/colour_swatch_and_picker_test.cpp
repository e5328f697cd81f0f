// The settings dialog's colour swatch and the system colour picker behind it: the painted
// colour and its brush, the inverted pressed state, the picker's start state, and what a
// picked colour does to the set and the swatch.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/settings_editor.h"
#include "tests/support/window_capture.h"
#include "tests/support/window_watcher.h"

namespace {

constexpr const char* kPickerTitle = "Color";
// The picker's own controls, as its template numbers them.
constexpr int kPickerRed = 706, kPickerGreen = 707, kPickerBlue = 708;
constexpr int kPickerAddCustom = 712, kPickerDefineCustom = 719;

constexpr std::array<COLORREF, 16> kGreyRamp = {
    0xFFFFFF, 0xEFEFEF, 0xDFDFDF, 0xCFCFCF, 0xBFBFBF, 0xAFAFAF, 0x9F9F9F, 0x8F8F8F,
    0x7F7F7F, 0x6F6F6F, 0x5F5F5F, 0x4F4F4F, 0x3F3F3F, 0x2F2F2F, 0x1F1F1F, 0x0F0F0F};

// What the DLL asks of GDI and of the picker, seen through its import table. The hooks run
// on the dialog's thread; the test reads the records once the dialog has ended.
struct GdiRecord {
  std::vector<std::string> events;
  std::vector<COLORREF> brushColours;
  std::set<HGDIOBJ> brushes;
};
GdiRecord gdi;
decltype(&CreateSolidBrush) realCreateSolidBrush = nullptr;
decltype(&SelectObject) realSelectObject = nullptr;
decltype(&DeleteObject) realDeleteObject = nullptr;

HBRUSH WINAPI RecordCreateSolidBrush(COLORREF colour) {
  const HBRUSH brush = realCreateSolidBrush(colour);
  gdi.events.push_back("create");
  gdi.brushColours.push_back(colour);
  gdi.brushes.insert(brush);
  return brush;
}
HGDIOBJ WINAPI RecordSelectObject(HDC dc, HGDIOBJ object) {
  gdi.events.push_back(gdi.brushes.count(object) ? "select brush" : "select back");
  return realSelectObject(dc, object);
}
BOOL WINAPI RecordDeleteObject(HGDIOBJ object) {
  gdi.events.push_back(gdi.brushes.count(object) ? "delete brush" : "delete other");
  return realDeleteObject(object);
}

struct PickerCall {
  CHOOSECOLORA record;
  std::array<COLORREF, 16> customColours;
  std::optional<COLORREF> picked;
};
std::vector<PickerCall> pickerCalls;
decltype(&ChooseColorA) realChooseColor = nullptr;

BOOL WINAPI RecordChooseColor(CHOOSECOLORA* choice) {
  PickerCall call{*choice, {}, std::nullopt};
  std::copy_n(choice->lpCustColors, 16, call.customColours.begin());
  const BOOL picked = realChooseColor(choice);
  if (picked) call.picked = choice->rgbResult;
  pickerCalls.push_back(call);
  return picked;
}

class ColourSwatch : public testing::Test {
 protected:
  void SetUp() override {
    gdi = {};
    pickerCalls.clear();
    realCreateSolidBrush = reinterpret_cast<decltype(realCreateSolidBrush)>(
        vael_.Patch("gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(RecordCreateSolidBrush)));
    realSelectObject = reinterpret_cast<decltype(realSelectObject)>(
        vael_.Patch("gdi32.dll", "SelectObject", reinterpret_cast<void*>(RecordSelectObject)));
    realDeleteObject = reinterpret_cast<decltype(realDeleteObject)>(
        vael_.Patch("gdi32.dll", "DeleteObject", reinterpret_cast<void*>(RecordDeleteObject)));
    realChooseColor = reinterpret_cast<decltype(realChooseColor)>(
        vael_.Patch("comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(RecordChooseColor)));
    ASSERT_NE(realCreateSolidBrush, nullptr);
    ASSERT_NE(realSelectObject, nullptr);
    ASSERT_NE(realDeleteObject, nullptr);
    ASSERT_NE(realChooseColor, nullptr);
  }

  // Every paint of the swatch makes one brush, selects it, puts the old one back and
  // deletes it, all within that paint.
  static void ExpectEveryBrushDeletedInItsPaint() {
    const std::vector<std::string> paint = {"create", "select brush", "select back",
                                            "delete brush"};
    ASSERT_FALSE(gdi.events.empty()) << "the swatch was never painted";
    ASSERT_EQ(gdi.events.size() % paint.size(), 0u);
    for (std::size_t i = 0; i < gdi.events.size(); i += paint.size())
      EXPECT_EQ(std::vector<std::string>(gdi.events.begin() + i, gdi.events.begin() + i + 4), paint)
          << "paint " << i / 4;
  }

  PrivateVael vael_;
  HostLedger ledger_;
};

COLORREF Inverted(COLORREF colour) { return colour ^ 0xFFFFFF; }

struct SwatchView {
  COLORREF inside = 0, outline = 0;
};

// The swatch as the screen shows it once its paint has reached the display: a paint runs on
// the dialog's thread and reaches the screen a moment later, so the view is read again until
// it shows the colour expected (or two seconds have passed, and the last view is the answer).
SwatchView ViewSwatch(HWND dialog, COLORREF expectedInside) {
  const HWND swatch = GetDlgItem(dialog, IDC_COLOR);
  SwatchView view{0xBADBAD, 0xBADBAD};
  WaitUntil(
      [&] {
        UpdateWindow(swatch);
        const Pixels pixels = CaptureClient(swatch);
        if (pixels.width >= 3 && pixels.height >= 3)
          view = {pixels.At(pixels.width / 2, pixels.height / 2), pixels.At(0, 0)};
        return view.inside == expectedInside;
      },
      2000);
  return view;
}

struct PickerView {
  std::string red, green, blue;
  bool fullyOpen = false;
};

PickerView ViewPicker(HWND picker) {
  return {ControlText(picker, kPickerRed), ControlText(picker, kPickerGreen),
          ControlText(picker, kPickerBlue),
          IsWindowVisible(GetDlgItem(picker, kPickerRed)) &&
              !IsWindowEnabled(GetDlgItem(picker, kPickerDefineCustom))};
}

// Presses the swatch, types a colour's numbers into the picker's fields as a user does,
// optionally adds it to the custom colours, and closes the picker with button.
void PickInPicker(HWND dialog, int red, int green, int blue, int button, bool addToCustom = false) {
  PressButton(dialog, IDC_COLOR);
  const HWND picker = WaitForWindow(kPickerTitle, kDialogClass);
  if (picker == nullptr) return;
  SetControlText(picker, kPickerRed, std::to_string(red));
  SetControlText(picker, kPickerGreen, std::to_string(green));
  SetControlText(picker, kPickerBlue, std::to_string(blue));
  if (addToCustom) PressButton(picker, kPickerAddCustom);
  PressButton(picker, button);
  WaitForWindowGone(picker);
}

struct SwatchCase {
  const char* name;
  const char* incoming;
  COLORREF shown;
  std::array<const char*, 3> pickerFields;
};

void PrintTo(const SwatchCase& c, std::ostream* out) { *out << c.name; }

const SwatchCase kSwatchCases[] = {
    {"DefaultColour", "# 1 1 1 0.2 0.8 120 128 128", RGB(120, 128, 128), {"120", "128", "128"}},
    {"ChannelsTruncateAndKeepTheLowByte", "# 1 1 1 0.2 0.8 300.7 255.9 -1", RGB(44, 255, 255),
     {"44", "255", "255"}},
    {"ChannelsWrapAtByteBoundaries", "# 1 1 1 0.2 0.8 256 0.99 511", RGB(0, 0, 255),
     {"0", "0", "255"}},
};

class SwatchColours : public ColourSwatch, public testing::WithParamInterface<SwatchCase> {};

// Press, hold, release: the swatch inverts while held, then the picker opens on the
// current colour, fully opened, with the grey custom colours.
TEST_P(SwatchColours, SwatchPressAndPickerShowTheCloudColour) {
  const SwatchCase& c = GetParam();
  SwatchView normal, held;
  std::optional<PickerView> picker;
  HWND dialogSeen = nullptr;
  vael_.Edit(ledger_.Adopt(c.incoming), ledger_, [&](HWND dialog) {
    if ((dialogSeen = dialog) == nullptr) return;
    const HWND swatch = GetDlgItem(dialog, IDC_COLOR);
    normal = ViewSwatch(dialog, c.shown);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(swatch, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4), SMTO_ABORTIFHUNG,
                        2000, &ignored);
    held = ViewSwatch(dialog, Inverted(c.shown));
    PostMessageA(swatch, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    if (const HWND window = WaitForWindow(kPickerTitle, kDialogClass)) {
      picker = ViewPicker(window);
      PressButton(window, IDCANCEL);
      WaitForWindowGone(window);
    }
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(normal.inside, c.shown);
  EXPECT_EQ(normal.outline, RGB(0, 0, 0));
  EXPECT_EQ(held.inside, Inverted(c.shown));
  EXPECT_EQ(held.outline, RGB(255, 255, 255));
  ASSERT_TRUE(picker.has_value()) << "releasing the swatch opened no picker";
  EXPECT_EQ(picker->red, c.pickerFields[0]);
  EXPECT_EQ(picker->green, c.pickerFields[1]);
  EXPECT_EQ(picker->blue, c.pickerFields[2]);
  EXPECT_TRUE(picker->fullyOpen);

  ASSERT_EQ(pickerCalls.size(), 1u);
  const CHOOSECOLORA& record = pickerCalls[0].record;
  EXPECT_EQ(record.lStructSize, 36u);
  EXPECT_EQ(record.hwndOwner, dialogSeen);
  EXPECT_EQ(record.rgbResult, c.shown);
  EXPECT_EQ(record.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN));
  EXPECT_EQ(record.lCustData, 0);
  EXPECT_EQ(record.lpfnHook, nullptr);
  EXPECT_EQ(record.lpTemplateName, nullptr);
  EXPECT_EQ(pickerCalls[0].customColours, kGreyRamp);
  EXPECT_FALSE(pickerCalls[0].picked.has_value());

  for (COLORREF colour : gdi.brushColours) EXPECT_EQ(colour, c.shown);
  ExpectEveryBrushDeletedInItsPaint();
}

INSTANTIATE_TEST_SUITE_P(Cases, SwatchColours, testing::ValuesIn(kSwatchCases),
                         [](const testing::TestParamInfo<SwatchCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(ColourSwatch, PickedColourRepaintsTheSwatchAndComesBackFromOk) {
  SwatchView afterPick;
  char* result = vael_.Edit(nullptr, ledger_, [&](HWND dialog) {
    if (dialog == nullptr) return;
    PickInPicker(dialog, 10, 20, 30, IDOK);
    afterPick = ViewSwatch(dialog, RGB(10, 20, 30));
    PressButton(dialog, IDOK);
  });
  ASSERT_EQ(pickerCalls.size(), 1u);
  EXPECT_EQ(pickerCalls[0].picked, RGB(10, 20, 30));
  EXPECT_EQ(afterPick.inside, RGB(10, 20, 30));
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "# 1.00 1.00 1.00 0.20 0.80 10.00 20.00 30.00");
  EXPECT_EQ(gdi.brushColours.back(), RGB(10, 20, 30));
  ExpectEveryBrushDeletedInItsPaint();
}

// The set has no copy to fall back on: Cancel keeps a colour picked before it.
TEST_F(ColourSwatch, PickedColourStaysInTheSetAfterCancel) {
  char* incoming = ledger_.Adopt("# 1 1 1 0.2 0.8 120 128 128");
  char* result = vael_.Edit(incoming, ledger_, [&](HWND dialog) {
    if (dialog == nullptr) return;
    PickInPicker(dialog, 200, 100, 50, IDOK);
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(result, incoming);
  EXPECT_TRUE(ledger_.calls.empty());
  char* reopened = vael_.Edit(nullptr, ledger_, [](HWND dialog) {
    if (dialog != nullptr) PressButton(dialog, IDOK);
  });
  ASSERT_NE(reopened, nullptr);
  EXPECT_STREQ(reopened, "# 1.00 1.00 1.00 0.20 0.80 200.00 100.00 50.00");
}

// The user's custom colours outlive the picker and the dialog; a cancelled picker keeps
// the colour.
TEST_F(ColourSwatch, CustomColoursKeepTheUsersChangesAcrossPickers) {
  vael_.Edit(nullptr, ledger_, [&](HWND dialog) {
    if (dialog == nullptr) return;
    PickInPicker(dialog, 10, 20, 30, IDCANCEL, true);
    PressButton(dialog, IDCANCEL);
  });
  vael_.Edit(nullptr, ledger_, [&](HWND dialog) {
    if (dialog == nullptr) return;
    PickInPicker(dialog, 120, 128, 128, IDCANCEL);
    PressButton(dialog, IDCANCEL);
  });
  ASSERT_EQ(pickerCalls.size(), 2u);
  EXPECT_EQ(pickerCalls[0].customColours, kGreyRamp);
  std::array<COLORREF, 16> changed = kGreyRamp;
  changed[0] = RGB(10, 20, 30);
  EXPECT_EQ(pickerCalls[1].customColours, changed);
  EXPECT_EQ(pickerCalls[1].record.lpCustColors, pickerCalls[0].record.lpCustColors);
  EXPECT_EQ(pickerCalls[1].record.rgbResult, RGB(120, 128, 128)) << "a cancelled pick changed the colour";
  for (COLORREF colour : gdi.brushColours) EXPECT_EQ(colour, RGB(120, 128, 128));
  ExpectEveryBrushDeletedInItsPaint();
}

// Ten thousand repaints of the swatch leave no brush behind: each paint deletes the brush
// it made, and every brush handle the DLL created is gone afterwards.
TEST_F(ColourSwatch, TenThousandPaintsLeaveNoBrushBehind) {
  constexpr int kPaints = 10000;
  vael_.Edit(nullptr, ledger_, [&](HWND dialog) {
    if (dialog == nullptr) return;
    const HWND swatch = GetDlgItem(dialog, IDC_COLOR);
    for (int paint = 0; paint < kPaints; ++paint) {
      InvalidateRect(swatch, nullptr, FALSE);
      UpdateWindow(swatch);
    }
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_GE(std::count(gdi.events.begin(), gdi.events.end(), "create"), kPaints);
  ExpectEveryBrushDeletedInItsPaint();
  std::size_t alive = 0;
  for (HGDIOBJ brush : gdi.brushes) alive += GetObjectType(brush) != 0;
  EXPECT_EQ(alive, 0u);
}

}  // namespace
