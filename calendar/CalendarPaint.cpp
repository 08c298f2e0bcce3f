#include "calendar/CalendarPaint.h"

#include "calendar/CalendarCommands.h"
#include "calendar/CalendarDate.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/DrawingResources.h"
#include "calendar/HitArea.h"
#include "calendar/NotebookList.h"
#include "calendar/PagePreview.h"
#include "calendar/PageSearch.h"
#include "calendar/TintedBitmaps.h"
#include "calendar/UiLanguages.h"
#include "framework/Owners.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
float U(float units) { return UnitsToPixels(units); }
int RoundedUnits(float units) { return static_cast<int>(UnitsToPixels(units) + 0.5f); }

Gdiplus::RectF Measure(Gdiplus::Graphics& graphics, const std::wstring& text, int font, const Gdiplus::RectF& box,
                       const Gdiplus::StringFormat* format)
{
    Gdiplus::RectF result;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), GetFont(font), box, format, &result);
    return result;
}

void DrawText(Gdiplus::Graphics& graphics, const std::wstring& text, int font, const Gdiplus::RectF& box,
              const Gdiplus::StringFormat* format, int color)
{
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), GetFont(font), box, format, GetBrush(color));
}

// The cells' texts, drawn by GDI in one go once the cells are filled. A month shows well over a
// hundred lines, and GDI+ lays out and rasterises each DrawString on its own, which cost most of a
// paint; GDI keeps its glyphs. The texts of a cell lie over nothing drawn later but the popup.
class CellTexts
{
public:
    void Add(const std::wstring& text, const Gdiplus::RectF& box, int font, int color, UINT format)
    {
        texts_.push_back(Text{text,
                              RECT{static_cast<LONG>(std::floor(box.X)), static_cast<LONG>(std::floor(box.Y)),
                                   static_cast<LONG>(std::floor(box.X + box.Width)),
                                   static_cast<LONG>(std::floor(box.Y + box.Height))},
                              font, color, format});
    }

    void Draw(Gdiplus::Graphics& graphics)
    {
        if (texts_.empty())
            return;
        const HDC dc = graphics.GetHDC();
        if (!dc)
            return;
        const int mode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = GetTextColor(dc);
        {
            const Owners::SelectedObject selected(dc, GetGdiFont(FontPage));
            for (Text& text : texts_)
            {
                SelectObject(dc, GetGdiFont(text.font));
                const Gdiplus::Color color(GetColor(text.color));
                SetTextColor(dc, RGB(color.GetR(), color.GetG(), color.GetB()));
                DrawTextW(dc, text.text.c_str(), static_cast<int>(text.text.size()), &text.box,
                          text.format | DT_SINGLELINE | DT_NOPREFIX);
            }
        }
        SetTextColor(dc, oldColor);
        SetBkMode(dc, mode);
        graphics.ReleaseHDC(dc);
        texts_.clear();
    }

private:
    struct Text
    {
        std::wstring text;
        RECT box;
        int font;
        int color;
        UINT format;
    };
    std::vector<Text> texts_;
};

bool IsHot(HitAreaKind kind, int a, int b)
{
    const HitArea& hot = GetHotArea();
    return hot.kind == kind && hot.item == a && hot.subItem == b;
}

struct Formats
{
    Gdiplus::StringFormat centred;
    Gdiplus::StringFormat centredLine; // a strip's slot: one line, even where it is narrow
    Gdiplus::StringFormat nearMiddle;
    Formats()
    {
        centred.SetAlignment(Gdiplus::StringAlignmentCenter);
        centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        centredLine.SetAlignment(Gdiplus::StringAlignmentCenter);
        centredLine.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        centredLine.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoClip);
        centredLine.SetTrimming(Gdiplus::StringTrimmingNone);
        nearMiddle.SetAlignment(Gdiplus::StringAlignmentNear);
        nearMiddle.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        nearMiddle.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
        nearMiddle.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    }
};

class Pass
{
public:
    Pass(Gdiplus::Graphics& graphics, int width, int height)
        : g(graphics), W(width), H(height), settings(GetCalendarSettings()), state(GetCalendarState()),
          view(GetCalendarViewState()), names(GetDateNameTables())
    {
    }

