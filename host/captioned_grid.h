// A contact sheet of previews: equally sized pictures in a grid on a dark frame, each with a
// caption beneath it, under one heading line, put together into one image.
#pragma once

#include <string>
#include <vector>

#include "host/image_file.h"
#include "host/image_labels.h"

class CaptionedGrid {
 public:
  CaptionedGrid(int columns, int rows, int cellWidth, int cellHeight, std::string heading);

  // Copies picture, which has the cell size, into the cell and sets its caption.
  void Place(int column, int row, const RgbImage& picture, std::string caption);

  // Draws the heading and the captions, once every cell is placed; false when GDI fails.
  bool DrawTexts();

  const RgbImage& image() const { return image_; }

 private:
  int cellWidth_, cellHeight_;
  RgbImage image_;
  std::vector<Label> labels_;
};
