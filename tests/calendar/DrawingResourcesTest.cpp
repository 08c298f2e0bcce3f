#include "calendar/DrawingResources.h"
#include "framework/ui/Theme.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

namespace
{
class DrawingResources : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CreateFonts();
        SetColorScheme(false);
    }
    static void TearDownTestSuite() { FreeDrawingResources(); }
};

TEST_F(DrawingResources, StoredFontSizeMapsToTheFirstTableEntryNotBelowIt)
{
    const std::pair<float, int> cases[] = {{12, 2},     {11, 2},  {10.6666f, 1}, {20, 5},   {0, 0},
                                           {-3, 0},     {18, 5},  {9.3333f, 0},  {14, 3},   {16.5f, 5}};
    for (const auto& [fontSize, index] : cases)
    {
        SCOPED_TRACE(fontSize);
        SetTextSizeFromFontSize(fontSize);
        EXPECT_EQ(GetTextSizeIndex(), index);
    }
}

TEST_F(DrawingResources, LargerAndSmallerStopAtTheEndsOfTheTable)
{
    SetTextSizeIndex(5);
    RecreateFonts();
    Gdiplus::Font* before = GetFont(FontPage);
    EXPECT_FALSE(LargerText());
    EXPECT_EQ(GetFont(FontPage), before) << "no font is rebuilt";
    EXPECT_TRUE(SmallerText());
    EXPECT_EQ(GetTextSize(), 16.0f);
    SetTextSizeIndex(0);
    EXPECT_FALSE(SmallerText());
    EXPECT_EQ(GetTextSize(), 9.3333f);
    SetTextSizeIndex(2);
    RecreateFonts();
}

TEST_F(DrawingResources, ColourTableInLightAndDarkAndBackAgain)
{
    const Gdiplus::ARGB light[] = {0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F, 0xFFEDEDED, 0xFF793474, 0xFFDFCCE4};
    const Gdiplus::ARGB dark[] = {0xFF121212, 0xFFCFCFCF, 0xFF7F7F7F, 0xFF242424, 0xFF8B86CB, 0xFF201B33};
    SetColorScheme(false);
    Gdiplus::SolidBrush* lightBrush = GetBrush(ColorAccent);
    for (int i = 0; i < CalendarColorCount; ++i)
        EXPECT_EQ(GetColor(i), light[i]) << i;
    SetColorScheme(true);
    for (int i = 0; i < CalendarColorCount; ++i)
        EXPECT_EQ(GetColor(i), dark[i]) << i;
    Gdiplus::Color brushColor;
    GetBrush(ColorAccent)->GetColor(&brushColor);
    EXPECT_EQ(brushColor.GetValue(), dark[ColorAccent]) << "the brush is made again from the new colour";
    Gdiplus::Color penColor;
    GetPen(ColorText)->GetColor(&penColor);
    EXPECT_EQ(penColor.GetValue(), dark[ColorText]);
    EXPECT_EQ(GetPen(ColorText)->GetWidth(), 1.0f);
    SetColorScheme(false);
    for (int i = 0; i < CalendarColorCount; ++i)
        EXPECT_EQ(GetColor(i), light[i]) << i;
    (void)lightBrush;
}

TEST_F(DrawingResources, FontsHaveTheirSizesInUnitsOfTheScreen)
{
    SetTextSizeIndex(2);
    RecreateFonts();
    const float scale = GetDpiScale() * 0.75f; // pixels per unit
    const std::pair<int, float> sizes[] = {{FontPage, 12},        {FontUnreadPage, 12}, {FontHighlight, 14},
                                           {FontDayName, 14},     {FontHotPage, 12},    {FontHotUnreadPage, 12},
                                           {FontPreview, 12},     {FontSmallNumber, 10.6666f},
                                           {FontHeading, 24},     {FontTitle, 32}};
    for (const auto& [index, units] : sizes)
    {
        SCOPED_TRACE(index);
        ASSERT_NE(GetFont(index), nullptr);
        EXPECT_EQ(GetFont(index)->GetLastStatus(), Gdiplus::Ok);
        EXPECT_NEAR(GetFont(index)->GetSize(), units * scale, 0.01);
        EXPECT_EQ(GetFont(index)->GetUnit(), Gdiplus::UnitPixel);
    }
    EXPECT_EQ(GetFont(FontUnreadPage)->GetStyle(), Gdiplus::FontStyleBold);
    EXPECT_EQ(GetFont(FontHotPage)->GetStyle(), Gdiplus::FontStyleUnderline);
    EXPECT_EQ(GetFont(FontHotUnreadPage)->GetStyle(), Gdiplus::FontStyleBold | Gdiplus::FontStyleUnderline);
    EXPECT_NE(GetSearchBoxFont(), nullptr);
    EXPECT_GT(GetLineHeight(FontTitle), GetLineHeight(FontDayName));
}

