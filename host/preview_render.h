// The preview scene: a lit cube with rounded edges on a plain background, every visible
// point of which is handed to the shader DLL with its object coordinates and lit colour.
#pragma once

#include <array>
#include <cstdint>

#include "core/shade_sample.h"
#include "host/image_file.h"
#include "host/shader_library.h"

struct PreviewScene {
  std::array<float, 3> surface;     // the cube's base colour, 0 to 255
  std::array<float, 3> background;  // 0 to 255
};

// A pale cube, so that the default clouds (a dark grey-teal) show on it, on a dusk blue that
// tells the cube's outline apart.
inline constexpr PreviewScene kPreviewScene = {{240.0f, 228.0f, 204.0f}, {46.0f, 62.0f, 86.0f}};

struct SampleCounts {
  std::uint64_t shaded = 0;   // samples handed to the shader
  std::uint64_t changed = 0;  // samples whose destination the shader wrote

  SampleCounts& operator+=(const SampleCounts& other) {
    shaded += other.shaded;
    changed += other.changed;
    return *this;
  }
};

// Renders the rows [firstRow, endRow) of image, four samples per pixel; rows are independent,
// so a caller may split an image between several calls.
SampleCounts RenderRows(const PreviewScene& scene, ProcedureFunction procedure,
                        const HostSamplerFunctions& samplers, int firstRow, int endRow,
                        RgbImage& image);
