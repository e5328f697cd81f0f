// The five number fields of the real settings dialog: what they show for the set, how OK
// reads them back field by field, and which texts end the dialog as Cancel does.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <clocale>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "tests/support/settings_editor.h"
#include "tests/support/window_watcher.h"

namespace {

using FieldTexts = std::array<std::string, 5>;

struct FieldCase {
  const char* name;
  const char* incoming;
  FieldTexts shownAtOpen;
  std::vector<std::pair<int, std::string>> typed;  // set as the fields' texts before OK
  const char* returned;                            // null: ended as Cancel
  FieldTexts shownAfter;                           // by a dialog opened on the set afterwards
};

constexpr const char* kDefaultText = "# 1.00 1.00 1.00 0.20 0.80 120.00 128.00 128.00";
constexpr const char* kSet = "#5 6 7 0.3 0.4 10 20 30";
const FieldTexts kDefaultsShown = {"1.00", "1.00", "1.00", "0.20", "0.80"};
const FieldTexts kSetShown = {"5.00", "6.00", "7.00", "0.30", "0.40"};

const FieldCase kFieldCases[] = {
    {"OkWithoutEditsRoundsToTwoDecimals", "#1.234 1 1 0.2 0.8 120 128 128",
     {"1.23", "1.00", "1.00", "0.20", "0.80"}, {},
     "# 1.23 1.00 1.00 0.20 0.80 120.00 128.00 128.00", {"1.23", "1.00", "1.00", "0.20", "0.80"}},
    {"OkStoresAllFiveFields", kDefaultText, kDefaultsShown,
     {{IDC_X_SCALE, "2"}, {IDC_Y_SCALE, "3"}, {IDC_Z_SCALE, "4"}, {IDC_THRESHOLD, "0.5"},
      {IDC_SHARPNESS, "0.25"}},
     "# 2.00 3.00 4.00 0.50 0.25 120.00 128.00 128.00", {"2.00", "3.00", "4.00", "0.50", "0.25"}},
    {"ClearedFieldEndsAsCancelAfterStoringTheFieldsBeforeIt", kSet, kSetShown,
     {{IDC_X_SCALE, "9"}, {IDC_Y_SCALE, ""}, {IDC_Z_SCALE, "8"}}, nullptr,
     {"9.00", "6.00", "7.00", "0.30", "0.40"}},
    {"ClearedFirstFieldStoresNothing", kSet, kSetShown, {{IDC_X_SCALE, ""}, {IDC_Y_SCALE, "8"}},
     nullptr, kSetShown},
    {"ZeroIsStoredAndEndsAsCancel", kSet, kSetShown,
     {{IDC_X_SCALE, "2"}, {IDC_Y_SCALE, "3"}, {IDC_Z_SCALE, "4"}, {IDC_THRESHOLD, "0"},
      {IDC_SHARPNESS, "0.9"}},
     nullptr, {"2.00", "3.00", "4.00", "0.00", "0.40"}},
    {"TextThatIsNoNumberCountsAsZero", kSet, kSetShown,
     {{IDC_X_SCALE, "2"}, {IDC_Y_SCALE, "3"}, {IDC_Z_SCALE, "4"}, {IDC_THRESHOLD, "abc"},
      {IDC_SHARPNESS, "0.9"}},
     nullptr, {"2.00", "3.00", "4.00", "0.00", "0.40"}},
    {"NotANumberIsStoredAndEndsAsCancel", kSet, kSetShown, {{IDC_SHARPNESS, "+NAN"}}, nullptr,
     {"5.00", "6.00", "7.00", "0.30", "+NAN"}},
    {"ValueThatNarrowsToZeroPassesAndIsStoredAsZero", kDefaultText, kDefaultsShown,
     {{IDC_THRESHOLD, "1e-50"}}, "# 1.00 1.00 1.00 0.00 0.80 120.00 128.00 128.00",
     {"1.00", "1.00", "1.00", "0.00", "0.80"}},
    {"NumberPrefixIsTakenAfterBlanks", kDefaultText, kDefaultsShown,
     {{IDC_X_SCALE, "  2.5abc"}, {IDC_Y_SCALE, "-3"}, {IDC_Z_SCALE, "1e1"}, {IDC_THRESHOLD, "+.5"}},
     "# 2.50 -3.00 10.00 0.50 0.80 120.00 128.00 128.00", {"2.50", "-3.00", "10.00", "0.50", "0.80"}},
    {"TenCharacterTextIsReadWhole", kDefaultText, kDefaultsShown,
     {{IDC_X_SCALE, "1234567890.00"}, {IDC_Y_SCALE, "-123456.79"}},
     "# 1234567936.00 -123456.79 1.00 0.20 0.80 120.00 128.00 128.00",
     {"1234567936.00", "-123456.79", "1.00", "0.20", "0.80"}},
    {"LongTextsAreShownWholeAndSurviveOk", "#1e20 -1e17 12345678 0.2 0.8 120 128 128",
     {"100000002004087734272.00", "-99999998430674944.00", "12345678.00", "0.20", "0.80"}, {},
     "# 100000002004087734272.00 -99999998430674944.00 12345678.00 0.20 0.80 120.00 128.00 128.00",
     {"100000002004087734272.00", "-99999998430674944.00", "12345678.00", "0.20", "0.80"}},
    {"InfinitiesShowAsWordsAndReadBack", "#+INF -INF 1 0.2 0.8 120 128 128",
     {"+INF", "-INF", "1.00", "0.20", "0.80"}, {},
     "# +INF -INF 1.00 0.20 0.80 120.00 128.00 128.00", {"+INF", "-INF", "1.00", "0.20", "0.80"}},
};

void PrintTo(const FieldCase& c, std::ostream* out) { *out << c.name; }

class SettingsDialogFields : public testing::TestWithParam<FieldCase> {};

TEST_P(SettingsDialogFields, OkReadsTheFieldsInOrder) {
  const FieldCase& c = GetParam();
  PrivateVael vael;
  HostLedger ledger;
  char* incoming = ledger.Adopt(c.incoming);
  FieldTexts shownAtOpen;
  char* result = vael.Edit(incoming, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    for (std::size_t i = 0; i < shownAtOpen.size(); ++i)
      shownAtOpen[i] = ControlText(dialog, kNumberFieldIds[i]);
    for (const auto& [id, text] : c.typed) SetControlText(dialog, id, text);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(shownAtOpen, c.shownAtOpen);
  if (c.returned == nullptr) {
    EXPECT_EQ(result, incoming) << "a rejected field ends the dialog as Cancel";
    EXPECT_TRUE(ledger.calls.empty());
  } else {
    ASSERT_NE(result, incoming);
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, c.returned);
  }
  EXPECT_EQ(vael.ShownFields(), c.shownAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsDialogFields, testing::ValuesIn(kFieldCases),
                         [](const testing::TestParamInfo<FieldCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(SettingsDialog, FreshLibraryShowsTheDefaults) {
  PrivateVael vael;
  EXPECT_EQ(vael.ShownFields(), kDefaultsShown);
}

// Typing stops at twelve characters (or earlier, where the field's width is full), while
// the texts the dialog itself shows may be longer.
TEST(SettingsDialog, FieldsTakeTwelveTypedCharacters) {
  PrivateVael vael;
  HostLedger ledger;
  std::vector<LRESULT> limits;
  vael.Edit(nullptr, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    for (int id : kNumberFieldIds) {
      DWORD_PTR limit = 0;
      SendMessageTimeoutA(GetDlgItem(dialog, id), EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, 2000,
                          &limit);
      limits.push_back(static_cast<LRESULT>(limit));
    }
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(limits, std::vector<LRESULT>(5, 12));
}

// Neither the fields nor the string may follow a locale whose decimal separator is ','.
TEST(SettingsDialog, NumberTextIgnoresTheProcessLocale) {
  const char* chosen = nullptr;
  for (const char* name : {"German_Germany.1252", "German", "French"})
    if ((chosen = std::setlocale(LC_ALL, name)) != nullptr) break;
  if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  PrivateVael vael;
  HostLedger ledger;
  std::string shown;
  char* result = vael.Edit(ledger.Adopt("#1.5 1 1 0.2 0.8 120 128 128"), ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    shown = ControlText(dialog, IDC_X_SCALE);
    SetControlText(dialog, IDC_Y_SCALE, "2.5");
    PressButton(dialog, IDOK);
  });
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(shown, "1.50");
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "# 1.50 2.50 1.00 0.20 0.80 120.00 128.00 128.00");
}

}  // namespace
