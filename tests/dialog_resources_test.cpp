// The resources inside the built vael.dll, read back the way Windows reads them: the
// settings dialog's template byte for byte, the picture's header, and the version block.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "resources/resource.h"
#include "tests/support/vael_dll.h"

namespace {

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
  reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
  return TRUE;
}

std::vector<WORD> ResourceLanguages(LPCSTR type, WORD name) {
  std::vector<WORD> languages;
  EnumResourceLanguagesA(VaelDll(), type, MAKEINTRESOURCEA(name), CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

struct ResourceBytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

ResourceBytes LoadResourceBytes(LPCSTR type, WORD name, WORD language) {
  const HRSRC found = FindResourceExA(VaelDll(), type, MAKEINTRESOURCEA(name), language);
  if (found == nullptr) return {};
  return {static_cast<const BYTE*>(LockResource(LoadResource(VaelDll(), found))),
          SizeofResource(VaelDll(), found)};
}

// A name or text in a template: a string, or 0xFFFF and a number.
using SzOrOrdinal = std::variant<std::wstring, WORD>;

// Reads a dialog template or a version block in the order Windows lays them out.
class ResourceReader {
 public:
  explicit ResourceReader(const BYTE* data) : start_(data), p_(data) {}

  template <typename T>
  T Next() {
    T value;
    std::memcpy(&value, p_, sizeof value);
    p_ += sizeof value;
    return value;
  }
  std::wstring String() {
    std::wstring text;
    for (wchar_t c; (c = Next<wchar_t>()) != 0;) text += c;
    return text;
  }
  SzOrOrdinal NameOrOrdinal() {
    WORD first;
    std::memcpy(&first, p_, sizeof first);
    if (first == 0xFFFF) {
      p_ += sizeof first;
      return Next<WORD>();
    }
    return String();
  }
  void Skip(std::size_t bytes) { p_ += bytes; }
  void AlignToDword() { p_ = start_ + ((p_ - start_ + 3) & ~3); }
  const BYTE* Here() const { return p_; }
  std::size_t Offset() const { return static_cast<std::size_t>(p_ - start_); }

 private:
  const BYTE* start_;
  const BYTE* p_;
};

constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;
constexpr DWORD kFieldStyle = 0x50810000, kSwatchStyle = 0x5001030B, kPushStyle = 0x50010300;
constexpr DWORD kLabelStyle = 0x50000000, kFrameStyle = 0x50000012, kPictureStyle = 0x5000180E;

struct ControlRow {
  WORD id;
  WORD classOrdinal;
  std::optional<SzOrOrdinal> text;  // none for an about line, whose words are free
  short x, y, cx, cy;
  DWORD style;
};

constexpr std::nullopt_t kAboutLine = std::nullopt;

const ControlRow kControls[] = {
    {IDC_X_SCALE, kEdit, L"", 200, 8, 36, 12, kFieldStyle},
    {IDC_Y_SCALE, kEdit, L"", 200, 28, 36, 12, kFieldStyle},
    {IDC_Z_SCALE, kEdit, L"", 200, 48, 36, 12, kFieldStyle},
    {IDC_THRESHOLD, kEdit, L"", 200, 72, 36, 12, kFieldStyle},
    {IDC_SHARPNESS, kEdit, L"", 200, 92, 36, 12, kFieldStyle},
    {IDC_COLOR, kButton, L"Button3", 200, 112, 36, 12, kSwatchStyle},
    {IDOK, kButton, L"OK", 192, 136, 44, 14, kPushStyle},
    {IDCANCEL, kButton, L"Cancel", 140, 136, 44, 14, kPushStyle},
    {104, kStatic, L"X Scale [L/R]", 132, 12, 52, 8, kLabelStyle},
    {105, kStatic, L"Y Scale [F/B]", 132, 32, 48, 8, kLabelStyle},
    {106, kStatic, L"Z Scale [U/D] ", 132, 52, 52, 8, kLabelStyle},
    {110, kStatic, L"Threshold [0.0-1.0]", 132, 76, 64, 8, kLabelStyle},
    {IDC_INFO_FRAME, kStatic, L"Frame1", 4, 88, 124, 64, kFrameStyle},
    {IDC_NAME_LABEL, kStatic, L"Vael 0.2", 8, 92, 48, 8, kLabelStyle},
    {116, kStatic, kAboutLine, 8, 100, 116, 16, kLabelStyle},
    {117, kStatic, kAboutLine, 8, 116, 76, 8, kLabelStyle},
    {118, kStatic, kAboutLine, 8, 124, 112, 8, kLabelStyle},
    {119, kStatic, kAboutLine, 8, 132, 116, 16, kLabelStyle},
    {120, kStatic, L"Color", 132, 116, 36, 8, kLabelStyle},
    {122, kStatic, L"Sharpeness[0.0-1.0]", 132, 96, 64, 8, kLabelStyle},
    {IDC_PICTURE, kStatic, WORD{IDB_PICTURE}, 12, 8, 17, 18, kPictureStyle},
};

// Leaves the reader at the first control.
void SkipTemplateHeader(ResourceReader& reader) {
  reader.Skip(26);
  reader.NameOrOrdinal();
  reader.NameOrOrdinal();
  reader.String();
  reader.Skip(6);
  reader.String();
}

TEST(DialogTemplate, IsOneExtendedTemplateInUsEnglish) {
  EXPECT_EQ(ResourceLanguages(RT_DIALOG, IDD_SETTINGS), std::vector<WORD>{kEnglishUs});
}

TEST(DialogTemplate, HeaderHoldsTheStylesPlaceCaptionAndFont) {
  const ResourceBytes resource = LoadResourceBytes(RT_DIALOG, IDD_SETTINGS, kEnglishUs);
  ASSERT_NE(resource.data, nullptr);
  ResourceReader reader(resource.data);
  EXPECT_EQ(reader.Next<WORD>(), 1);       // dlgVer
  EXPECT_EQ(reader.Next<WORD>(), 0xFFFF);  // signature of an extended template
  EXPECT_EQ(reader.Next<DWORD>(), 0u);     // help id
  EXPECT_EQ(reader.Next<DWORD>(), 0x401u);
  EXPECT_EQ(reader.Next<DWORD>(), 0x90C028C4u);
  EXPECT_EQ(reader.Next<WORD>(), std::size(kControls));
  EXPECT_EQ(reader.Next<short>(), 1);
  EXPECT_EQ(reader.Next<short>(), 3);
  EXPECT_EQ(reader.Next<short>(), 244);
  EXPECT_EQ(reader.Next<short>(), 158);
  EXPECT_EQ(reader.NameOrOrdinal(), SzOrOrdinal(L"")) << "menu";
  EXPECT_EQ(reader.NameOrOrdinal(), SzOrOrdinal(L"")) << "the standard dialog class";
  EXPECT_EQ(reader.String(), L"Vael 0.2");
  EXPECT_EQ(reader.Next<WORD>(), 9);    // points
  EXPECT_EQ(reader.Next<WORD>(), 400);  // weight
  EXPECT_EQ(reader.Next<BYTE>(), 0);    // italic
  EXPECT_EQ(reader.Next<BYTE>(), 1);    // character set
  EXPECT_EQ(reader.String(), L"MS Sans Serif");
}

TEST(DialogTemplate, ControlsComeInTabOrderWithTheirClassesTextsRectanglesAndStyles) {
  const ResourceBytes resource = LoadResourceBytes(RT_DIALOG, IDD_SETTINGS, kEnglishUs);
  ASSERT_NE(resource.data, nullptr);
  ResourceReader reader(resource.data);
  SkipTemplateHeader(reader);
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE("control " + std::to_string(row.id));
    reader.AlignToDword();
    EXPECT_EQ(reader.Next<DWORD>(), 0u) << "help id";
    EXPECT_EQ(reader.Next<DWORD>(), 0u) << "extended style";
    EXPECT_EQ(reader.Next<DWORD>(), row.style);
    EXPECT_EQ(reader.Next<short>(), row.x);
    EXPECT_EQ(reader.Next<short>(), row.y);
    EXPECT_EQ(reader.Next<short>(), row.cx);
    EXPECT_EQ(reader.Next<short>(), row.cy);
    EXPECT_EQ(reader.Next<DWORD>(), row.id);
    EXPECT_EQ(reader.NameOrOrdinal(), SzOrOrdinal(row.classOrdinal));
    const SzOrOrdinal text = reader.NameOrOrdinal();
    if (row.text.has_value())
      EXPECT_EQ(text, *row.text);
    else
      EXPECT_NE(text, SzOrOrdinal(L"")) << "an about line";
    EXPECT_EQ(reader.Next<WORD>(), 0) << "creation data";
  }
  EXPECT_EQ(reader.Offset(), resource.size);
}

TEST(PictureResource, IsA160By120TrueColourBitmapInNeutralLanguage) {
  EXPECT_EQ(ResourceLanguages(RT_BITMAP, IDB_PICTURE), std::vector<WORD>{kNeutral});
  const ResourceBytes resource = LoadResourceBytes(RT_BITMAP, IDB_PICTURE, kNeutral);
  ASSERT_NE(resource.data, nullptr);
  BITMAPINFOHEADER header;
  std::memcpy(&header, resource.data, sizeof header);
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, 160);
  EXPECT_EQ(header.biHeight, 120) << "rows stored bottom-up";
  EXPECT_EQ(header.biPlanes, 1);
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(header.biSizeImage, 57600u);
  EXPECT_EQ(header.biXPelsPerMeter, 0);
  EXPECT_EQ(header.biYPelsPerMeter, 0);
  EXPECT_EQ(header.biClrUsed, 0u);
  EXPECT_EQ(header.biClrImportant, 0u);
  EXPECT_EQ(resource.size, 40u + 57600u) << "no palette, 120 rows of 480 bytes";
}

