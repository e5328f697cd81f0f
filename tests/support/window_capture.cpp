// Reads pixels through the window's own device context, which also works for windows of
// another thread (the dialog's), and writes PNG files with stb_image_write.
#include "tests/support/window_capture.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

// Copies width x height pixels from (left, top) of source, then gives source back.
Pixels Capture(HWND owner, HDC source, int left, int top, int width, int height) {
  Pixels pixels;
  if (source == nullptr || width <= 0 || height <= 0) return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC memory = CreateCompatibleDC(source);
  const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
  GdiFlush();
  pixels.width = width;
  pixels.height = height;
  pixels.colours.resize(static_cast<std::size_t>(width) * height);
  const auto* bgrx = static_cast<const BYTE*>(bits);
  for (std::size_t i = 0; i < pixels.colours.size(); ++i)
    pixels.colours[i] = RGB(bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(owner, source);
  return pixels;
}

void FinishPainting(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

// From the screen itself: the frame that Wine draws for the window is not in its window DC.
Pixels CaptureWindow(HWND window) {
  FinishPainting(window);
  RECT r;
  GetWindowRect(window, &r);
  return Capture(nullptr, GetDC(nullptr), r.left, r.top, r.right - r.left, r.bottom - r.top);
}

Pixels CaptureClient(HWND window) {
  FinishPainting(window);
  RECT r;
  GetClientRect(window, &r);
  return Capture(window, GetDC(window), 0, 0, r.right, r.bottom);
}

bool WritePng(const Pixels& pixels, const std::string& path) {
  std::vector<unsigned char> rgb;
  rgb.reserve(pixels.colours.size() * 3);
  for (COLORREF colour : pixels.colours) {
    rgb.push_back(GetRValue(colour));
    rgb.push_back(GetGValue(colour));
    rgb.push_back(GetBValue(colour));
  }
  return stbi_write_png(path.c_str(), pixels.width, pixels.height, 3, rgb.data(),
                        pixels.width * 3) != 0;
}
