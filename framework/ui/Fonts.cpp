#include "framework/ui/Fonts.h"

#include "framework/ui/Dpi.h"

#include <cmath>

namespace
{
ULONG_PTR gdiplusToken = 0;
bool comStarted = false;

struct FontSpec
{
    const wchar_t* family;
    int style;
    float points;
    bool monospace;
};

constexpr FontSpec fontSpecs[] = {
    {L"Segoe UI", Gdiplus::FontStyleRegular, 9, false},
    {L"Segoe UI", Gdiplus::FontStyleBold, 9, false},
    {L"Segoe UI", Gdiplus::FontStyleUnderline, 9, false},
    {L"Segoe UI", Gdiplus::FontStyleRegular, 15, false},
    {L"Segoe UI", Gdiplus::FontStyleRegular, 12, false},
    {L"Marlett", Gdiplus::FontStyleRegular, 9, false},
    {L"Consolas", Gdiplus::FontStyleRegular, 10, true},
    {L"Consolas", Gdiplus::FontStyleBold, 10, true},
};

std::shared_ptr<Gdiplus::Font> TryFont(const Gdiplus::FontFamily& family, int style, float pixels)
{
    if (family.GetLastStatus() != Gdiplus::Ok || !family.IsStyleAvailable(style))
        return nullptr;
    auto font = std::make_shared<Gdiplus::Font>(&family, pixels, style, Gdiplus::UnitPixel);
    if (font->GetLastStatus() != Gdiplus::Ok || !font->IsAvailable())
        return nullptr;
    return font;
}
} // namespace

HFONT UiFontTable::Handle(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < handles.size() ? handles[index].get() : nullptr;
}

Gdiplus::Font* UiFontTable::Font(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < fonts.size() ? fonts[index].get() : nullptr;
}

UiFontTable& GetUiFontTable()
{
    static UiFontTable table;
    return table;
}

std::shared_ptr<Gdiplus::Font> CreateUiFont(const wchar_t* family, int style, float pixels, bool monospace)
{
    {
        const Gdiplus::FontFamily named(family);
        if (auto font = TryFont(named, style, pixels))
            return font;
    }
    const Gdiplus::FontFamily* generic =
        monospace ? Gdiplus::FontFamily::GenericMonospace() : Gdiplus::FontFamily::GenericSansSerif();
    if (generic)
    {
        if (auto font = TryFont(*generic, style, pixels))
            return font;
        if (auto font = TryFont(*generic, Gdiplus::FontStyleRegular, pixels))
            return font;
    }
    return nullptr;
}

void InitUiResources()
{
    comStarted = SUCCEEDED(CoInitialize(nullptr));
    if (!gdiplusToken)
    {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) != Gdiplus::Ok)
            gdiplusToken = 0;
    }

    UiFontTable& table = GetUiFontTable();
    table.fonts.clear();
    table.handles.clear();
    Owners::WindowDC screen(nullptr);
    Gdiplus::Graphics graphics(screen.get());
    for (const FontSpec& spec : fontSpecs)
    {
        const float pixels = std::trunc(GetDpiScaleY() * spec.points + 0.5f);
        auto font = CreateUiFont(spec.family, spec.style, pixels, spec.monospace);
        Owners::Font handle;
        LOGFONTW logFont{};
        if (font && font->GetLogFontW(&graphics, &logFont) == Gdiplus::Ok)
            handle.reset(CreateFontIndirectW(&logFont));
        table.fonts.push_back(std::move(font));
        table.handles.push_back(std::move(handle));
    }
}

void ReleaseUiResources()
{
    UiFontTable& table = GetUiFontTable();
    table.fonts.clear();
    table.handles.clear();
    if (gdiplusToken)
        Gdiplus::GdiplusShutdown(std::exchange(gdiplusToken, 0));
    if (std::exchange(comStarted, false))
        CoUninitialize();
}
