#include "calendar/CalendarGrid.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DrawingResources.h"
#include "calendar/HitArea.h"
#include "calendar/LumdayWindow.h"
#include "calendar/NotebookList.h"
#include "calendar/SettingsPage.h"
#include "calendar/Startup.h"
#include "calendar/TintedBitmaps.h"
#include "calendar/UiLanguages.h"

#include <algorithm>
#include <map>

namespace
{
// The settings page; in its first-run form only the language list and "Continue >".
class SettingsWnd : public LumdayWindow
{
public:
    bool languageOnly = false;

    std::unique_ptr<Gdiplus::Bitmap> OnPaint() override
    {
        GetHitAreas().clear();
        const Gdiplus::RectF client = GetClientRectF();
        auto bitmap = std::make_unique<Gdiplus::Bitmap>(std::max(1, static_cast<INT>(client.Width)),
                                                        std::max(1, static_cast<INT>(client.Height)),
                                                        PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        graphics.Clear(Gdiplus::Color(GetColor(ColorBackground)));
        graphics.TranslateTransform(static_cast<float>(-GetScrollBar(SB_HORZ).nPos),
                                    static_cast<float>(-GetScrollBar(SB_VERT).nPos));
        SettingsPage page = LayOutSettingsPage(graphics, languageOnly);
        GetHitAreas() = std::move(page.areas);
        Draw(graphics, page, client);
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
        const Gdiplus::Rect content = LayOutSettingsPage(languageOnly).content;
        const Gdiplus::RectF client = GetClientRectF();
        ResetScrollBar(SB_VERT, content.Height, static_cast<UINT>(client.Height));
        ResetScrollBar(SB_HORZ, content.Width, static_cast<UINT>(client.Width));
    }

private:
    static void Draw(Gdiplus::Graphics& graphics, const SettingsPage& page, const Gdiplus::RectF& client)
    {
        const float bandWidth = std::max(static_cast<float>(page.content.Width), client.Width);
        graphics.FillRectangle(GetBrush(page.bandColor),
                               Gdiplus::RectF(0, 0, bandWidth, static_cast<float>(static_cast<int>(page.band))));
        Gdiplus::StringFormat wrapped;
        wrapped.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        const Gdiplus::StringFormat oneLine(Gdiplus::StringFormatFlagsNoWrap);
        Gdiplus::StringFormat trimmed(Gdiplus::StringFormatFlagsNoWrap);
        trimmed.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        trimmed.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
        for (const SettingsText& text : page.texts)
        {
            const INT length = static_cast<INT>(text.text.size());
            if (text.fit == SettingsTextFit::OneLine)
            {
                // From a point, centred in its box's height: held to a box as wide as it measured, a
                // line may lose its last letter.
                const Gdiplus::PointF origin(text.box.X, text.box.Y + (text.box.Height - GetLineHeight(text.font)) / 2);
                graphics.DrawString(text.text.c_str(), length, GetFont(text.font), origin, &oneLine,
                                    GetBrush(text.color));
            }
            else
                graphics.DrawString(text.text.c_str(), length, GetFont(text.font), text.box,
                                    text.fit == SettingsTextFit::Trimmed ? &trimmed : &wrapped, GetBrush(text.color));
        }
        for (const SettingsImage& image : page.images)
            if (const auto bitmap = GetTintedBitmap(image.bitmap, image.ink, image.paper))
                graphics.DrawImage(bitmap.get(), static_cast<INT>(image.box.X), static_cast<INT>(image.box.Y));
        for (const Gdiplus::RectF& outline : page.outlines)
            graphics.DrawRectangle(GetPen(ColorAccent), outline);
        if (GetCalendarViewState().outlineHitAreas)
        {
            for (const HitArea& area : GetHitAreas())
                graphics.DrawRectangle(GetPen(ColorAccent), area.rect);
            graphics.DrawRectangle(GetPen(ColorAccent), page.content);
        }
    }

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
