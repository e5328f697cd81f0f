// Interpolating the parameter set toward a second parameter string.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "core/shader_parameters.h"

namespace {

std::array<float, kParameterCount> Fields(const ShaderParameters& parameters) {
  std::array<float, kParameterCount> values;
  for (std::size_t i = 0; i < kParameterCount; ++i) values[i] = parameters.*kParameterFields[i];
  return values;
}

ShaderParameters Morphed(const char* text, float t, ShaderParameters start = {}) {
  MorphParameters(start, text, t);
  return start;
}

TEST(ParameterMorph, FactorZeroGivesTheTextsValues) {
  const std::array<float, kParameterCount> expected = {2, 3, 4, 0.5f, 0.25f, 10, 20, 30};
  EXPECT_EQ(Fields(Morphed("# 2 3 4 0.5 0.25 10 20 30", 0.0f)), expected);
}

TEST(ParameterMorph, FactorOneKeepsTheSet) {
  EXPECT_EQ(Fields(Morphed("# 2 3 4 0.5 0.25 10 20 30", 1.0f)), Fields(ShaderParameters{}));
}

TEST(ParameterMorph, BlendsLinearlyBetweenTextAndSet) {
  // 0.6 + 0.25 * (0.2 - 0.6) = 0.5
  const ShaderParameters morphed = Morphed("# 1 1 1 0.6 0.8 120 128 128", 0.25f);
  EXPECT_EQ(morphed.threshold, 0.5f);
  const ShaderParameters half = Morphed("# 3 1 1 0.2 0.8 0 128 128", 0.5f);
  EXPECT_EQ(half.xScale, 2.0f);
  EXPECT_EQ(half.red, 60.0f);
}

TEST(ParameterMorph, FactorsOutsideZeroToOneExtrapolate) {
  EXPECT_EQ(Morphed("# 3", 2.0f).xScale, -1.0f);   // 3 + 2 * (1 - 3)
  EXPECT_EQ(Morphed("# 3", -1.0f).xScale, 5.0f);   // 3 - (1 - 3)
}

TEST(ParameterMorph, ShortTextsMoveOnlyTheFieldsTheySupply) {
  ShaderParameters start;
  start.red = 200;
  const ShaderParameters morphed = Morphed("# 3 5", 0.5f, start);
  EXPECT_EQ(morphed.xScale, 2.0f);
  EXPECT_EQ(morphed.yScale, 3.0f);
  EXPECT_EQ(morphed.zScale, 1.0f);
  EXPECT_EQ(morphed.red, 200.0f);
  EXPECT_EQ(Fields(Morphed("#", 0.0f, start)), Fields(start));
  EXPECT_EQ(Fields(Morphed("", 0.0f, start)), Fields(start));
  EXPECT_EQ(Fields(Morphed(nullptr, 0.0f, start)), Fields(start));
}

TEST(ParameterMorph, SkipsAnyLeadCharacter) {
  EXPECT_EQ(Morphed("!4", 0.0f).xScale, 4.0f);
  EXPECT_EQ(Morphed("94", 0.0f).xScale, 4.0f);
}

TEST(ParameterMorph, NonFiniteValuesFollowIeeeRules) {
  // inf + t * (1 - inf) is inf - inf: a morph toward an infinity gives NaN for every factor.
  EXPECT_TRUE(std::isnan(Morphed("# +INF", 0.5f).xScale));
  EXPECT_TRUE(std::isnan(Morphed("# -INF", 1.0f).xScale));
  EXPECT_TRUE(std::isnan(Morphed("# +NAN", 0.5f).xScale));
  ShaderParameters start;
  start.xScale = INFINITY;
  EXPECT_TRUE(std::isnan(Morphed("# +INF", 0.5f, start).xScale));  // inf - inf
  // The formula holds for every factor: 0 * (inf - 2) is NaN, not the text's 2.
  EXPECT_TRUE(std::isnan(Morphed("# 2", 0.0f, start).xScale));
}

}  // namespace
