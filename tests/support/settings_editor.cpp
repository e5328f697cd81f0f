// Private DLL copies, the recording host memory and the guarded edit call.
#include "tests/support/settings_editor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "tests/support/cdecl_call.h"
#include "tests/support/import_patch.h"
#include "tests/support/window_watcher.h"

namespace {

HostLedger* currentLedger = nullptr;

// Titles of every window that an edit can leave open: the dialog, the picker, the box.
constexpr const char* kLeftoverTitles[] = {"Color", "Error", kSettingsTitle};

void CloseLeftovers(const std::atomic<bool>& returned) {
  WaitUntil([&] { return returned.load(); });
  while (!returned) {
    for (const char* title : kLeftoverTitles)
      if (HWND window = WaitForWindow(title, nullptr, 0)) PostMessageA(window, WM_CLOSE, 0, 0);
    Sleep(100);
  }
}

}  // namespace

HostLedger::HostLedger() : functions_{Allocate, Release} { currentLedger = this; }

HostLedger::~HostLedger() {
  if (currentLedger == this) currentLedger = nullptr;
}

char* HostLedger::Adopt(const std::string& text) {
  blocks_.push_back(std::make_unique<char[]>(text.size() + 1));
  std::memcpy(blocks_.back().get(), text.c_str(), text.size() + 1);
  return blocks_.back().get();
}

void* HostLedger::Allocate(std::uint32_t byteCount) {
  HostLedger& ledger = *currentLedger;
  ledger.allocations.push_back(byteCount);
  ledger.calls.push_back("allocate " + std::to_string(byteCount));
  if (ledger.refuse) return nullptr;
  ledger.blocks_.push_back(std::make_unique<char[]>(byteCount));
  ledger.given.push_back(ledger.blocks_.back().get());
  return ledger.blocks_.back().get();
}

void HostLedger::Release(void* text) {
  currentLedger->releases.push_back(text);
  currentLedger->calls.push_back("release");
}

PrivateVael::PrivateVael() {
  char folder[MAX_PATH];
  char file[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "vael", 0, file);
  path_ = file;
  path_ += ".dll";
  DeleteFileA(file);
  if (CopyFileA(VAEL_DLL_PATH, path_.c_str(), FALSE)) module_ = LoadLibraryA(path_.c_str());
  EXPECT_NE(module_, nullptr) << "cannot load a copy of " << VAEL_DLL_PATH;
}

PrivateVael::~PrivateVael() {
  if (module_ != nullptr) FreeLibrary(module_);
  DeleteFileA(path_.c_str());
}

void* PrivateVael::Patch(const char* dllName, const char* functionName, void* replacement) {
  return PatchImport(module_, dllName, functionName, replacement);
}

char* PrivateVael::Edit(char* text, HostLedger& ledger,
                        const std::function<void(HWND dialog)>& script, HWND parent) {
  const void* entry = reinterpret_cast<const void*>(GetProcAddress(module_, "_SetExternalParameters"));
  if (entry == nullptr) {
    ADD_FAILURE() << "no _SetExternalParameters export";
    return nullptr;
  }
  std::atomic<bool> returned = false;
  WindowWatcher watcher([&] {
    if (script) script(WaitForWindow(kSettingsTitle, kDialogClass));
    CloseLeftovers(returned);
  });
  const CdeclCallResult result = CallWithSlots(
      entry, {PointerSlot(text), PointerSlot(parent), PointerSlot(ledger.functions())});
  returned = true;
  EXPECT_TRUE(watcher.Join());
  EXPECT_EQ(result.stackMovedBy, 0) << "_SetExternalParameters is not cdecl";
  return reinterpret_cast<char*>(static_cast<std::uintptr_t>(result.eax));
}

std::array<std::string, 5> PrivateVael::ShownFields() {
  std::array<std::string, 5> shown;
  HostLedger ledger;
  Edit(nullptr, ledger, [&](HWND dialog) {
    if (dialog == nullptr) return;
    for (std::size_t i = 0; i < shown.size(); ++i)
      shown[i] = ControlText(dialog, kNumberFieldIds[i]);
    PressButton(dialog, IDCANCEL);
  });
  return shown;
}

DWORD DialogThread(HWND dialog) { return GetWindowThreadProcessId(dialog, nullptr); }

HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(DialogThread(dialog), &info);
  return info.hwndFocus;
}
