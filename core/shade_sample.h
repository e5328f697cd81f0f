// The cloud rule for one shaded point: scale the point, take two samples from the
// renderer, and blend the cloud colour into the surface colour by their product.
#pragma once

#include <cstdint>

#include "core/shader_parameters.h"

// The renderer's scalar fields. Each stores one float through its last argument.
// Plain function pointers use the cdecl convention on 32-bit Windows, as the renderer does.
using SampleFunction = void (*)(float x, float y, float z, float* result);

struct HostSamplerFunctions {
  SampleFunction sampleA;
  SampleFunction sampleB;
};

// Shades colour (red, green, blue on the 0 to 255 scale) in place and copies *source to
// *destination when it changes the colour. Never divides by zero, never hands a sampler a
// coordinate that is not finite, and raises no invalid-operation exception for any settings
// or quiet-NaN samples. Always returns 1.
int ShadeSample(const ShaderParameters& parameters, float x, float y, float z, float colour[3],
                const std::uint32_t* source, std::uint32_t* destination,
                const HostSamplerFunctions& samplers);
