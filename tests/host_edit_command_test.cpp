// vael-host edit run as a user runs it: the real dialog of the real DLL opens in the
// stand-in renderer's process, and the program prints the string that comes back (or that
// the edit was cancelled) and how often the shader called the renderer's allocator.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/settings_editor.h"
#include "tests/support/window_watcher.h"

namespace {

struct HostRun {
  DWORD exitCode = STILL_ACTIVE;
  std::string output;
};

// Starts vael-host edit with its output in a file, hands the process's dialog to script,
// and waits for the program to end; one that does not end is killed and fails the test.
HostRun RunHostEdit(const std::vector<std::string>& arguments,
                    const std::function<void(HWND dialog)>& script) {
  char folder[MAX_PATH];
  char outputPath[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "edit", 0, outputPath);
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  const HANDLE output = CreateFileA(outputPath, GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string commandLine = "\"" VAEL_HOST_PATH "\" edit";
  for (const std::string& argument : arguments) commandLine += " \"" + argument + '"';
  commandLine += " --dll \"" VAEL_DLL_PATH "\"";

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION process{};
  HostRun run;
  const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(output);
  if (!started) {
    ADD_FAILURE() << "cannot start " << commandLine;
    DeleteFileA(outputPath);
    return run;
  }
  script(WaitForProcessWindow(process.dwProcessId, kSettingsTitle, kDialogClass));
  if (WaitForSingleObject(process.hProcess, 2 * kWindowTimeoutMs) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "vael-host edit did not end";
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, kWindowTimeoutMs);
  }
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::ostringstream text;
  text << std::ifstream(outputPath, std::ios::binary).rdbuf();
  for (char c : text.str())
    if (c != '\r') run.output += c;  // the C runtime writes text lines with CR LF
  DeleteFileA(outputPath);
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
