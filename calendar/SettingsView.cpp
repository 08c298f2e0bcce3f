#include "calendar/CalendarGrid.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DrawingResources.h"
#include "calendar/HitArea.h"
#include "calendar/LumdayWindow.h"
#include "calendar/NotebookList.h"
#include "calendar/Startup.h"
#include "calendar/TintedBitmaps.h"
#include "calendar/UiLanguages.h"

#include <algorithm>
#include <map>

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

// What the option rows of kind HitOption stand for, by their item.
enum OptionRow : int
{
    OptionCreatedDate = 0,
    OptionLastModifiedDate = 1,
    OptionSingleInstance = 2,
    OptionMondayWeek = 3,
    OptionShowPreviews = 4,
    OptionNotebookFilter = 5,
    OptionLanguage = 6,
    OptionLightTheme = 8,
    OptionDarkTheme = 9,
};

// The text sizes' labels, smallest first.
constexpr int TextSizeLabels[] = {StrVerySmall, StrSmall, StrMedium, StrLarge, StrLarger, StrExtraLarge};

int NotebookCount()
{
    const std::shared_ptr<const NotebookList> list = GetNotebookList();
    return list ? static_cast<int>(list->Count()) : 0;
}

// One paint pass of the page: draws into the buffer and lays the hit areas down in order.
class SettingsPainter
{
public:
    SettingsPainter(Gdiplus::Graphics& graphics, bool languageOnly)
        : graphics(graphics), languageOnly(languageOnly), dark(GetCalendarSettings().darkMode)
    {
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    }

