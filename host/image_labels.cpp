// GDI draws into a 32-bit top-down DIB section; the image goes in before the text and comes
// back out after it, so the text is blended over whatever the caller painted.
#include "host/image_labels.h"

#include <windows.h>

namespace {

// Small enough for a caption under a 160 x 120 picture, large enough to read.
constexpr int kTextPixels = 12;

struct DibPixel {
  std::uint8_t blue, green, red, unused;
};

}  // namespace

bool DrawLabels(RgbImage& image, std::span<const Label> labels,
                std::array<std::uint8_t, 3> textColour) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // negative: rows top to bottom, as in RgbImage
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  const HBITMAP bitmap =
      dc != nullptr ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  const HFONT font = CreateFontA(-kTextPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
  const bool ready = bitmap != nullptr && font != nullptr;
  if (ready) {
    auto* pixels = static_cast<DibPixel*>(bits);
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    for (std::size_t i = 0; i < count; ++i)
      pixels[i] = {image.pixels[3 * i + 2], image.pixels[3 * i + 1], image.pixels[3 * i], 0};
    const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(textColour[0], textColour[1], textColour[2]));
    for (const Label& label : labels) {
      RECT box = {label.left, label.top, label.left + label.width, label.top + label.height};
      DrawTextA(dc, label.text.c_str(), static_cast<int>(label.text.size()), &box,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    GdiFlush();
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    for (std::size_t i = 0; i < count; ++i) {
      image.pixels[3 * i] = pixels[i].red;
      image.pixels[3 * i + 1] = pixels[i].green;
      image.pixels[3 * i + 2] = pixels[i].blue;
    }
  }
  if (font != nullptr) DeleteObject(font);
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (dc != nullptr) DeleteDC(dc);
  return ready;
}