// One node of a version block: its key and its children, in the order they are stored.
struct VersionNode {
  std::wstring key;
  std::vector<VersionNode> children;
};

VersionNode ReadVersionNode(const BYTE* node) {
  ResourceReader reader(node);
  const WORD length = reader.Next<WORD>();
  const WORD valueLength = reader.Next<WORD>();
  const WORD type = reader.Next<WORD>();
  VersionNode result{reader.String(), {}};
  reader.AlignToDword();
  reader.Skip(type == 1 ? valueLength * sizeof(wchar_t) : valueLength);  // text counts characters
  reader.AlignToDword();
  while (reader.Offset() < length) {
    result.children.push_back(ReadVersionNode(reader.Here()));
    WORD childLength;
    std::memcpy(&childLength, reader.Here(), sizeof childLength);
    reader.Skip(childLength);
    reader.AlignToDword();
  }
  return result;
}

std::vector<BYTE> FileVersionInfo() {
  const DWORD size = GetFileVersionInfoSizeA(VAEL_DLL_PATH, nullptr);
  std::vector<BYTE> block(size);
  if (size == 0 || !GetFileVersionInfoA(VAEL_DLL_PATH, 0, size, block.data())) block.clear();
  return block;
}

std::string VersionString(std::vector<BYTE>& block, const std::string& key) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = "\\StringFileInfo\\041103A4\\" + key;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
    return "(missing)";
  return value;
}

