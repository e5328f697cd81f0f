// The editing entry point: the renderer hands in a material's parameter string, the user
// edits it in the settings dialog, and a new string comes back in the renderer's memory.
#include <windows.h>

#include <array>
#include <cstring>

#include "core/float_environment.h"
#include "core/shader_parameters.h"
#include "plugin/host_services.h"
#include "plugin/plugin_state.h"
#include "resources/resource.h"
#include "ui/settings_dialog.h"

namespace {

// A dialog that could not be created (-1) confirms nothing, so it keeps the old string.
bool Confirmed(INT_PTR dialogResult) { return dialogResult != 0 && dialogResult != -1; }

}  // namespace

extern "C" char* SetExternalParameters(char* text, HWND parent,
                                       const HostMemoryFunctions* memory) {
  const HeldFloatingPoint held;
  LoadParameters(shaderParameters, text);
  const INT_PTR result = DialogBoxParamA(moduleHandle, MAKEINTRESOURCEA(IDD_SETTINGS), parent,
                                         SettingsDialogProc, 0);
  if (!Confirmed(result)) return text;

  std::array<char, kParameterTextCapacity> written;
  const std::size_t length = FormatParameters(shaderParameters, written);
  void* block = memory->allocate(static_cast<std::uint32_t>(length + 1));
  // The old string is released only once the new one exists, so a renderer out of
  // memory keeps the material's settings.
  if (block == nullptr) {
    MessageBoxA(GetFocus(), "External shader: Out of memory", "Error", MB_TASKMODAL | MB_ICONERROR);
    return text;
  }
  std::memcpy(block, written.data(), length + 1);
  if (text != nullptr) memory->release(text);
  return static_cast<char*>(block);
}
