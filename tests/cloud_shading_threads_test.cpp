// Shading from many threads at once over one unchanged parameter set, as a renderer does:
// every thread must get exactly the single-threaded results. Run under ThreadSanitizer too,
// where any shared state written while shading shows as a race.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "core/shade_sample.h"

namespace {

constexpr int kThreads = 8;
constexpr int kGridSide = 24;
constexpr std::uint32_t kUntouched = 0xDEADBEEFu;

float Fraction(float v) { return v - std::floor(v); }

// Pure functions of the point, so that any difference between threads is the core's doing.
void FieldA(float x, float y, float z, float* result) {
  *result = Fraction(0.37f * x + 0.11f * y - 0.05f * z);
}
void FieldB(float x, float y, float z, float* result) {
  *result = 0.25f + 1.5f * Fraction(0.07f * z + 0.019f * x * y);
}
constexpr HostSamplerFunctions kFields = {FieldA, FieldB};

struct Shaded {
  std::array<std::uint32_t, 3> colourBits;
  std::uint32_t destination;
  bool operator==(const Shaded&) const = default;
  bool touched() const { return destination != kUntouched; }
};

std::vector<Shaded> ShadeGrid(const ShaderParameters& parameters) {
  std::vector<Shaded> shaded;
  shaded.reserve(kGridSide * kGridSide * kGridSide);
  for (int i = 0; i < kGridSide; ++i)
    for (int j = 0; j < kGridSide; ++j)
      for (int k = 0; k < kGridSide; ++k) {
        const std::uint32_t source = static_cast<std::uint32_t>((i * kGridSide + j) * kGridSide + k);
        std::array<float, 3> colour = {float(i * 10 % 256), float(j * 10 % 256),
                                       float(k * 10 % 256)};
        std::uint32_t destination = kUntouched;
        ShadeSample(parameters, 0.3f * float(i - 12), 0.7f * float(j), -0.45f * float(k),
                    colour.data(), &source, &destination, kFields);
        shaded.push_back({{std::bit_cast<std::uint32_t>(colour[0]),
                           std::bit_cast<std::uint32_t>(colour[1]),
                           std::bit_cast<std::uint32_t>(colour[2])},
                          destination});
      }
  return shaded;
}

TEST(CloudShadingThreads, EightThreadsSharingOneSetGetTheSingleThreadedResults) {
  // Threshold and band chosen so the grid meets all three branches of the cloud rule.
  ShaderParameters parameters;
  parameters.xScale = 1.5f;
  parameters.zScale = 0.75f;
  parameters.threshold = 0.5f;
  parameters.sharpness = 0.25f;
  const ShaderParameters& shared = parameters;

  const std::vector<Shaded> reference = ShadeGrid(shared);
  ASSERT_TRUE(std::ranges::any_of(reference, &Shaded::touched));
  ASSERT_TRUE(std::ranges::any_of(reference, [](const Shaded& s) { return !s.touched(); }));

  std::array<std::vector<Shaded>, kThreads> results;
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (std::vector<Shaded>& result : results)
    threads.emplace_back([&shared, &go, &result] {
      // Released together by the main thread, which always sets the flag, so shading overlaps.
      while (!go.load()) std::this_thread::yield();
      result = ShadeGrid(shared);
    });
  go.store(true);
  for (std::thread& thread : threads) thread.join();

  for (int t = 0; t < kThreads; ++t) EXPECT_TRUE(results[t] == reference) << "thread " << t;
}

}  // namespace