TEST_F(DrawingResources, LargerTextMeasuresLinesAndLineHeightsAnew)
{
    SetTextSizeIndex(1);
    RecreateFonts();
    const float height = GetLineHeight(FontPage);
    const Gdiplus::SizeF line = MeasureLine(FontPage, L"Quarterly budget review");
    EXPECT_GT(line.Width, 0);
    EXPECT_EQ(MeasureLine(FontPage, L"Quarterly budget review").Width, line.Width);
    EXPECT_GT(MeasureLine(FontUnreadPage, L"Quarterly budget review").Width, line.Width); // bold
    LOGFONTW gdi{};
    ASSERT_EQ(GetObjectW(GetGdiFont(FontHotPage), sizeof gdi, &gdi), static_cast<int>(sizeof gdi));
    EXPECT_TRUE(gdi.lfUnderline);

    ASSERT_TRUE(LargerText());
    EXPECT_GT(GetLineHeight(FontPage), height);
    EXPECT_GT(MeasureLine(FontPage, L"Quarterly budget review").Width, line.Width);
    EXPECT_GT(MeasureLine(FontPage, L"Quarterly budget review").Height, line.Height);
    SetTextSizeIndex(2);
    RecreateFonts();
}

TEST_F(DrawingResources, ImageIsRenderedOnPaperThatStaysLightInTheDarkTheme)
{
    Gdiplus::Bitmap source(40, 40, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&source);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
        graphics.FillRectangle(&red, 20, 0, 20, 40);
    }
    for (const bool dark : {false, true})
    {
        SCOPED_TRACE(dark);
        SetThemeMode(dark ? 1 : 0);
        SetColorScheme(dark);
        std::unique_ptr<Gdiplus::Bitmap> rendered =
            RenderImageToBitmap(source, Gdiplus::RectF(0, 0, 40, 40), 80.5f, 60.9f);
        ASSERT_NE(rendered, nullptr);
        EXPECT_EQ(rendered->GetWidth(), 80u);
        EXPECT_EQ(rendered->GetHeight(), 60u);
        Gdiplus::Color paper;
        Gdiplus::Color ink;
        rendered->GetPixel(5, 30, &paper);
        rendered->GetPixel(70, 30, &ink);
        EXPECT_EQ(paper.GetValue() & 0xFFFFFF, (dark ? 0xCFCFCFu : 0xFFFFFFu));
        EXPECT_EQ(ink.GetValue() & 0xFFFFFF, 0xFF0000u);
    }
    SetThemeMode(std::nullopt);
    SetColorScheme(false);
}

TEST_F(DrawingResources, PictureOfTheTablesInLightAndDark)
{
    // A sheet of every font and colour, drawn off-screen as the views draw, saved for review.
    Screenshot::GdiplusSession session;
    for (const bool dark : {false, true})
    {
        SetColorScheme(dark);
        const INT width = static_cast<INT>(UnitsToPixels(420));
        const INT height = static_cast<INT>(UnitsToPixels(420));
        Gdiplus::Bitmap sheet(width, height, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(&sheet);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        graphics.Clear(Gdiplus::Color(GetColor(ColorBackground)));
        float y = UnitsToPixels(5);
        for (int font = 0; font < CalendarFontCount; ++font)
        {
            const std::wstring text = L"Font " + std::to_wstring(font) + L" Дек 十二月";
            graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), GetFont(font),
                                Gdiplus::PointF(UnitsToPixels(5), y), GetBrush(font % 2 ? ColorAccent : ColorText));
            y += GetLineHeight(font);
        }
        for (int color = 0; color < CalendarColorCount; ++color)
        {
            const float x = UnitsToPixels(5 + 60.0f * static_cast<float>(color));
            graphics.FillRectangle(GetBrush(color), x, y + UnitsToPixels(5), UnitsToPixels(50), UnitsToPixels(30));
            graphics.DrawRectangle(GetPen(ColorDimmed), x, y + UnitsToPixels(5), UnitsToPixels(50), UnitsToPixels(30));
        }
        Screenshot::Capture capture;
        capture.width = width;
        capture.height = height;
        Gdiplus::BitmapData data{};
        Gdiplus::Rect all(0, 0, width, height);
        ASSERT_EQ(sheet.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data), Gdiplus::Ok);
        for (INT row = 0; row < height; ++row)
        {
            const auto* line = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(data.Scan0) + row * data.Stride);
            capture.pixels.insert(capture.pixels.end(), line, line + width);
        }
        sheet.UnlockBits(&data);
        for (DWORD& pixel : capture.pixels)
            pixel &= 0xFFFFFF;
        EXPECT_EQ(capture.At(1, 1), dark ? RGB(0x12, 0x12, 0x12) : RGB(0xFF, 0xFF, 0xFF));
        Screenshot::Save(capture, dark ? L"dark" : L"light");
    }
    SetColorScheme(false);
}
} // namespace
