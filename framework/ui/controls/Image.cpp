// A picture from the program's resources or a bitmap, scaled to the display.
#include "framework/ui/controls/Image.h"

#include "framework/ui/ScaledBitmap.h"

namespace UI
{
Image::Image(HWND parent, int resourceId)
    : WindowsControl(parent, 0, 0, L"Static", nullptr, WS_CHILD | WS_CLIPCHILDREN | SS_NOPREFIX | SS_BITMAP, 0)
{
    if (resourceId)
        SetImage(resourceId);
}

void Image::SetImage(int resourceId, COLORREF background, bool useBackground)
{
    if (resourceId)
    {
        if (const std::unique_ptr<Gdiplus::Bitmap> bitmap = LoadFileResourceBitmap(resourceId))
            SetBitmap(background, useBackground, *bitmap);
        return;
    }
    SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, 0);
    bitmapHandle.reset();
    width = height = 0;
}

void Image::SetBitmap(COLORREF background, bool useBackground, Gdiplus::Bitmap& bitmap)
{
    const SIZE size = GetImageSize(bitmap, true);
    width = size.cx;
    height = size.cy;
    Owners::Bitmap handle(CreateScaledHBitmap(bitmap, size, background, useBackground));
    SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(handle.get()));
    bitmapHandle = std::move(handle);
}
} // namespace UI
