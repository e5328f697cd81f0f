// Reading, morphing and writing the parameter string.
#include "core/shader_parameters.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/number_text.h"

namespace {

// The lead character is skipped unseen, but never past the terminator.
const char* AfterLead(const char* text) { return *text != '\0' ? text + 1 : text; }

// Reads numbers until one is missing or eight are read; returns how many.
std::size_t ReadParameterNumbers(const char* text, std::array<float, kParameterCount>& numbers) {
  const char* p = AfterLead(text);
  std::size_t count = 0;
  while (count < kParameterCount && (p = ReadNumber(p, numbers[count])) != nullptr) ++count;
  return count;
}

struct FieldText {
  char text[kNumberTextCapacity];
  std::size_t length;
};

// write is WriteTwoDecimals or WriteExactFloat.
FieldText WrittenField(char* (*write)(char*, float), float value) {
  FieldText field{};
  field.length = static_cast<std::size_t>(write(field.text, value) - field.text);
  return field;
}

std::size_t WrittenLength(const std::array<FieldText, kParameterCount>& fields) {
  std::size_t length = 1;
  for (const FieldText& field : fields) length += 1 + field.length;
  return length;
}

}  // namespace

void LoadParameters(ShaderParameters& parameters, const char* text) {
  if (text == nullptr) return;
  std::array<float, kParameterCount> numbers{};
  const std::size_t count = ReadParameterNumbers(text, numbers);
  for (std::size_t i = 0; i < count; ++i) parameters.*kParameterFields[i] = numbers[i];
}

void MorphParameters(ShaderParameters& parameters, const char* text, float t) {
  if (text == nullptr) return;
  std::array<float, kParameterCount> targets{};
  const std::size_t count = ReadParameterNumbers(text, targets);
  for (std::size_t i = 0; i < count; ++i) {
    float& field = parameters.*kParameterFields[i];
    const double target = targets[i];
    field = static_cast<float>(std::fma(static_cast<double>(t), field - target, target));
  }
}

std::size_t FormatParameters(const ShaderParameters& parameters, ParameterText text) {
  std::array<FieldText, kParameterCount> fields;
  for (std::size_t i = 0; i < kParameterCount; ++i)
    fields[i] = WrittenField(WriteTwoDecimals, parameters.*kParameterFields[i]);

  // Only values from about 1e26 up make the text too long; writing the longest of them
  // in exponent form keeps every field intact instead of cutting the text.
  while (WrittenLength(fields) > kParameterTextCapacity - 1) {
    const auto longest = std::max_element(
        fields.begin(), fields.end(),
        [](const FieldText& a, const FieldText& b) { return a.length < b.length; });
    const std::size_t index = static_cast<std::size_t>(longest - fields.begin());
    *longest = WrittenField(WriteExactFloat, parameters.*kParameterFields[index]);
  }

  char* out = text.data();
  *out++ = kParameterLead;
  for (const FieldText& field : fields) {
    *out++ = ' ';
    out = std::copy_n(field.text, field.length, out);
  }
  *out = '\0';
  return static_cast<std::size_t>(out - text.data());
}
