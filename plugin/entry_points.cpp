// The exports through which the renderer drives the shader core. Each is a thin layer: the
// core does the work, the boundary keeps the renderer's floating-point state as it was.
#include <windows.h>

#include <cstdint>

#include "core/float_environment.h"
#include "core/shade_sample.h"
#include "core/shader_parameters.h"
#include "plugin/host_services.h"
#include "plugin/plugin_state.h"

ShaderParameters shaderParameters;
HINSTANCE moduleHandle = nullptr;

extern "C" {

BOOL WINAPI DllEntryPoint(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH && module != nullptr) moduleHandle = module;
  return TRUE;
}

// The C runtime's start-up code calls DllMain once it has initialised itself.
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  return DllEntryPoint(module, reason, reserved);
}

int ExternalTextureStartup(std::int32_t, std::int32_t, const char* text) {
  const HeldFloatingPoint held;
  if (text == nullptr || text[0] != kParameterLead)
    MessageBoxA(GetFocus(), "External texture: Startup", "Parameter list missing", MB_SYSTEMMODAL);
  else
    LoadParameters(shaderParameters, text);
  return 1;
}

int ExternalTextureMorph(const char* text, float t) {
  const HeldFloatingPoint held;
  MorphParameters(shaderParameters, text, t);
  return 1;
}

int ExternalTextureProcedure(std::int32_t, std::int32_t, std::int32_t, float x, float y, float z,
                             std::int32_t, std::int32_t, std::int32_t, const std::uint32_t* source,
                             std::int32_t, float* colour, std::int32_t, std::uint32_t* destination,
                             const HostSamplerFunctions* samplers) {
  return ShadeSample(shaderParameters, x, y, z, colour, source, destination, *samplers);
}

void ExternalTextureClose() {}

}  // extern "C"
