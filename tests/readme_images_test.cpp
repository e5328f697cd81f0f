// The README's pictures of the stand-in renderer: each one is embedded, committed, and as
// large as the README says next to it, so that a regenerated picture cannot drift from its
// description unnoticed.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <string>

namespace {

const std::string kSource = VAEL_SOURCE_DIR;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Size {
  std::uint32_t width = 0, height = 0;
  bool operator==(const Size&) const = default;
};

std::uint32_t BigEndianAt(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The size in a PNG's header chunk, which the format puts first.
std::optional<Size> PngSize(const std::string& bytes) {
  const std::string signature = "\x89PNG\r\n\x1a\n";
  if (bytes.size() < 24 || bytes.compare(0, 8, signature) != 0 || bytes.compare(12, 4, "IHDR") != 0)
    return std::nullopt;
  return Size{BigEndianAt(bytes, 16), BigEndianAt(bytes, 20)};
}

class ReadmePicture : public testing::TestWithParam<const char*> {};

TEST_P(ReadmePicture, IsEmbeddedCommittedAndAsLargeAsTheReadmeSays) {
  const std::string readme = ReadFile(kSource + "/README.md");
  const std::string path = std::string("docs/") + GetParam() + ".png";
  EXPECT_NE(readme.find("](" + path + ")"), std::string::npos) << path << " is not embedded";

  // "`docs/sheet.png`, 660 × 594 pixels"
  std::smatch stated;
  ASSERT_TRUE(std::regex_search(
      readme, stated, std::regex("`" + path + "`, ([0-9]+) × ([0-9]+) pixels")))
      << "the README does not state the size of " << path;
  const Size claimed = {static_cast<std::uint32_t>(std::stoul(stated[1])),
                        static_cast<std::uint32_t>(std::stoul(stated[2]))};

  const std::optional<Size> actual = PngSize(ReadFile(kSource + "/" + path));
  ASSERT_TRUE(actual.has_value()) << path << " is missing or not a PNG";
  EXPECT_EQ(actual->width, claimed.width) << path;
  EXPECT_EQ(actual->height, claimed.height) << path;
}

INSTANTIATE_TEST_SUITE_P(StandInRenderer, ReadmePicture,
                         testing::Values("preview", "sheet", "morph"));

}  // namespace
