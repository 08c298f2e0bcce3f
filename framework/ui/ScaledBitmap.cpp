#include "framework/ui/ScaledBitmap.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"

#include <memory>

SIZE GetImageSize(Gdiplus::Image& image, bool scaled)
{
    SIZE size{static_cast<LONG>(image.GetWidth()), static_cast<LONG>(image.GetHeight())};
    if (scaled)
    {
        size.cx = ScaleToDpi(size.cx);
        size.cy = ScaleToDpi(size.cy);
    }
    return size;
}

HBITMAP CreateScaledHBitmap(Gdiplus::Image& image, COLORREF background, bool useBackground)
{
    const SIZE target = GetImageSize(image, true);
    const int padX = 0;
    const int padY = 0;
    Gdiplus::Bitmap* source = nullptr;
    std::unique_ptr<Gdiplus::Bitmap> scaled;
    if (target.cx != static_cast<LONG>(image.GetWidth()) || target.cy != static_cast<LONG>(image.GetHeight()) || padX ||
        padY)
    {
        scaled = std::make_unique<Gdiplus::Bitmap>(target.cx, target.cy, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(scaled.get());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.DrawImage(&image, Gdiplus::Rect(padX, padY, target.cx - 2 * padX, target.cy - 2 * padY));
        source = scaled.get();
    }
    else
    {
        // GdipCreateHBITMAPFromBitmap needs a bitmap; an image that is none is copied into one.
        if (image.GetType() == Gdiplus::ImageTypeBitmap)
            source = static_cast<Gdiplus::Bitmap*>(&image);
        else
        {
            scaled = std::make_unique<Gdiplus::Bitmap>(target.cx, target.cy, PixelFormat32bppARGB);
            Gdiplus::Graphics graphics(scaled.get());
            graphics.DrawImage(&image, 0, 0, target.cx, target.cy);
            source = scaled.get();
        }
    }
    HBITMAP bitmap = nullptr;
    const Gdiplus::Color color(useBackground ? ColorRefToArgb(background) : 0);
    if (source->GetHBITMAP(color, &bitmap) != Gdiplus::Ok)
        return nullptr;
    return bitmap;
}