    void Run()
    {
        GetHitAreas().clear();
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        g.Clear(Gdiplus::Color(GetColor(ColorBackground)));
        const tm& shown = state.currentDate.local;
        grid = GetCalendarGrid(shown, settings.viewType, settings.mondayWeek);
        view.rows = grid.rows;
        view.columns = grid.columns;
        const Gdiplus::RectF anywhere(0, 0, 10000, 10000);
        const Gdiplus::RectF dayName = Measure(g, names.dayNames[0], FontDayName, anywhere, &formats.centred);
        stripWidth = static_cast<int>(12 * dayName.Height);
        DrawTitle();
        if (state.updateProgress > 0)
        {
            DrawUpdateProgress();
            return;
        }
        lineHeight = std::max(static_cast<int>(std::ceil(GetLineHeight(FontPage))), RoundedUnits(1));
        const float bandHeight = std::floor(dayName.Height + U(6));
        dayNameWidth = dayName.Width + U(10);
        float progress = 1;
        if (state.loading)
        {
            const std::lock_guard guard(GetDayMapLock());
            if (GetDayMap().empty())
                return;
            progress = std::clamp(state.loadingProgress.load(), 0.0f, 1.0f);
        }
        band = Gdiplus::RectF(0, static_cast<float>(header), static_cast<float>(W) * progress, bandHeight);
        g.FillRectangle(GetBrush(ColorBand), band);
        band.Width = static_cast<float>(W);
        gridTop = static_cast<float>(header) + bandHeight;
        DrawColumns();
        DrawHeaderArrows();
        DrawStrips();
        DrawButtons();
        DrawCells();
        cellTexts.Draw(g);
        if (view.outlineHitAreas)
            for (const HitArea& area : GetHitAreas())
                g.DrawRectangle(GetPen(ColorDimmed), area.rect);
        DrawPreviewPopup(g, W, H);
        DrawSearchFrame();
        const HitArea& hot = GetHotArea();
        if (hot.kind != HitNone && std::none_of(GetHitAreas().begin(), GetHitAreas().end(),
                                          [&](const HitArea& area) { return area.IsSame(hot); }))
            SetHotArea(HitArea());
    }

private:
    void DrawTitle()
    {
        Gdiplus::RectF box;
        for (int level = 0; level < 4; ++level)
        {
            const std::wstring title = FormatPeriodTitle(level);
            if (title.empty())
                break;
            const Gdiplus::RectF origin(U(24), U(5), 10000, 10000);
            box = Measure(g, title, FontTitle, origin, &formats.nearMiddle);
            box = Gdiplus::RectF(U(24) - U(1), U(5) - U(5), box.Width + U(2), box.Height + U(10));
            header = static_cast<int>(box.Height);
            if (U(24) + box.Width + static_cast<float>(stripWidth) < static_cast<float>(W))
            {
                DrawText(g, title, FontTitle, box, &formats.centred, ColorAccent);
                break;
            }
        }
    }

    void DrawUpdateProgress()
    {
        const std::wstring& text = GetUiString(StrInstallingUpdate);
        const Gdiplus::RectF client(0, 0, static_cast<float>(W), static_cast<float>(H));
        const Gdiplus::RectF box = Measure(g, text, FontTitle, client, &formats.centred);
        DrawText(g, text, FontTitle, client, &formats.centred, ColorAccent);
        const float y = box.Y + box.Height + static_cast<float>(RoundedUnits(10));
        const float barHeight = static_cast<float>(RoundedUnits(2));
        g.FillRectangle(GetBrush(ColorOtherMonth), box.X, y, box.Width, barHeight);
        g.FillRectangle(GetBrush(ColorAccent), box.X, y, box.Width * std::min(1.0f, state.updateProgress.load()),
                        barHeight);
    }