    void Paint(const Gdiplus::Rect& content, const Gdiplus::RectF& client)
    {
        DrawTitleBand(content, client);
        const float firstY = band + Units(10);
        const std::wstring& first = GetUiString(languageOnly ? static_cast<int>(StrPickLanguage) : StrFontSize);
        heading = Measure(first, FontHeading, Units(24), firstY);
        DrawText(first, FontHeading, heading, ColorAccent);
        row = Measure(GetUiString(StrSizeShortcuts), FontDayName, Units(49), heading.Y + heading.Height + Gap());
        if (languageOnly)
        {
            const float y = DrawLanguageRows(row.X, row.Y);
            DrawContinue(row.X, y);
        }
        else
        {
            DrawBack();
            DrawLeftColumn();
            DrawRightColumn();
        }
        if (GetCalendarViewState().outlineHitAreas)
        {
            for (const HitArea& area : GetHitAreas())
                graphics.DrawRectangle(GetPen(ColorAccent), area.rect);
            graphics.DrawRectangle(GetPen(ColorAccent), content);
        }
    }

private:
    Gdiplus::RectF Measure(const std::wstring& text, int font, float x, float y)
    {
        Gdiplus::RectF box;
        graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), GetFont(font), Gdiplus::PointF(x, y), &box);
        return box;
    }

    void DrawText(const std::wstring& text, int font, const Gdiplus::RectF& box, int color)
    {
        graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), GetFont(font), box, &format, GetBrush(color));
    }

    void DrawImage(int bitmap, Gdiplus::ARGB ink, Gdiplus::ARGB paper, float x, float y)
    {
        if (const auto image = GetTintedBitmap(bitmap, ink, paper))
            graphics.DrawImage(image.get(), static_cast<INT>(x), static_cast<INT>(y));
    }

    bool IsHot(const HitArea& area) const { return area.IsSame(GetHotArea()); }

    HitArea& Add(HitArea area)
    {
        GetHitAreas().push_back(std::move(area));
        return GetHitAreas().back();
    }

    int BandColor() const { return dark ? ColorOtherMonth : ColorAccent; }

    void DrawTitleBand(const Gdiplus::Rect& content, const Gdiplus::RectF& client)
    {
        const std::wstring& title = GetUiString(languageOnly ? StrLanguage : StrSettings);
        Gdiplus::RectF box = Measure(title, FontTitle, Units(24), Units(5));
        box.Y -= Gap();
        box.Height += 2 * Gap();
        band = box.Height;
        const float width = std::max(static_cast<float>(content.Width), client.Width);
        graphics.FillRectangle(GetBrush(BandColor()),
                               Gdiplus::RectF(0, 0, width, static_cast<float>(static_cast<int>(band))));
        DrawText(title, FontTitle, box, dark ? ColorText : ColorBackground);
    }

    void DrawBack()
    {
        const HitArea& back =
            Add(HitArea{.rect = {Units(7), (band - Units(16)) / 2, Units(16), Units(16)},
                        .tooltip = GetUiString(StrBack),
                        .kind = HitLeave});
        const int ink = IsHot(back) ? (dark ? ColorAccent : ColorBand) : (dark ? ColorText : ColorBackground);
        DrawImage(BitmapBack, GetColor(ink), GetColor(BandColor()), back.rect.X, back.rect.Y);
    }

    // A heading of the left column at y; returns the y of the first row beneath it.
    float DrawHeading(int text, float x, float y)
    {
        const Gdiplus::RectF box(x, y, ColumnWidth(), heading.Height);
        DrawText(GetUiString(text), FontHeading, box, ColorAccent);
        return box.Y + box.Height + Gap();
    }

    void DrawCheckRow(int text, int option, bool checked, float y)
    {
        const Gdiplus::RectF box(row.X, y, ColumnWidth(), row.Height);
        const HitArea& area = Add(HitArea{.rect = {box.X - CheckIndent(), y, box.Width + CheckIndent(), box.Height},
                                          .item = option,
                                          .kind = HitOption});
        const bool hot = IsHot(area);
        DrawText(GetUiString(text), checked ? FontHighlight : FontDayName, box, checked || hot ? ColorAccent : ColorText);
        DrawCheckBox(checked, hot, box.X - CheckIndent(), y);
    }

    void DrawCheckBox(bool checked, bool hot, float x, float y)
    {
        const int ink = checked || hot ? ColorAccent : ColorDimmed;
        DrawImage(checked ? BitmapCheckBoxChecked : BitmapCheckBox, GetColor(ink), GetColor(ColorBackground), x, y);
    }

    void DrawLeftColumn()
    {
        const CalendarSettings& settings = GetCalendarSettings();
        const float pitch = row.Height + Gap();
        DrawText(GetUiString(StrSizeShortcuts), FontDayName,
                 Gdiplus::RectF(heading.X + heading.Width + Gap(), heading.Y + static_cast<float>(Points(3)), row.Width,
                                heading.Height),
                 ColorDimmed);

        float y = row.Y;
        for (int size = 0; size < static_cast<int>(std::size(TextSizeLabels)); ++size)
        {
            const HitArea& area =
                Add(HitArea{.rect = {row.X, y, row.Width, row.Height}, .item = size, .kind = HitTextSize});
            const bool selected = size == GetTextSizeIndex();
            DrawText(GetUiString(TextSizeLabels[size]), selected ? FontHighlight : FontDayName, area.rect,
                     selected || IsHot(area) ? ColorAccent : ColorText);
            y += pitch;
        }

        y = DrawHeading(StrShowPagesOn, Units(24), y + static_cast<float>(Points(11.25f)));
        DrawCheckRow(StrCreatedDate, OptionCreatedDate, settings.showPagesOnCreatedDate, y);
        y += pitch;
        DrawCheckRow(StrLastModifiedDate, OptionLastModifiedDate, settings.showPagesOnLMT, y);
        y += pitch;

        y = DrawHeading(StrTheme, Units(24), y + static_cast<float>(Points(11.25f)));
        const float swatchTop = y;
        DrawSwatch(OptionLightTheme, BitmapLightTheme, row.X - CheckIndent(), swatchTop, !dark);
        DrawSwatch(OptionDarkTheme, BitmapDarkTheme, row.X - CheckIndent() + Units(50), swatchTop, dark);

        y = DrawHeading(StrOther, Units(24), swatchTop + static_cast<float>(Points(45)));
        const float step = static_cast<float>(Points(18.75f));
        DrawCheckRow(StrSingleInstance, OptionSingleInstance, settings.singleInstance, y);
        DrawCheckRow(StrMondayWeek, OptionMondayWeek, settings.mondayWeek, y + step);
        DrawCheckRow(StrShowPreviews, OptionShowPreviews, settings.showPreviews, y + 2 * step);
    }

    void DrawSwatch(int option, int bitmap, float x, float y, bool current)
    {
        const HitArea& area = Add(HitArea{.rect = {x, y, Units(40), Units(40)}, .item = option, .kind = HitOption});
        const int ink = IsHot(area) || current ? ColorAccent : ColorText;
        DrawImage(bitmap, GetColor(ink), GetColor(ColorBackground), area.rect.X, area.rect.Y);
        if (current)
            graphics.DrawRectangle(GetPen(ColorAccent), area.rect);
    }

    void DrawRightColumn()
    {
        const Gdiplus::RectF languageHeading(ColumnWidth() + static_cast<float>(Points(37.5f)),
                                             band + static_cast<float>(Points(7.5f)), ColumnWidth(), heading.Height);
        DrawText(GetUiString(StrLanguage), FontHeading, languageHeading, ColorAccent);
        const float rowX = languageHeading.X + static_cast<float>(Points(18.75f));
        const float y = DrawLanguageRows(rowX, languageHeading.Y + languageHeading.Height + Gap());
        DrawNotebooks(languageHeading.X, rowX, y);
    }

    // The languages in two columns from (x, y); returns the y below the last row drawn.
    float DrawLanguageRows(float x, float top)
    {
        const CalendarSettings& settings = GetCalendarSettings();
        const std::vector<LanguageEntry>& languages = GetLanguages();
        const std::wstring& chosen = settings.language.empty() ? GetDefaultLanguage() : settings.language;
        const size_t half = (languages.size() + 1) / 2;
        float y = top;
        for (size_t i = 0; i < languages.size(); ++i)
        {
            if (i == half)
            {
                y = top;
                x += Units(150) + Units(10);
            }
            const HitArea& area = Add(HitArea{.rect = {x, y, Units(150), row.Height},
                                              .item = OptionLanguage,
                                              .subItem = static_cast<int>(i),
                                              .kind = HitOption});
            const bool selected = languages[i].code == chosen;
            DrawText(languages[i].displayName, selected ? FontHighlight : FontDayName, area.rect,
                     selected || IsHot(area) ? ColorAccent : ColorText);
            y += row.Height + Gap();
        }
        return y;
    }

    void DrawContinue(float x, float y)
    {
        const HitArea& area =
            Add(HitArea{.rect = {x - Units(19), y + row.Height + Gap(), Units(250), row.Height}, .kind = HitLeave});
        DrawText(GetUiString(StrContinue), FontDayName, area.rect, IsHot(area) ? ColorAccent : ColorDimmed);
    }

    void DrawNotebooks(float headingX, float x, float y)
    {
        const CalendarSettings& settings = GetCalendarSettings();
        const float pitch = row.Height + Gap();
        y = DrawHeading(StrNotebooks, headingX, y + static_cast<float>(Points(11.25f)));
        for (const int choice : {0, 1})
        {
            const HitArea& area = Add(HitArea{.rect = {x, y, Units(250), row.Height},
                                              .item = OptionNotebookFilter,
                                              .subItem = choice,
                                              .kind = HitOption});
            const bool selected = settings.allNotebooks == (choice == 0);
            DrawText(GetUiString(choice == 0 ? StrAllNotebooks : StrSelectedNotebooks),
                     selected ? FontHighlight : FontDayName, area.rect, selected || IsHot(area) ? ColorAccent : ColorText);
            y += pitch;
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
                DrawText(name, font, box, ColorDimmed);
                DrawImage(selected ? BitmapCheckBoxChecked : BitmapCheckBox, GetColor(ColorDimmed),
                          GetColor(ColorBackground), x - CheckIndent(), y);
            }
            else
            {
                const HitArea& area =
                    Add(HitArea{.rect = {x - CheckIndent(), y, Units(120) + CheckIndent(), row.Height},
                                .item = static_cast<int>(i),
                                .kind = HitNotebook,
                                .notebookId = notebook->hierarchy.ID.value_or(L"")});
                const bool hot = IsHot(area);
                DrawText(name, font, box, selected || hot ? ColorAccent : ColorText);
                DrawCheckBox(selected, hot, x - CheckIndent(), y);
            }
            y += pitch;
        }
    }

    Gdiplus::Graphics& graphics;
    Gdiplus::StringFormat format;
    const bool languageOnly;
    const bool dark;
    float band = 0;
    Gdiplus::RectF heading;
    Gdiplus::RectF row;
};

