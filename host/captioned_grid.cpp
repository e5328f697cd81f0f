// The layout: a heading band, then rows of cells, each cell a picture with a caption strip
// under it; a gap around and between the cells. A grid of C x R cells of W x H pixels is
// (C * (W + kGap) + kGap) x (kHeading + kGap + R * (H + kCaption + kGap)) pixels.
#include "host/captioned_grid.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kGap = 4;
constexpr int kCaption = 18;
constexpr int kHeading = 22;
constexpr std::array<std::uint8_t, 3> kFrame = {28, 30, 36};
constexpr std::array<std::uint8_t, 3> kText = {226, 226, 220};

RgbImage FilledImage(int width, int height) {
  RgbImage image(width, height);
  for (std::size_t i = 0; i < image.pixels.size(); i += 3)
    std::copy(kFrame.begin(), kFrame.end(), image.pixels.begin() + static_cast<std::ptrdiff_t>(i));
  return image;
}

}  // namespace

CaptionedGrid::CaptionedGrid(int columns, int rows, int cellWidth, int cellHeight,
                             std::string heading)
    : cellWidth_(cellWidth),
      cellHeight_(cellHeight),
      image_(FilledImage(columns * (cellWidth + kGap) + kGap,
                         kHeading + kGap + rows * (cellHeight + kCaption + kGap))) {
  labels_.push_back({kGap, 0, image_.width - 2 * kGap, kHeading + kGap / 2, std::move(heading)});
}

void CaptionedGrid::Place(int column, int row, const RgbImage& picture, std::string caption) {
  const int left = kGap + column * (cellWidth_ + kGap);
  const int top = kHeading + kGap + row * (cellHeight_ + kCaption + kGap);
  const std::size_t rowBytes = static_cast<std::size_t>(cellWidth_) * 3;
  for (int y = 0; y < cellHeight_; ++y) {
    const std::uint8_t* from = &picture.pixels[static_cast<std::size_t>(y) * rowBytes];
    std::copy(from, from + rowBytes, image_.Pixel(left, top + y));
  }
  labels_.push_back({left, top + cellHeight_, cellWidth_, kCaption, std::move(caption)});
}

bool CaptionedGrid::DrawTexts() { return DrawLabels(image_, labels_, kText); }
