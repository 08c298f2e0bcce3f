#include "calendar/DrawingResources.h"

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/PagePreview.h"
#include "calendar/TintedBitmaps.h"
#include "framework/Owners.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"

#include <algorithm>
#include <cfloat>
#include <map>
#include <string>
#include <unordered_map>

namespace
{
struct Resources
{
    int textSize = 2;
    std::unique_ptr<Gdiplus::FontFamily> family;
    std::array<std::shared_ptr<Gdiplus::Font>, CalendarFontCount> fonts;
    std::array<Gdiplus::ARGB, CalendarColorCount> colors{};
    std::array<std::shared_ptr<Gdiplus::SolidBrush>, CalendarColorCount> brushes;
    std::array<std::shared_ptr<Gdiplus::Pen>, CalendarColorCount> pens;
    std::map<int, float> lineHeights;
    // Sizes of texts on one line per font: every repaint (each hover is one) measures the same
    // titles again, and measuring costs nearly as much as drawing.
    std::array<std::unordered_map<std::wstring, Gdiplus::SizeF>, CalendarFontCount> lineSizes;
    // Where each character of such a text ends, for the lines drawn glyph by glyph.
    std::array<std::unordered_map<std::wstring, std::vector<int>>, CalendarFontCount> lineEnds;
    std::array<Owners::Font, CalendarFontCount> gdiFonts;
    Owners::Font searchBoxFont;
};

Resources& Get()
{
    static Resources resources;
    return resources;
}

constexpr std::array<Gdiplus::ARGB, CalendarColorCount> LightColors = {0xFFFFFFFF, 0xFF000000, 0xFF7F7F7F,
                                                                       0xFFEDEDED, 0xFF793474, 0xFFDFCCE4};
constexpr std::array<Gdiplus::ARGB, CalendarColorCount> DarkColors = {0xFF121212, 0xFFCFCFCF, 0xFF7F7F7F,
                                                                      0xFF242424, 0xFF8B86CB, 0xFF201B33};

const wchar_t* const SegoeUi = L"Segoe UI";

std::shared_ptr<Gdiplus::Font> MakeFont(const Gdiplus::FontFamily* family, const wchar_t* familyName, float units,
                                        int style)
{
    const float pixels = UnitsToPixels(units);
    if (family && family->GetLastStatus() == Gdiplus::Ok)
    {
        auto font = std::make_shared<Gdiplus::Font>(family, pixels, style, Gdiplus::UnitPixel);
        if (font->GetLastStatus() == Gdiplus::Ok)
            return font;
    }
    // A family or style the system lacks: the framework's own fallbacks.
    return CreateUiFont(familyName, style, pixels, false);
}
} // namespace

