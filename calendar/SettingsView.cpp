#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DrawingResources.h"
#include "calendar/LumdayWindow.h"
#include "calendar/UiLanguages.h"

#include <algorithm>

namespace
{
int Points(float points) { return static_cast<int>(points * GetDpiScale() + 0.5f); }
float Units(float units) { return UnitsToPixels(units); }

Gdiplus::RectF Measure(Gdiplus::Graphics& graphics, const std::wstring& text, int font, float x, float y)
{
    Gdiplus::RectF box;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), GetFont(font), Gdiplus::PointF(x, y), &box);
    return box;
}

// The settings page; in its first-run form only the language list and "Continue >".
class SettingsWnd : public LumdayWindow
{
public:
    bool languageOnly = false;

    Gdiplus::Rect ContentSize() const
    {
        const float gap = Units(5);
        const float row = GetLineHeight(FontDayName) + gap;
        const int languages = static_cast<int>(GetLanguages().size());
        const float base = languageOnly ? -gap : Units(350) + Units(20);
        const float width = base + Points(22.5f) + Points(18.75f) + Points(112.5f) + Points(7.5f) + Points(112.5f);
        const float rows = static_cast<float>((languages + 1) / 2 + 1) * row + 2.0f * Points(11.25f) - gap;
        const float height = GetLineHeight(FontTitle) + 4 * gap + GetLineHeight(FontHeading) + rows;
        return Gdiplus::Rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    }

    std::unique_ptr<Gdiplus::Bitmap> OnPaint() override
    {
        std::vector<HitArea>& areas = GetHitAreas();
        areas.clear();
        const Gdiplus::RectF client = GetClientRectF();
        const Gdiplus::Rect content = ContentSize();
        auto bitmap = std::make_unique<Gdiplus::Bitmap>(std::max(1, static_cast<INT>(client.Width)),
                                                        std::max(1, static_cast<INT>(client.Height)),
                                                        PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        Gdiplus::StringFormat format;
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        graphics.Clear(Gdiplus::Color(GetColor(ColorBackground)));
        graphics.TranslateTransform(static_cast<float>(-GetScrollBar(SB_HORZ).nPos),
                                    static_cast<float>(-GetScrollBar(SB_VERT).nPos));
        const bool dark = GetCalendarSettings().darkMode;
        const float gap = Units(5);

        // Title band.
        const std::wstring& title = GetUiString(languageOnly ? StrLanguage : StrSettings);
        Gdiplus::RectF titleBox = Measure(graphics, title, FontTitle, Units(24), Units(5));
        titleBox.Y -= gap;
        titleBox.Height += 2 * gap;
        const float band = titleBox.Height;
        const float bandWidth = std::max(static_cast<float>(content.Width), client.Width);
        graphics.FillRectangle(GetBrush(dark ? ColorOtherMonth : ColorAccent),
                               Gdiplus::RectF(0, 0, bandWidth, static_cast<float>(static_cast<int>(band))));
        graphics.DrawString(title.c_str(), static_cast<INT>(title.size()), GetFont(FontTitle), titleBox, &format,
                            GetBrush(dark ? ColorText : ColorBackground));

        // First heading and the row box every list shares.
        const float y = band + Units(10);
        const std::wstring& heading = GetUiString(languageOnly ? StrPickLanguage : StrLanguage);
        const Gdiplus::RectF headingBox = Measure(graphics, heading, FontHeading, Units(24), y);
        graphics.DrawString(heading.c_str(), static_cast<INT>(heading.size()), GetFont(FontHeading), headingBox, &format,
                            GetBrush(ColorAccent));
        const Gdiplus::RectF row = Measure(graphics, GetUiString(39), FontDayName, Units(49), headingBox.Y + headingBox.Height + gap);

        // Language rows in two columns.
        const std::vector<LanguageEntry>& languages = GetLanguages();
        const size_t half = (languages.size() + 1) / 2;
        const std::wstring& chosen =
            GetCalendarSettings().language.empty() ? GetDefaultLanguage() : GetCalendarSettings().language;
        float rowX = row.X;
        float rowY = row.Y;
        for (size_t i = 0; i < languages.size(); ++i)
        {
            if (i == half)
            {
                rowY = row.Y;
                rowX += Units(150) + Units(10);
            }
            HitArea area{Gdiplus::RectF(rowX, rowY, Units(150), row.Height), L"", 6, static_cast<int>(i), HitOption};
            const bool selected = languages[i].code == chosen;
            const bool hot = area.IsSame(GetHotArea());
            graphics.DrawString(languages[i].displayName.c_str(), static_cast<INT>(languages[i].displayName.size()),
                                GetFont(selected ? FontHighlight : FontDayName), area.rect, &format,
                                GetBrush(selected || hot ? ColorAccent : ColorText));
            areas.push_back(area);
            rowY += row.Height + gap;
        }

        // The way out, below the first (the longer) column.
        const float continueY = row.Y + static_cast<float>(half) * (row.Height + gap);
        HitArea leave{Gdiplus::RectF(row.X - Units(19), continueY + row.Height + gap, Units(250), row.Height),
                      languageOnly ? L"" : GetUiString(53), 0, 0, HitLeave};
        const std::wstring& leaveText = GetUiString(languageOnly ? StrContinue : 53);
        graphics.DrawString(leaveText.c_str(), static_cast<INT>(leaveText.size()), GetFont(FontDayName), leave.rect,
                            &format, GetBrush(leave.IsSame(GetHotArea()) ? ColorAccent : ColorDimmed));
        areas.push_back(leave);
        return bitmap;
    }

    LRESULT OnClick(short x, short y, bool& handled) override
    {
        handled = true;
        const HitArea hot = GetHotArea();
        if (!hot.Contains(x, y))
            return 0;
        CalendarSettings& settings = GetCalendarSettings();
        if (hot.kind == HitOption && hot.a == 6)
        {
            const std::vector<LanguageEntry>& languages = GetLanguages();
            if (hot.b >= 0 && static_cast<size_t>(hot.b) < languages.size())
            {
                settings.language = languages[static_cast<size_t>(hot.b)].code;
                LoadLanguageStrings(settings.language);
                FillDateNameTables();
                UpdateSettingsTitle();
            }
        }
        else if (hot.kind == HitLeave)
        {
            if (settings.language.empty())
            {
                settings.language = GetDefaultLanguage();
                LoadLanguageStrings(settings.language);
                FillDateNameTables();
            }
            SaveSettings();
            ShowCalendarView();
            return 0;
        }
        RequestRepaint();
        return 0;
    }

    LRESULT OnKeyDown(WPARAM key, bool& handled) override
    {
        handled = true;
        if (key == VK_BACK)
            ShowCalendarView();
        return 0;
    }

    LRESULT OnMouseWheel(POINT, int notches, WPARAM wParam, bool& handled) override
    {
        handled = true;
        const HWND window = GetCalendarState().mainWindow;
        const SCROLLINFO vertical = GetScrollBar(SB_VERT);
        const bool verticalBar = !(wParam & MK_CONTROL) && static_cast<int>(vertical.nPage) < vertical.nMax;
        SendMessageW(window, verticalBar ? WM_VSCROLL : WM_HSCROLL, notches < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
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