    void DrawColumns()
    {
        const int cw = W / grid.columns;
        float x = -U(1);
        const tm& shown = state.currentDate.local;
        for (int c = 0; c < grid.columns; ++c)
        {
            const float width = c == grid.columns - 1 ? static_cast<float>(W) - x : static_cast<float>(cw);
            for (int r = 0; r < MaxCalendarRows; ++r)
            {
                view.cells[static_cast<size_t>(r * 7 + c)].X = x;
                view.cells[static_cast<size_t>(r * 7 + c)].Width = width;
            }
            g.DrawLine(GetPen(ColorDimmed), x, band.Y, x, gridTop);
            std::wstring text;
            if (settings.viewType == 2)
                text = FormatDayTitle(shown.tm_mon + 1, shown.tm_mday, shown.tm_wday);
            else
            {
                const size_t day = static_cast<size_t>(c + (settings.mondayWeek ? 1 : 0));
                text = static_cast<float>(cw) < dayNameWidth ? names.shortDayNames[day] : names.dayNames[day];
            }
            DrawText(g, text, FontDayName, Gdiplus::RectF(x, band.Y, width, band.Height), &formats.centred, ColorText);
            x += static_cast<float>(cw);
        }
        const float rowHeight = std::floor((static_cast<float>(H) - gridTop - U(24)) / static_cast<float>(grid.rows));
        rowHeightPixels = rowHeight;
        float y = gridTop;
        for (int r = 0; r < grid.rows; ++r)
        {
            const float height = r == grid.rows - 1 ? static_cast<float>(H) - y - U(24) : rowHeight;
            for (int c = 0; c < MaxCalendarColumns; ++c)
            {
                view.cells[static_cast<size_t>(r * 7 + c)].Y = y;
                view.cells[static_cast<size_t>(r * 7 + c)].Height = height;
            }
            y += rowHeight;
        }
    }

    void DrawHeaderArrows()
    {
        static constexpr int Previous[] = {23, 24, 22};
        static constexpr int Next[] = {20, 21, 19};
        const size_t type = static_cast<size_t>(std::clamp(settings.viewType, 0, 2));
        const float y = (static_cast<float>(header) - band.Height) / 2;
        DrawArrow(GetUiString(Previous[type]), g, Gdiplus::RectF(0, y, U(12), band.Height), 0, 0, 2);
        DrawArrow(GetUiString(Next[type]), g, Gdiplus::RectF(U(12), y, U(12), band.Height), 0, 0, 3);
        g.DrawLine(GetPen(ColorDimmed), 0.0f, static_cast<float>(header), static_cast<float>(W),
                   static_cast<float>(header));
    }

    void DrawStrips()
    {
        const float half = static_cast<float>(header) / 2;
        const int shownYear = state.currentDate.local.tm_year + 1900;
        const float yearWidth = static_cast<float>(stripWidth) / 5;
        float x = static_cast<float>(W - stripWidth);
        for (int year = shownYear - 2; year <= shownYear + 2; ++year, x += yearWidth)
        {
            if (year < FirstCalendarYear || year > LastCalendarYear())
                continue;
            const Gdiplus::RectF slot(x, 0, yearWidth, half);
            DrawSlot(std::to_wstring(year), slot, year == shownYear || IsHot(HitYear, year, 0), HitYear, year);
        }
        const float monthWidth = static_cast<float>(stripWidth) / 12;
        // Each month shows its whole text. Texts wider than a slot (the two digits of 10, 11 and
        // 12 in a font wider than the one the strip was made for) are narrowed all alike, so that
        // neighbours never run into each other.
        float widest = 0;
        for (int month = 1; month <= 12; ++month)
            widest =
                std::max(widest, MeasureLine(FontHighlight, names.monthInitials[static_cast<size_t>(month)]).Width);
        const float room = monthWidth - U(4);
        const float narrowing = widest > room && room > 0 ? room / widest : 1.0f;
        x = static_cast<float>(W - stripWidth);
        for (int month = 1; month <= 12; ++month, x += monthWidth)
        {
            const Gdiplus::RectF slot(x, half, monthWidth, half);
            DrawSlot(names.monthInitials[static_cast<size_t>(month)], slot,
                     month == state.currentDate.local.tm_mon + 1 || IsHot(HitMonth, month, 0), HitMonth, month,
                     narrowing);
        }
    }

    void DrawSlot(const std::wstring& text, const Gdiplus::RectF& slot, bool highlight, HitAreaKind kind, int a,
                  float narrowing = 1.0f)
    {
        // Centred over its slot, but free to run into its neighbours' margins where the slot is narrower.
        const Gdiplus::GraphicsState saved = g.Save();
        g.TranslateTransform(slot.X + slot.Width / 2, 0);
        g.ScaleTransform(narrowing, 1);
        const Gdiplus::RectF wide(-slot.Width * 1.5f / narrowing, slot.Y, slot.Width * 3 / narrowing, slot.Height);
        DrawText(g, text, highlight ? FontHighlight : FontDayName, wide, &formats.centredLine,
                 highlight ? ColorAccent : ColorDimmed);
        g.Restore(saved);
        GetHitAreas().push_back(HitArea{.rect = slot, .item = a, .kind = kind});
    }

