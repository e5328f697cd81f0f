// Native timings of the shader core: one shaded sample with trivial samplers (the cloud
// rule's own cost), and the parameter string's reader and writer.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "core/shade_sample.h"
#include "core/shader_parameters.h"

namespace {

void ConstantA(float, float, float, float* result) { *result = 0.5f; }
void ConstantB(float, float, float, float* result) { *result = 0.8f; }

void ShadeOneSample(benchmark::State& state) {
  const ShaderParameters parameters;
  HostSamplerFunctions samplers = {ConstantA, ConstantB};
  benchmark::DoNotOptimize(samplers);
  const std::uint32_t source = 1;
  float x = 0.25f;
  for (auto _ : state) {
    float colour[3] = {200.0f, 180.0f, 150.0f};
    std::uint32_t destination = 0;
    ShadeSample(parameters, x, 0.5f, -0.75f, colour, &source, &destination, samplers);
    benchmark::DoNotOptimize(colour);
    x += 1e-3f;
  }
}
BENCHMARK(ShadeOneSample);

void LoadDefaultString(benchmark::State& state) {
  ShaderParameters parameters;
  for (auto _ : state) {
    LoadParameters(parameters, "# 1.00 1.00 1.00 0.20 0.80 120.00 128.00 128.00");
    benchmark::DoNotOptimize(parameters);
  }
}
BENCHMARK(LoadDefaultString);

void FormatDefaultSet(benchmark::State& state) {
  const ShaderParameters parameters;
  std::array<char, kParameterTextCapacity> text;
  for (auto _ : state) benchmark::DoNotOptimize(FormatParameters(parameters, text));
}
BENCHMARK(FormatDefaultSet);

}  // namespace

BENCHMARK_MAIN();
