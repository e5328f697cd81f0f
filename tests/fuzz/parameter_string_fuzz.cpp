// libFuzzer target for the parameter string: arbitrary text through the reader and the morph,
// arbitrary sets through the writer, and what the writer wrote read back field by field.
// Built with AddressSanitizer, so every text lives in a block that ends at its terminator.
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <system_error>

#include "core/number_text.h"
#include "core/shader_parameters.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

using FieldTexts = std::array<std::string_view, kParameterCount>;

// A block exactly as long as prefix, the bytes and a terminator: reading past the
// terminator is an overflow that AddressSanitizer reports.
std::unique_ptr<char[]> TerminatedText(std::string_view prefix, const std::uint8_t* data,
                                       std::size_t size) {
  std::unique_ptr<char[]> text(new char[prefix.size() + size + 1]);
  std::memcpy(text.get(), prefix.data(), prefix.size());
  if (size != 0) std::memcpy(text.get() + prefix.size(), data, size);
  text[prefix.size() + size] = '\0';
  return text;
}

struct OwnText {
  char text[kNumberTextCapacity];
  std::size_t length;
  std::string_view view() const { return {text, length}; }
};

OwnText TwoDecimals(float value) {
  OwnText own{};
  own.length = static_cast<std::size_t>(WriteTwoDecimals(own.text, value) - own.text);
  Require(own.length < kNumberTextCapacity, "a field fits its number buffer");
  return own;
}

// The writer's promise: the lead character, then eight fields each after one blank.
FieldTexts SplitFields(const char* text, std::size_t length) {
  Require(text[0] == kParameterLead, "the text starts with the lead character");
  FieldTexts fields;
  const char* p = text + 1;
  const char* end = text + length;
  for (std::string_view& field : fields) {
    Require(p < end && *p == ' ', "one blank before every field");
    ++p;
    const char* fieldEnd = p;
    while (fieldEnd < end && *fieldEnd != ' ') ++fieldEnd;
    Require(fieldEnd != p, "no empty field");
    field = {p, static_cast<std::size_t>(fieldEnd - p)};
    p = fieldEnd;
  }
  Require(p == end, "nothing after the eighth field");
  return fields;
}

bool IsTwoDecimalForm(std::string_view field) {
  std::size_t i = field.starts_with('-') ? 1 : 0;
  const std::size_t digitsBegin = i;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i;
  if (i == digitsBegin || field.size() != i + 3 || field[i] != '.') return false;
  return field[i + 1] >= '0' && field[i + 1] <= '9' && field[i + 2] >= '0' && field[i + 2] <= '9';
}

template <typename Real>
Real Parsed(std::string_view field) {
  Real value = 0;
  const std::from_chars_result result =
      std::from_chars(field.data(), field.data() + field.size(), value);
  Require(result.ec == std::errc() && result.ptr == field.data() + field.size(),
          "a written field is one whole decimal number");
  return value;
}

// What reading back must give for a value written with two decimals: the float nearest to
// the decimal text, which itself lies within half a hundredth of the value.
float ExpectedTwoDecimalReading(float value, std::string_view field) {
  Require(IsTwoDecimalForm(field), "a finite field has digits and exactly two decimals");
  const double written = Parsed<double>(field);
  const double tolerance = 0.005 * (1 + 0x1p-40) + std::fabs(static_cast<double>(value)) * 0x1p-52;
  Require(std::fabs(written - static_cast<double>(value)) <= tolerance,
          "the two decimals are the value rounded to hundredths");
  const float nearest = Parsed<float>(field);
  float reread = 0;
  const OwnText own = TwoDecimals(value);
  Require(ReadNumber(own.text, reread) == own.text + own.length,
          "the reader takes the writer's whole field");
  Require(BitsOf(reread) == BitsOf(nearest), "the reader gives the float nearest to the text");
  return nearest;
}

float ExpectedReading(float value, std::string_view field, bool twoDecimalsFit) {
  if (std::isnan(value)) {
    Require(field == (std::signbit(value) ? "-NAN" : "+NAN"), "not-a-number keeps its sign");
    return std::copysign(std::numeric_limits<float>::quiet_NaN(), std::signbit(value) ? -1.0f : 1.0f);
  }
  if (std::isinf(value)) {
    Require(field == (value < 0 ? "-INF" : "+INF"), "an infinity is written as a word");
    return value;
  }
  if (field.find('e') != std::string_view::npos) {
    Require(!twoDecimalsFit, "exponent form only where two decimals would not fit");
    Require(BitsOf(Parsed<float>(field)) == BitsOf(value), "exponent form is exact");
    return value;
  }
  Require(field == TwoDecimals(value).view(), "a field is the value's own two-decimal text");
  return ExpectedTwoDecimalReading(value, field);
}

// Writes the set, checks the text's shape and length, reads it back and checks every field.
void CheckRoundTrip(const ShaderParameters& parameters) {
  std::array<char, kParameterTextCapacity> text;
  text.fill('\x7f');
  const std::size_t length = FormatParameters(parameters, text);
  Require(length <= kParameterTextCapacity - 1, "at most 255 characters");
  Require(text[length] == '\0' && std::strlen(text.data()) == length,
          "the terminator sits at the returned length");
  const FieldTexts fields = SplitFields(text.data(), length);

  std::size_t twoDecimalLength = 1;
  for (std::size_t i = 0; i < kParameterCount; ++i)
    twoDecimalLength += 1 + TwoDecimals(parameters.*kParameterFields[i]).length;
  const bool twoDecimalsFit = twoDecimalLength <= kParameterTextCapacity - 1;

  ShaderParameters readBack;
  LoadParameters(readBack, text.data());
  for (std::size_t i = 0; i < kParameterCount; ++i) {
    float alone = 0;
    const char* fieldEnd = fields[i].data() + fields[i].size();
    Require(ReadNumber(fields[i].data(), alone) == fieldEnd, "each field reads as one number");
    const float expected =
        ExpectedReading(parameters.*kParameterFields[i], fields[i], twoDecimalsFit);
    Require(BitsOf(readBack.*kParameterFields[i]) == BitsOf(expected),
            "reading back gives the expected float, bit for bit");
  }

  // What was read back is already rounded, so writing it again gives the same text.
  std::array<char, kParameterTextCapacity> again;
  const std::size_t againLength = FormatParameters(readBack, again);
  Require(std::string_view(again.data(), againLength) == std::string_view(text.data(), length),
          "writing what was read back changes nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte is the lead character in one text and a number character in the other.
  const std::unique_ptr<char[]> texts[] = {TerminatedText("", data, size),
                                           TerminatedText("#", data, size)};
  const float t = FloatAt(data, size, 0);
  for (const std::unique_ptr<char[]>& text : texts) {
    ShaderParameters loaded;
    LoadParameters(loaded, text.get());
    CheckRoundTrip(loaded);

    ShaderParameters morphed = loaded;
    MorphParameters(morphed, text.get(), t);
    CheckRoundTrip(morphed);
  }

  // Raw bit patterns reach huge magnitudes, where the 255-character bound needs exponent form.
  CheckRoundTrip(ParametersAt(data, size, 0));
  return 0;
}