    void DrawButton(HitAreaKind kind, int a, int bitmap, float x, float width, int tooltip, bool accent)
    {
        const Gdiplus::RectF box(x, static_cast<float>(H) - U(20), width, U(16));
        const bool hot = IsHot(kind, a, 0);
        int color = hot || accent ? ColorAccent : ColorDimmed;
        if (kind == HitViewType && (hot || accent) && settings.darkMode)
            color = ColorText;
        if (const auto image = GetTintedBitmap(bitmap, GetColor(color), GetColor(ColorBackground)))
            g.DrawImage(image.get(), Gdiplus::RectF(box.X, box.Y, U(16), U(16)));
        GetHitAreas().push_back(HitArea{.rect = box, .tooltip = GetUiString(tooltip), .item = a, .kind = kind});
        lastButtonColor = color;
    }

    void DrawButtons()
    {
        const DateTime today;
        const tm& shown = state.currentDate.local;
        const bool sameMonth = shown.tm_year == today.local.tm_year && shown.tm_mon == today.local.tm_mon;
        state.todayPeriodShown = true;
        int tooltip = 17;
        if (settings.viewType == 0 && !sameMonth)
        {
            tooltip = 15;
            state.todayPeriodShown = false;
        }
        else if (settings.viewType == 1 &&
                 (!sameMonth || shown.tm_mday - shown.tm_wday != today.local.tm_mday - today.local.tm_wday))
        {
            tooltip = 16;
            state.todayPeriodShown = false;
        }
        const bool todayShownInDayView = settings.viewType == 2 && state.currentDate.IsSameDay(today);
        if (!todayShownInDayView)
        {
            DrawButton(HitToday, 0, BitmapToday, U(4), U(16), tooltip, false);
            const Gdiplus::RectF box(U(4), static_cast<float>(H) - U(20) + U(5), U(16), U(16) - U(5));
            DrawText(g, std::to_wstring(today.local.tm_mday), FontSmallNumber, box, &formats.centred, lastButtonColor);
        }
        const float refresh = static_cast<float>(W) - U(20);
        DrawButton(HitRefresh, 0, BitmapRefresh, refresh, U(16), 25, false);
        const float settingsX = refresh - U(32);
        DrawButton(HitSettings, 0, BitmapSettings, settingsX, U(20), 26, false);
        static constexpr int ViewBitmaps[] = {BitmapMonthView, BitmapWeekView, BitmapDayView};
        static constexpr int ViewTooltips[] = {18, 27, 14};
        for (int type = 0; type < 3; ++type)
            DrawButton(HitViewType, type, ViewBitmaps[type], settingsX - U(68) + static_cast<float>(type) * U(20),
                       U(16), ViewTooltips[type], settings.viewType == type);
        DrawButton(HitTheme, 0, BitmapTheme, settingsX - U(96), U(16), 55, false);
    }

    // The lines of a cell: how many pass the search, the notebook filter and the day options,
    // and a copy of those the cell shows from its scroll offset on (one more, which tells
    // whether the cell runs over). The offset is clamped here, to the lines counted.
    struct CellLines
    {
        int count = 0;
        std::vector<CalendarEntry> shown;
    };

    CellLines DayLines(const CellDay& day, unsigned& offset)
    {
        const DateTime key(state.currentDate.local.tm_year + 1900, day.month, day.day, 0);
        CellLines lines;
        const std::lock_guard guard(GetDayMapLock());
        const auto found = GetDayMap().find(key);
        if (found == GetDayMap().end())
        {
            offset = ClampScrollOffset(offset, 0, view.linesPerCell);
            return lines;
        }
        std::vector<const CalendarEntry*> passing;
        passing.reserve(found->second.size());
        {
            std::unique_lock<std::mutex> search;
            if (searching)
                search = std::unique_lock(GetSearchResultsLock());
            for (const auto& [time, entry] : found->second)
            {
                if (!settings.allNotebooks && !IsNotebookShown(entry.notebookIndex))
                    continue;
                if (entry.onModifiedDate ? !settings.showPagesOnLMT : !settings.showPagesOnCreatedDate)
                    continue;
                if (searching &&
                    (!entry.page->hierarchy.ID || !GetSearchResults().contains(*entry.page->hierarchy.ID)))
                    continue;
                passing.push_back(&entry);
            }
        }
        lines.count = static_cast<int>(passing.size());
        offset = ClampScrollOffset(offset, lines.count, view.linesPerCell);
        const size_t from = std::min(passing.size(), static_cast<size_t>(offset));
        const size_t to = std::min(passing.size(), from + static_cast<size_t>(std::max(0, view.linesPerCell)) + 1);
        lines.shown.reserve(to - from);
        for (size_t i = from; i < to; ++i)
            lines.shown.push_back(*passing[i]);
        return lines;
    }

