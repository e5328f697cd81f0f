// vael-host sheet under Wine with the real vael.dll: every cell is the preview of the base
// string with that cell's threshold and sharpness, in the row of its threshold and the column
// of its sharpness, and carries a caption; the sheet has a heading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/host_program.h"

namespace {

const std::string kDll = WindowsPath(VAEL_DLL_PATH);
constexpr int kCellWidth = 96;
constexpr int kCellHeight = 72;
const std::string kCellSize = "96x72";

struct Cell {
  const char* threshold;
  const char* sharpness;
  const char* parameters;  // the base string with the cell's two values
};

// Red clouds; the four cells differ in where the weight jumps and how wide the band is.
constexpr const char* kBase = "# 1.5 1 1 0.2 0.8 255 0 0";
const Cell kCells[2][2] = {
    {{"0.10", "0.00", "# 1.50 1.00 1.00 0.10 0.00 255.00 0.00 0.00"},
     {"0.10", "0.50", "# 1.50 1.00 1.00 0.10 0.50 255.00 0.00 0.00"}},
    {{"0.50", "0.00", "# 1.50 1.00 1.00 0.50 0.00 255.00 0.00 0.00"},
     {"0.50", "0.50", "# 1.50 1.00 1.00 0.50 0.50 255.00 0.00 0.00"}}};

DecodedImage Preview(const std::string& parameters) {
  const ScratchFile png(".png");
  const HostRun run = RunHost({"preview", "--dll", kDll, "--params", parameters, "--size",
                               kCellSize, "--out", png.path()});
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  return LoadImage(png.path());
}

TEST(PreviewSheet, EachCellIsThePreviewOfItsOwnSettingsInItsRowAndColumn) {
  const ScratchFile sheetFile(".png");
  const HostRun run =
      RunHost({"sheet", kBase, "--dll", kDll, "--thresholds", "0.1,0.5", "--sharpness", "0,0.5",
               "--cell", kCellSize, "--threads", "2", "--out", sheetFile.path()});
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  const DecodedImage sheet = LoadImage(sheetFile.path());
  EXPECT_NE(run.output.find(std::to_string(sheet.width) + "x" + std::to_string(sheet.height) +
                            " pixels"),
            std::string::npos)
      << run.output;

  Place places[2][2] = {};
  std::vector<DecodedImage> previews;
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      const Cell& cell = kCells[row][column];
      previews.push_back(Preview(cell.parameters));
      for (std::size_t other = 0; other + 1 < previews.size(); ++other)
        EXPECT_FALSE(previews.back().SameAs(previews[other]))
            << "the settings of cell " << cell.threshold << "/" << cell.sharpness
            << " must show as different clouds for this test to mean anything";
      const std::vector<Place> found = FindPicture(sheet, previews.back());
      ASSERT_EQ(found.size(), 1u) << "cell " << cell.threshold << "/" << cell.sharpness;
      places[row][column] = found.front();
    }
  }
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(places[i][0].y, places[i][1].y) << "one threshold, one row";
    EXPECT_EQ(places[0][i].x, places[1][i].x) << "one sharpness, one column";
    EXPECT_LT(places[0][i].y, places[1][i].y) << "thresholds run down";
    EXPECT_LT(places[i][0].x, places[i][1].x) << "sharpness runs across";
  }

  // The captions sit in the strip under each cell, the heading above the first row.
  const int captionDepth = places[1][0].y - places[0][0].y - kCellHeight;
  ASSERT_GT(captionDepth, 8);
  std::vector<DecodedImage> captions;
  for (const auto& row : places)
    for (const Place& place : row) {
      captions.push_back(Crop(sheet, place.x, place.y + kCellHeight, kCellWidth, captionDepth));
      EXPECT_GT(PixelsOffGround(captions.back()), 20u) << "no caption at " << place.x;
    }
  EXPECT_FALSE(captions[0].SameAs(captions[1])) << "captions must tell the sharpness apart";
  EXPECT_FALSE(captions[0].SameAs(captions[2])) << "captions must tell the threshold apart";
  EXPECT_GT(PixelsOffGround(Crop(sheet, 0, 0, sheet.width, places[0][0].y)), 40u)
      << "no heading";
}

}  // namespace
