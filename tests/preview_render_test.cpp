// The stand-in renderer run as a user runs it, under Wine with the real vael.dll: its preview
// shows the cloud colour over the lit surface only where the settings let the shader paint,
// comes out the same on any number of threads, and every failure of any subcommand ends with
// a one-line message and the documented exit code.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/host_program.h"

namespace {

const std::string kDll = WindowsPath(VAEL_DLL_PATH);

// The number that the output line "..., N <label>" gives, or -1.
long long CountBefore(const std::string& output, const std::string& label) {
  const std::size_t at = output.find(" " + label);
  if (at == std::string::npos) return -1;
  const std::size_t start = output.find_last_of(' ', at - 1);
  return std::stoll(output.substr(start + 1, at - start - 1));
}

// A grey cube on a blue background, so that pure red can only come from the cloud colour.
const Rgb kBackground = {20, 40, 200};
const std::vector<std::string> kScene = {"--size", "96x72", "--surface", "180,180,180",
                                         "--background", "20,40,200"};
constexpr const char* kRedClouds = "# 1.00 1.00 1.00 0.20 0.80 255.00 0.00 0.00";
// Every coverage is at least the threshold and none is below threshold + sharpness.
constexpr const char* kNoClouds = "# 1.00 1.00 1.00 -1.00 0.00 255.00 0.00 0.00";

bool IsBackground(const Rgb& p) {
  return p.r == kBackground.r && p.g == kBackground.g && p.b == kBackground.b;
}
// The red cloud colour with at most a tenth of the surface blended in.
bool IsCloud(const Rgb& p) { return p.r >= 220 && p.g <= 30 && p.b <= 30; }
// The grey surface as lit, untouched by the shader.
bool IsBareSurface(const Rgb& p) {
  return !IsBackground(p) && p.r > 40 && std::abs(p.r - p.g) <= 2 && std::abs(p.g - p.b) <= 2;
}
bool IsReddish(const Rgb& p) { return p.r > p.g + 20; }

struct PreviewCase {
  const char* name;
  std::vector<std::string> shaderArguments;
  bool clouds;
};

void PrintTo(const PreviewCase& preview, std::ostream* out) { *out << preview.name; }

class PreviewImage : public testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewImage, ShowsCloudColourOverLitSurfaceOnlyWhereShaderPaints) {
  const ScratchFile png(".png");
  std::vector<std::string> arguments = {"preview", "--dll", kDll, "--out", png.path()};
  arguments.insert(arguments.end(), kScene.begin(), kScene.end());
  arguments.insert(arguments.end(), GetParam().shaderArguments.begin(),
                   GetParam().shaderArguments.end());
  const HostRun run = RunHost(arguments);
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.output.find(png.path()), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("96x72 pixels"), std::string::npos) << run.output;

  const DecodedImage image = LoadImage(png.path());
  ASSERT_EQ(image.width, 96);
  ASSERT_EQ(image.height, 72);
  for (const Rgb& corner : {image.pixels.front(), image.pixels[image.width - 1],
                            image.pixels[image.pixels.size() - image.width], image.pixels.back()})
    EXPECT_TRUE(IsBackground(corner)) << corner.r << ' ' << corner.g << ' ' << corner.b;

  const auto count = [&](bool (*kind)(const Rgb&)) {
    return std::count_if(image.pixels.begin(), image.pixels.end(), kind);
  };
  const long long onePercent = image.width * image.height / 100;
  EXPECT_GT(count(IsBackground), 20 * onePercent);
  EXPECT_GT(count(IsBareSurface), 2 * onePercent);
  const long long shaded = CountBefore(run.output, "samples shaded");
  const long long changed = CountBefore(run.output, "changed");
  EXPECT_GT(shaded, 0) << run.output;
  if (GetParam().clouds) {
    EXPECT_GT(count(IsCloud), 2 * onePercent);
    EXPECT_GT(changed, 0) << run.output;
    EXPECT_LT(changed, shaded) << run.output;
  } else {
    EXPECT_EQ(count(IsReddish), 0);
    EXPECT_EQ(changed, 0) << run.output;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, PreviewImage,
    testing::Values(PreviewCase{"RedClouds", {"--params", kRedClouds}, true},
                    PreviewCase{"ThresholdLeavesEverySampleAlone", {"--params", kNoClouds}, false},
                    PreviewCase{"MorphedFullyToRedClouds",
                                {"--params", kNoClouds, "--morph", kRedClouds, "--factor", "0"},
                                true},
                    PreviewCase{"MorphKeepingTheStart",
                                {"--params", kNoClouds, "--morph", kRedClouds, "--factor", "1"},
                                false}),
    [](const testing::TestParamInfo<PreviewCase>& info) { return info.param.name; });

