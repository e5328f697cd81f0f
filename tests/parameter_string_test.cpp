// Loading the parameter set from a parameter string and writing it back.
#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/shader_parameters.h"

namespace {

constexpr const char* kDefaultText = "# 1.00 1.00 1.00 0.20 0.80 120.00 128.00 128.00";
constexpr float kInf = std::numeric_limits<float>::infinity();

std::string Format(const ShaderParameters& parameters) {
  std::array<char, kParameterTextCapacity> text;
  text.fill('\x7f');
  const std::size_t length = FormatParameters(parameters, text);
  EXPECT_EQ(text[length], '\0');
  EXPECT_EQ(std::strlen(text.data()), length);
  return std::string(text.data(), length);
}

std::array<float, kParameterCount> Fields(const ShaderParameters& parameters) {
  std::array<float, kParameterCount> values;
  for (std::size_t i = 0; i < kParameterCount; ++i) values[i] = parameters.*kParameterFields[i];
  return values;
}

ShaderParameters Loaded(const char* text) {
  ShaderParameters parameters;
  LoadParameters(parameters, text);
  return parameters;
}

TEST(ParameterDefaults, AreTheDocumentedValues) {
  const ShaderParameters parameters;
  const std::array<float, kParameterCount> expected = {1, 1, 1, 0.2f, 0.8f, 120, 128, 128};
  EXPECT_EQ(Fields(parameters), expected);
  std::uint32_t bits;
  std::memcpy(&bits, &parameters.threshold, 4);
  EXPECT_EQ(bits, 0x3E4CCCCDu);
  std::memcpy(&bits, &parameters.sharpness, 4);
  EXPECT_EQ(bits, 0x3F4CCCCDu);
}

struct LoadCase {
  const char* text;
  std::array<float, kParameterCount> expected;
};

void PrintTo(const LoadCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ParameterLoading : public testing::TestWithParam<LoadCase> {};

TEST_P(ParameterLoading, ReadsUpToEightNumbersAfterTheLeadCharacter) {
  EXPECT_EQ(Fields(Loaded(GetParam().text)), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParameterLoading,
    testing::Values(
        LoadCase{"# 2 2 2 0.5 0.25 255 255 255", {2, 2, 2, 0.5f, 0.25f, 255, 255, 255}},
        LoadCase{"#1 2 3", {1, 2, 3, 0.2f, 0.8f, 120, 128, 128}},
        LoadCase{"# 2", {2, 1, 1, 0.2f, 0.8f, 120, 128, 128}},
        LoadCase{"#1e1 0 0 0 0 0 0 0", {10, 0, 0, 0, 0, 0, 0, 0}},
        LoadCase{"# x 5", {1, 1, 1, 0.2f, 0.8f, 120, 128, 128}},
        // The lead character is not looked at.
        LoadCase{"@3 4", {3, 4, 1, 0.2f, 0.8f, 120, 128, 128}},
        LoadCase{"73 4", {3, 4, 1, 0.2f, 0.8f, 120, 128, 128}},
        LoadCase{"", {1, 1, 1, 0.2f, 0.8f, 120, 128, 128}},
        LoadCase{"#", {1, 1, 1, 0.2f, 0.8f, 120, 128, 128}},
        // Glued numbers, and more than eight: the rest is ignored.
        LoadCase{"#1-2+3.5.5", {1, -2, 3.5f, 0.5f, 0.8f, 120, 128, 128}},
        LoadCase{"#1 2 3 4 5 6 7 8 9 10", {1, 2, 3, 4, 5, 6, 7, 8}},
        LoadCase{"#1 2 3 4 5 6 7 8junk", {1, 2, 3, 4, 5, 6, 7, 8}},
        LoadCase{"#\n1\t2\r\n3", {1, 2, 3, 0.2f, 0.8f, 120, 128, 128}},
        LoadCase{"# 0x10 5", {0, 1, 1, 0.2f, 0.8f, 120, 128, 128}},
        LoadCase{"# 1 inf 3", {1, 1, 1, 0.2f, 0.8f, 120, 128, 128}},
        LoadCase{"# 1 -INF 3", {1, -kInf, 3, 0.2f, 0.8f, 120, 128, 128}}));

TEST(ParameterLoading, NullTextChangesNothing) {
  ShaderParameters parameters;
  parameters.red = 7;
  LoadParameters(parameters, nullptr);
  EXPECT_EQ(parameters.red, 7);
  EXPECT_EQ(parameters.xScale, 1);
}

TEST(ParameterFormatting, DefaultSetIsTheDocumentedText) {
  const std::string text = Format(ShaderParameters{});
  EXPECT_EQ(text, kDefaultText);
  EXPECT_EQ(text.size(), 47u);
}

TEST(ParameterFormatting, RoundsToTwoDecimalsAndReadsBackRounded) {
  ShaderParameters parameters;
  parameters.red = 254.999f;
  parameters.xScale = 1.234f;
  parameters.threshold = -0.004f;
  const std::string text = Format(parameters);
  EXPECT_EQ(text, "# 1.23 1.00 1.00 -0.00 0.80 255.00 128.00 128.00");
  const ShaderParameters back = Loaded(text.c_str());
  EXPECT_EQ(back.red, 255.0f);
  EXPECT_EQ(back.xScale, 1.23f);
  EXPECT_TRUE(back.threshold == 0.0f && std::signbit(back.threshold));
}

TEST(ParameterFormatting, NonFiniteFieldsSurviveARoundTrip) {
  ShaderParameters parameters;
  parameters.xScale = kInf;
  parameters.yScale = -kInf;
  parameters.zScale = std::numeric_limits<float>::quiet_NaN();
  parameters.threshold = -std::numeric_limits<float>::quiet_NaN();
  const std::string text = Format(parameters);
  EXPECT_EQ(text, "# +INF -INF +NAN -NAN 0.80 120.00 128.00 128.00");
  const ShaderParameters back = Loaded(text.c_str());
  EXPECT_EQ(back.xScale, kInf);
  EXPECT_EQ(back.yScale, -kInf);
  EXPECT_TRUE(std::isnan(back.zScale) && !std::signbit(back.zScale));
  EXPECT_TRUE(std::isnan(back.threshold) && std::signbit(back.threshold));
}

// Fixed notation of eight values near the float maximum would take about 350 characters.
TEST(ParameterFormatting, HugeValuesStayWithinTheLimitAndSurviveExactly) {
  const float huge = -std::numeric_limits<float>::max();
  struct Case {
    std::array<float, kParameterCount> values;
  };
  const Case cases[] = {
      {{huge, huge, huge, huge, huge, huge, huge, huge}},
      {{1e26f, 2e27f, 3e28f, 4e29f, 5e30f, 6e31f, 7e32f, 8e33f}},
      {{huge, 1.25f, 1e30f, 0.2f, 1e25f, 120, 1e36f, -7.5f}},
  };
  for (const Case& c : cases) {
    ShaderParameters parameters;
    for (std::size_t i = 0; i < kParameterCount; ++i) parameters.*kParameterFields[i] = c.values[i];
    const std::string text = Format(parameters);
    EXPECT_LE(text.size(), kParameterTextCapacity - 1) << text;
    const ShaderParameters back = Loaded(text.c_str());
    for (std::size_t i = 0; i < kParameterCount; ++i) {
      const float written = c.values[i];
      const float read = back.*kParameterFields[i];
      if (std::fabs(written) >= 1e24f)
        EXPECT_EQ(read, written) << "field " << i << " of " << text;
      else
        EXPECT_NEAR(read, written, 0.005f) << "field " << i << " of " << text;
    }
  }
}

TEST(ParameterFormatting, LongestFixedTextThatFitsStaysInFixedForm) {
  ShaderParameters parameters;
  for (float ShaderParameters::*field : kParameterFields) parameters.*field = -1e25f;
  const std::string text = Format(parameters);
  EXPECT_LE(text.size(), 255u);
  EXPECT_EQ(text.find('e'), std::string::npos) << text;
}

}  // namespace