    void DrawCells()
    {
        const DateTime today;
        const tm& shown = state.currentDate.local;
        searching = state.searchBox && GetWindowTextLengthW(state.searchBox) > 0;
        view.linesPerCell = static_cast<int>(rowHeightPixels) / lineHeight - 1;
        for (int r = 0; r < grid.rows; ++r)
        {
            for (int c = 0; c < grid.columns; ++c)
            {
                const size_t index = static_cast<size_t>(r * 7 + c);
                const Gdiplus::RectF cell = view.cells[index];
                const CellDay day = GetCellDay(grid, shown.tm_mon + 1, r, c);
                const DateTime date(shown.tm_year + 1900, day.month, day.day, 0);
                const int textColor = day.otherMonth ? ColorDimmed : ColorText;
                if (day.otherMonth)
                    g.FillRectangle(GetBrush(ColorOtherMonth), cell.X + U(1), cell.Y + U(1), cell.Width - U(2),
                                    cell.Height - U(2));
                if (date.IsSameDay(today))
                {
                    if (settings.viewType != 2)
                        g.FillRectangle(GetBrush(ColorBand), cell);
                    g.DrawRectangle(GetPen(ColorAccent), cell.X, cell.Y, cell.Width - 1, cell.Height - 1);
                }
                const Gdiplus::RectF content(cell.X + U(2), cell.Y + U(2), cell.Width - U(4), cell.Height - U(4));
                if (settings.viewType != 2)
                {
                    const std::wstring number = std::to_wstring(day.day);
                    const Gdiplus::SizeF size = MeasureLine(FontPage, number);
                    const Gdiplus::RectF box(content.X + content.Width - size.Width, content.Y, size.Width, size.Height);
                    const bool hot = IsHot(HitDayNumber, day.month, day.day);
                    cellTexts.Add(number, content, FontPage, hot ? ColorAccent : textColor, DT_RIGHT | DT_TOP);
                    GetHitAreas().push_back(
                        HitArea{.rect = box, .item = day.month, .subItem = day.day, .kind = HitDayNumber});
                }
                unsigned& offset = view.scrollOffsets[index];
                DrawLines(DayLines(day, offset), offset, content, c, r, textColor);
            }
        }
    }