float GetDpiScale()
{
    static const float scale = [] {
        Owners::WindowDC screen(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
        return static_cast<float>(dpi) / 72.0f;
    }();
    return scale;
}

float UnitsToPixels(float units) { return units * GetDpiScale() * 3 * 0.25f; }

int GetTextSizeIndex() { return Get().textSize; }
float GetTextSize() { return TextSizes[static_cast<size_t>(Get().textSize)]; }

void SetTextSizeFromFontSize(float fontSize)
{
    const auto found = std::lower_bound(TextSizes.begin(), TextSizes.end(), fontSize - FLT_EPSILON);
    Get().textSize = found == TextSizes.end() ? static_cast<int>(TextSizes.size()) - 1
                                              : static_cast<int>(found - TextSizes.begin());
}

void SetTextSizeIndex(int index) { Get().textSize = std::clamp(index, 0, static_cast<int>(TextSizes.size()) - 1); }

bool LargerText()
{
    if (Get().textSize + 1 >= static_cast<int>(TextSizes.size()))
        return false;
    ++Get().textSize;
    RecreateFonts();
    RequestRepaint();
    return true;
}

bool SmallerText()
{
    if (Get().textSize == 0)
        return false;
    --Get().textSize;
    RecreateFonts();
    RequestRepaint();
    return true;
}

void CreateFonts()
{
    InitUiResources();
    Resources& r = Get();
    r.family = std::make_unique<Gdiplus::FontFamily>(SegoeUi);
    r.fonts[FontSmallNumber] = MakeFont(r.family.get(), SegoeUi, 10.6666f, Gdiplus::FontStyleRegular);
    r.fonts[FontPreview] = MakeFont(r.family.get(), SegoeUi, 12, Gdiplus::FontStyleRegular);
    r.fonts[FontDayName] = MakeFont(r.family.get(), SegoeUi, 14, Gdiplus::FontStyleRegular);
    r.fonts[FontHighlight] = MakeFont(r.family.get(), SegoeUi, 14, Gdiplus::FontStyleBold);
    RecreateFonts();
    {
        Gdiplus::FontFamily light(L"Segoe UI Light");
        const bool haveLight = light.GetLastStatus() == Gdiplus::Ok;
        const Gdiplus::FontFamily* headings = haveLight ? &light : r.family.get();
        r.fonts[FontHeading] = MakeFont(headings, SegoeUi, 24, Gdiplus::FontStyleRegular);
        r.fonts[FontTitle] = MakeFont(headings, SegoeUi, 32, Gdiplus::FontStyleRegular);
    }
    Owners::WindowDC screen(nullptr);
    Gdiplus::Graphics graphics(screen.get());
    const std::shared_ptr<Gdiplus::Font> searchFont = MakeFont(r.family.get(), SegoeUi, 12, Gdiplus::FontStyleRegular);
    LOGFONTW logFont{};
    if (searchFont && searchFont->GetLogFontW(&graphics, &logFont) == Gdiplus::Ok)
        r.searchBoxFont.reset(CreateFontIndirectW(&logFont));
}

void RecreateFonts()
{
    Resources& r = Get();
    // The page fonts change size: what was measured in them and made from them is stale.
    r.lineHeights.clear();
    for (auto& sizes : r.lineSizes)
        sizes.clear();
    for (auto& ends : r.lineEnds)
        ends.clear();
    for (auto& font : r.gdiFonts)
        font.reset();
    const float size = GetTextSize();
    r.fonts[FontPage] = MakeFont(r.family.get(), SegoeUi, size, Gdiplus::FontStyleRegular);
    r.fonts[FontUnreadPage] = MakeFont(r.family.get(), SegoeUi, size, Gdiplus::FontStyleBold);
    r.fonts[FontHotPage] = MakeFont(r.family.get(), SegoeUi, size, Gdiplus::FontStyleUnderline);
    r.fonts[FontHotUnreadPage] = MakeFont(r.family.get(), SegoeUi, size, Gdiplus::FontStyleBold | Gdiplus::FontStyleUnderline);
}

Gdiplus::Font* GetFont(int index) { return Get().fonts.at(static_cast<size_t>(index)).get(); }

HFONT GetSearchBoxFont() { return Get().searchBoxFont.get(); }

float GetLineHeight(int index)
{
    float& height = Get().lineHeights[index];
    if (height == 0)
    {
        Gdiplus::Font* font = GetFont(index);
        if (!font)
            return 0;
        Gdiplus::Graphics graphics(GetDesktopWindow(), FALSE);
        Gdiplus::RectF box;
        graphics.MeasureString(L"Test", 4, font, Gdiplus::PointF(0, 0), &box);
        height = box.Height;
    }
    return height;
}

HFONT GetGdiFont(int index)
{
    Owners::Font& font = Get().gdiFonts.at(static_cast<size_t>(index));
    if (!font)
    {
        Gdiplus::Font* source = GetFont(index);
        if (!source)
            return nullptr;
        Gdiplus::Graphics graphics(GetDesktopWindow(), FALSE);
        LOGFONTW logFont{};
        if (source->GetLogFontW(&graphics, &logFont) != Gdiplus::Ok)
            return nullptr;
        logFont.lfQuality = CLEARTYPE_QUALITY;
        font.reset(CreateFontIndirectW(&logFont));
    }
    return font.get();
}

Gdiplus::SizeF MeasureLine(int font, const std::wstring& text)
{
    // Bounded, as a long session passes many thousands of titles.
    constexpr size_t MaxRemembered = 20000;
    auto& sizes = Get().lineSizes.at(static_cast<size_t>(font));
    if (const auto found = sizes.find(text); found != sizes.end())
        return found->second;
    if (sizes.size() >= MaxRemembered)
        sizes.clear();
    const Owners::MemoryDC dc(CreateCompatibleDC(nullptr));
    const Owners::SelectedObject selected(dc.get(), GetGdiFont(font));
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const Gdiplus::SizeF size(static_cast<float>(extent.cx), static_cast<float>(extent.cy));
    sizes.emplace(text, size);
    return size;
}

std::vector<int> MeasureLineEnds(int font, const std::wstring& text)
{
    // Bounded as the sizes are.
    constexpr size_t MaxRemembered = 20000;
    auto& ends = Get().lineEnds.at(static_cast<size_t>(font));
    if (const auto found = ends.find(text); found != ends.end())
        return found->second;
    if (ends.size() >= MaxRemembered)
        ends.clear();
    std::vector<int> measured(text.size());
    if (!text.empty())
    {
        const Owners::MemoryDC dc(CreateCompatibleDC(nullptr));
        const Owners::SelectedObject selected(dc.get(), GetGdiFont(font));
        SIZE extent{};
        GetTextExtentExPointW(dc.get(), text.c_str(), static_cast<int>(text.size()), 0, nullptr, measured.data(),
                              &extent);
    }
    return ends.emplace(text, std::move(measured)).first->second;
}

Gdiplus::ARGB GetColor(int index) { return Get().colors.at(static_cast<size_t>(index)); }

Gdiplus::SolidBrush* GetBrush(int index)
{
    std::shared_ptr<Gdiplus::SolidBrush>& brush = Get().brushes.at(static_cast<size_t>(index));
    if (!brush)
        brush = std::make_shared<Gdiplus::SolidBrush>(Gdiplus::Color(GetColor(index)));
    return brush.get();
}

Gdiplus::Pen* GetPen(int index)
{
    std::shared_ptr<Gdiplus::Pen>& pen = Get().pens.at(static_cast<size_t>(index));
    if (!pen)
        pen = std::make_shared<Gdiplus::Pen>(Gdiplus::Color(GetColor(index)), 1.0f);
    return pen.get();
}

void SetColorScheme(bool dark)
{
    Resources& r = Get();
    r.colors = dark ? DarkColors : LightColors;
    r.pens = {};
    r.brushes = {};
}

void SetDarkMode(bool dark)
{
    SetThemeMode(dark ? UI::ThemeDark : UI::ThemeLight);
    GetCalendarSettings().darkMode = dark;
    SetColorScheme(dark);
    RequestRepaint();
    if (HWND searchBox = GetCalendarState().searchBox)
        InvalidateRect(searchBox, nullptr, TRUE);
}

std::unique_ptr<Gdiplus::Bitmap> RenderImageToBitmap(Gdiplus::Image& image, const Gdiplus::RectF& source, float width,
                                                     float height)
{
    const int pixelsWide = static_cast<int>(width);
    const int pixelsHigh = static_cast<int>(height);
    Owners::WindowDC screen(nullptr);
    Owners::MemoryDC memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixelsWide;
    info.bmiHeader.biHeight = pixelsHigh; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biXPelsPerMeter = 10000;
    info.bmiHeader.biYPelsPerMeter = 10000;
    void* bits = nullptr;
    Owners::Bitmap section(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !section)
        return nullptr;
    {
        Owners::SelectedObject selected(memory.get(), section.get());
        Gdiplus::Graphics graphics(memory.get());
        graphics.Clear(Gdiplus::Color(GetColor(IsDarkMode() ? ColorText : ColorBackground)));
        graphics.DrawImage(&image, Gdiplus::RectF(0, 0, width, height), source.X, source.Y, source.Width,
                           source.Height, Gdiplus::UnitPixel);
    }
    return std::unique_ptr<Gdiplus::Bitmap>(Gdiplus::Bitmap::FromHBITMAP(section.get(), nullptr));
}

void FreeDrawingResources()
{
    FreeTintedBitmaps();
    GetPagePreview().bitmap.reset();
    Resources& r = Get();
    r.family.reset();
    r.fonts = {};
    r.colors = {};
    r.pens = {};
    r.brushes = {};
    r.lineHeights.clear();
    for (auto& sizes : r.lineSizes)
        sizes.clear();
    for (auto& ends : r.lineEnds)
        ends.clear();
    for (auto& font : r.gdiFonts)
        font.reset();
    r.searchBoxFont.reset();
    ReleaseUiResources();
}
