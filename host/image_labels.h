// Text in the stand-in renderer's images: captions and headings drawn by GDI, as any Windows
// program draws text, into a device-independent bitmap that shares the image's pixels.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "host/image_file.h"

struct Label {
  int left, top, width, height;  // the box in which the text is centred, and clipped
  std::string text;
};

// Draws every label's text over the pixels already there, in one typeface and colour.
// Returns false when GDI cannot make the bitmap or the font.
bool DrawLabels(RgbImage& image, std::span<const Label> labels,
                std::array<std::uint8_t, 3> textColour);
