// A shader DLL as the renderer sees it: loaded by path, its entry points found by their exact
// exported names and called with the cdecl convention through typed function pointers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/shade_sample.h"
#include "core/shader_parameters.h"
#include "plugin/host_services.h"

using StartupFunction = int(__cdecl*)(std::int32_t, std::int32_t, const char* parameterText);
using MorphFunction = int(__cdecl*)(const char* parameterText, float factor);
// Fifteen 32-bit slots; those the shader ignores are passed all the same.
using ProcedureFunction = int(__cdecl*)(std::int32_t, std::int32_t, std::int32_t, float x,
                                        float y, float z, std::int32_t, std::int32_t,
                                        std::int32_t, const std::uint32_t* source, std::int32_t,
                                        float* colour, std::int32_t, std::uint32_t* destination,
                                        const HostSamplerFunctions* samplers);
using CloseFunction = void(__cdecl*)();
using SetParametersFunction = char*(__cdecl*)(char* parameterText, HWND parent,
                                              const HostMemoryFunctions* memory);

class ShaderLibrary {
 public:
  // Loads the library and resolves the four texture entry points, which must all be there;
  // on failure returns null and says why in error.
  static std::unique_ptr<ShaderLibrary> Open(const std::string& path, std::string& error);
  ~ShaderLibrary();
  ShaderLibrary(const ShaderLibrary&) = delete;
  ShaderLibrary& operator=(const ShaderLibrary&) = delete;

  StartupFunction startup = nullptr;
  MorphFunction morph = nullptr;
  ProcedureFunction procedure = nullptr;
  CloseFunction close = nullptr;
  SetParametersFunction setParameters = nullptr;  // null where the library has no editor

 private:
  explicit ShaderLibrary(HMODULE module) : module_(module) {}
  HMODULE module_;
};

// Whether text starts as _ExternalTextureStartup demands; the library answers any other text
// with a message box that waits for a user.
inline bool HasParameterLead(const std::string& text) {
  return !text.empty() && text.front() == kParameterLead;
}

// The parameter string that the shader itself would write for parameters.
std::string ParameterString(const ShaderParameters& parameters);

// The parameter string of the default settings, which a new material starts with.
std::string DefaultParameterText();

// vael.dll in the folder of the running program.
std::string LibraryBesideProgram();
