#pragma once
// What both of Lumday's views draw with, kept for the life of the process on the UI thread: six
// text sizes, ten fonts, six theme colours with their brushes and pens, and the search box's font.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

// Lengths of Lumday's views: one unit is one pixel at 96 dpi.
float GetDpiScale();                  // the screen's LOGPIXELSX / 72, read once
float UnitsToPixels(float units);     // units x GetDpiScale() x 0.75
inline float Units(float units) { return UnitsToPixels(units); } // as the views' drawing reads it

constexpr std::array<float, 6> TextSizes = {9.3333f, 10.6666f, 12.0f, 14.0f, 16.0f, 18.0f};
int GetTextSizeIndex();
float GetTextSize(); // in units
void SetTextSizeFromFontSize(float fontSize);
void SetTextSizeIndex(int index);
// One size up or down (Ctrl++ and Ctrl+-); false at the end of the table, where nothing changes.
bool LargerText();
bool SmallerText();

enum CalendarFont : int
{
    FontPage = 0,
    FontUnreadPage = 1,
    FontHighlight = 2, // also the bold label font
    FontDayName = 3,   // also the label font
    FontHotPage = 4,
    FontHotUnreadPage = 5,
    FontPreview = 6,
    FontSmallNumber = 7,
    FontHeading = 8,
    FontTitle = 9,
};
constexpr int CalendarFontCount = 10;

enum CalendarColor : int
{
    ColorBackground = 0,
    ColorText = 1,
    ColorDimmed = 2,
    ColorOtherMonth = 3,
    ColorAccent = 4,
    ColorBand = 5,
};
constexpr int CalendarColorCount = 6;

void CreateFonts();
void RecreateFonts();
Gdiplus::Font* GetFont(int index);
HFONT GetSearchBoxFont();
// The height of the text "Test" in the font, measured once per font size.
float GetLineHeight(int index);
// The GDI font of a calendar font, for the texts the calendar draws through GDI.
HFONT GetGdiFont(int index);
// The size of text on one line in the GDI font, measured once per font size.
Gdiplus::SizeF MeasureLine(int font, const std::wstring& text);
// Where each character of text on one line in the GDI font ends, counted from the line's start,
// measured once per font size. A copy: the measures remembered are bounded, and the next text
// measured may make room by forgetting them all.
std::vector<int> MeasureLineEnds(int font, const std::wstring& text);

Gdiplus::ARGB GetColor(int index);
Gdiplus::SolidBrush* GetBrush(int index);
Gdiplus::Pen* GetPen(int index);
void SetColorScheme(bool dark);
// The theme switch: the framework's theme mode, the setting, the colours, a repaint and the
// search box's edit colours.
void SetDarkMode(bool dark);

// The part source of image drawn at width x height on the paper colour of a page (a page stays
// light in the dark theme too). The caller owns the bitmap.
std::unique_ptr<Gdiplus::Bitmap> RenderImageToBitmap(Gdiplus::Image& image, const Gdiplus::RectF& source, float width,
                                                     float height);

void FreeDrawingResources();
