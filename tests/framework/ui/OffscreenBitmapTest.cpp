#include "framework/ui/OffscreenBitmap.h"

#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

namespace
{
// What GDI and GDI+ draw on the DC is what the bitmap holds, pixel for pixel.
TEST(OffscreenBitmap, BitmapHoldsWhatGdiAndGdiplusDrewOnItsDc)
{
    Screenshot::GdiplusSession gdiplus;
    const auto bitmap = UI::OffscreenBitmap::Create(61, 23); // rows of 183 bytes, padded to 184
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->GetWidth(), 61u);
    EXPECT_EQ(bitmap->GetHeight(), 23u);
    {
        Gdiplus::Graphics graphics(bitmap->DC());
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        Gdiplus::SolidBrush red(Gdiplus::Color(255, 200, 10, 20));
        graphics.FillRectangle(&red, 50, 0, 11, 23);
    }
    const RECT blue{0, 20, 10, 23};
    const HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(bitmap->DC(), &blue, brush);
    DeleteObject(brush);
    GdiFlush();
    auto at = [&](int x, int y) {
        Gdiplus::Color color;
        bitmap->GetPixel(x, y, &color);
        return std::make_tuple(color.GetR(), color.GetG(), color.GetB());
    };
    EXPECT_EQ(at(0, 0), std::make_tuple(255, 255, 255));
    EXPECT_EQ(at(60, 22), std::make_tuple(200, 10, 20));
    EXPECT_EQ(at(5, 21), std::make_tuple(0, 0, 255));
    EXPECT_EQ(at(5, 19), std::make_tuple(255, 255, 255));

    // Drawn onto another surface, it is opaque.
    Gdiplus::Bitmap target(61, 23, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&target);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        graphics.DrawImage(bitmap.get(), 0, 0, 61, 23);
    }
    Gdiplus::Color color;
    target.GetPixel(5, 21, &color);
    EXPECT_EQ(color.GetA(), 255);
    EXPECT_EQ(color.GetB(), 255);
}

TEST(OffscreenBitmap, EmptySizeStillGivesAPixel)
{
    Screenshot::GdiplusSession gdiplus;
    const auto bitmap = UI::OffscreenBitmap::Create(0, -5);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->GetWidth(), 1u);
    EXPECT_EQ(bitmap->GetHeight(), 1u);
}
} // namespace
