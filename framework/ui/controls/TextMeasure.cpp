// Measuring text in the fonts of the user interface, for controls that size themselves to it.
#include "framework/ui/controls/TextMeasure.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/WindowHelpers.h"

namespace UI
{
int MeasureTextWidth(Gdiplus::Graphics& graphics, const std::wstring& text, int fontIndex)
{
    Gdiplus::Font* font = GetUiFontTable().Font(fontIndex);
    if (!font)
        return 0;
    const float side = 10000.0f * 0.75f * GetDpiScaleX();
    Gdiplus::RectF bounds;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), font, Gdiplus::RectF(0, 0, side, side),
                           nullptr, &bounds);
    return static_cast<int>(bounds.Width);
}

int MeasureWindowTextWidth(Gdiplus::Graphics& graphics, HWND window, int fontIndex)
{
    const std::wstring text = GetDisplayText(window);
    return text.empty() ? 0 : MeasureTextWidth(graphics, text, fontIndex);
}

int MeasureTextHeight(Gdiplus::Graphics& graphics, const std::wstring& text, int width, int fontIndex)
{
    Gdiplus::Font* font = GetUiFontTable().Font(fontIndex);
    if (!font)
        return 0;
    Gdiplus::RectF bounds;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), font,
                           Gdiplus::RectF(0, 0, static_cast<float>(width), 10000.0f), nullptr, &bounds);
    return static_cast<int>(bounds.Height + 0.5f);
}

int MeasureWindowTextHeight(Gdiplus::Graphics& graphics, HWND window, int width, int fontIndex)
{
    const std::wstring text = GetDisplayText(window);
    return MeasureTextHeight(graphics, text.empty() ? L" " : text, width, fontIndex);
}

std::wstring CompactPathToWidth(Gdiplus::Graphics& graphics, const std::wstring& path, int width, int fontIndex)
{
    const auto fits = [&](const std::wstring& text) { return MeasureTextWidth(graphics, text, fontIndex) <= width; };
    const size_t separator = path.find_last_of(L"\\/");
    if (fits(path) || separator == std::wstring::npos)
        return path;
    const std::wstring name = path.substr(separator);
    // The longest start of the folder that still fits before "..." and the name.
    size_t kept = 0;
    for (size_t tooLong = separator + 1; kept + 1 < tooLong;)
    {
        const size_t tried = (kept + tooLong) / 2;
        if (fits(path.substr(0, tried) + L"..." + name))
            kept = tried;
        else
            tooLong = tried;
    }
    return path.substr(0, kept) + L"..." + name;
}
} // namespace UI