TEST(VersionBlock, FixedPartHoldsTheVersionsAndFileKind) {
  std::vector<BYTE> block = FileVersionInfo();
  ASSERT_FALSE(block.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(length, sizeof *fixed);
  std::array<DWORD, 13> fields;
  std::memcpy(fields.data(), fixed, sizeof fields);
  // Signature, structure version, file and product version 1.0.0.0, flags mask and flags 0,
  // VOS_NT_WINDOWS32, file type 1, subtype 0, date 0.
  const std::array<DWORD, 13> expected = {0xFEEF04BD, 0x00010000, 0x00010000, 0, 0x00010000, 0, 0,
                                          0,          0x40004,    1,          0, 0,          0};
  EXPECT_EQ(fields, expected);
}

TEST(VersionBlock, TranslationIsJapaneseCodePage932) {
  std::vector<BYTE> block = FileVersionInfo();
  ASSERT_FALSE(block.empty());
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 0x03A4);
}

TEST(VersionBlock, OneStringTableWithTheKeysInOrder) {
  const std::vector<WORD> languages = ResourceLanguages(RT_VERSION, IDV_VERSION);
  ASSERT_EQ(languages.size(), 1u);
  const ResourceBytes resource = LoadResourceBytes(RT_VERSION, IDV_VERSION, languages[0]);
  ASSERT_NE(resource.data, nullptr);
  const VersionNode root = ReadVersionNode(resource.data);
  EXPECT_EQ(root.key, L"VS_VERSION_INFO");
  const VersionNode* strings = nullptr;
  for (const VersionNode& child : root.children)
    if (child.key == L"StringFileInfo") strings = &child;
  ASSERT_NE(strings, nullptr);
  ASSERT_EQ(strings->children.size(), 1u);
  EXPECT_EQ(strings->children[0].key, L"041103A4");
  std::vector<std::wstring> keys;
  for (const VersionNode& entry : strings->children[0].children) keys.push_back(entry.key);
  const std::vector<std::wstring> expected = {
      L"CompanyName",    L"FileDescription",  L"FileVersion", L"InternalName",   L"LegalCopyright",
      L"LegalTrademarks", L"OriginalFilename", L"ProductName", L"ProductVersion"};
  EXPECT_EQ(keys, expected);
}

TEST(VersionBlock, StringsNameTheProductAndItsFile) {
  std::vector<BYTE> block = FileVersionInfo();
  ASSERT_FALSE(block.empty());
  EXPECT_EQ(VersionString(block, "FileDescription"), "SoftF/X Shader Plugin.");
  EXPECT_EQ(VersionString(block, "FileVersion"), "0.2");
  EXPECT_EQ(VersionString(block, "InternalName"), "Vael");
  EXPECT_EQ(VersionString(block, "OriginalFilename"), "vael.dll");
  EXPECT_EQ(VersionString(block, "ProductName"), "Vael");
  EXPECT_EQ(VersionString(block, "ProductVersion"), "0.2");
  for (const char* ours : {"CompanyName", "LegalCopyright", "LegalTrademarks"}) {
    const std::string value = VersionString(block, ours);
    EXPECT_FALSE(value.empty()) << ours;
    EXPECT_NE(value, "(missing)") << ours;
  }
}

}  // namespace
