// The stand-in renderer's two scalar fields: fractal gradient noise at a broad and a fine
// frequency, mapped so that their product spreads over about 0 to 1.2, which the default
// cloud settings show as soft clouds with bare surface between them.
#pragma once

#include "core/shade_sample.h"

// Broad cloud banks: a few features across an object of four units.
void SampleBroadNoise(float x, float y, float z, float* result);

// Finer billows that break up the banks' edges.
void SampleFineNoise(float x, float y, float z, float* result);

inline constexpr HostSamplerFunctions kNoiseSamplers = {SampleBroadNoise, SampleFineNoise};
