// The number syntax shared by the parameter string and the dialog fields, and the writer's
// two-decimal and exact forms, whatever the process locale.
#include <gtest/gtest.h>

#include <ostream>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/number_text.h"

namespace {

struct ReadCase {
  const char* text;
  bool isNumber;
  double value;      // expected, when isNumber (NaN: expect a NaN of the sign below)
  int consumed;      // characters read, including skipped white space
  bool negative = false;
};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void PrintTo(const ReadCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class NumberReading : public testing::TestWithParam<ReadCase> {};

TEST_P(NumberReading, ReadsTheLongestNumberOrNothing) {
  const ReadCase& c = GetParam();
  double value = -12345.0;
  const char* end = ReadNumber(c.text, value);
  if (!c.isNumber) {
    EXPECT_EQ(end, nullptr);
    EXPECT_EQ(value, -12345.0) << "a failed read leaves the value alone";
    return;
  }
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(end - c.text, c.consumed);
  if (std::isnan(c.value)) {
    EXPECT_TRUE(std::isnan(value));
    EXPECT_EQ(std::signbit(value), c.negative);
  } else {
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(std::signbit(value), std::signbit(c.value));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, NumberReading,
    testing::Values(
        ReadCase{"1", true, 1.0, 1}, ReadCase{"-2.5", true, -2.5, 4},
        ReadCase{"+3.25", true, 3.25, 5}, ReadCase{".5", true, 0.5, 2},
        ReadCase{"7.", true, 7.0, 2}, ReadCase{"1e1", true, 10.0, 3},
        ReadCase{"1E+2", true, 100.0, 4}, ReadCase{"25e-1", true, 2.5, 5},
        ReadCase{"-0", true, -0.0, 2},
        // An 'e' without digits is not part of the number.
        ReadCase{"3e", true, 3.0, 1}, ReadCase{"3e+x", true, 3.0, 1},
        // White space of every kind is skipped first.
        ReadCase{" \t\n\v\f\r4", true, 4.0, 7},
        // No hexadecimal: 0x10 is 0, and reading stops at the x.
        ReadCase{"0x10", true, 0.0, 1},
        // Only the signed upper-case words stand for infinities and NaN.
        ReadCase{"+INF", true, kInf, 4}, ReadCase{"-INF", true, -kInf, 4},
        ReadCase{"+NAN", true, kNaN, 4, false}, ReadCase{"-NAN", true, kNaN, 4, true},
        ReadCase{"+INFINITY", true, kInf, 4},
        ReadCase{"INF", false, 0, 0}, ReadCase{"inf", false, 0, 0},
        ReadCase{"+inf", false, 0, 0}, ReadCase{"NAN", false, 0, 0},
        ReadCase{"-nan", false, 0, 0}, ReadCase{"+Inf", false, 0, 0},
        // Not numbers at all.
        ReadCase{"", false, 0, 0}, ReadCase{"   ", false, 0, 0}, ReadCase{"x5", false, 0, 0},
        ReadCase{".", false, 0, 0}, ReadCase{"+", false, 0, 0}, ReadCase{"-.e5", false, 0, 0},
        ReadCase{"\xA0" "5", false, 0, 0},
        // Beyond a double's range: infinity above, zero below.
        ReadCase{"1e400", true, kInf, 5}, ReadCase{"-1e400", true, -kInf, 6},
        ReadCase{"1e-400", true, 0.0, 6}, ReadCase{"-1e-400", true, -0.0, 7},
        ReadCase{"123456789e99999999999999999999", true, kInf, 30},
        ReadCase{"0.000001e-99999999999", true, 0.0, 21}));

TEST(NumberReading, NumbersFollowOneAnotherWhereTheSyntaxAllows) {
  const char* text = "1.5.25-3+INF-NAN4e1e2";
  double values[6];
  const char* p = text;
  for (double& value : values) {
    p = ReadNumber(p, value);
    ASSERT_NE(p, nullptr);
  }
  EXPECT_EQ(values[0], 1.5);
  EXPECT_EQ(values[1], 0.25);
  EXPECT_EQ(values[2], -3.0);
  EXPECT_EQ(values[3], kInf);
  EXPECT_TRUE(std::isnan(values[4]));
  EXPECT_EQ(values[5], 40.0);
  EXPECT_STREQ(p, "e2");
  EXPECT_EQ(ReadNumber(p, values[0]), nullptr);
}

TEST(NumberReading, FloatsAreRoundedOnceFromTheDecimalText) {
  float value = 0;
  // Halfway between two floats in decimal: reading through double first would round twice.
  ASSERT_NE(ReadNumber("1.00000005960464477539062500000001", value), nullptr);
  EXPECT_EQ(value, 1.00000011920928955078125f);
  ASSERT_NE(ReadNumber("0.2", value), nullptr);
  EXPECT_EQ(value, 0.2f);
  ASSERT_NE(ReadNumber("3.5e38", value), nullptr);
  EXPECT_EQ(value, std::numeric_limits<float>::infinity()) << "beyond a float's range";
  ASSERT_NE(ReadNumber("1e-50", value), nullptr);
  EXPECT_EQ(value, 0.0f);
  ASSERT_NE(ReadNumber("1e-40", value), nullptr);
  EXPECT_EQ(value, 1e-40f) << "subnormal floats are kept";
}

std::string TwoDecimals(float value) {
  char text[kNumberTextCapacity];
  return std::string(text, WriteTwoDecimals(text, value));
}

std::string Exact(float value) {
  char text[kNumberTextCapacity];
  return std::string(text, WriteExactFloat(text, value));
}

TEST(NumberWriting, TwoDecimalsAsPrintfWouldWriteThem) {
  EXPECT_EQ(TwoDecimals(1.0f), "1.00");
  EXPECT_EQ(TwoDecimals(0.2f), "0.20");
  EXPECT_EQ(TwoDecimals(254.999f), "255.00");
  EXPECT_EQ(TwoDecimals(1.234f), "1.23");
  EXPECT_EQ(TwoDecimals(-0.001f), "-0.00");
  EXPECT_EQ(TwoDecimals(1234567890.0f), "1234567936.00");
  EXPECT_EQ(TwoDecimals(-std::numeric_limits<float>::max()),
            "-340282346638528859811704183484516925440.00");
  EXPECT_LT(TwoDecimals(-std::numeric_limits<float>::max()).size(), kNumberTextCapacity);
}

TEST(NumberWriting, NonFiniteValuesAreWrittenAsTheWordsThatReadBack) {
  const float values[] = {std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN(),
                          -std::numeric_limits<float>::quiet_NaN()};
  const char* words[] = {"+INF", "-INF", "+NAN", "-NAN"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(TwoDecimals(values[i]), words[i]);
    EXPECT_EQ(Exact(values[i]), words[i]);
    float back = 0;
    ASSERT_NE(ReadNumber(words[i], back), nullptr);
    EXPECT_EQ(std::memcmp(&back, &values[i], sizeof back), 0) << words[i];
  }
}

TEST(NumberWriting, ExactFormReadsBackToTheSameFloat) {
  for (float value : {1e26f, -3.4028235e38f, 1.17549435e-38f, 123456.789f, 1e-45f}) {
    const std::string text = Exact(value);
    float back = 0;
    const char* end = ReadNumber(text.c_str(), back);
    ASSERT_NE(end, nullptr) << text;
    EXPECT_EQ(*end, '\0') << text;
    EXPECT_EQ(back, value) << text;
  }
}

// A locale with ',' as its decimal separator must change neither direction.
TEST(NumberText, IgnoresTheProcessLocale) {
  const char* chosen = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "German", "French"})
    if ((chosen = std::setlocale(LC_ALL, name)) != nullptr) break;
  if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_STREQ(std::localeconv()->decimal_point, ",");
  double value = 0;
  const char* end = ReadNumber("1.5,25", value);
  EXPECT_EQ(value, 1.5);
  EXPECT_STREQ(end, ",25");
  EXPECT_EQ(TwoDecimals(2.5f), "2.50");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
