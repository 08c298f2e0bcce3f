#include "calendar/SettingsPage.h"

#include "calendar/CalendarSettings.h"
#include "calendar/DrawingResources.h"
#include "calendar/NotebookList.h"
#include "calendar/TintedBitmaps.h"
#include "calendar/UiLanguages.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <memory>

namespace
{
int Points(float points) { return static_cast<int>(points * GetDpiScale() + 0.5f); }

// The page's three layout lengths, in pixels.
float ColumnWidth() { return Units(350); }
float CheckIndent() { return Units(20); }
float Gap() { return Units(5); }

enum SettingsString : int
{
    StrCreatedDate = 33,
    StrExtraLarge = 34,
    StrFontSize = 35,
    StrLarge = 36,
    StrLarger = 37,
    StrMedium = 38,
    StrSizeShortcuts = 39,
    StrSmall = 40,
    StrVerySmall = 41,
    StrLastModifiedDate = 43,
    StrAllNotebooks = 44,
    StrNotebooks = 45,
    StrSelectedNotebooks = 46,
    StrOther = 47,
    StrSingleInstance = 49,
    StrShowPreviews = 50,
    StrShowPagesOn = 51,
    StrMondayWeek = 54,
};

// The text sizes' labels, smallest first.
constexpr int TextSizeLabels[] = {StrVerySmall, StrSmall, StrMedium, StrLarge, StrLarger, StrExtraLarge};

// The images' sizes where the program has no bitmap to tell: a check box is 20 pixels square, the
// back arrow 16, a theme's swatch 40 units.
constexpr float CheckBoxSide = 20;
constexpr float BackArrowSide = 16;

int NotebookCount()
{
    const std::shared_ptr<const NotebookList> list = GetNotebookList();
    return list ? static_cast<int>(list->Count()) : 0;
}

// The page's least size: wide enough for both columns, high enough for the longer of them, with
// texts that take one line each.
Gdiplus::Rect LeastContentSize(bool languageOnly)
{
    const float gap = Gap();
    const float row = GetLineHeight(FontDayName) + gap;
    const int languages = static_cast<int>(GetLanguages().size());
    const float title = GetLineHeight(FontTitle);
    const float heading = GetLineHeight(FontHeading);
    const float base = languageOnly ? -gap : ColumnWidth() + CheckIndent();
    const float width = base + static_cast<float>(Points(22.5f) + Points(18.75f) + Points(112.5f) + Points(7.5f) +
                                                  Points(112.5f));
    const float space = static_cast<float>(Points(11.25f));
    float rest = 0;
    if (languageOnly)
        rest = static_cast<float>((languages + 1) / 2 + 1) * row + 2 * space - gap;
    else
    {
        const int notebooks = NotebookCount();
        const float languageColumn =
            static_cast<float>((notebooks + 1) / 2 + 2 + (languages + 1) / 2) * row + space + gap + heading;
        const float leftColumn = 2 * space + 11 * row + 3 * gap + 4 * heading + static_cast<float>(Points(30));
        rest = std::max(languageColumn, leftColumn);
    }
    const float height = title + 4 * gap + heading + rest;
    return Gdiplus::Rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
}

// One layout pass of the page: places every text, image and hit area in drawing order.
class SettingsLayout
{
public:
    SettingsLayout(Gdiplus::Graphics& graphics, bool languageOnly)
        : graphics(graphics), languageOnly(languageOnly), dark(GetCalendarSettings().darkMode)
    {
    }

