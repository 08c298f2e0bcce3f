#pragma once
// Pictures drawn at the screen's DPI: their sizes are given in 96-dpi pixels.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// The image's pixel size, scaled to the screen's DPI when scaled is set.
SIZE GetImageSize(Gdiplus::Image& image, bool scaled);

// An HBITMAP of the image at the screen's DPI, drawn over background when useBackground is set
// (else over transparent black). The caller owns the bitmap.
HBITMAP CreateScaledHBitmap(Gdiplus::Image& image, COLORREF background, bool useBackground);
