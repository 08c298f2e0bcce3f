#pragma once
// The calendar's button glyphs: bitmap resources recoloured to the theme, kept for the process.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

enum ButtonBitmap : int
{
    BitmapRefresh = 200,
    BitmapSettings = 201,
    BitmapMonthView = 202,
    BitmapWeekView = 203,
    BitmapDayView = 204,
    BitmapToday = 205,
    BitmapBack = 206,
    BitmapCheckBox = 207,
    BitmapCheckBoxChecked = 208,
    BitmapSearch = 209,
    BitmapClearSearch = 210,
    BitmapTheme = 211,
    BitmapLightTheme = 212,
    BitmapDarkTheme = 213,
};

// The bitmap resource with its red channel mapped from one colour (0) to the other (255), alpha
// kept; null when the program has no such resource.
std::shared_ptr<Gdiplus::Bitmap> GetTintedBitmap(int resourceId, Gdiplus::ARGB from, Gdiplus::ARGB to);

// Drops every cached bitmap (before GDI+ ends).
void FreeTintedBitmaps();
