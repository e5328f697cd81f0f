// vael.dll as a PE file and as a callee: its exact export names, imports from Windows
// system DLLs only, no timestamp, and the calling convention of every entry point.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "tests/support/cdecl_call.h"
#include "tests/support/import_patch.h"
#include "tests/support/vael_dll.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

const IMAGE_NT_HEADERS& Headers() {
  auto* base = reinterpret_cast<const BYTE*>(VaelDll());
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  return *reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
}

TEST(DllBoundary, LoadsAsA32BitLibraryWithoutTimestamp) {
  ASSERT_NE(VaelDll(), nullptr) << "LoadLibrary failed: " << GetLastError();
  EXPECT_EQ(Headers().FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_TRUE(Headers().FileHeader.Characteristics & IMAGE_FILE_DLL);
  EXPECT_EQ(Headers().FileHeader.TimeDateStamp, 0u) << "two builds must be byte-identical";
}

TEST(DllBoundary, ExportsExactlyTheEntryPointNames) {
  std::vector<std::string> names = ExportedNames(VaelDll());
  std::sort(names.begin(), names.end());
  const std::vector<std::string> expected = {"DllEntryPoint", "_ExternalTextureClose",
                                             "_ExternalTextureMorph", "_ExternalTextureProcedure",
                                             "_ExternalTextureStartup",
                                             "_SetExternalParameters"};
  EXPECT_EQ(names, expected);
}

TEST(DllBoundary, ImportsOnlyWindowsSystemLibraries) {
  const std::vector<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                           "comdlg32.dll", "msvcrt.dll", "advapi32.dll"};
  const std::vector<std::string> imported = ImportedDlls(VaelDll());
  EXPECT_FALSE(imported.empty());
  for (const std::string& name : imported)
    EXPECT_NE(std::find(system.begin(), system.end(), Lower(name)), system.end())
        << name << " is not a Windows system DLL (the C++ runtime must be linked in)";
}

TEST(DllBoundary, DllEntryPointIsStdcallAndNeverFailsToLoad) {
  const void* entry = VaelExport("DllEntryPoint");
  ASSERT_NE(entry, nullptr);
  const std::uint32_t module = PointerSlot(VaelDll());
  // Thread attach and detach, a second process attach, and an attach without a module.
  for (const std::vector<std::uint32_t>& slots :
       std::vector<std::vector<std::uint32_t>>{{module, DLL_THREAD_ATTACH, 0},
                                               {module, DLL_THREAD_DETACH, 0},
                                               {module, DLL_PROCESS_ATTACH, 0},
                                               {0, DLL_PROCESS_ATTACH, 0}}) {
    const CdeclCallResult result = CallWithSlots(entry, slots);
    EXPECT_EQ(result.eax, 1u);
    EXPECT_EQ(result.stackMovedBy, 12) << "the callee removes its three arguments";
  }
}

// Every texture entry point is cdecl; the helpers fail the test if one moves the stack.
TEST(DllBoundary, TextureEntryPointsLeaveTheirArgumentsToTheCaller) {
  EXPECT_EQ(CallStartup("# 1 1 1 0.2 0.8 120 128 128"), 1u);
  EXPECT_EQ(CallMorph("# 1 1 1 0.2 0.8 120 128 128", 0.5f), 1u);
  CallClose();
  EXPECT_EQ(DllFingerprint(), CoreFingerprint(ShaderParameters{}));
}

}  // namespace
