// The settings editor as the renderer meets it: a private copy of vael.dll per test (its own
// parameter set and custom colours), a stand-in renderer memory that records every call,
// and _SetExternalParameters run on this thread while a script drives the dialog.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plugin/host_services.h"

inline constexpr const char* kSettingsTitle = "Vael 0.2";
inline constexpr const char* kDialogClass = "#32770";
inline constexpr int kNumberFieldIds[] = {101, 102, 103, 109, 121};
inline constexpr int kSwatchId = 113;

// The renderer's allocator: every call in order ("allocate 48", "release"), the sizes asked
// for and the pointers given back; it owns the blocks, also those handed to the plug-in.
class HostLedger {
 public:
  HostLedger();
  ~HostLedger();
  HostLedger(const HostLedger&) = delete;
  HostLedger& operator=(const HostLedger&) = delete;

  // A parameter string in the renderer's memory, as a material holds it.
  char* Adopt(const std::string& text);

  const HostMemoryFunctions* functions() const { return &functions_; }
  bool refuse = false;  // allocate gives null
  std::vector<std::uint32_t> allocations;
  std::vector<void*> releases;
  std::vector<std::string> calls;
  std::vector<void*> given;

 private:
  static void* Allocate(std::uint32_t byteCount);
  static void Release(void* text);
  HostMemoryFunctions functions_;
  std::vector<std::unique_ptr<char[]>> blocks_;
};

// A copy of vael.dll under a name of its own, loaded for one test and unloaded after it.
class PrivateVael {
 public:
  PrivateVael();
  ~PrivateVael();
  PrivateVael(const PrivateVael&) = delete;
  PrivateVael& operator=(const PrivateVael&) = delete;

  HMODULE module() const { return module_; }

  // Calls _SetExternalParameters on this thread (checking that it is cdecl) while script
  // runs on a watcher thread with the dialog, or with null if none appeared. Whatever the
  // script leaves open (dialog, picker, message box) is closed, so the call always returns.
  char* Edit(char* text, HostLedger& ledger, const std::function<void(HWND dialog)>& script,
             HWND parent = nullptr);

  // The five fields as a dialog opened on the current set shows them (then cancelled).
  std::array<std::string, 5> ShownFields();

  // Replaces what the DLL imports from a system DLL; put back when the copy is unloaded.
  void* Patch(const char* dllName, const char* functionName, void* replacement);

 private:
  std::string path_;
  HMODULE module_ = nullptr;
};

// The dialog's thread id, for the focus and the keyboard state of that thread.
DWORD DialogThread(HWND dialog);
HWND FocusOf(HWND dialog);
