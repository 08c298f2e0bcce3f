#include "framework/ui/Fonts.h"

#include "framework/ui/Dpi.h"

#include <cmath>
#include <vector>

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
    bool symbols = false;
};

constexpr FontSpec fontSpecs[] = {
    {L"Segoe UI", Gdiplus::FontStyleRegular, 9, false},
    {L"Segoe UI", Gdiplus::FontStyleBold, 9, false},
    {L"Segoe UI", Gdiplus::FontStyleUnderline, 9, false},
    {L"Segoe UI", Gdiplus::FontStyleRegular, 15, false},
    {L"Segoe UI", Gdiplus::FontStyleRegular, 12, false},
    {L"Marlett", Gdiplus::FontStyleRegular, 9, false, true},
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
    // The system's generic family of the kind, then the other kind.
    const Gdiplus::FontFamily* generics[] = {
        monospace ? Gdiplus::FontFamily::GenericMonospace() : Gdiplus::FontFamily::GenericSansSerif(),
        monospace ? Gdiplus::FontFamily::GenericSansSerif() : Gdiplus::FontFamily::GenericMonospace()};
    for (const Gdiplus::FontFamily* generic : generics)
        if (generic)
            for (int fallbackStyle : {style, static_cast<int>(Gdiplus::FontStyleRegular)})
                if (auto font = TryFont(*generic, fallbackStyle, pixels))
                    return font;
    // Then the family of the system's message font.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    {
        const Gdiplus::FontFamily message(metrics.lfMessageFont.lfFaceName);
        if (auto font = TryFont(message, style, pixels))
            return font;
    }
    // Last, any installed family: text is never drawn in no font at all.
    Gdiplus::InstalledFontCollection installed;
    const int count = installed.GetFamilyCount();
    if (count > 0)
    {
        std::vector<Gdiplus::FontFamily> families(static_cast<size_t>(count));
        int found = 0;
        installed.GetFamilies(count, families.data(), &found);
        for (int i = 0; i < found; ++i)
            for (int fallbackStyle : {style, static_cast<int>(Gdiplus::FontStyleRegular)})
                if (auto font = TryFont(families[static_cast<size_t>(i)], fallbackStyle, pixels))
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
        {
            // GDI finds a font of symbols by its name only when the LOGFONT names no character set
            // of text, and the one GDI+ gives may name one (Wine's does): the glyphs would come out
            // as the digits and letters that stand for them, in a text font. GDI+ then draws with
            // the font GDI found, which keeps the character set of the symbols.
            if (spec.symbols)
                logFont.lfCharSet = DEFAULT_CHARSET;
            handle.reset(CreateFontIndirectW(&logFont));
            if (spec.symbols && handle)
            {
                auto found = std::make_shared<Gdiplus::Font>(screen.get(), handle.get());
                if (found->GetLastStatus() == Gdiplus::Ok && found->IsAvailable())
                    font = std::move(found);
            }
        }
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
