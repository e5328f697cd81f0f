// vael-host edit run as a user runs it: the real dialog of the real DLL opens in the
// stand-in renderer's process, and the program prints the string that comes back (or that
// the edit was cancelled) and how often the shader called the renderer's allocator.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/host_program.h"
#include "tests/support/settings_editor.h"
#include "tests/support/window_watcher.h"

namespace {

// vael-host edit with the real DLL; script gets the program's dialog (null if none opened).
// The C runtime writes text lines with CR LF; the output comes back with plain line ends.
HostRun RunHostEdit(std::vector<std::string> arguments,
                    const std::function<void(HWND dialog)>& script) {
  arguments.insert(arguments.begin(), "edit");
  arguments.insert(arguments.end(), {"--dll", WindowsPath(VAEL_DLL_PATH)});
  HostRun run = RunHost(arguments, [&](DWORD processId) {
    script(WaitForProcessWindow(processId, kSettingsTitle, kDialogClass));
  });
  std::erase(run.output, '\r');
  return run;
}

TEST(HostEditCommand, PrintsTheStringThatOkReturns) {
  const HostRun run = RunHostEdit({"#1.234 1 1 0.2 0.8 120 128 128"}, [](HWND dialog) {
    if (dialog == nullptr) return;
    SetControlText(dialog, IDC_Y_SCALE, "2");
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output,
            "# 1.23 2.00 1.00 0.20 0.80 120.00 128.00 128.00\n"
            "shader called allocate 1 times, release 1 times\n");
}

TEST(HostEditCommand, SaysWhenTheEditWasCancelled) {
  const HostRun run = RunHostEdit({}, [](HWND dialog) {
    if (dialog != nullptr) PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output, "edit cancelled\nshader called allocate 0 times, release 0 times\n");
}

}  // namespace

// A long editing session, as a user clicks through it: OK with a changed field and Cancel
// by turns, each edit on the string the one before returned. At exit the stand-in's ledger
// must show every block that allocate gave released exactly once.
TEST(HostEditCommand, AThousandEditsReleaseEveryBlockExactlyOnce) {
  constexpr int kEdits = 1000;
  int handled = 0;
  const HostRun run = RunHostEdit(
      {"# 1 1 1 0.2 0.8 120 128 128", "--edits", std::to_string(kEdits)}, [&](HWND dialog) {
        DWORD processId = 0;
        if (dialog != nullptr) GetWindowThreadProcessId(dialog, &processId);
        for (; dialog != nullptr; ++handled) {
          if (handled % 2 == 0) {
            SetControlText(dialog, IDC_X_SCALE, std::to_string(handled % 7 + 1));
            PressButton(dialog, IDOK);
          } else {
            PressButton(dialog, IDCANCEL);
          }
          if (!WaitForWindowGone(dialog) || handled + 1 == kEdits) break;
          dialog = WaitForProcessWindow(processId, kSettingsTitle, kDialogClass);
        }
      });
  EXPECT_EQ(handled + 1, kEdits);
  EXPECT_EQ(run.exitCode, 0u) << run.output.substr(run.output.size() > 300 ? run.output.size() - 300 : 0);
  const std::string summary = "shader called allocate " + std::to_string(kEdits / 2) +
                              " times, release " + std::to_string(kEdits / 2) + " times\n";
  EXPECT_TRUE(run.output.ends_with(summary)) << run.output.substr(run.output.size() - 200);
}
