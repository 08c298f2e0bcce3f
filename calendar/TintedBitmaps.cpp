#include "calendar/TintedBitmaps.h"

#include "framework/Owners.h"

#include <map>
#include <tuple>

namespace
{
float Channel(Gdiplus::ARGB color, int shift) { return static_cast<float>((color >> shift) & 0xFF) / 255.0f; }

using TintCache = std::map<std::tuple<int, Gdiplus::ARGB, Gdiplus::ARGB>, std::shared_ptr<Gdiplus::Bitmap>>;

TintCache& Cache()
{
    static TintCache cache;
    return cache;
}
} // namespace

void FreeTintedBitmaps() { Cache().clear(); }

std::shared_ptr<Gdiplus::Bitmap> GetTintedBitmap(int resourceId, Gdiplus::ARGB from, Gdiplus::ARGB to)
{
    TintCache& cache = Cache();
    const auto key = std::make_tuple(resourceId, from, to);
    if (const auto found = cache.find(key); found != cache.end())
        return found->second;
    std::shared_ptr<Gdiplus::Bitmap> result;
    const Owners::Bitmap handle(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (handle)
    {
        Gdiplus::Bitmap source(handle.get(), nullptr);
        const UINT width = source.GetWidth();
        const UINT height = source.GetHeight();
        auto tinted = std::make_shared<Gdiplus::Bitmap>(static_cast<INT>(width), static_cast<INT>(height),
                                                        PixelFormat32bppARGB);
        // Every output channel is from + (to - from) x the source's red.
        const float r0 = Channel(from, 16), g0 = Channel(from, 8), b0 = Channel(from, 0);
        const float r1 = Channel(to, 16), g1 = Channel(to, 8), b1 = Channel(to, 0);
        Gdiplus::ColorMatrix matrix = {{{r1 - r0, g1 - g0, b1 - b0, 0, 0},
                                        {0, 0, 0, 0, 0},
                                        {0, 0, 0, 0, 0},
                                        {0, 0, 0, 1, 0},
                                        {r0, g0, b0, 0, 1}}};
        Gdiplus::ImageAttributes attributes;
        attributes.SetColorMatrix(&matrix);
        Gdiplus::Graphics graphics(tinted.get());
        graphics.DrawImage(&source, Gdiplus::Rect(0, 0, static_cast<INT>(width), static_cast<INT>(height)), 0, 0,
                           static_cast<INT>(width), static_cast<INT>(height), Gdiplus::UnitPixel, &attributes);
        result = std::move(tinted);
    }
    cache.emplace(key, result);
    return result;
}
