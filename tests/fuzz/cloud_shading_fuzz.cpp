// libFuzzer target for ShadeSample: arbitrary settings, point, colour and samples, shaded once
// as usual and once with invalid-operation and divide-by-zero traps enabled, as some renderers
// run. A trap, a sampler asked at a coordinate that is not finite, or an inconsistent result
// stops the run.
#include <fenv.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/shade_sample.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr std::uint32_t kExponentBits = 0x7F800000u;
constexpr std::uint32_t kQuietBit = 0x00400000u;

// The core promises quiet operation for quiet NaNs only; a signalling one would trap on its
// first use, in the renderer as much as here.
float Quiet(float value) {
  std::uint32_t bits = BitsOf(value);
  if ((bits & kExponentBits) == kExponentBits && (bits & ~0xFF800000u) != 0) bits |= kQuietBit;
  return FloatOf(bits);
}

// By the bits, so that the check itself does no arithmetic while traps are enabled.
bool IsFinite(float value) { return (BitsOf(value) & kExponentBits) != kExponentBits; }

struct SamplerCall {
  char which;
  std::uint32_t x, y, z;
  bool operator==(const SamplerCall&) const = default;
};

// What the samplers return and what they were asked, for the call under way.
struct SamplerScene {
  float a = 0;
  float b = 0;
  std::array<SamplerCall, 2> calls{};
  std::size_t callCount = 0;
};
SamplerScene scene;

void Witness(char which, float x, float y, float z) {
  Require(IsFinite(x) && IsFinite(y) && IsFinite(z), "samplers see finite points");
  Require(scene.callCount < scene.calls.size(), "at most two sampler calls");
  scene.calls[scene.callCount++] = {which, BitsOf(x), BitsOf(y), BitsOf(z)};
}

void SampleA(float x, float y, float z, float* result) {
  Witness('A', x, y, z);
  *result = scene.a;
}

void SampleB(float x, float y, float z, float* result) {
  Witness('B', x, y, z);
  *result = scene.b;
}

constexpr HostSamplerFunctions kSamplers = {SampleA, SampleB};

struct Sample {
  ShaderParameters parameters;
  float x, y, z;
  std::array<float, 3> colour;
  float a, b;
  std::uint32_t source;
};

Sample SampleAt(const std::uint8_t* data, std::size_t size) {
  Sample sample{};
  sample.parameters = ParametersAt(data, size, 0);
  for (std::size_t i = 0; i < kParameterCount; ++i)
    sample.parameters.*kParameterFields[i] = Quiet(sample.parameters.*kParameterFields[i]);
  std::size_t offset = 4 * kParameterCount;
  const auto next = [&] { return Quiet(FloatAt(data, size, (offset += 4) - 4)); };
  sample.x = next();
  sample.y = next();
  sample.z = next();
  for (float& channel : sample.colour) channel = next();
  sample.a = next();
  sample.b = next();
  sample.source = BitsOf(FloatAt(data, size, offset));
  return sample;
}

struct Outcome {
  int result;
  std::array<std::uint32_t, 3> colour;
  std::uint32_t destination;
  std::array<SamplerCall, 2> calls;
  std::size_t callCount;
  bool operator==(const Outcome&) const = default;
};

Outcome Shade(const Sample& sample, bool trapping) {
  scene = SamplerScene{};
  scene.a = sample.a;
  scene.b = sample.b;
  std::array<float, 3> colour = sample.colour;
  // Differs from the source in every bit, so a copy always shows.
  std::uint32_t destination = ~sample.source;
  if (trapping) {
    feclearexcept(FE_ALL_EXCEPT);
    feenableexcept(FE_INVALID | FE_DIVBYZERO);
  }
  const int result = ShadeSample(sample.parameters, sample.x, sample.y, sample.z, colour.data(),
                                 &sample.source, &destination, kSamplers);
  if (trapping) fedisableexcept(FE_INVALID | FE_DIVBYZERO);
  return {result,
          {BitsOf(colour[0]), BitsOf(colour[1]), BitsOf(colour[2])},
          destination,
          scene.calls,
          scene.callCount};
}

void CheckConsistent(const Sample& sample, const Outcome& outcome) {
  Require(outcome.result == 1, "ShadeSample returns 1");
  const std::array<SamplerCall, 2>& calls = outcome.calls;
  Require(outcome.callCount == 0 || outcome.callCount == 2, "both samplers or neither");
  if (outcome.callCount == 2) {
    Require(calls[0].which == 'B' && calls[1].which == 'A', "sampleB before sampleA");
    Require(calls[0].x == calls[1].x && calls[0].y == calls[1].y && calls[0].z == calls[1].z,
            "both samplers see the same point");
  }
  const bool written = outcome.destination == sample.source;
  Require(written || outcome.destination == ~sample.source,
          "the destination is left alone or gets the source, bit for bit");
  Require(!written || outcome.callCount == 2, "no copy without sampling");
  const std::array<std::uint32_t, 3> before = {BitsOf(sample.colour[0]),
                                               BitsOf(sample.colour[1]),
                                               BitsOf(sample.colour[2])};
  Require(written || outcome.colour == before, "a sample left alone keeps its colour");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Sample sample = SampleAt(data, size);
  const Outcome plain = Shade(sample, false);
  CheckConsistent(sample, plain);
  Require(Shade(sample, true) == plain, "traps enabled change nothing");
  return 0;
}
