#pragma once
// Measuring text in the fonts of the user interface (by index into the font table).

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

namespace UI
{
// Single-line width of the display text in font index (0 for an empty text).
int MeasureTextWidth(Gdiplus::Graphics& graphics, const std::wstring& text, int fontIndex);
int MeasureWindowTextWidth(Gdiplus::Graphics& graphics, HWND window, int fontIndex);
// Height of the text wrapped at width; an empty window text measures one line.
int MeasureTextHeight(Gdiplus::Graphics& graphics, const std::wstring& text, int width, int fontIndex);
int MeasureWindowTextHeight(Gdiplus::Graphics& graphics, HWND window, int width, int fontIndex);
// The path as it fits width on one line: whole when it does, else with the middle of its folder
// replaced by "..." and its file name kept whole, even where the name alone is wider.
std::wstring CompactPathToWidth(Gdiplus::Graphics& graphics, const std::wstring& path, int width, int fontIndex);
} // namespace UI