    SettingsPage LayOut()
    {
        LayOutTitleBand();
        const float firstY = page.band + Units(10);
        const std::wstring& first = GetUiString(languageOnly ? static_cast<int>(StrPickLanguage) : StrFontSize);
        const Room firstRoom = Fit(first, FontHeading, Units(24), firstY, 0, ColumnWidth(), 0);
        heading = firstRoom.box;
        headingLine = OneLine(first, FontHeading).Height;
        AddText(first, FontHeading, firstRoom, ColorAccent);
        row = OneLine(GetUiString(StrSizeShortcuts), FontDayName);
        row.X = Units(49);
        row.Y = heading.Y + heading.Height + Gap();
        if (languageOnly)
        {
            const float y = LayOutLanguageRows(row.X, row.Y);
            LayOutContinue(row.X, y);
        }
        else
        {
            LayOutBack();
            LayOutLeftColumn();
            LayOutRightColumn();
        }
        // The least size grows to hold every text and image.
        const Gdiplus::Rect least = LeastContentSize(languageOnly);
        for (const SettingsImage& image : page.images)
            bottom = std::max(bottom, image.box.Y + image.box.Height);
        page.content = Gdiplus::Rect(0, 0, std::max(least.Width, static_cast<INT>(std::ceil(right))),
                                     std::max(least.Height, static_cast<INT>(std::ceil(bottom))));
        return std::move(page);
    }

private:
    // Where a text goes and how it takes that box, and how far its lines reach.
    struct Room
    {
        Gdiplus::RectF box;
        SettingsTextFit fit = SettingsTextFit::OneLine;
        float lineWidth = 0;
    };

