#pragma once
// One paint pass of the calendar view: the header with the period title and the year and month
// strips, the day-name band, the cells with their days and page lines, the bottom bar's buttons
// and the search box's frame, laying down the hit areas as it draws.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

// Draws the calendar into graphics, a client area of width x height pixels.
void PaintCalendar(Gdiplus::Graphics& graphics, int width, int height);

// A small triangle in an 11-unit box centred in box: 0 up, 1 down, 2 left, 3 right; its hit area
// has kind direction + 2.
void DrawArrow(const std::wstring& tooltip, Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, int a, int b,
               int direction);
