#pragma once
// The colour dialog as the settings open it, and the way between its COLORREF and the ARGB colour
// values that the settings files keep.

#include "framework/xml/Colors.h"

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

// A stored colour as a COLORREF to start the dialog on: empty for "automatic" and "none", the alpha
// left out otherwise.
std::optional<COLORREF> ColorRefOfColor(Color color);
// A picked COLORREF as an opaque colour, so that black is stored as "#000000" and not "automatic".
Color ColorOfColorRef(COLORREF color);
