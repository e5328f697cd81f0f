// A renderer that runs with the invalid-operation and zero-divide traps unmasked, on both
// the x87 unit and SSE: no entry point may trap for any settings or quiet-NaN samples, and
// each must hand back the floating-point control state exactly as it found it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <limits>

#include "tests/support/float_traps.h"
#include "tests/support/vael_dll.h"
#include "tests/support/window_watcher.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Samplers that return what the test chooses, NaN and infinities included.
float sampleA = 0;
float sampleB = 0;
void ChosenA(float, float, float, float* result) { *result = sampleA; }
void ChosenB(float, float, float, float* result) { *result = sampleB; }
constexpr HostSamplerFunctions kChosenSamplers = {ChosenA, ChosenB};

class UnmaskedHost : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(VaelDll(), nullptr); }
  void ExpectControlKept(const char* after) {
    EXPECT_EQ(CurrentFloatControl(), traps_.unmasked()) << "control state changed by " << after;
  }
  UnmaskedFloatTraps traps_{UnmaskedFloatTraps::kInvalid | UnmaskedFloatTraps::kZeroDivide};
};

// Settings strings that divide by zero, overflow or meet infinities somewhere.
const char* const kHostileSettings[] = {
    "# 0 0 0 0.2 0.8 120 128 128",           "# -0 1 +NAN 0 0 0 0 0",
    "# +INF -INF 1 +INF -INF +NAN -NAN 0",   "# 1 1 1 -0.5 0.5 120 128 128",
    "# 1e-45 1e-45 1e-45 1e-45 0 0 0 0",     "# 1e38 1e38 1e38 -1e38 1e38 3e38 -3e38 0",
    "# 1 1 1 -INF +INF 0 0 0",               "# 1 1 1 -1e38 1e-45 0 0 0",
    "# 1 1 1 0.2 0.8 120 128 128"};

const float kHostileValues[] = {kNaN, -kNaN, kInf, -kInf, 0.0f, -0.0f, -1.0f, 0.5f,
                                1e30f, -3.4e38f, 1e-45f};

TEST_F(UnmaskedHost, ShadingNeverTrapsForAnySettingsOrSamples) {
  for (const char* settings : kHostileSettings) {
    LoadIntoDll(settings);
    ExpectControlKept("_ExternalTextureStartup");
    for (float a : kHostileValues)
      for (float b : kHostileValues)
        for (float point : {1.0f, 0.0f, kInf, kNaN, 3e38f}) {
          sampleA = a;
          sampleB = b;
          float colour[3] = {200, kInf, 0};
          const std::uint32_t source = 1;
          std::uint32_t destination = 0;
          ASSERT_EQ(CallProcedure(point, 1.0f, -2.0f, colour, &source, &destination,
                                  &kChosenSamplers),
                    1u);
        }
    ExpectControlKept("_ExternalTextureProcedure");
  }
}

TEST_F(UnmaskedHost, MorphNeverTrapsForAnyFactor) {
  for (const char* from : kHostileSettings)
    for (const char* to : kHostileSettings)
      for (float t : {0.0f, 0.25f, 1.0f, -2.0f, kInf, kNaN, 1e38f}) {
        LoadIntoDll(from);
        ASSERT_EQ(CallMorph(to, t), 1u);
        ExpectControlKept("_ExternalTextureMorph");
      }
}

TEST_F(UnmaskedHost, StartupBoxAndCloseKeepTheControlState) {
  WindowWatcher watcher([] {
    if (HWND box = WaitForWindow("Parameter list missing", "#32770")) PressButton(box, IDOK);
  });
  EXPECT_EQ(CallStartup("missing hash"), 1u);
  ASSERT_TRUE(watcher.Join());
  ExpectControlKept("_ExternalTextureStartup with the box");
  CallClose();
  ExpectControlKept("_ExternalTextureClose");
}

}  // namespace
