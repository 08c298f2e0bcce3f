#pragma once
// The fixed set of fonts that every window and control draws with, made once at start-up.

#include "framework/Owners.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

namespace UI
{
// Indices into the font table.
enum UiFont : int
{
    FontNormal = 0,    // "Segoe UI" 9 pt: every window and most controls
    FontBold = 1,      // "Segoe UI" 9 pt bold
    FontUnderline = 2, // "Segoe UI" 9 pt underlined
    FontLarge = 3,     // "Segoe UI" 15 pt
    FontMedium = 4,    // "Segoe UI" 12 pt
    FontGlyphs = 5,    // "Marlett" 9 pt: glyph buttons
    FontCode = 6,      // "Consolas" 10 pt
    FontCodeBold = 7,  // "Consolas" 10 pt bold
};
} // namespace UI

// The GDI+ fonts (sizes in pixels) and an HFONT for each, indexed alike.
struct UiFontTable
{
    std::vector<std::shared_ptr<Gdiplus::Font>> fonts;
    std::vector<Owners::Font> handles;

    // Null when the table has no such entry (before InitUiResources).
    HFONT Handle(int index) const;
    Gdiplus::Font* Font(int index) const;
};

UiFontTable& GetUiFontTable();

// Starts COM and GDI+ for this thread and makes the font table; called once at start.
void InitUiResources();
// Frees the fonts, shuts GDI+ down and balances InitUiResources' COM start; called once at exit.
void ReleaseUiResources();

// A font of family, style and size in pixels. When the family (or the style in it) is missing
// the system's generic sans-serif or monospace family stands in, so text always has a font.
std::shared_ptr<Gdiplus::Font> CreateUiFont(const wchar_t* family, int style, float pixels, bool monospace);
