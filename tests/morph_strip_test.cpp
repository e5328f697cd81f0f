// vael-host morph under Wine with the real vael.dll: the strip runs from the preview of FROM
// to the preview of TO through what the shader's own morph gives in between, left to right,
// each frame captioned.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/host_program.h"

namespace {

const std::string kDll = WindowsPath(VAEL_DLL_PATH);
constexpr int kCellWidth = 96;
constexpr int kCellHeight = 72;
const std::string kCellSize = "96x72";
constexpr const char* kFrom = "# 1.00 1.00 1.00 0.20 0.80 255.00 0.00 0.00";
constexpr const char* kTo = "# 2.00 0.50 2.00 0.50 0.25 0.00 0.00 255.00";

DecodedImage Preview(const std::vector<std::string>& shaderArguments) {
  const ScratchFile png(".png");
  std::vector<std::string> arguments = {"preview", "--dll", kDll, "--size", kCellSize,
                                        "--out", png.path()};
  arguments.insert(arguments.end(), shaderArguments.begin(), shaderArguments.end());
  const HostRun run = RunHost(arguments);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  return LoadImage(png.path());
}

TEST(MorphStrip, RunsFromThePreviewOfFromToThePreviewOfToThroughTheMorph) {
  const ScratchFile strip(".png");
  const HostRun run = RunHost({"morph", kFrom, kTo, "--dll", kDll, "--frames", "5", "--cell",
                               kCellSize, "--out", strip.path()});
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  const DecodedImage image = LoadImage(strip.path());
  EXPECT_LT(image.width, 6 * kCellWidth) << "five frames in one row";

  // Each frame morphs from FROM afresh: morphing the previous frame's set again would give
  // other settings from the third frame on.
  const DecodedImage frames[] = {
      Preview({"--params", kFrom}),
      Preview({"--params", kFrom, "--morph", kTo, "--factor", "0.75"}),
      Preview({"--params", kFrom, "--morph", kTo, "--factor", "0.5"}),
      Preview({"--params", kFrom, "--morph", kTo, "--factor", "0.25"}),
      Preview({"--params", kTo}),
  };
  std::vector<Place> places;
  for (const DecodedImage& frame : frames) {
    const std::vector<Place> found = FindPicture(image, frame);
    ASSERT_EQ(found.size(), 1u) << "frame " << places.size();
    places.push_back(found.front());
  }
  for (std::size_t i = 1; i < places.size(); ++i) {
    EXPECT_EQ(places[i].y, places[0].y);
    EXPECT_GE(places[i].x, places[i - 1].x + kCellWidth) << "frame " << i;
  }

  std::vector<DecodedImage> captions;
  for (const Place& place : places) {
    captions.push_back(
        Crop(image, place.x, place.y + kCellHeight, kCellWidth, image.height - place.y - kCellHeight));
    EXPECT_GT(PixelsOffGround(captions.back()), 20u) << "no caption at " << place.x;
  }
  for (std::size_t i = 1; i < captions.size(); ++i)
    EXPECT_FALSE(captions[i].SameAs(captions[i - 1])) << "each caption tells its factor";
}

}  // namespace
