// The real vael.dll as the tests meet it: loaded by path, its entry points called through
// raw 32-bit slots the way the renderer calls them, and a fingerprint of the live parameter
// set taken by shading probe samples through the DLL.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "core/shade_sample.h"
#include "core/shader_parameters.h"

HMODULE VaelDll();
const void* VaelExport(const char* name);

// Each returns the entry point's result and fails the current test when the callee moved
// the stack (a cdecl entry point leaves its arguments to the caller).
std::uint32_t CallStartup(const char* text);
std::uint32_t CallMorph(const char* text, float t);
std::uint32_t CallProcedure(float x, float y, float z, float colour[3], const std::uint32_t* source,
                            std::uint32_t* destination, const HostSamplerFunctions* samplers);
void CallClose();

// Shading results of a fixed set of probe samples. Two fingerprints are equal exactly when
// the parameter sets behind them shade alike; the expected one comes from the core library
// linked into the test itself.
using Fingerprint = std::vector<std::uint32_t>;
Fingerprint DllFingerprint();
Fingerprint CoreFingerprint(const ShaderParameters& parameters);

// Loads text into the DLL's set (as _ExternalTextureStartup does) and checks the result.
void LoadIntoDll(const char* text);
