// _SetExternalParameters as the renderer calls it: the string it hands in, the dialog, and
// the renderer's allocate and release, in which order and how often, and what comes back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/float_traps.h"
#include "tests/support/settings_editor.h"
#include "tests/support/window_watcher.h"

namespace {

constexpr const char* kDefaultText = "# 1.00 1.00 1.00 0.20 0.80 120.00 128.00 128.00";

void PressOk(HWND dialog) {
  if (dialog != nullptr) PressButton(dialog, IDOK);
}

void PressCancel(HWND dialog) {
  if (dialog != nullptr) PressButton(dialog, IDCANCEL);
}

TEST(ParameterEditing, ConfirmingTheDefaultSetWithoutTextAllocatesOneBlock) {
  PrivateVael vael;
  HostLedger ledger;
  char* result = vael.Edit(nullptr, ledger, PressOk);
  EXPECT_EQ(ledger.calls, std::vector<std::string>{"allocate 48"});
  ASSERT_EQ(ledger.given.size(), 1u);
  EXPECT_EQ(result, ledger.given[0]);
  EXPECT_EQ(std::string(result, 48), std::string(kDefaultText) + '\0');
}

// The old string goes back to the renderer only once the new one exists.
TEST(ParameterEditing, ConfirmingReleasesTheIncomingTextOnceAfterAllocating) {
  PrivateVael vael;
  HostLedger ledger;
  char* incoming = ledger.Adopt("#1.234 1 1 0.2 0.8 120 128 128");
  char* result = vael.Edit(incoming, ledger, PressOk);
  const std::vector<std::string> calls = {"allocate 48", "release"};
  EXPECT_EQ(ledger.calls, calls);
  EXPECT_EQ(ledger.releases, std::vector<void*>{incoming});
  ASSERT_EQ(ledger.given.size(), 1u);
  EXPECT_EQ(result, ledger.given[0]);
  EXPECT_STREQ(result, "# 1.23 1.00 1.00 0.20 0.80 120.00 128.00 128.00");
}

TEST(ParameterEditing, LeadCharacterIsSkippedUnseen) {
  PrivateVael vael;
  HostLedger ledger;
  char* result = vael.Edit(ledger.Adopt("x2 3 4 0.5 0.25 1 2 3"), ledger, PressOk);
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "# 2.00 3.00 4.00 0.50 0.25 1.00 2.00 3.00");
}

TEST(ParameterEditing, CancelReturnsTheIncomingPointerAndCallsNeitherHostFunction) {
  for (const char* text : {"#2 3 4 0.5 0.25 1 2 3", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(text ? text : "no incoming text");
    PrivateVael vael;
    HostLedger ledger;
    char* incoming = text ? ledger.Adopt(text) : nullptr;
    EXPECT_EQ(vael.Edit(incoming, ledger, PressCancel), incoming);
    EXPECT_TRUE(ledger.calls.empty());
  }
}

// What the plug-in asks of MessageBoxA, which then shows the real box.
std::vector<UINT> boxTypes;
std::vector<bool> boxOwnedByFocus;
decltype(&MessageBoxA) realMessageBox = nullptr;

int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  boxTypes.push_back(type);
  boxOwnedByFocus.push_back(owner == GetFocus());
  return realMessageBox(owner, text, caption, type);
}

INT_PTR WINAPI FailingDialogBox(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return -1; }

// The renderer keeps the material's settings when it has no memory for new ones.
TEST(ParameterEditing, AllocationFailureShowsTheBoxAndKeepsTheIncomingText) {
  boxTypes.clear();
  boxOwnedByFocus.clear();
  PrivateVael vael;
  realMessageBox = reinterpret_cast<decltype(realMessageBox)>(
      vael.Patch("user32.dll", "MessageBoxA", reinterpret_cast<void*>(RecordMessageBox)));
  ASSERT_NE(realMessageBox, nullptr);
  HostLedger ledger;
  ledger.refuse = true;
  char* incoming = ledger.Adopt("#2 3 4 0.5 0.25 1 2 3");
  std::string body;
  std::vector<std::string> buttons;
  char* result = vael.Edit(incoming, ledger, [&](HWND dialog) {
    PressOk(dialog);
    if (const HWND box = WaitForWindow("Error", kDialogClass)) {
      body = MessageBoxBody(box);
      buttons = MessageBoxButtons(box);
      PressButton(box, IDOK);
    }
  });
  EXPECT_EQ(result, incoming);
  EXPECT_EQ(ledger.calls, std::vector<std::string>{"allocate 42"});
  EXPECT_EQ(body, "External shader: Out of memory");
  EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(boxTypes, std::vector<UINT>{MB_TASKMODAL | MB_ICONERROR});
  EXPECT_EQ(boxOwnedByFocus, std::vector<bool>{true});
}

TEST(ParameterEditing, DialogThatCannotOpenCountsAsCancel) {
  PrivateVael vael;
  ASSERT_NE(vael.Patch("user32.dll", "DialogBoxParamA", reinterpret_cast<void*>(FailingDialogBox)),
            nullptr);
  HostLedger ledger;
  char* incoming = ledger.Adopt("#2 3 4 0.5 0.25 1 2 3");
  EXPECT_EQ(vael.Edit(incoming, ledger, nullptr), incoming);
  EXPECT_TRUE(ledger.calls.empty());
}

TEST(ParameterEditing, DialogBelongsToTheRenderersWindow) {
  const HWND parent = CreateWindowExA(0, "STATIC", "renderer", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                      100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  PrivateVael vael;
  HostLedger ledger;
  HWND owner = nullptr;
  vael.Edit(
      nullptr, ledger,
      [&](HWND dialog) {
        if (dialog == nullptr) return;
        owner = GetWindow(dialog, GW_OWNER);
        PressButton(dialog, IDCANCEL);
      },
      parent);
  DestroyWindow(parent);
  EXPECT_EQ(owner, parent);
}

// A renderer that runs with floating-point traps unmasked, x87 and SSE: a field whose number
// is beyond a float's range must not trap, whether the dialog is confirmed or cancelled, and
// the renderer's control state comes back unchanged.
TEST(ParameterEditing, UnmaskedTrapsNeitherTrapNorChange) {
  PrivateVael vael;
  HostLedger ledger;
  const auto typeHugeNumbers = [](HWND dialog) {
    SetControlText(dialog, IDC_X_SCALE, "1e300");
    SetControlText(dialog, IDC_Y_SCALE, "-1e-300");
  };
  const UnmaskedFloatTraps traps(UnmaskedFloatTraps::kInvalid | UnmaskedFloatTraps::kZeroDivide |
                                 UnmaskedFloatTraps::kOverflow);
  char* confirmed = vael.Edit(nullptr, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    typeHugeNumbers(dialog);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(CurrentFloatControl(), traps.unmasked()) << "after a confirmed edit";
  char* cancelled = vael.Edit(confirmed, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    typeHugeNumbers(dialog);
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(CurrentFloatControl(), traps.unmasked()) << "after a cancelled edit";
  ASSERT_NE(confirmed, nullptr);
  EXPECT_STREQ(confirmed, "# +INF -0.00 1.00 0.20 0.80 120.00 128.00 128.00");
  EXPECT_EQ(cancelled, confirmed);
}

}  // namespace
