#pragma once
// A picture from the program's resources or a bitmap; it takes no space without one.

#include "framework/Owners.h"
#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

namespace UI
{
class Image : public WindowsControl
{
public:
    explicit Image(HWND parent, int resourceId = 0);

    // 0 clears the picture; the image then takes no space.
    void SetImage(int resourceId, COLORREF background = GetSysColor(COLOR_BTNFACE), bool useBackground = true);
    void SetBitmap(COLORREF background, bool useBackground, Gdiplus::Bitmap& bitmap);
    Size GetDesiredSize() override { return {width, height}; }
    Size GetMinSize() override { return {width, height}; }

    Owners::Bitmap bitmapHandle;
};
} // namespace UI
