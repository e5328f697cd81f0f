// A renderer that hands the plug-in hostile parameter strings and calls it a million times
// in random order: the DLL must not crash, must follow the reading rule, and must shade
// exactly as the core library linked into this test does for the same inputs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "core/shade_sample.h"
#include "core/shader_parameters.h"
#include "tests/support/import_patch.h"
#include "tests/support/vael_dll.h"

namespace {

int boxes = 0;
int WINAPI CountMessageBox(HWND, LPCSTR, LPCSTR, UINT) {
  ++boxes;
  return IDOK;
}

// Deterministic samplers: pure functions of the point, so the DLL and the core see the same.
void WavyA(float x, float y, float z, float* result) {
  *result = static_cast<float>(0.5 + 0.5 * std::sin(x * 1.3 + y * 0.7 - z));
}
void WavyB(float x, float y, float z, float* result) {
  *result = static_cast<float>(1.2 * std::cos(x * 0.4) * std::cos(y * 0.9 + z * 0.2));
}
constexpr HostSamplerFunctions kWavySamplers = {WavyA, WavyB};

// The DLL's parameter set is mirrored here; every call is made on both.
class MisbehavingRenderer : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(VaelDll(), nullptr);
    realMessageBox_ = PatchImport(VaelDll(), "user32.dll", "MessageBoxA",
                                  reinterpret_cast<void*>(CountMessageBox));
    boxes = 0;
    Startup("# 1 1 1 0.2 0.8 120 128 128");
  }
  void TearDown() override {
    PatchImport(VaelDll(), "user32.dll", "MessageBoxA", realMessageBox_);
  }
  void Startup(const std::string& text) {
    ASSERT_EQ(CallStartup(text.c_str()), 1u);
    if (text[0] == kParameterLead) LoadParameters(mirror_, text.c_str());
  }
  void Morph(const std::string& text, float t) {
    ASSERT_EQ(CallMorph(text.c_str(), t), 1u);
    MorphParameters(mirror_, text.c_str(), t);
  }
  void ExpectSameSettings(const std::string& after) {
    ASSERT_EQ(DllFingerprint(), CoreFingerprint(mirror_)) << "after " << after.substr(0, 80);
  }
  ShaderParameters mirror_;
  void* realMessageBox_ = nullptr;
};

TEST_F(MisbehavingRenderer, HostileStringsFollowTheReadingRule) {
  std::string megabyte = "#";
  while (megabyte.size() < (1u << 20)) megabyte += " 3.25 ";
  std::string longNumber = "# 1." + std::string(1u << 20, '5');
  std::string highBytes = "#";
  for (int byte = 0x80; byte <= 0xFF; ++byte) highBytes += static_cast<char>(byte);
  const std::string cases[] = {megabyte,
                               longNumber,
                               highBytes,
                               "# 2" + highBytes.substr(1) + " 3",
                               "#\r\n2\t\t3\n\n4\r5\v6\f7 8 9",
                               "# no number at all",
                               "#",
                               std::string("#\x80\xFF 5 6", 6),
                               "# 1 2 3 4 5 6 7 8 \xFF\xFE"};
  for (const std::string& text : cases) {
    Startup(text);
    ExpectSameSettings(text);
    Morph(text, 0.5f);
    ExpectSameSettings(text);
  }
  EXPECT_EQ(boxes, 0);
}

// Pieces from which random parameter strings are glued together.
const char* const kPieces[] = {"#", "# ", " ", "1", "0", "-2.5", ".5", "7.", "1e1", "1e-3",
                               "3e38", "1e400", "+INF", "-INF", "+NAN", "-NAN", "inf", "0x10",
                               "x", "\t", "\n", "-", "+", "e", "255", "0.2", "\xC3\xA9", ","};

std::string RandomText(std::mt19937& random) {
  std::string text;
  const int count = std::uniform_int_distribution<int>(0, 14)(random);
  for (int i = 0; i < count; ++i)
    text += kPieces[std::uniform_int_distribution<std::size_t>(0, std::size(kPieces) - 1)(random)];
  return text;
}

float RandomFloat(std::mt19937& random) {
  switch (std::uniform_int_distribution<int>(0, 9)(random)) {
    case 0: return 0.0f;
    case 1: return std::numeric_limits<float>::infinity();
    case 2: return std::numeric_limits<float>::quiet_NaN();
    case 3: return std::uniform_real_distribution<float>(-1e30f, 1e30f)(random);
    default: return std::uniform_real_distribution<float>(-3.0f, 3.0f)(random);
  }
}

TEST_F(MisbehavingRenderer, AMillionInterleavedCallsMatchTheCoreLibrary) {
  std::mt19937 random(20261211);
  int startups = 0, morphs = 0, procedures = 0;
  for (int call = 0; call < 1000000; ++call) {
    const int kind = std::uniform_int_distribution<int>(0, 99)(random);
    if (kind < 2) {
      std::string text = RandomText(random);
      if (kind == 0) text = "#" + text;
      Startup(text);
      ++startups;
    } else if (kind < 3) {
      Morph(RandomText(random), RandomFloat(random));
      ++morphs;
    } else if (kind < 4) {
      CallClose();
    } else {
      const float x = RandomFloat(random), y = RandomFloat(random), z = RandomFloat(random);
      float dllColour[3] = {RandomFloat(random), 100.0f, 255.0f};
      float coreColour[3] = {dllColour[0], dllColour[1], dllColour[2]};
      const std::uint32_t source = static_cast<std::uint32_t>(call);
      std::uint32_t dllDestination = 0xFFFFFFFFu, coreDestination = 0xFFFFFFFFu;
      ASSERT_EQ(CallProcedure(x, y, z, dllColour, &source, &dllDestination, &kWavySamplers), 1u);
      ShadeSample(mirror_, x, y, z, coreColour, &source, &coreDestination, kWavySamplers);
      ASSERT_EQ(std::memcmp(dllColour, coreColour, sizeof dllColour), 0) << "call " << call;
      ASSERT_EQ(dllDestination, coreDestination) << "call " << call;
      ++procedures;
    }
  }
  ExpectSameSettings("the last call");
  EXPECT_GT(startups, 10000);
  EXPECT_GT(morphs, 5000);
  EXPECT_GT(procedures, 900000);
  EXPECT_GT(boxes, 0) << "strings without a leading # were among them";
}

}  // namespace
