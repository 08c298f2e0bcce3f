#pragma once
// The settings page laid out for one paint, before anything is drawn: its texts and images with
// their boxes and colours, the title band, the hit areas over the rows and the size of the whole
// page, which the scroll bars and the band follow.

#include "calendar/HitArea.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

// What the option rows of kind HitOption stand for, by their item.
enum SettingsOption : int
{
    OptionCreatedDate = 0,
    OptionLastModifiedDate = 1,
    OptionSingleInstance = 2,
    OptionMondayWeek = 3,
    OptionShowPreviews = 4,
    OptionNotebookFilter = 5, // subItem 0 all notebooks, 1 the selected ones
    OptionLanguage = 6,       // subItem the language's place in the list
    OptionLightTheme = 8,
    OptionDarkTheme = 9,
};

// How a text takes its box.
enum class SettingsTextFit
{
    OneLine, // one line, the box as wide as the line or wider
    Wrapped, // broken into lines at the box's width, the box as high as the lines
    Trimmed, // one line, cut short with an ellipsis at the box's width
};

struct SettingsText
{
    std::wstring text;
    int font = 0;
    int color = 0;
    Gdiplus::RectF box{};
    SettingsTextFit fit = SettingsTextFit::Wrapped;
};

// A bitmap resource tinted from ink (its black) to paper (its white), its top left at the box's.
struct SettingsImage
{
    int bitmap = 0;
    Gdiplus::ARGB ink = 0;
    Gdiplus::ARGB paper = 0;
    Gdiplus::RectF box{};
};

struct SettingsPage
{
    // The title band across the top, as high as band, and its colour.
    float band = 0;
    int bandColor = 0;
    std::vector<SettingsText> texts;
    std::vector<SettingsImage> images;
    // Outlined in the accent colour: the swatch of the theme in use.
    std::vector<Gdiplus::RectF> outlines;
    // In the order a hit test walks them.
    std::vector<HitArea> areas;
    Gdiplus::Rect content{};
};

// The page in its full or first-run (language only) form, for the language, the settings, the
// notebooks and the hot area of now, measured in graphics.
SettingsPage LayOutSettingsPage(Gdiplus::Graphics& graphics, bool languageOnly);
// The same, measured as the view draws.
SettingsPage LayOutSettingsPage(bool languageOnly);
