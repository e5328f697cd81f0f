// Loading vael.dll once per test program, and the probe samples behind the fingerprints.
#include "tests/support/vael_dll.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/cdecl_call.h"

namespace {

// Distinct junk in the slots that the plug-in must not read.
constexpr std::uint32_t kUnusedSlot = 0xA5A5A5A5u;

std::uint32_t Checked(const CdeclCallResult& result, const char* entry) {
  EXPECT_EQ(result.stackMovedBy, 0) << entry << " is not cdecl";
  return result.eax;
}

// Probe samplers: the point they are asked for is recorded, the values come from the probe.
float probeA = 0;
float probeB = 0;
std::vector<std::uint32_t>* record = nullptr;

std::uint32_t Bits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void RecordPoint(float x, float y, float z) {
  if (record == nullptr) return;
  record->push_back(Bits(x));
  record->push_back(Bits(y));
  record->push_back(Bits(z));
}
void ProbeA(float x, float y, float z, float* result) {
  RecordPoint(x, y, z);
  *result = probeA;
}
void ProbeB(float, float, float, float* result) { *result = probeB; }

constexpr HostSamplerFunctions kProbeSamplers = {ProbeA, ProbeB};

// Coverages below, at and above the default threshold and band, and the odd ones.
constexpr float kProbeCoverages[] = {0.0f, 0.1f, 0.2f, 0.35f, 0.5f, 0.6f, 0.75f, 0.9f, 0.99f,
                                     1.0f, 1.1f, 2.0f, -0.5f};

template <typename Shade>
Fingerprint TakeFingerprint(Shade shade) {
  Fingerprint fingerprint;
  record = &fingerprint;
  for (float coverage : kProbeCoverages) {
    probeA = coverage;
    probeB = 1.0f;
    float colour[3] = {200.0f, 100.0f, 50.0f};
    const std::uint32_t source = 0x5EED0000u;
    std::uint32_t destination = 0;
    shade(1.5f, -2.0f, 0.25f, colour, &source, &destination);
    for (float channel : colour) fingerprint.push_back(Bits(channel));
    fingerprint.push_back(destination);
  }
  record = nullptr;
  return fingerprint;
}

}  // namespace

HMODULE VaelDll() {
  static HMODULE module = LoadLibraryA(VAEL_DLL_PATH);
  return module;
}

const void* VaelExport(const char* name) {
  return reinterpret_cast<const void*>(GetProcAddress(VaelDll(), name));
}

std::uint32_t CallStartup(const char* text) {
  return Checked(CallWithSlots(VaelExport("_ExternalTextureStartup"),
                               {kUnusedSlot, kUnusedSlot, PointerSlot(text)}),
                 "_ExternalTextureStartup");
}

std::uint32_t CallMorph(const char* text, float t) {
  return Checked(CallWithSlots(VaelExport("_ExternalTextureMorph"), {PointerSlot(text), FloatSlot(t)}),
                 "_ExternalTextureMorph");
}

std::uint32_t CallProcedure(float x, float y, float z, float colour[3], const std::uint32_t* source,
                            std::uint32_t* destination, const HostSamplerFunctions* samplers) {
  const std::vector<std::uint32_t> slots = {
      kUnusedSlot,         kUnusedSlot, kUnusedSlot,         FloatSlot(x),
      FloatSlot(y),        FloatSlot(z), kUnusedSlot,        kUnusedSlot,
      kUnusedSlot,         PointerSlot(source), kUnusedSlot, PointerSlot(colour),
      kUnusedSlot,         PointerSlot(destination), PointerSlot(samplers)};
  return Checked(CallWithSlots(VaelExport("_ExternalTextureProcedure"), slots),
                 "_ExternalTextureProcedure");
}

void CallClose() {
  Checked(CallWithSlots(VaelExport("_ExternalTextureClose"), {}), "_ExternalTextureClose");
}

Fingerprint DllFingerprint() {
  return TakeFingerprint([](float x, float y, float z, float* colour, const std::uint32_t* source,
                            std::uint32_t* destination) {
    EXPECT_EQ(CallProcedure(x, y, z, colour, source, destination, &kProbeSamplers), 1u);
  });
}

Fingerprint CoreFingerprint(const ShaderParameters& parameters) {
  return TakeFingerprint([&](float x, float y, float z, float* colour, const std::uint32_t* source,
                             std::uint32_t* destination) {
    ShadeSample(parameters, x, y, z, colour, source, destination, kProbeSamplers);
  });
}

void LoadIntoDll(const char* text) { EXPECT_EQ(CallStartup(text), 1u) << text; }
