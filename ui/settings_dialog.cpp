// The settings dialog's procedure, one small handler per message. It works on the
// process-wide parameter set directly: nothing it stores is undone by Cancel.
#include "ui/settings_dialog.h"

#include <commdlg.h>

#include <cmath>

#include "core/number_text.h"
#include "core/shader_parameters.h"
#include "plugin/plugin_state.h"
#include "resources/resource.h"

namespace {

struct NumberField {
  int id;
  float ShaderParameters::*value;
};

// Also the order in which OK reads them: a rejected field leaves the later ones unread.
constexpr NumberField kNumberFields[] = {
    {IDC_X_SCALE, &ShaderParameters::xScale},
    {IDC_Y_SCALE, &ShaderParameters::yScale},
    {IDC_Z_SCALE, &ShaderParameters::zScale},
    {IDC_THRESHOLD, &ShaderParameters::threshold},
    {IDC_SHARPNESS, &ShaderParameters::sharpness},
};

constexpr WPARAM kFieldTypingLimit = 12;
// Whole texts, even those that WM_SETTEXT put beyond the typing limit: a shown value must
// come back from OK as it was shown.
constexpr int kFieldReadCapacity = 64;
static_assert(kFieldReadCapacity >= static_cast<int>(kNumberTextCapacity));

constexpr std::array<COLORREF, 16> GreyRamp() {
  std::array<COLORREF, 16> ramp{};
  for (int i = 0; i < 16; ++i) {
    const BYTE level = static_cast<BYTE>(255 - 16 * i);
    ramp[i] = RGB(level, level, level);
  }
  return ramp;
}

COLORREF ColourOf(float red, float green, float blue) {
  return RGB(ChannelByte(red), ChannelByte(green), ChannelByte(blue));
}

COLORREF CloudColour() {
  return ColourOf(shaderParameters.red, shaderParameters.green, shaderParameters.blue);
}

void ShowField(HWND dialog, const NumberField& field) {
  char text[kNumberTextCapacity];
  *WriteTwoDecimals(text, shaderParameters.*field.value) = '\0';
  SendDlgItemMessageA(dialog, field.id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  SendDlgItemMessageA(dialog, field.id, EM_LIMITTEXT, kFieldTypingLimit, 0);
}

// Stores the field's number; false when the field rejects the dialog: empty, or a value
// of 0 or not-a-number (which is stored all the same).
bool StoreField(HWND dialog, const NumberField& field) {
  char text[kFieldReadCapacity];
  if (GetDlgItemTextA(dialog, field.id, text, kFieldReadCapacity) == 0) return false;
  double value = 0;
  ReadNumber(text, value);
  shaderParameters.*field.value = static_cast<float>(value);
  return value != 0 && !std::isnan(value);
}

bool StoreFields(HWND dialog) {
  for (const NumberField& field : kNumberFields)
    if (!StoreField(dialog, field)) return false;
  return true;
}

BOOL OnInitDialog(HWND dialog) {
  for (const NumberField& field : kNumberFields) ShowField(dialog, field);
  CenterOnScreen(dialog);
  return TRUE;
}

BOOL OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
      EndDialog(dialog, StoreFields(dialog) ? 1 : 0);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_COLOR:
      PickColor(shaderParameters.red, shaderParameters.green, shaderParameters.blue, dialog);
      InvalidateRect(GetDlgItem(dialog, IDC_COLOR), nullptr, FALSE);
      return FALSE;
    default:
      return FALSE;
  }
}

// The swatch: the cloud colour in a black outline, inverted while the button is held down.
BOOL OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != IDC_COLOR) return FALSE;
  const RECT& r = item.rcItem;
  if (item.itemState & ODS_SELECTED) {
    InvertRect(item.hDC, &r);
    return FALSE;
  }
  const HBRUSH brush = CreateSolidBrush(CloudColour());
  const HGDIOBJ previous = SelectObject(item.hDC, brush);
  Rectangle(item.hDC, r.left, r.top, r.right, r.bottom);
  SelectObject(item.hDC, previous);
  DeleteObject(brush);
  return FALSE;
}

}  // namespace

std::array<COLORREF, 16> customColors = GreyRamp();

std::uint8_t ChannelByte(float channel) {
  // Beyond 64 bits (and for infinities and not-a-number) the conversion gives the
  // indefinite integer 0x8000000000000000, whose low byte is 0.
  constexpr float kBeyondInt64 = 9223372036854775808.0f;
  if (!(std::fabs(channel) < kBeyondInt64)) return 0;
  return static_cast<std::uint8_t>(static_cast<std::int64_t>(channel) & 0xFF);
}

void PickColor(float& red, float& green, float& blue, HWND owner) {
  CHOOSECOLORA choice{};
  static_assert(sizeof choice == 36);
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.rgbResult = ColourOf(red, green, blue);
  choice.lpCustColors = customColors.data();
  choice.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&choice)) return;
  red = GetRValue(choice.rgbResult);
  green = GetGValue(choice.rgbResult);
  blue = GetBValue(choice.rgbResult);
}

void CenterOnScreen(HWND window) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT r;
  GetWindowRect(window, &r);
  OffsetRect(&r, -r.left, -r.top);
  OffsetRect(&r, (screenWidth - r.right) / 2, (screenHeight - r.bottom) / 2);
  SetWindowPos(window, HWND_TOP, r.left, r.top, 0, 0, SWP_NOSIZE);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
    case WM_DRAWITEM:
      return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    default:
      return FALSE;
  }
}
