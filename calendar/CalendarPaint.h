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

// The height of the bar along the bottom of the calendar, under its cells: the today button, the
// search box and the buttons on the right.
float BottomBarHeight();

// Which way an arrow points; each way is the hit-area kind of its click, less 2.
enum ArrowDirection : int
{
    ArrowUp = 0,    // HitScrollUp
    ArrowDown = 1,  // HitScrollDown
    ArrowLeft = 2,  // HitPrevious
    ArrowRight = 3, // HitNext
};

// A small triangle in an 11-unit box centred in box; its hit area carries the cell's column and
// row (0 for the header's arrows).
void DrawArrow(const std::wstring& tooltip, Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, int column,
               int row, ArrowDirection direction);
