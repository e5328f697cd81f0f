// vael-host bench: what a sample costs through the shader DLL against calling the same two
// samplers directly, once with constant samplers (the call and the cloud rule alone) and once
// with the preview's noise samplers (the share of that overhead in a realistic sample).
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/commands.h"
#include "host/noise_samplers.h"
#include "host/shader_library.h"
#include "host/stopwatch.h"

namespace {

// Coverage 0.4: with the default settings every sample takes the blending path.
void ConstantA(float, float, float, float* result) { *result = 0.5f; }
void ConstantB(float, float, float, float* result) { *result = 0.8f; }
constexpr HostSamplerFunctions kConstantSamplers = {ConstantA, ConstantB};

struct Point {
  float x, y, z;
};

// What the default settings make of an object point before sampling it.
constexpr double kSampledPerObjectUnit = 1.0 / 0.2;

// Few enough to stay in the cache, so that neither loop waits for memory; a power of two, so
// that picking the next point costs no division.
constexpr std::size_t kPointCount = 4096;

// Points spread over the surface of the preview's cube (object coordinates -1 to 1).
std::vector<Point> SurfacePoints() {
  std::vector<Point> points;
  std::uint32_t state = 12345u;
  const auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / static_cast<float>(1u << 24) * 2.0f - 1.0f;
  };
  for (std::size_t i = 0; i < kPointCount; ++i) {
    float coordinates[3] = {next(), next(), next()};
    coordinates[i % 3] = i % 2 == 0 ? 1.0f : -1.0f;
    points.push_back({coordinates[0], coordinates[1], coordinates[2]});
  }
  return points;
}

std::vector<Point> AsSampled(const std::vector<Point>& points) {
  std::vector<Point> sampled;
  for (const Point& p : points)
    sampled.push_back({static_cast<float>(p.x * kSampledPerObjectUnit),
                       static_cast<float>(p.y * kSampledPerObjectUnit),
                       static_cast<float>(p.z * kSampledPerObjectUnit)});
  return sampled;
}

// The optimiser must not see which functions the table holds: both loops call the samplers
// through pointers, as the DLL does.
HostSamplerFunctions Opaque(HostSamplerFunctions samplers) {
  asm volatile("" : "+m"(samplers));
  return samplers;
}

float ShadeThroughLibrary(ProcedureFunction procedure, const HostSamplerFunctions& samplers,
                          const std::vector<Point>& points, int samples) {
  const std::uint32_t source = 1;
  float sum = 0.0f;
  for (int i = 0; i < samples; ++i) {
    const Point& p = points[static_cast<std::size_t>(i) & (kPointCount - 1)];
    float colour[3] = {200.0f, 180.0f, 150.0f};
    std::uint32_t destination = 0;
    procedure(0, 0, 0, p.x, p.y, p.z, 0, 0, 0, &source, 0, colour, 0, &destination, &samplers);
    sum += colour[0];
  }
  return sum;
}

float SampleDirectly(const HostSamplerFunctions& samplers, const std::vector<Point>& points,
                     int samples) {
  float sum = 0.0f;
  for (int i = 0; i < samples; ++i) {
    const Point& p = points[static_cast<std::size_t>(i) & (kPointCount - 1)];
    float a, b;
    samplers.sampleB(p.x, p.y, p.z, &b);
    samplers.sampleA(p.x, p.y, p.z, &a);
    sum += a * b;
  }
  return sum;
}

// Keeps the loops' results alive.
volatile float resultSink;

struct Timing {
  double libraryNanoseconds;
  double directNanoseconds;
};

// The best of several runs of each loop, alternating, after one warm-up run of each.
Timing TimeSamplers(ProcedureFunction procedure, const HostSamplerFunctions& table, int samples,
                    int repeats) {
  const HostSamplerFunctions samplers = Opaque(table);
  const std::vector<Point> points = SurfacePoints();
  const std::vector<Point> sampled = AsSampled(points);
  double bestLibrary = std::numeric_limits<double>::infinity();
  double bestDirect = bestLibrary;
  for (int run = -1; run < repeats; ++run) {
    const Stopwatch library;
    resultSink = ShadeThroughLibrary(procedure, samplers, points, samples);
    const double librarySeconds = library.Seconds();
    const Stopwatch direct;
    resultSink = SampleDirectly(samplers, sampled, samples);
    const double directSeconds = direct.Seconds();
    if (run < 0) continue;
    bestLibrary = std::min(bestLibrary, librarySeconds);
    bestDirect = std::min(bestDirect, directSeconds);
  }
  return {bestLibrary * 1e9 / samples, bestDirect * 1e9 / samples};
}

void PrintTiming(const char* name, const Timing& timing, float goal) {
  const double ratio = timing.libraryNanoseconds / timing.directNanoseconds;
  std::cout << name << " samplers: "
            << TwoDecimals(static_cast<float>(timing.libraryNanoseconds))
            << " ns per sample through the library, "
            << TwoDecimals(static_cast<float>(timing.directNanoseconds))
            << " ns calling the samplers directly, ratio " << TwoDecimals(static_cast<float>(ratio))
            << " (goal: at most " << TwoDecimals(goal) << ")\n";
}

}  // namespace

int RunBench(std::span<char* const> arguments) {
  std::string libraryPath = LibraryBesideProgram();
  int samples = 1000000;
  int repeats = 7;
  const Option options[] = {
      LibraryPathOption(libraryPath),
      {"--samples", "N", "samples per timed run (1000000)",
       [&](const char* value) { return ReadCount(value, 1, 100000000, samples); }},
      {"--repeats", "N", "timed runs of each loop, of which the best counts (7)",
       [&](const char* value) { return ReadCount(value, 1, 1000, repeats); }},
  };
  const ParseOutcome outcome = ParseOptions(
      "bench", "Times a sample through the shader library against calling its samplers directly.",
      arguments, options);
  if (outcome != ParseOutcome::kRun) return ExitCodeFor(outcome);

  std::string error;
  const std::unique_ptr<ShaderLibrary> shader = ShaderLibrary::Open(libraryPath, error);
  if (!shader) return Report(kExitFailure, error);
  shader->startup(0, 0, DefaultParameterText().c_str());
  std::cout << libraryPath << ": " << samples << " samples per run, best of " << repeats
            << " runs\n";
  PrintTiming("constant", TimeSamplers(shader->procedure, kConstantSamplers, samples, repeats),
              3.5f);
  PrintTiming("noise", TimeSamplers(shader->procedure, kNoiseSamplers, samples, repeats), 1.2f);
  shader->close();
  return kExitSuccess;
}
