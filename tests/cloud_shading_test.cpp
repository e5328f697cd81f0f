// The cloud rule for one sample: scaling, sampler order, the threshold and band branches,
// blending, and the settings and samples that must leave a sample untouched.
#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/shade_sample.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Samplers that return fixed values and record what they were asked.
struct SamplerCall {
  char which;
  float x, y, z;
};
std::vector<SamplerCall> calls;
float valueA = 0.5f;
float valueB = 0.8f;

void RecordA(float x, float y, float z, float* result) {
  calls.push_back({'A', x, y, z});
  *result = valueA;
}
void RecordB(float x, float y, float z, float* result) {
  calls.push_back({'B', x, y, z});
  *result = valueB;
}

constexpr HostSamplerFunctions kSamplers = {RecordA, RecordB};
constexpr std::uint32_t kSource = 0xC0FFEE42u;
constexpr std::uint32_t kUntouched = 0xDEADBEEFu;

struct Shaded {
  std::array<float, 3> colour;
  std::uint32_t destination;
  bool touched() const { return destination != kUntouched; }
};

class CloudShading : public testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    valueA = 0.5f;
    valueB = 0.8f;
  }
  Shaded Shade(float a, float b, std::array<float, 3> colour = {200, 100, 50},
               std::array<float, 3> point = {1, 2, 3}) {
    valueA = a;
    valueB = b;
    Shaded shaded{colour, kUntouched};
    EXPECT_EQ(ShadeSample(parameters, point[0], point[1], point[2], shaded.colour.data(),
                          &kSource, &shaded.destination, kSamplers),
              1);
    if (shaded.touched()) {
      EXPECT_EQ(shaded.destination, kSource);
    }
    return shaded;
  }
  ShaderParameters parameters;
};

TEST_F(CloudShading, WorkedSampleWithDefaultSettings) {
  const Shaded shaded = Shade(0.5f, 0.8f);
  ASSERT_TRUE(shaded.touched());
  EXPECT_EQ(shaded.colour, (std::array<float, 3>{152.0f, 116.8f, 96.8f}));
}

TEST_F(CloudShading, AsksTheSecondSamplerFirstWithThePointMagnifiedFiveTimes) {
  Shade(0.5f, 0.8f, {0, 0, 0}, {1, -2, 0.5f});
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].which, 'B');
  EXPECT_EQ(calls[1].which, 'A');
  for (const SamplerCall& call : calls) {
    EXPECT_EQ(call.x, static_cast<float>(1 / (0.2 * 1.0)));
    EXPECT_EQ(call.y, static_cast<float>(-2 / (0.2 * 1.0)));
    EXPECT_EQ(call.z, static_cast<float>(0.5 / (0.2 * 1.0)));
  }
}

TEST_F(CloudShading, EachScaleStretchesItsOwnAxis) {
  parameters.xScale = 2;
  parameters.zScale = 0.3f;
  Shade(0.5f, 0.8f, {0, 0, 0}, {1, 1, 1});
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].x, 2.5f);  // half of the 5 that a scale of 1 gives
  EXPECT_EQ(calls[0].y, 5.0f);
  EXPECT_EQ(calls[0].z, static_cast<float>(1 / (0.2 * static_cast<double>(0.3f))));
}

// Threshold 0.5 and sharpness 0.25: the weight jumps at the threshold, and coverage from
// 0.75 up leaves the sample alone.
struct BranchCase {
  float threshold, sharpness, coverage;
  bool touched;
  double weight;
};

void PrintTo(const BranchCase& c, std::ostream* out) {
  *out << "threshold " << c.threshold << " sharpness " << c.sharpness << " coverage " << c.coverage;
}

class CloudBranches : public CloudShading, public testing::WithParamInterface<BranchCase> {};

TEST_P(CloudBranches, WeightFollowsTheThresholdAndBand) {
  const BranchCase& c = GetParam();
  parameters.threshold = c.threshold;
  parameters.sharpness = c.sharpness;
  parameters.red = 0;
  const Shaded shaded = Shade(c.coverage, 1.0f, {100, 100, 100});
  ASSERT_EQ(shaded.touched(), c.touched);
  if (!c.touched) {
    EXPECT_EQ(shaded.colour, (std::array<float, 3>{100, 100, 100}));
    return;
  }
  // With a black cloud the red channel is weight * 100.
  const float weight = static_cast<float>(c.weight);
  EXPECT_EQ(shaded.colour[0], static_cast<float>(static_cast<double>(weight) * 100.0));
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, CloudBranches,
    testing::Values(
        BranchCase{0.5f, 0.25f, 0.49f, true, 0.49f},
        BranchCase{0.5f, 0.25f, 0.5f, true, 0.5 / (0.5 + 0.25)},
        BranchCase{0.5f, 0.25f, 0.74f, true, static_cast<double>(0.74f) / 0.75},
        BranchCase{0.5f, 0.25f, 0.75f, false, 0},
        BranchCase{0.5f, 0.25f, 3.0f, false, 0},
        // Coverage exactly at the threshold: the band when sharpness is positive ...
        BranchCase{0.2f, 0.8f, 0.2f, true, 0.2f / (static_cast<double>(0.2f) + 0.8f)},
        // ... and left alone when it is not.
        BranchCase{0.2f, 0.0f, 0.2f, false, 0}, BranchCase{0.2f, -0.1f, 0.2f, false, 0},
        // The band divisor is the unrounded sum of the two floats.
        BranchCase{0.2f, 0.8f, 1.0f, true,
                   1.0 / (static_cast<double>(0.2f) + static_cast<double>(0.8f))},
        // Negative coverage takes the first branch.
        BranchCase{0.2f, 0.8f, -0.5f, true, -0.5f},
        BranchCase{0.2f, 0.8f, 0.0f, true, 0.0}));