    void DrawLines(const CellLines& lines, unsigned offset, const Gdiplus::RectF& content, int column, int row,
                   int textColor)
    {
        const int perCell = view.linesPerCell;
        // The offset outlives a cell's lines (another month, a search), but the arrow shows only
        // where lines lie above.
        if (offset > 0 && lines.count > 0)
            DrawArrow(L"", g, Gdiplus::RectF(content.X, content.Y, U(12), U(12)), column, row, 0);
        float y = content.Y + static_cast<float>(lineHeight);
        const HitArea& hot = GetHotArea();
        for (size_t i = 0; i < lines.shown.size(); ++i)
        {
            const long long n = static_cast<long long>(offset) + static_cast<long long>(i) + 1;
            if (n > static_cast<long long>(offset) + perCell)
            {
                DrawArrow(L"", g,
                          Gdiplus::RectF(content.X + content.Width - U(12), content.Y + content.Height - U(12), U(12),
                                         U(12)),
                          column, row, 1);
                break;
            }
            const CalendarEntry& entry = lines.shown[i];
            const ON::Page& page = *entry.page;
            const bool unread = page.isUnread.value_or(false);
            const std::wstring& name =
                page.hierarchy.name && !page.hierarchy.name->empty() ? *page.hierarchy.name : GetUiString(StrUntitledPage);
            const float width = n == static_cast<long long>(offset) + perCell ? content.Width - U(15) : content.Width;
            const Gdiplus::RectF box(content.X, y, std::max(0.0f, width), static_cast<float>(lineHeight));
            const Gdiplus::SizeF size = MeasureLine(unread ? FontUnreadPage : FontPage, name);
            const Gdiplus::RectF text(box.X, box.Y + (box.Height - size.Height) / 2, std::min(size.Width, box.Width),
                                      size.Height);
            HitArea area{
                .rect = text, .tooltip = entry.text, .item = column, .subItem = row, .kind = HitPage, .page = entry.page};
            const bool isHot = hot.kind == HitPage && area.IsSame(hot);
            const int font = isHot ? (unread ? FontHotUnreadPage : FontHotPage) : (unread ? FontUnreadPage : FontPage);
            cellTexts.Add(name, box, font, isHot ? ColorAccent : textColor, DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
            GetHitAreas().push_back(std::move(area));
            y += static_cast<float>(lineHeight);
        }
    }

    void DrawSearchFrame()
    {
        if (!state.searchBox || !IsWindowVisible(state.searchBox))
            return;
        RECT box{};
        GetWindowRect(state.searchBox, &box);
        MapWindowPoints(nullptr, state.mainWindow, reinterpret_cast<POINT*>(&box), 2);
        const Gdiplus::RectF frame(static_cast<float>(box.left) - 1, static_cast<float>(box.top) - 1,
                                  static_cast<float>(box.right - box.left) + U(20) + 2,
                                  static_cast<float>(box.bottom - box.top) + 2);
        g.FillRectangle(GetBrush(ColorBackground), frame);
        const bool focused = GetFocus() == state.searchBox;
        g.DrawRectangle(GetPen(focused ? ColorAccent : ColorDimmed), frame);
        const bool running = GetRunningSearches() > 0;
        const Gdiplus::RectF icon(frame.X + frame.Width - U(18), frame.Y + (frame.Height - U(16)) / 2, U(16), U(16));
        const int bitmap = searching && !running ? BitmapClearSearch : BitmapSearch;
        if (const auto image = GetTintedBitmap(bitmap, GetColor(running ? ColorAccent : ColorDimmed),
                                               GetColor(ColorBackground)))
            g.DrawImage(image.get(), icon);
        GetHitAreas().push_back(HitArea{.rect = icon, .kind = HitSearchIcon});
    }

    Gdiplus::Graphics& g;
    const int W;
    const int H;
    const CalendarSettings& settings;
    CalendarState& state;
    CalendarViewState& view;
    const DateNameTables& names;
    Formats formats;
    CellTexts cellTexts;
    CalendarGrid grid;
    int stripWidth = 0;
    int header = 0;
    int lineHeight = 1;
    float dayNameWidth = 0;
    float gridTop = 0;
    float rowHeightPixels = 0;
    Gdiplus::RectF band;
    int lastButtonColor = ColorDimmed;
    bool searching = false;
};
} // namespace

void DrawArrow(const std::wstring& tooltip, Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, int a, int b,
               int direction)
{
    const float size = U(11);
    const float x = std::floor(box.X + (box.Width - size) / 2);
    const float y = std::floor(box.Y + (box.Height - size) / 2);
    HitArea area{.rect = {x, y, size, size},
                 .tooltip = tooltip,
                 .item = a,
                 .subItem = b,
                 .kind = static_cast<HitAreaKind>(direction + 2)};
    static constexpr float Corners[4][6] = {
        {1, 9, 11, 9, 6, 4}, {1, 4, 6, 9, 11, 4}, {9, 1, 9, 11, 4, 6}, {4, 1, 9, 6, 4, 11}};
    const float* corner = Corners[std::clamp(direction, 0, 3)];
    const Gdiplus::PointF points[3] = {{x + U(corner[0]), y + U(corner[1])},
                                       {x + U(corner[2]), y + U(corner[3])},
                                       {x + U(corner[4]), y + U(corner[5])}};
    const int color = area.IsSame(GetHotArea()) ? ColorAccent : ColorDimmed;
    graphics.FillPolygon(GetBrush(color), points, 3);
    graphics.DrawPolygon(GetPen(color), points, 3);
    GetHitAreas().push_back(std::move(area));
}

void PaintCalendar(Gdiplus::Graphics& graphics, int width, int height)
{
    Pass(graphics, width, height).Run();
}
