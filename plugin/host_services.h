// What the renderer hands the plug-in: its sampling table (declared with the shader core,
// which needs nothing else of the renderer) and its memory table for parameter strings.
#pragma once

#include <cstdint>

#include "core/shade_sample.h"

// The renderer owns every parameter string: blocks are allocated and released only here.
struct HostMemoryFunctions {
  void* (*allocate)(std::uint32_t byteCount);
  void (*release)(void* parameterText);
};
