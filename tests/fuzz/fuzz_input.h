// Shared by the fuzz targets: reads the shader core's inputs out of the fuzzer's bytes, and
// stops the run when a property fails, which libFuzzer records as a crash with its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/shader_parameters.h"

// Aborting (rather than returning) keeps the failing input as a crash artifact.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", property);
  std::abort();
}

inline std::uint32_t BitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline float FloatOf(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The float whose bits start at offset; bytes past the input's end count as zero, so short
// inputs still make whole values.
inline float FloatAt(const std::uint8_t* data, std::size_t size, std::size_t offset) {
  std::uint8_t bytes[4] = {};
  for (std::size_t i = 0; i < 4 && offset + i < size; ++i) bytes[i] = data[offset + i];
  std::uint32_t bits;
  std::memcpy(&bits, bytes, sizeof bits);
  return FloatOf(bits);
}

// Eight arbitrary float bit patterns, as no parameter string could give them.
inline ShaderParameters ParametersAt(const std::uint8_t* data, std::size_t size,
                                     std::size_t offset) {
  ShaderParameters parameters;
  for (std::size_t i = 0; i < kParameterCount; ++i)
    parameters.*kParameterFields[i] = FloatAt(data, size, offset + 4 * i);
  return parameters;
}
