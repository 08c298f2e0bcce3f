#pragma once
// Pictures drawn at the screen's DPI: their sizes are given in 96-dpi pixels.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

// The image's pixel size, scaled to the screen's DPI when scaled is set.
SIZE GetImageSize(Gdiplus::Image& image, bool scaled);

// An HBITMAP of the image at the screen's DPI, drawn over background when useBackground is set
// (else over transparent black). The caller owns the bitmap.
HBITMAP CreateScaledHBitmap(Gdiplus::Image& image, COLORREF background, bool useBackground);
// The same at a given size, the picture inset by padding pixels on every side (image lists pass
// a per-picture padding so that small glyphs keep their place in a larger cell).
HBITMAP CreateScaledHBitmap(Gdiplus::Image& image, SIZE target, COLORREF background, bool useBackground,
                            int padding = 0);

// A 32-bit copy of the image at target size, drawn with high-quality bicubic interpolation.
std::unique_ptr<Gdiplus::Bitmap> RescaleBitmap(Gdiplus::Image& image, SIZE target, int padding = 0);

// A bitmap of a "FILE" resource of the program (PNG, BMP...); a missing resource raises a COM
// error, an unreadable one yields null.
std::unique_ptr<Gdiplus::Bitmap> LoadFileResourceBitmap(int resourceId);
