// The texture entry points of the real DLL: loading a parameter string at start-up (or the
// "Parameter list missing" box), morphing, shading through the renderer's samplers, closing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/shader_parameters.h"
#include "tests/support/import_patch.h"
#include "tests/support/vael_dll.h"
#include "tests/support/window_watcher.h"

namespace {

constexpr const char* kDefaultText = "# 1.00 1.00 1.00 0.20 0.80 120.00 128.00 128.00";

ShaderParameters FromText(const char* text, ShaderParameters start = {}) {
  LoadParameters(start, text);
  return start;
}

// What the plug-in passes to MessageBoxA, seen through its import table.
struct BoxCall {
  HWND owner;
  std::string text, caption;
  UINT type;
};
std::vector<BoxCall> boxCalls;
const HWND kFocusWindow = reinterpret_cast<HWND>(0x1234);

int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  boxCalls.push_back({owner, text ? text : "(null)", caption ? caption : "(null)", type});
  return IDOK;
}
HWND WINAPI FocusWindow() { return kFocusWindow; }

class TextureEntryPoints : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(VaelDll(), nullptr);
    LoadIntoDll(kDefaultText);
  }
};

class StartupBox : public TextureEntryPoints {
 protected:
  void SetUp() override {
    TextureEntryPoints::SetUp();
    boxCalls.clear();
    realMessageBox_ = PatchImport(VaelDll(), "user32.dll", "MessageBoxA",
                                  reinterpret_cast<void*>(RecordMessageBox));
    realGetFocus_ = PatchImport(VaelDll(), "user32.dll", "GetFocus",
                                reinterpret_cast<void*>(FocusWindow));
    ASSERT_NE(realMessageBox_, nullptr);
    ASSERT_NE(realGetFocus_, nullptr);
  }
  void TearDown() override {
    PatchImport(VaelDll(), "user32.dll", "MessageBoxA", realMessageBox_);
    PatchImport(VaelDll(), "user32.dll", "GetFocus", realGetFocus_);
  }
  void* realMessageBox_ = nullptr;
  void* realGetFocus_ = nullptr;
};

TEST_F(TextureEntryPoints, StartupLoadsEveryNumberOfTheString) {
  const char* text = "# 2 2 2 0.5 0.25 255 255 255";
  LoadIntoDll(text);
  EXPECT_EQ(DllFingerprint(), CoreFingerprint(FromText(text)));
}

TEST_F(TextureEntryPoints, StartupWithFewerNumbersKeepsTheOtherFields) {
  LoadIntoDll("# 2 3 4 0.5 0.25 10 20 30");
  LoadIntoDll("# 7");
  EXPECT_EQ(DllFingerprint(), CoreFingerprint(FromText("# 7 3 4 0.5 0.25 10 20 30")));
}

TEST_F(StartupBox, TextWithoutLeadingHashShowsTheBoxAndChangesNothing) {
  const Fingerprint before = DllFingerprint();
  for (const char* text : {"", " # 2 2 2", "2 2 2", "@ 2", static_cast<const char*>(nullptr)}) {
    boxCalls.clear();
    EXPECT_EQ(CallStartup(text), 1u);
    ASSERT_EQ(boxCalls.size(), 1u) << (text ? text : "(null)");
    EXPECT_EQ(boxCalls[0].owner, kFocusWindow);
    EXPECT_EQ(boxCalls[0].text, "External texture: Startup");
    EXPECT_EQ(boxCalls[0].caption, "Parameter list missing");
    EXPECT_EQ(boxCalls[0].type, static_cast<UINT>(MB_SYSTEMMODAL));
    EXPECT_EQ(DllFingerprint(), before);
  }
}

TEST_F(StartupBox, TextWithLeadingHashShowsNoBox) {
  CallStartup("#");
  CallStartup("# x 5");
  EXPECT_TRUE(boxCalls.empty());
}

// The real box, as the user meets it: found, read and dismissed by a watcher thread.
TEST_F(TextureEntryPoints, StartupBoxIsASystemModalNoticeWithOnlyOk) {
  std::string body;
  std::vector<std::string> buttons;
  LONG exStyle = 0;
  bool found = false;
  WindowWatcher watcher([&] {
    HWND box = WaitForWindow("Parameter list missing", "#32770");
    if (box == nullptr) return;
    found = true;
    body = MessageBoxBody(box);
    buttons = MessageBoxButtons(box);
    exStyle = GetWindowLongA(box, GWL_EXSTYLE);
    PressButton(box, IDOK);
  });
  EXPECT_EQ(CallStartup("no hash"), 1u);
  ASSERT_TRUE(watcher.Join());
  ASSERT_TRUE(found);
  EXPECT_EQ(body, "External texture: Startup");
  EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST) << "a system-modal box stays on top";
}

TEST_F(TextureEntryPoints, MorphBlendsTheSetTowardTheString) {
  LoadIntoDll("# 1 1 1 0.2 0.8 120 128 128");
  EXPECT_EQ(CallMorph("# 3 1 1 0.6 0.8 0 128 128", 0.25f), 1u);
  ShaderParameters expected;
  MorphParameters(expected, "# 3 1 1 0.6 0.8 0 128 128", 0.25f);
  EXPECT_EQ(expected.threshold, 0.5f);
  EXPECT_EQ(DllFingerprint(), CoreFingerprint(expected));
}

TEST_F(TextureEntryPoints, MorphWithAShortOrNullStringKeepsWhatItDoesNotSupply) {
  const Fingerprint before = DllFingerprint();
  EXPECT_EQ(CallMorph(nullptr, 0.0f), 1u);
  EXPECT_EQ(CallMorph("", 0.0f), 1u);
  EXPECT_EQ(CallMorph("#", 0.0f), 1u);
  EXPECT_EQ(DllFingerprint(), before);
  EXPECT_EQ(CallMorph("#3", 0.0f), 1u);
  EXPECT_EQ(DllFingerprint(), CoreFingerprint(FromText("# 3")));
}

TEST_F(TextureEntryPoints, CloseChangesNothingAndShadingGoesOnWithTheLastSettings) {
  const char* text = "# 0.5 2 1 0.3 0.3 10 200 30";
  LoadIntoDll(text);
  CallClose();
  EXPECT_EQ(DllFingerprint(), CoreFingerprint(FromText(text)));
}

}  // namespace
