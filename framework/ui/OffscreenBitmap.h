#pragma once
// An off-screen picture for a window's paint: a GDI+ bitmap whose pixels are those of a 24-bit
// DIB section selected into a memory DC of its own. A Graphics made on DC() draws text through
// GDI's glyph cache instead of rasterising every glyph per call, as it must on a bitmap of GDI+'s
// own; the bitmap then goes to the screen like any other. No alpha: the picture is opaque.

#include "framework/Owners.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace UI
{
// The header of a DIB section whose rows run from the top down, as GDI+ reads scan lines: of
// bitCount bits a pixel, without compression.
BITMAPINFO TopDownDibInfo(int width, int height, WORD bitCount);

namespace Detail
{
// The DIB section and its DC, made before the bitmap that shares their pixels.
struct DibSurface
{
    DibSurface(int width, int height);
    Owners::MemoryDC dc;
    Owners::Bitmap dib;
    HGDIOBJ previous = nullptr;
    BYTE* bits = nullptr;
    int stride = 0;
};
} // namespace Detail

class OffscreenBitmap : private Detail::DibSurface, public Gdiplus::Bitmap
{
public:
    // A picture of at least 1 x 1 pixels; null when Windows cannot make one of this size.
    static std::unique_ptr<OffscreenBitmap> Create(int width, int height);
    ~OffscreenBitmap() override;

    // The memory DC that draws into the picture.
    HDC DC() const { return dc.get(); }

private:
    OffscreenBitmap(int width, int height);
};
} // namespace UI
