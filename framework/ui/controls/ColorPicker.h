#pragma once
// The colour dialog as the settings open it, and the way between its COLORREF and the ARGB colour
// values that the settings files keep.

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <functional>
#include <optional>

// Opens the colour dialog on initial (white when none), both read in the theme's lightness; empty
// when the user cancels or the dialog fails (logged).
std::optional<COLORREF> PickColor(HWND owner, std::optional<COLORREF> initial, COLORREF customColors[16]);

// The dialog itself; replaceable so that what surrounds it can run without a person.
using ChooseColorFunction = std::function<BOOL(CHOOSECOLORW&)>;
void SetChooseColorFunction(ChooseColorFunction function);

// An ARGB colour value (0xAARRGGBB, 0 "automatic", 0x00FFFFFF "none") as a COLORREF to start the
// dialog on: empty for "automatic" and "none", the alpha left out otherwise.
std::optional<COLORREF> ColorRefOfColor(uint32_t color);
// A picked COLORREF as an opaque ARGB colour value, so that black is black and not "automatic".
uint32_t ColorOfColorRef(COLORREF color);
