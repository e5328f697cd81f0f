// The settings dialog: five number fields and a colour swatch over the process-wide parameter
// set, the system colour picker behind the swatch, and the placement on the screen's centre.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

// The picker's custom colours: a grey ramp at first, then whatever the user made of them,
// kept for the life of the process.
extern std::array<COLORREF, 16> customColors;

// A 0-255 float channel as a byte: truncated toward zero, low 8 bits kept (300.7 gives 44).
std::uint8_t ChannelByte(float channel);

// Opens the picker on the colour and stores the picked one as whole numbers from 0 to 255;
// a cancelled or failed picker leaves the channels alone.
void PickColor(float& red, float& green, float& blue, HWND owner);

// Moves the window to the centre of the whole primary screen, not only its work area.
void CenterOnScreen(HWND window);

// Dialog procedure of IDD_SETTINGS. Ends with 1 once all five fields are stored, with 0 on
// Cancel or at the first empty, zero or non-numeric field (the fields before it stay stored).
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
