// vael-host bench: what a sample costs through the shader DLL against calling the same two
// samplers directly, once with constant samplers (the call and the cloud rule alone) and once
// with the preview's noise samplers (the share of that overhead in a realistic sample); how
// many pixels a preview renders per second on one and on two threads; and what the DLL
// weighs and costs to load. The figures come as a markdown table.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/commands.h"
#include "host/noise_samplers.h"
#include "host/shader_library.h"
#include "host/stopwatch.h"
#include "host/threaded_render.h"

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

// One row of the report's markdown table; a goal says whether it was met.
void PrintRow(const std::string& what, const std::string& figure, const std::string& goal = "",
              bool met = true) {
  std::cout << "| " << what << " | " << figure << " | " << goal << " | "
            << (goal.empty() ? "" : met ? "yes" : "no") << " |\n";
}

std::string Figure(double value) { return TwoDecimals(static_cast<float>(value)); }

std::string WholeFigure(double value) { return std::to_string(std::llround(value)); }

void PrintSamplerRows(const char* name, const Timing& timing, float goal) {
  const double ratio = timing.libraryNanoseconds / timing.directNanoseconds;
  const std::string prefix = std::string(name) + " samplers: ns per sample ";
  PrintRow(prefix + "through the DLL", Figure(timing.libraryNanoseconds));
  PrintRow(prefix + "calling them directly", Figure(timing.directNanoseconds));
  PrintRow(std::string(name) + " samplers: ratio", Figure(ratio),
           "at most " + TwoDecimals(goal), ratio <= goal);
}

// The preview that the throughput is measured on: the size a user looks at.
constexpr int kPreviewWidth = 640;
constexpr int kPreviewHeight = 480;

// The best render time of the preview on one thread and on two, alternating runs.
struct Throughput {
  double oneThreadSeconds = std::numeric_limits<double>::infinity();
  double twoThreadSeconds = std::numeric_limits<double>::infinity();
};

Throughput TimePreview(ProcedureFunction procedure, int repeats) {
  Throughput best;
  RgbImage image(kPreviewWidth, kPreviewHeight);
  for (int run = -1; run < repeats; ++run) {
    for (const int threads : {1, 2}) {
      const Stopwatch stopwatch;
      RenderImage(kPreviewScene, procedure, kNoiseSamplers, threads, image, nullptr);
      const double seconds = stopwatch.Seconds();
      if (run < 0) continue;
      double& kept = threads == 1 ? best.oneThreadSeconds : best.twoThreadSeconds;
      kept = std::min(kept, seconds);
    }
  }
  return best;
}

void PrintThroughputRows(const Throughput& throughput) {
  constexpr double kPixels = double{kPreviewWidth} * kPreviewHeight;
  const std::string preview =
      "preview " + std::to_string(kPreviewWidth) + "x" + std::to_string(kPreviewHeight);
  PrintRow(preview + ": pixels per second on 1 thread",
           WholeFigure(kPixels / throughput.oneThreadSeconds));
  PrintRow(preview + ": pixels per second on 2 threads",
           WholeFigure(kPixels / throughput.twoThreadSeconds));
  const double speedUp = throughput.oneThreadSeconds / throughput.twoThreadSeconds;
  PrintRow("2 threads against 1", Figure(speedUp), "at least 1.80", speedUp >= 1.8);
  const double milliseconds = throughput.twoThreadSeconds * 1000.0;
  PrintRow(preview + ": ms on 2 threads", Figure(milliseconds), "under 500", milliseconds < 500.0);
}

// The library's file size in bytes, and the best times of loading and unloading it: on its
// own, when the system libraries that it imports come and go with it, and as in a renderer
// that has the common dialogs loaded already. Measured before the library is opened for the
// other figures, so that each load maps it afresh.
struct LibraryCost {
  std::uint64_t bytes = 0;
  double aloneSeconds = 0.0;
  double besideDialogsSeconds = 0.0;
};

std::optional<double> BestLoadSeconds(const std::string& path, int repeats) {
  double best = std::numeric_limits<double>::infinity();
  for (int run = -1; run < repeats; ++run) {
    const Stopwatch stopwatch;
    const HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) return std::nullopt;
    FreeLibrary(module);
    const double seconds = stopwatch.Seconds();
    if (run >= 0) best = std::min(best, seconds);
  }
  return best;
}

std::optional<LibraryCost> MeasureLibrary(const std::string& path, int repeats) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes))
    return std::nullopt;
  const std::optional<double> alone = BestLoadSeconds(path, repeats);
  const HMODULE dialogs = LoadLibraryA("comdlg32.dll");
  const std::optional<double> besideDialogs = BestLoadSeconds(path, repeats);
  if (dialogs != nullptr) FreeLibrary(dialogs);
  if (!alone || !besideDialogs) return std::nullopt;
  return LibraryCost{(std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow,
                     *alone, *besideDialogs};
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
      {"--repeats", "N", "timed runs of each loop and preview, of which the best counts (7)",
       [&](const char* value) { return ReadCount(value, 1, 1000, repeats); }},
  };
  const ParseOutcome outcome = ParseOptions(
      "bench",
      "Times a sample through the shader library against calling its samplers directly, a\n"
      "640x480 preview on one and on two threads, and loading the library; prints the figures\n"
      "as a markdown table.",
      arguments, options);
  if (outcome != ParseOutcome::kRun) return ExitCodeFor(outcome);

  constexpr int kLoads = 20;
  const std::optional<LibraryCost> cost = MeasureLibrary(libraryPath, kLoads);
  std::string error;
  const std::unique_ptr<ShaderLibrary> shader = ShaderLibrary::Open(libraryPath, error);
  if (!shader) return Report(kExitFailure, error);
  if (!cost) return Report(kExitFailure, "cannot measure the loading of '" + libraryPath + "'");
  shader->startup(0, 0, DefaultParameterText().c_str());
  std::cout << libraryPath << ": best of " << repeats << " runs of " << samples
            << " samples and of " << repeats << " previews, best of " << kLoads << " loads\n\n"
            << "| Measure | Figure | Goal | Met |\n|---|---|---|---|\n";
  PrintSamplerRows("constant",
                   TimeSamplers(shader->procedure, kConstantSamplers, samples, repeats), 3.5f);
  PrintSamplerRows("noise", TimeSamplers(shader->procedure, kNoiseSamplers, samples, repeats),
                   1.2f);
  PrintThroughputRows(TimePreview(shader->procedure, repeats));
  shader->close();
  PrintRow("the DLL: size in bytes", std::to_string(cost->bytes));
  PrintRow("the DLL: ms to load and unload, its system DLLs with it",
           Figure(cost->aloneSeconds * 1000.0));
  PrintRow("the DLL: ms to load and unload, the common dialogs already loaded",
           Figure(cost->besideDialogsSeconds * 1000.0));
  return kExitSuccess;
}