    // The size of the text on one line.
    Gdiplus::RectF OneLine(const std::wstring& text, int font)
    {
        const Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
        Gdiplus::RectF box;
        graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), GetFont(font), Gdiplus::RectF(0, 0, 0, 0),
                               &format, &box);
        return box;
    }

    // A text at (x, y) with the room it needs: one line as wide as the line, or minWidth where that
    // is more, when the line fits in maxWidth; else broken into lines at maxWidth and as high as
    // they are. At least minHeight high either way. A row drawn bold once chosen is measured in the
    // bold font, so that choosing it moves nothing.
    Room Fit(const std::wstring& text, int font, float x, float y, float minWidth, float maxWidth, float minHeight)
    {
        const Gdiplus::RectF line = OneLine(text, font);
        if (line.Width <= maxWidth)
            return Room{Gdiplus::RectF(x, y, std::max(minWidth, line.Width), std::max(minHeight, line.Height)),
                        SettingsTextFit::OneLine, line.Width};
        Gdiplus::StringFormat format;
        Gdiplus::RectF lines;
        graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), GetFont(font),
                               Gdiplus::RectF(x, y, maxWidth, 0), &format, &lines);
        return Room{Gdiplus::RectF(x, y, maxWidth, std::max(minHeight, lines.Height)), SettingsTextFit::Wrapped,
                    lines.Width};
    }

    void AddText(const std::wstring& text, int font, const Room& room, int color)
    {
        page.texts.push_back(SettingsText{.text = text, .font = font, .color = color, .box = room.box, .fit = room.fit});
        right = std::max(right, room.box.X + room.lineWidth);
        bottom = std::max(bottom, room.box.Y + room.box.Height);
    }

    // A text cut short with an ellipsis where it is wider than its box: a notebook's name.
    void AddTrimmedText(const std::wstring& text, int font, const Gdiplus::RectF& box, int color)
    {
        page.texts.push_back(
            SettingsText{.text = text, .font = font, .color = color, .box = box, .fit = SettingsTextFit::Trimmed});
        right = std::max(right, box.X + box.Width);
        bottom = std::max(bottom, box.Y + box.Height);
    }

    // An image at (x, y), truncated, of the bitmap's size where the program has it.
    void AddImage(int bitmap, Gdiplus::ARGB ink, Gdiplus::ARGB paper, float x, float y, float side)
    {
        Gdiplus::RectF box(static_cast<float>(static_cast<INT>(x)), static_cast<float>(static_cast<INT>(y)), side,
                           side);
        if (const auto image = GetTintedBitmap(bitmap, ink, paper))
        {
            box.Width = static_cast<float>(image->GetWidth());
            box.Height = static_cast<float>(image->GetHeight());
        }
        page.images.push_back(SettingsImage{.bitmap = bitmap, .ink = ink, .paper = paper, .box = box});
    }

    bool IsHot(const HitArea& area) const { return area.IsSame(GetHotArea()); }

    const HitArea& Add(HitArea area)
    {
        page.areas.push_back(std::move(area));
        return page.areas.back();
    }

    int BandColor() const { return dark ? ColorOtherMonth : ColorAccent; }

    // The title on one line, however long, in a band a gap higher above and below it.
    void LayOutTitleBand()
    {
        const std::wstring& title = GetUiString(languageOnly ? StrLanguage : StrSettings);
        Room room = Fit(title, FontTitle, Units(24), Units(5), 0, FLT_MAX, 0);
        room.box.Y -= Gap();
        room.box.Height += 2 * Gap();
        page.band = room.box.Height;
        page.bandColor = BandColor();
        AddText(title, FontTitle, room, dark ? ColorText : ColorBackground);
    }

    void LayOutBack()
    {
        const HitArea& back =
            Add(HitArea{.rect = {Units(7), (page.band - Units(16)) / 2, Units(16), Units(16)},
                        .tooltip = GetUiString(StrBack),
                        .kind = HitLeave});
        const int ink = IsHot(back) ? (dark ? ColorAccent : ColorBand) : (dark ? ColorText : ColorBackground);
        AddImage(BitmapBack, GetColor(ink), GetColor(BandColor()), back.rect.X, back.rect.Y, BackArrowSide);
    }

    // A heading of a column at y, the column wide; returns the y of the first row beneath it.
    float LayOutHeading(int text, float x, float y)
    {
        const Room room = Fit(GetUiString(text), FontHeading, x, y, ColumnWidth(), ColumnWidth(), headingLine);
        AddText(GetUiString(text), FontHeading, room, ColorAccent);
        return room.box.Y + room.box.Height + Gap();
    }

    // A row of the option's check box and text, the column wide; returns how much higher than one
    // row it is.
    float LayOutCheckRow(int text, int option, bool checked, float y)
    {
        const Room room = Fit(GetUiString(text), FontHighlight, row.X, y, ColumnWidth(), ColumnWidth(), row.Height);
        const Gdiplus::RectF& box = room.box;
        const HitArea& area = Add(HitArea{.rect = {box.X - CheckIndent(), y, box.Width + CheckIndent(), box.Height},
                                          .item = option,
                                          .kind = HitOption});
        const bool hot = IsHot(area);
        AddText(GetUiString(text), checked ? FontHighlight : FontDayName, room, checked || hot ? ColorAccent : ColorText);
        AddCheckBox(checked, hot, box.X - CheckIndent(), y);
        return box.Height - row.Height;
    }

    void AddCheckBox(bool checked, bool hot, float x, float y)
    {
        const int ink = checked || hot ? ColorAccent : ColorDimmed;
        AddImage(checked ? BitmapCheckBoxChecked : BitmapCheckBox, GetColor(ink), GetColor(ColorBackground), x, y,
                 CheckBoxSide);
    }

    void LayOutLeftColumn()
    {
        const CalendarSettings& settings = GetCalendarSettings();
        const float pitch = row.Height + Gap();
        AddText(GetUiString(StrSizeShortcuts), FontDayName,
                Room{Gdiplus::RectF(heading.X + heading.Width + Gap(), heading.Y + static_cast<float>(Points(3)),
                                    row.Width, heading.Height),
                     SettingsTextFit::OneLine, row.Width},
                ColorDimmed);

        float y = row.Y;
        for (int size = 0; size < static_cast<int>(std::size(TextSizeLabels)); ++size)
        {
            const std::wstring& label = GetUiString(TextSizeLabels[size]);
            const Room room = Fit(label, FontHighlight, row.X, y, row.Width, ColumnWidth(), row.Height);
            const HitArea& area = Add(HitArea{.rect = room.box, .item = size, .kind = HitTextSize});
            const bool selected = size == GetTextSizeIndex();
            AddText(label, selected ? FontHighlight : FontDayName, room,
                    selected || IsHot(area) ? ColorAccent : ColorText);
            y += pitch + room.box.Height - row.Height;
        }

        y = LayOutHeading(StrShowPagesOn, Units(24), y + static_cast<float>(Points(11.25f)));
        y += pitch + LayOutCheckRow(StrCreatedDate, OptionCreatedDate, settings.showPagesOnCreatedDate, y);
        y += pitch + LayOutCheckRow(StrLastModifiedDate, OptionLastModifiedDate, settings.showPagesOnLMT, y);

        y = LayOutHeading(StrTheme, Units(24), y + static_cast<float>(Points(11.25f)));
        const float swatchTop = y;
        LayOutSwatch(OptionLightTheme, BitmapLightTheme, row.X - CheckIndent(), swatchTop, !dark);
        LayOutSwatch(OptionDarkTheme, BitmapDarkTheme, row.X - CheckIndent() + Units(50), swatchTop, dark);

        y = LayOutHeading(StrOther, Units(24), swatchTop + static_cast<float>(Points(45)));
        const float step = static_cast<float>(Points(18.75f));
        y += step + LayOutCheckRow(StrSingleInstance, OptionSingleInstance, settings.singleInstance, y);
        y += step + LayOutCheckRow(StrMondayWeek, OptionMondayWeek, settings.mondayWeek, y);
        LayOutCheckRow(StrShowPreviews, OptionShowPreviews, settings.showPreviews, y);
    }

    void LayOutSwatch(int option, int bitmap, float x, float y, bool current)
    {
        const HitArea& area = Add(HitArea{.rect = {x, y, Units(40), Units(40)}, .item = option, .kind = HitOption});
        const int ink = IsHot(area) || current ? ColorAccent : ColorText;
        const Gdiplus::RectF swatch = area.rect;
        AddImage(bitmap, GetColor(ink), GetColor(ColorBackground), swatch.X, swatch.Y, Units(40));
        if (current)
            page.outlines.push_back(swatch);
    }

    void LayOutRightColumn()
    {
        const float x = ColumnWidth() + static_cast<float>(Points(37.5f));
        const float y = LayOutHeading(StrLanguage, x, page.band + static_cast<float>(Points(7.5f)));
        const float rowX = x + static_cast<float>(Points(18.75f));
        LayOutNotebooks(x, rowX, LayOutLanguageRows(rowX, y));
    }

    // The languages in two columns from (x, y); returns the y below the longer column.
    float LayOutLanguageRows(float x, float top)
    {
        const CalendarSettings& settings = GetCalendarSettings();
        const std::vector<LanguageEntry>& languages = GetLanguages();
        const std::wstring& chosen = settings.language.empty() ? GetDefaultLanguage() : settings.language;
        const size_t half = (languages.size() + 1) / 2;
        float y = top;
        float below = top;
        for (size_t i = 0; i < languages.size(); ++i)
        {
            if (i == half)
            {
                y = top;
                x += Units(150) + Units(10);
            }
            const std::wstring& name = languages[i].displayName;
            const Room room = Fit(name, FontHighlight, x, y, Units(150), Units(150), row.Height);
            const HitArea& area = Add(HitArea{.rect = room.box,
                                              .item = OptionLanguage,
                                              .subItem = static_cast<int>(i),
                                              .kind = HitOption});
            const bool selected = languages[i].code == chosen;
            AddText(name, selected ? FontHighlight : FontDayName, room,
                    selected || IsHot(area) ? ColorAccent : ColorText);
            y += room.box.Height + Gap();
            below = std::max(below, y);
        }
        return below;
    }

    void LayOutContinue(float x, float y)
    {
        const std::wstring& text = GetUiString(StrContinue);
        const Room room = Fit(text, FontDayName, x - Units(19), y + row.Height + Gap(), Units(250), Units(250), row.Height);
        const HitArea& area = Add(HitArea{.rect = room.box, .kind = HitLeave});
        AddText(text, FontDayName, room, IsHot(area) ? ColorAccent : ColorDimmed);
    }

    void LayOutNotebooks(float headingX, float x, float y)
    {
        const CalendarSettings& settings = GetCalendarSettings();
        const float pitch = row.Height + Gap();
        y = LayOutHeading(StrNotebooks, headingX, y + static_cast<float>(Points(11.25f)));
        for (const int choice : {0, 1})
        {
            const std::wstring& text = GetUiString(choice == 0 ? StrAllNotebooks : StrSelectedNotebooks);
            const Room room = Fit(text, FontHighlight, x, y, Units(250), Units(250), row.Height);
            const HitArea& area = Add(HitArea{
                .rect = room.box, .item = OptionNotebookFilter, .subItem = choice, .kind = HitOption});
            const bool selected = settings.allNotebooks == (choice == 0);
            AddText(text, selected ? FontHighlight : FontDayName, room,
                    selected || IsHot(area) ? ColorAccent : ColorText);
            y += room.box.Height + Gap();
        }

        const std::shared_ptr<const NotebookList> list = GetNotebookList();
        if (!list)
            return;
        x += Units(30);
        const float top = y;
        const size_t count = list->Count();
        const size_t half = (count + 1) / 2;
        std::map<std::int32_t, bool>& selection = GetCalendarSettings().notebookSelection;
        for (size_t i = 0; i < count; ++i)
        {
            if (i == half)
            {
                y = top;
                x += Units(30) + Units(120);
            }
            const auto& notebook = list->Notebooks().notebooks[i];
            const std::wstring name = notebook->hierarchy.name.value_or(L"");
            const bool selected = selection[static_cast<std::int32_t>(i)];
            const Gdiplus::RectF box(x, y, Units(120), row.Height);
            const int font = selected ? FontHighlight : FontDayName;
            if (settings.allNotebooks)
            {
                // The choice is kept while every notebook is shown, but cannot be changed.
                AddTrimmedText(name, font, box, ColorDimmed);
                AddImage(selected ? BitmapCheckBoxChecked : BitmapCheckBox, GetColor(ColorDimmed),
                         GetColor(ColorBackground), x - CheckIndent(), y, CheckBoxSide);
            }
            else
            {
                const HitArea& area =
                    Add(HitArea{.rect = {x - CheckIndent(), y, Units(120) + CheckIndent(), row.Height},
                                .item = static_cast<int>(i),
                                .kind = HitNotebook,
                                .notebookId = notebook->hierarchy.ID.value_or(L"")});
                const bool hot = IsHot(area);
                AddTrimmedText(name, font, box, selected || hot ? ColorAccent : ColorText);
                AddCheckBox(selected, hot, x - CheckIndent(), y);
            }
            y += pitch;
        }
    }

    Gdiplus::Graphics& graphics;
    const bool languageOnly;
    const bool dark;
    SettingsPage page;
    // The first heading's box and the height of one line of a heading.
    Gdiplus::RectF heading;
    float headingLine = 0;
    // Where the rows of the first column start, one line of the label font high.
    Gdiplus::RectF row;
    // How far right and down the texts and images reach.
    float right = 0;
    float bottom = 0;
};
} // namespace

SettingsPage LayOutSettingsPage(Gdiplus::Graphics& graphics, bool languageOnly)
{
    return SettingsLayout(graphics, languageOnly).LayOut();
}

SettingsPage LayOutSettingsPage(bool languageOnly)
{
    Gdiplus::Bitmap bitmap(1, 1, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&bitmap);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    return LayOutSettingsPage(graphics, languageOnly);
}
