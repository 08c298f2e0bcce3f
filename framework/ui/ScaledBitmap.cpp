#include "framework/ui/ScaledBitmap.h"

#include "framework/streams/MemoryStream.h"
#include "framework/streams/ResourceStream.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"

#include <comdef.h>

#include <algorithm>

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

std::unique_ptr<Gdiplus::Bitmap> RescaleBitmap(Gdiplus::Image& image, SIZE target, int padding)
{
    auto scaled = std::make_unique<Gdiplus::Bitmap>(std::max<LONG>(target.cx, 1), std::max<LONG>(target.cy, 1),
                                                    PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(scaled.get());
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.DrawImage(&image, Gdiplus::Rect(padding, padding, target.cx - 2 * padding, target.cy - 2 * padding));
    return scaled;
}

HBITMAP CreateScaledHBitmap(Gdiplus::Image& image, SIZE target, COLORREF background, bool useBackground, int padding)
{
    Gdiplus::Bitmap* source = nullptr;
    std::unique_ptr<Gdiplus::Bitmap> scaled;
    // GdipCreateHBITMAPFromBitmap needs a bitmap; any other image is drawn into one.
    if (target.cx != static_cast<LONG>(image.GetWidth()) || target.cy != static_cast<LONG>(image.GetHeight()) ||
        padding || image.GetType() != Gdiplus::ImageTypeBitmap)
    {
        scaled = RescaleBitmap(image, target, padding);
        source = scaled.get();
    }
    else
        source = static_cast<Gdiplus::Bitmap*>(&image);
    HBITMAP bitmap = nullptr;
    const Gdiplus::Color color(useBackground ? ColorRefToArgb(background) : 0);
    if (source->GetHBITMAP(color, &bitmap) != Gdiplus::Ok)
        return nullptr;
    return bitmap;
}

HBITMAP CreateScaledHBitmap(Gdiplus::Image& image, COLORREF background, bool useBackground)
{
    return CreateScaledHBitmap(image, GetImageSize(image, true), background, useBackground, 0);
}

std::unique_ptr<Gdiplus::Bitmap> LoadFileResourceBitmap(int resourceId)
{
    IStreamPtr stream(new ResourceStream(resourceId), false);
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(stream.GetInterfacePtr());
    if (bitmap->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return bitmap;
}
