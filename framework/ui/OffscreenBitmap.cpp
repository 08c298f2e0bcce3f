#include "framework/ui/OffscreenBitmap.h"

#include <algorithm>

namespace UI
{
BITMAPINFO TopDownDibInfo(int width, int height, WORD bitCount)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

namespace Detail
{
DibSurface::DibSurface(int width, int height)
{
    const BITMAPINFO info = TopDownDibInfo(width, height, 24);
    dc.reset(CreateCompatibleDC(nullptr));
    void* pixels = nullptr;
    dib.reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!dc || !dib || !pixels)
        return;
    previous = SelectObject(dc.get(), dib.get());
    bits = static_cast<BYTE*>(pixels);
    stride = (width * 3 + 3) & ~3; // DIB rows end on a 4-byte boundary
}
} // namespace Detail

OffscreenBitmap::OffscreenBitmap(int width, int height)
    : DibSurface(width, height), Gdiplus::Bitmap(width, height, stride, PixelFormat24bppRGB, bits)
{
}

OffscreenBitmap::~OffscreenBitmap()
{
    if (previous)
        SelectObject(dc.get(), previous);
}

std::unique_ptr<OffscreenBitmap> OffscreenBitmap::Create(int width, int height)
{
    std::unique_ptr<OffscreenBitmap> bitmap(new OffscreenBitmap(std::max(1, width), std::max(1, height)));
    if (!bitmap->bits || bitmap->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return bitmap;
}
} // namespace UI