// The settings page; in its first-run form only the language list and "Continue >".
class SettingsWnd : public LumdayWindow
{
public:
    bool languageOnly = false;

    Gdiplus::Rect ContentSize() const
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

    std::unique_ptr<Gdiplus::Bitmap> OnPaint() override
    {
        GetHitAreas().clear();
        const Gdiplus::RectF client = GetClientRectF();
        const Gdiplus::Rect content = ContentSize();
        auto bitmap = std::make_unique<Gdiplus::Bitmap>(std::max(1, static_cast<INT>(client.Width)),
                                                        std::max(1, static_cast<INT>(client.Height)),
                                                        PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        graphics.Clear(Gdiplus::Color(GetColor(ColorBackground)));
        graphics.TranslateTransform(static_cast<float>(-GetScrollBar(SB_HORZ).nPos),
                                    static_cast<float>(-GetScrollBar(SB_VERT).nPos));
        SettingsPainter(graphics, languageOnly).Paint(content, client);
        return bitmap;
    }

    LRESULT OnClick(short x, short y, bool& handled) override
    {
        handled = true;
        const HitArea hot = GetHotArea();
        // The pointer may have moved off the area since the last hit test.
        if (hot.kind == HitNone || !hot.Contains(x, y))
            return 0;
        CalendarSettings& settings = GetCalendarSettings();
        switch (hot.kind)
        {
        case HitTextSize:
            SetTextSizeIndex(hot.item);
            RecreateFonts();
            settings.fontSize = GetTextSize();
            break;
        case HitOption: ChooseOption(settings, hot); break;
        case HitNotebook: ToggleNotebook(hot); break;
        case HitLeave:
            if (settings.language.empty())
                settings.language = GetDefaultLanguage();
            settings.fontSize = GetTextSize();
            SaveSettings();
            ShowSettingsNotice(GetCalendarState().mainWindow);
            ShowCalendarView();
            return 0;
        default: return 0;
        }
        RequestRepaint();
        return 0;
    }

    LRESULT OnKeyDown(WPARAM key, bool& handled) override
    {
        handled = true;
        if (key == VK_BACK)
            ShowCalendarView();
        else if (key == VK_F12 && (GetKeyState(VK_CONTROL) & 0x8000) != 0)
        {
            GetCalendarViewState().outlineHitAreas = !GetCalendarViewState().outlineHitAreas;
            RequestRepaint();
        }
        return 0;
    }

    LRESULT OnMouseWheel(POINT, int notches, WPARAM wParam, bool& handled) override
    {
        handled = true;
        const SCROLLINFO vertical = GetScrollBar(SB_VERT);
        const bool verticalBar = !(wParam & MK_CONTROL) && static_cast<int>(vertical.nPage) < vertical.nMax;
        SendMessageW(GetCalendarState().mainWindow, verticalBar ? WM_VSCROLL : WM_HSCROLL,
                     notches < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        return 0;
    }

    LRESULT OnCommand(int id, HWND, int, bool& handled) override
    {
        if (id != IDCANCEL)
            return 0;
        handled = true;
        ShowCalendarView();
        return 0;
    }

    bool OnMouseMove(bool) override { return true; }

    void Layout() override { UpdateScrollBars(); }

    void UpdateScrollBars() override
    {
        const Gdiplus::Rect content = ContentSize();
        const Gdiplus::RectF client = GetClientRectF();
        ResetScrollBar(SB_VERT, content.Height, static_cast<UINT>(client.Height));
        ResetScrollBar(SB_HORZ, content.Width, static_cast<UINT>(client.Width));
    }

private:
    // The notebook whose check box was clicked, wherever the list in use numbers it now: a load that
    // ended since the last paint may list the notebooks in another order, or without it.
    static void ToggleNotebook(const HitArea& hot)
    {
        const std::shared_ptr<const NotebookList> list = GetNotebookList();
        if (!list)
            return;
        std::int32_t position = hot.item;
        if (!hot.notebookId.empty())
        {
            const auto& notebooks = list->Notebooks().notebooks;
            const auto found = std::find_if(notebooks.begin(), notebooks.end(), [&](const auto& notebook) {
                return notebook->hierarchy.ID == hot.notebookId;
            });
            if (found == notebooks.end())
                return;
            position = static_cast<std::int32_t>(found - notebooks.begin());
        }
        SetNotebookSelected(position, !GetCalendarSettings().notebookSelection[position]);
    }

    static void ChooseOption(CalendarSettings& settings, const HitArea& hot)
    {
        const int choice = hot.subItem;
        switch (hot.item)
        {
        case OptionCreatedDate:
            // One of the two days always stays on, or the calendar would show no page at all.
            settings.showPagesOnCreatedDate = !settings.showPagesOnCreatedDate;
            if (!settings.showPagesOnCreatedDate)
                settings.showPagesOnLMT = true;
            break;
        case OptionLastModifiedDate:
            settings.showPagesOnLMT = !settings.showPagesOnLMT;
            if (!settings.showPagesOnLMT)
                settings.showPagesOnCreatedDate = true;
            break;
        case OptionSingleInstance: settings.singleInstance = !settings.singleInstance; break;
        case OptionMondayWeek: settings.mondayWeek = !settings.mondayWeek; break;
        case OptionShowPreviews: settings.showPreviews = !settings.showPreviews; break;
        case OptionNotebookFilter: settings.allNotebooks = choice == 0; break;
        case OptionLanguage:
        {
            const std::vector<LanguageEntry>& languages = GetLanguages();
            if (choice < 0 || static_cast<size_t>(choice) >= languages.size())
                break;
            settings.language = languages[static_cast<size_t>(choice)].code;
            LoadLanguageStrings(settings.language);
            FillDateNameTables();
            UpdateSettingsTitle();
            break;
        }
        case OptionLightTheme: SetDarkMode(false); break;
        case OptionDarkTheme: SetDarkMode(true); break;
        default: break;
        }
    }
};

SettingsWnd& Settings()
{
    static SettingsWnd view;
    return view;
}
} // namespace

LumdayWindow& GetSettingsView() { return Settings(); }

bool IsSettingsLanguageOnly() { return Settings().languageOnly; }

void ShowSettingsView(bool languageOnly)
{
    CalendarState& state = GetCalendarState();
    Settings().languageOnly = languageOnly;
    state.currentView = &Settings();
    GetHitAreas().clear();
    SetHotArea(HitArea());
    UpdateSettingsTitle();
    if (state.searchBox)
        ShowWindow(state.searchBox, SW_HIDE);
    Settings().UpdateScrollBars();
    RequestRepaint();
}
