// The plug-in's whole configuration: eight numbers with their defaults, and the
// parameter string in which the renderer keeps them for each material.
#pragma once

#include <cstddef>
#include <span>

struct ShaderParameters {
  float xScale = 1.0f;
  float yScale = 1.0f;
  float zScale = 1.0f;
  float threshold = 0.2f;
  float sharpness = 0.8f;
  float red = 120.0f;
  float green = 128.0f;
  float blue = 128.0f;
};

inline constexpr std::size_t kParameterCount = 8;

// The order of the numbers in the parameter string.
inline constexpr float ShaderParameters::*kParameterFields[kParameterCount] = {
    &ShaderParameters::xScale,    &ShaderParameters::yScale, &ShaderParameters::zScale,
    &ShaderParameters::threshold, &ShaderParameters::sharpness, &ShaderParameters::red,
    &ShaderParameters::green,     &ShaderParameters::blue};

inline constexpr char kParameterLead = '#';

// 255 characters and the terminator: what the renderer has always been promised.
inline constexpr std::size_t kParameterTextCapacity = 256;
using ParameterText = std::span<char, kParameterTextCapacity>;

// Reads up to eight numbers after the lead character into the fields, in order; a field
// for which no number was read keeps its value. A null text changes nothing.
void LoadParameters(ShaderParameters& parameters, const char* text);

// Moves every field that the text supplies a target for to target + t * (field - target):
// t = 0 gives the text's values, t = 1 keeps the set. A null text changes nothing.
void MorphParameters(ShaderParameters& parameters, const char* text, float t);

// Writes "# " and the eight fields with two decimals, blank-separated, and returns the length.
std::size_t FormatParameters(const ShaderParameters& parameters, ParameterText text);