TEST(PreviewFile, BmpPathGetsTheSamePixelsAsPng) {
  const ScratchFile png(".png");
  const ScratchFile bmp(".BMP");
  for (const ScratchFile* file : {&png, &bmp}) {
    std::vector<std::string> arguments = {"preview", "--dll", kDll, "--out", file->path(),
                                          "--params", kRedClouds};
    arguments.insert(arguments.end(), kScene.begin(), kScene.end());
    const HostRun run = RunHost(arguments);
    ASSERT_EQ(run.exitCode, 0u) << run.output;
  }
  std::ifstream bmpFile(bmp.path(), std::ios::binary);
  char magic[2] = {};
  bmpFile.read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "BM");
  const DecodedImage fromPng = LoadImage(png.path());
  const DecodedImage fromBmp = LoadImage(bmp.path());
  ASSERT_EQ(fromBmp.width, fromPng.width);
  ASSERT_EQ(fromBmp.height, fromPng.height);
  for (std::size_t i = 0; i < fromPng.pixels.size(); ++i) {
    ASSERT_EQ(fromBmp.pixels[i].r, fromPng.pixels[i].r) << "pixel " << i;
    ASSERT_EQ(fromBmp.pixels[i].g, fromPng.pixels[i].g) << "pixel " << i;
    ASSERT_EQ(fromBmp.pixels[i].b, fromPng.pixels[i].b) << "pixel " << i;
  }
}

// Rows are dealt out to whichever thread is free; which thread rendered a row, and how many
// there were, must show neither in the image nor in the counts.
TEST(PreviewThreads, EveryThreadCountGivesTheSameFileAndCounts) {
  std::vector<std::string> files;
  std::vector<long long> changedCounts;
  for (const std::string threads : {"1", "2", "3"}) {
    const ScratchFile png(".png");
    std::vector<std::string> arguments = {"preview", "--dll",     kDll,   "--out",
                                          png.path(), "--params", kRedClouds, "--threads",
                                          threads};
    arguments.insert(arguments.end(), kScene.begin(), kScene.end());
    const HostRun run = RunHost(arguments);
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find("on " + threads + " thread"), std::string::npos) << run.output;
    changedCounts.push_back(CountBefore(run.output, "changed"));
    std::ifstream file(png.path(), std::ios::binary);
    files.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  ASSERT_FALSE(files[0].empty());
  EXPECT_GT(changedCounts[0], 0);
  for (std::size_t i = 1; i < files.size(); ++i) {
    EXPECT_TRUE(files[i] == files[0]) << "thread count " << i + 1;
    EXPECT_EQ(changedCounts[i], changedCounts[0]) << "thread count " << i + 1;
  }
}

struct FailureCase {
  const char* name;
  std::vector<std::string> arguments;  // "DLL" stands for the real vael.dll
  DWORD exitCode;
  const char* message;
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.name; }

class HostFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(HostFailure, EndsWithOneLineMessageAndExitCode) {
  const ScratchFile png(".png");
  std::vector<std::string> arguments = GetParam().arguments;
  for (std::string& argument : arguments) {
    if (argument == "DLL") argument = kDll;
    if (argument == "OUT") argument = png.path();
  }
  const HostRun run = RunHost(arguments);
  EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.output;
  EXPECT_NE(run.output.find(std::string("vael-host: ") + GetParam().message), std::string::npos)
      << run.output;
  EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
  EXPECT_EQ(GetFileAttributesA(png.path().c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, HostFailure,
    testing::Values(
        FailureCase{"MissingDll",
                    {"preview", "--dll", "Z:\\no\\such\\folder\\vael.dll", "--out", "OUT"},
                    1,
                    "cannot load shader library 'Z:\\no\\such\\folder\\vael.dll'"},
        FailureCase{"MissingExport",
                    {"preview", "--dll", "kernel32.dll", "--out", "OUT"},
                    1,
                    "shader library 'kernel32.dll' has no export _ExternalTextureStartup"},
        FailureCase{"UnwritablePath",
                    {"preview", "--dll", "DLL", "--out", "Z:\\no\\such\\folder\\preview.png"},
                    1,
                    "cannot write 'Z:\\no\\such\\folder\\preview.png'"},
        FailureCase{"UnknownOption",
                    {"preview", "--dll", "DLL", "--colour", "1,2,3"},
                    2,
                    "preview: unknown option '--colour'"},
        FailureCase{"ParametersWithoutLead",
                    {"preview", "--params", "1 1 1"},
                    2,
                    "preview: bad value '1 1 1' for --params"},
        FailureCase{"MissingValue", {"preview", "--out"}, 2, "preview: --out needs a value"},
        FailureCase{"ZeroWidth",
                    {"preview", "--size", "0x10"},
                    2,
                    "preview: bad value '0x10' for --size"},
        FailureCase{"ShortColour",
                    {"preview", "--surface", "1,2"},
                    2,
                    "preview: bad value '1,2' for --surface"},
        FailureCase{"ChannelAbove255",
                    {"preview", "--background", "1,2,256"},
                    2,
                    "preview: bad value '1,2,256' for --background"},
        FailureCase{"FactorNotANumber",
                    {"preview", "--morph", "# 2", "--factor", "half"},
                    2,
                    "preview: bad value 'half' for --factor"},
        FailureCase{"FactorWithoutMorph",
                    {"preview", "--factor", "0.5"},
                    2,
                    "preview: --factor needs --morph"},
        FailureCase{"NoThreads",
                    {"preview", "--threads", "0"},
                    2,
                    "preview: bad value '0' for --threads"},
        FailureCase{"SheetStringWithoutLead",
                    {"sheet", "1 1 1", "--out", "OUT"},
                    2,
                    "sheet: the parameter string must start with '#'"},
        FailureCase{"SheetTwoStrings",
                    {"sheet", "# 1", "# 2", "--out", "OUT"},
                    2,
                    "sheet: takes one parameter string at most"},
        FailureCase{"SheetListWithEmptyItem",
                    {"sheet", "--thresholds", "0.1,,0.5"},
                    2,
                    "sheet: bad value '0.1,,0.5' for --thresholds"},
        FailureCase{"MorphWithoutTo",
                    {"morph", "# 1", "--out", "OUT"},
                    2,
                    "morph: needs FROM and TO, nothing more"},
        FailureCase{"MorphFromWithoutLead",
                    {"morph", "1", "# 2", "--out", "OUT"},
                    2,
                    "morph: FROM must start with '#'"},
        FailureCase{"MorphNoFrames",
                    {"morph", "# 1", "# 2", "--frames", "0"},
                    2,
                    "morph: bad value '0' for --frames"},
        FailureCase{"EditTwoStrings",
                    {"edit", "# 1", "# 2"},
                    2,
                    "edit: takes one parameter string at most"},
        FailureCase{"BenchCountNotWhole",
                    {"bench", "--samples", "1.5"},
                    2,
                    "bench: bad value '1.5' for --samples"},
        FailureCase{"UnknownSubcommand", {"render"}, 2, "unknown subcommand 'render'"},
        FailureCase{"NoSubcommand", {}, 2, "no subcommand given"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

}  // namespace
