// Images that the stand-in renderer writes: 8-bit RGB pixels, saved as PNG, or as a 24-bit
// BMP when the path ends with .bmp (the form a dialog's picture resource takes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // rows top to bottom, red, green, blue

  RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3) {}
  std::uint8_t* Pixel(int x, int y) { return &pixels[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// Returns the file's size in bytes, or nothing with a one-line reason in error.
std::optional<std::size_t> WriteImage(const std::string& path, const RgbImage& image,
                                      std::string& error);

// WriteImage for a subcommand: says "PATH: WxH pixels, N bytes" on stdout, or the reason for
// a failure on stderr, and returns whether the file was written.
bool SaveImage(const std::string& path, const RgbImage& image);
