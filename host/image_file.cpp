// Encoding is stb_image_write's; the file itself is written here, so that a failure can say
// which path could not be written and the size that was written can be reported.
#include "host/image_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>

#include "host/command_line.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace {

bool EndsWithBmp(const std::string& path) {
  constexpr std::string_view kSuffix = ".bmp";
  if (path.size() < kSuffix.size()) return false;
  return std::equal(kSuffix.begin(), kSuffix.end(), path.end() - kSuffix.size(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

void AppendBytes(void* context, void* data, int size) {
  auto& encoded = *static_cast<std::vector<std::uint8_t>*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  encoded.insert(encoded.end(), bytes, bytes + size);
}

}  // namespace

std::optional<std::size_t> WriteImage(const std::string& path, const RgbImage& image,
                                      std::string& error) {
  constexpr int kChannels = 3;
  std::vector<std::uint8_t> encoded;
  const int encodedOk =
      EndsWithBmp(path)
          ? stbi_write_bmp_to_func(AppendBytes, &encoded, image.width, image.height, kChannels,
                                   image.pixels.data())
          : stbi_write_png_to_func(AppendBytes, &encoded, image.width, image.height, kChannels,
                                   image.pixels.data(), image.width * kChannels);
  if (encodedOk == 0) {
    error = "cannot encode the image for '" + path + "'";
    return std::nullopt;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  const bool written = file != nullptr &&
                       std::fwrite(encoded.data(), 1, encoded.size(), file) == encoded.size();
  const bool closed = file != nullptr && std::fclose(file) == 0;
  if (!written || !closed) {
    if (file != nullptr) std::remove(path.c_str());
    error = "cannot write '" + path + "'";
    return std::nullopt;
  }
  return encoded.size();
}

bool SaveImage(const std::string& path, const RgbImage& image) {
  std::string error;
  const std::optional<std::size_t> bytes = WriteImage(path, image, error);
  if (!bytes) {
    Report(kExitFailure, error);
    return false;
  }
  std::cout << path << ": " << image.width << 'x' << image.height << " pixels, " << *bytes
            << " bytes\n";
  return true;
}
