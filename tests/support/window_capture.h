// What a window shows on the screen, read back pixel by pixel, so that a test can check
// painted colours and a screenshot can be written as a PNG file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> colours;  // rows top to bottom

  COLORREF At(int x, int y) const { return colours[static_cast<std::size_t>(y * width + x)]; }
};

// The whole window as the screen shows it, frame included, once the paints that were
// pending have been done.
Pixels CaptureWindow(HWND window);

// The window's client area only: for controls, the part that the control paints.
Pixels CaptureClient(HWND window);

bool WritePng(const Pixels& pixels, const std::string& path);