TEST_F(CloudShading, ZeroCoveragePaintsTheCloudColourExactly) {
  const Shaded shaded = Shade(0.0f, 0.7f);
  ASSERT_TRUE(shaded.touched());
  EXPECT_EQ(shaded.colour, (std::array<float, 3>{120, 128, 128}));
}

TEST_F(CloudShading, NegativeCoverageExtrapolatesBeyondTheCloudColour) {
  const Shaded shaded = Shade(-0.5f, 1.0f, {220, 128, 0});
  ASSERT_TRUE(shaded.touched());
  EXPECT_EQ(shaded.colour, (std::array<float, 3>{70, 128, 192}));  // 1.5 k - 0.5 s
}

TEST_F(CloudShading, NaNCoverageTakesTheFirstBranch) {
  for (float a : {kNaN, -kNaN}) {
    const Shaded shaded = Shade(a, 0.5f);
    ASSERT_TRUE(shaded.touched());
    for (float channel : shaded.colour) EXPECT_TRUE(std::isnan(channel));
  }
  const Shaded infinityTimesZero = Shade(kInf, 0.0f);
  ASSERT_TRUE(infinityTimesZero.touched());
  EXPECT_TRUE(std::isnan(infinityTimesZero.colour[0]));
}

// Settings that would divide by zero or hand the samplers a coordinate that is not finite.
struct UntouchedCase {
  const char* why;
  std::array<float, 3> scales;
  std::array<float, 3> point;
};

void PrintTo(const UntouchedCase& c, std::ostream* out) { *out << c.why; }

class UntouchedSamples : public CloudShading, public testing::WithParamInterface<UntouchedCase> {};

TEST_P(UntouchedSamples, CallNoSamplerAndLeaveColourAndDestination) {
  const UntouchedCase& c = GetParam();
  parameters.xScale = c.scales[0];
  parameters.yScale = c.scales[1];
  parameters.zScale = c.scales[2];
  const Shaded shaded = Shade(0.5f, 0.5f, {200, 100, 50}, c.point);
  EXPECT_TRUE(calls.empty()) << c.why;
  EXPECT_FALSE(shaded.touched()) << c.why;
  EXPECT_EQ(shaded.colour, (std::array<float, 3>{200, 100, 50})) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, UntouchedSamples,
    testing::Values(UntouchedCase{"zero x scale", {0, 1, 1}, {1, 1, 1}},
                    UntouchedCase{"zero y scale at the origin", {1, -0.0f, 1}, {0, 0, 0}},
                    UntouchedCase{"NaN z scale", {1, 1, kNaN}, {1, 1, 1}},
                    UntouchedCase{"infinite point", {1, 1, 1}, {kInf, 1, 1}},
                    UntouchedCase{"NaN point", {1, 1, 1}, {1, kNaN, 1}},
                    UntouchedCase{"quotient beyond a float", {1e-30f, 1, 1}, {1e30f, 1, 1}},
                    UntouchedCase{"subnormal scale", {1e-45f, 1, 1}, {1e-3f, 1, 1}}));

TEST_F(CloudShading, InfiniteScaleGivesAZeroCoordinate) {
  parameters.yScale = kInf;
  Shade(0.5f, 0.5f, {0, 0, 0}, {1, 1e30f, 1});
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].y, 0.0f);
}

TEST_F(CloudShading, ZeroBandDivisorLeavesTheSampleAlone) {
  parameters.threshold = -0.5f;
  parameters.sharpness = 0.5f;
  EXPECT_FALSE(Shade(-0.25f, 1.0f).touched());
  EXPECT_TRUE(Shade(-0.75f, 1.0f).touched()) << "below the threshold the weight is the coverage";
}

TEST_F(CloudShading, OppositeInfiniteSettingsGiveNoBand) {
  parameters.threshold = -kInf;
  parameters.sharpness = kInf;
  EXPECT_FALSE(Shade(0.5f, 1.0f).touched());
}

TEST_F(CloudShading, ColoursOutsideTheRangeArePassedBackAsTheyAre) {
  parameters.red = 300;
  const Shaded shaded = Shade(0.5f, 1.0f, {-100, 0, 0});
  EXPECT_EQ(shaded.colour[0], 100.0f);  // 0.5 * 300 + 0.5 * -100
}

}  // namespace
