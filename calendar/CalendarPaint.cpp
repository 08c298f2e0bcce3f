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
#include "calendar/ViewType.h"
#include "framework/Owners.h"
#include "onenote_model/Page.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <vector>

namespace
{
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

bool IsHot(const HitArea& area) { return area.IsSame(GetHotArea()); }

// One line of text in a font from the left of its box, centred in the box's height (a line of the
// font is height high), ending in "..." where it is wider than the box. Each glyph goes where the
// measure put it: drawn on its own, a line may come out a few pixels wider than it measured (GDI
// under Wine), and the box's edge would cut its last letter where the measure said it fitted.
void DrawTrimmedLine(HDC dc, int font, int height, const std::wstring& text, const RECT& box,
                     std::vector<INT>& advances)
{
    const int width = static_cast<int>(box.right - box.left);
    const std::vector<int> ends = MeasureLineEnds(font, text);
    size_t kept = text.size();
    std::wstring shown;
    std::vector<int> dots;
    if (!ends.empty() && ends.back() > width)
    {
        dots = MeasureLineEnds(font, L"...");
        kept = 0;
        while (kept < text.size() && ends[kept] + dots.back() <= width)
            ++kept;
        // A character outside the basic plane is kept whole or left out whole.
        if (kept > 0 && IS_HIGH_SURROGATE(text[kept - 1]))
            --kept;
        shown = text.substr(0, kept) + L"...";
    }
    advances.clear();
    for (size_t i = 0; i < kept; ++i)
        advances.push_back(ends[i] - (i > 0 ? ends[i - 1] : 0));
    if (kept < text.size())
    {
        for (size_t i = 0; i < dots.size(); ++i)
            advances.push_back(dots[i] - (i > 0 ? dots[i - 1] : 0));
    }
    const std::wstring& drawn = kept < text.size() ? shown : text;
    const int y = static_cast<int>(box.top) + (static_cast<int>(box.bottom - box.top) - height) / 2;
    ExtTextOutW(dc, static_cast<int>(box.left), y, 0, nullptr, drawn.c_str(), static_cast<UINT>(drawn.size()),
                advances.data());
}

// The cells' texts, drawn by GDI in one go once the cells are filled. A month shows well over a
// hundred lines, and GDI+ lays out and rasterises each DrawString on its own, which cost most of a
// paint; GDI keeps its glyphs. The texts of a cell lie over nothing drawn later but the popup.
class CellTexts
{
public:
    void Add(const std::wstring& text, const Gdiplus::RectF& box, int font, int color, UINT format)
    {
        texts_.push_back(Text{text, PixelBox(box), font, color, format, false});
    }

    // A line that ends in "..." where it does not fit its box.
    void AddTrimmed(const std::wstring& text, const Gdiplus::RectF& box, int font, int color)
    {
        texts_.push_back(Text{text, PixelBox(box), font, color, 0, true});
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
            // Each font's line height, read once per paint.
            std::array<int, CalendarFontCount> heights{};
            std::vector<INT> advances;
            for (Text& text : texts_)
            {
                SelectObject(dc, GetGdiFont(text.font));
                const Gdiplus::Color color(GetColor(text.color));
                SetTextColor(dc, RGB(color.GetR(), color.GetG(), color.GetB()));
                int& height = heights.at(static_cast<size_t>(text.font));
                if (text.trimmed && height == 0)
                {
                    TEXTMETRICW metrics{};
                    GetTextMetricsW(dc, &metrics);
                    height = metrics.tmHeight;
                }
                if (text.trimmed)
                    DrawTrimmedLine(dc, text.font, height, text.text, text.box, advances);
                else
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
        bool trimmed;
    };

    static RECT PixelBox(const Gdiplus::RectF& box)
    {
        return RECT{static_cast<LONG>(std::floor(box.X)), static_cast<LONG>(std::floor(box.Y)),
                    static_cast<LONG>(std::floor(box.X + box.Width)), static_cast<LONG>(std::floor(box.Y + box.Height))};
    }

    std::vector<Text> texts_;
};

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

// The header's arrows' tooltips and the view buttons' bitmaps and tooltips, by view type.
constexpr int PreviousPeriodTooltips[] = {StrPreviousMonth, StrPreviousWeek, StrPreviousDay};
constexpr int NextPeriodTooltips[] = {StrNextMonth, StrNextWeek, StrNextDay};
constexpr int ViewButtonBitmaps[] = {BitmapMonthView, BitmapWeekView, BitmapDayView};
constexpr int ViewButtonTooltips[] = {StrMonthView, StrWeekView, StrDayView};
constexpr int ViewTypeCount = 3;

// One paint pass of the calendar view into a client area of width x height pixels.
class CalendarPainter
{
public:
    CalendarPainter(Gdiplus::Graphics& graphics, int width, int height)
        : graphics_(graphics), width_(width), height_(height), settings_(GetCalendarSettings()),
          state_(GetCalendarState()), view_(GetCalendarViewState()), names_(GetDateNameTables())
    {
    }

    void Paint()
    {
        GetHitAreas().clear();
        graphics_.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        graphics_.Clear(Gdiplus::Color(GetColor(ColorBackground)));
        const tm& shown = state_.currentDate.local;
        grid_ = GetCalendarGrid(shown, settings_.viewType, settings_.mondayWeek);
        view_.rows = grid_.rows;
        view_.columns = grid_.columns;
        const Gdiplus::RectF anywhere(0, 0, 10000, 10000);
        const Gdiplus::RectF dayName = Measure(graphics_, names_.dayNames[0], FontDayName, anywhere, &formats_.centred);
        stripWidth_ = static_cast<int>(12 * dayName.Height);
        DrawTitle();
        if (state_.updateProgress > 0)
        {
            DrawUpdateProgress();
            return;
        }
        lineHeight_ = std::max(static_cast<int>(std::ceil(GetLineHeight(FontPage))), RoundedUnits(1));
        const float bandHeight = std::floor(dayName.Height + Units(6));
        dayNameWidth_ = dayName.Width + Units(10);
        float progress = 1;
        if (state_.loading)
        {
            const std::lock_guard guard(GetDayMapLock());
            if (GetDayMap().empty())
                return;
            progress = std::clamp(state_.loadingProgress.load(), 0.0f, 1.0f);
        }
        band_ = Gdiplus::RectF(0, static_cast<float>(headerHeight_), Width() * progress, bandHeight);
        graphics_.FillRectangle(GetBrush(ColorBand), band_);
        band_.Width = Width();
        gridTop_ = static_cast<float>(headerHeight_) + bandHeight;
        DrawColumns();
        DrawHeaderArrows();
        DrawStrips();
        DrawButtons();
        DrawCells();
        cellTexts_.Draw(graphics_);
        if (view_.outlineHitAreas)
            for (const HitArea& area : GetHitAreas())
                graphics_.DrawRectangle(GetPen(ColorDimmed), area.rect);
        DrawPreviewPopup(graphics_, width_, height_);
        DrawSearchFrame();
        const HitArea& hot = GetHotArea();
        if (hot.kind != HitNone && std::none_of(GetHitAreas().begin(), GetHitAreas().end(),
                                                [&](const HitArea& area) { return area.IsSame(hot); }))
            SetHotArea(HitArea());
    }

private:
    float Width() const { return static_cast<float>(width_); }
    float Height() const { return static_cast<float>(height_); }
    ViewType ShownViewType() const
    {
        return static_cast<ViewType>(std::clamp<int>(settings_.viewType, ViewMonth, ViewDay));
    }

    void DrawTitle()
    {
        const float left = Units(24);
        const float top = Units(5);
        for (int level = 0; level < 4; ++level)
        {
            const std::wstring title = FormatPeriodTitle(level);
            if (title.empty())
                break;
            const Gdiplus::RectF origin(left, top, 10000, 10000);
            Gdiplus::RectF box = Measure(graphics_, title, FontTitle, origin, &formats_.nearMiddle);
            box = Gdiplus::RectF(left - Units(1), top - Units(5), box.Width + Units(2), box.Height + Units(10));
            headerHeight_ = static_cast<int>(box.Height);
            if (left + box.Width + static_cast<float>(stripWidth_) < Width())
            {
                DrawText(graphics_, title, FontTitle, box, &formats_.centred, ColorAccent);
                break;
            }
        }
    }

    void DrawUpdateProgress()
    {
        const std::wstring& text = GetUiString(StrInstallingUpdate);
        const Gdiplus::RectF client(0, 0, Width(), Height());
        const Gdiplus::RectF box = Measure(graphics_, text, FontTitle, client, &formats_.centred);
        DrawText(graphics_, text, FontTitle, client, &formats_.centred, ColorAccent);
        const float y = box.Y + box.Height + static_cast<float>(RoundedUnits(10));
        const float barHeight = static_cast<float>(RoundedUnits(2));
        graphics_.FillRectangle(GetBrush(ColorOtherMonth), box.X, y, box.Width, barHeight);
        graphics_.FillRectangle(GetBrush(ColorAccent), box.X, y,
                                box.Width * std::min(1.0f, state_.updateProgress.load()), barHeight);
    }

    // The columns' day names in the band, and every cell's rectangle.
    void DrawColumns()
    {
        const int columnWidth = width_ / grid_.columns;
        float x = -Units(1);
        const tm& shown = state_.currentDate.local;
        for (int column = 0; column < grid_.columns; ++column)
        {
            const float width = column == grid_.columns - 1 ? Width() - x : static_cast<float>(columnWidth);
            for (int row = 0; row < MaxCalendarRows; ++row)
            {
                view_.cells[CellIndex(row, column)].X = x;
                view_.cells[CellIndex(row, column)].Width = width;
            }
            graphics_.DrawLine(GetPen(ColorDimmed), x, band_.Y, x, gridTop_);
            std::wstring text;
            if (settings_.viewType == ViewDay)
                text = FormatDayTitle(shown.tm_mon + 1, shown.tm_mday, shown.tm_wday);
            else
            {
                const size_t day = static_cast<size_t>(column + (settings_.mondayWeek ? 1 : 0));
                text = static_cast<float>(columnWidth) < dayNameWidth_ ? names_.shortDayNames[day]
                                                                       : names_.dayNames[day];
            }
            DrawText(graphics_, text, FontDayName, Gdiplus::RectF(x, band_.Y, width, band_.Height), &formats_.centred,
                     ColorText);
            x += static_cast<float>(columnWidth);
        }
        const float bottomBar = BottomBarHeight();
        rowHeight_ = std::floor((Height() - gridTop_ - bottomBar) / static_cast<float>(grid_.rows));
        float y = gridTop_;
        for (int row = 0; row < grid_.rows; ++row)
        {
            const float height = row == grid_.rows - 1 ? Height() - y - bottomBar : rowHeight_;
            for (int column = 0; column < MaxCalendarColumns; ++column)
            {
                view_.cells[CellIndex(row, column)].Y = y;
                view_.cells[CellIndex(row, column)].Height = height;
            }
            y += rowHeight_;
        }
    }

    void DrawHeaderArrows()
    {
        const size_t view = static_cast<size_t>(ShownViewType());
        const float y = (static_cast<float>(headerHeight_) - band_.Height) / 2;
        const float width = Units(12);
        DrawArrow(GetUiString(PreviousPeriodTooltips[view]), graphics_, Gdiplus::RectF(0, y, width, band_.Height), 0, 0,
                  ArrowLeft);
        DrawArrow(GetUiString(NextPeriodTooltips[view]), graphics_, Gdiplus::RectF(width, y, width, band_.Height), 0, 0,
                  ArrowRight);
        graphics_.DrawLine(GetPen(ColorDimmed), 0.0f, static_cast<float>(headerHeight_), Width(),
                           static_cast<float>(headerHeight_));
    }

    void DrawStrips()
    {
        const float half = static_cast<float>(headerHeight_) / 2;
        const int shownYear = state_.currentDate.local.tm_year + 1900;
        const int shownMonth = state_.currentDate.local.tm_mon + 1;
        const float yearWidth = static_cast<float>(stripWidth_) / 5;
        float x = static_cast<float>(width_ - stripWidth_);
        for (int year = shownYear - 2; year <= shownYear + 2; ++year, x += yearWidth)
        {
            if (year < FirstCalendarYear || year > LastCalendarYear())
                continue;
            DrawSlot(std::to_wstring(year), HitArea{.rect = {x, 0, yearWidth, half}, .item = year, .kind = HitYear},
                     year == shownYear);
        }
        const float monthWidth = static_cast<float>(stripWidth_) / 12;
        // Each month shows its whole text. Texts wider than a slot (the two digits of 10, 11 and
        // 12 in a font wider than the one the strip was made for) are narrowed all alike, so that
        // neighbours never run into each other.
        float widest = 0;
        for (int month = 1; month <= 12; ++month)
            widest =
                std::max(widest, MeasureLine(FontHighlight, names_.monthInitials[static_cast<size_t>(month)]).Width);
        const float room = monthWidth - Units(4);
        const float narrowing = widest > room && room > 0 ? room / widest : 1.0f;
        x = static_cast<float>(width_ - stripWidth_);
        for (int month = 1; month <= 12; ++month, x += monthWidth)
            DrawSlot(names_.monthInitials[static_cast<size_t>(month)],
                     HitArea{.rect = {x, half, monthWidth, half}, .item = month, .kind = HitMonth},
                     month == shownMonth, narrowing);
    }

    // A slot of a strip, highlighted when it is the shown one or the hot one.
    void DrawSlot(const std::wstring& text, HitArea area, bool shown, float narrowing = 1.0f)
    {
        const bool highlight = shown || IsHot(area);
        const Gdiplus::RectF& slot = area.rect;
        // Centred over its slot, but free to run into its neighbours' margins where the slot is narrower.
        const Gdiplus::GraphicsState saved = graphics_.Save();
        graphics_.TranslateTransform(slot.X + slot.Width / 2, 0);
        graphics_.ScaleTransform(narrowing, 1);
        const Gdiplus::RectF wide(-slot.Width * 1.5f / narrowing, slot.Y, slot.Width * 3 / narrowing, slot.Height);
        DrawText(graphics_, text, highlight ? FontHighlight : FontDayName, wide, &formats_.centredLine,
                 highlight ? ColorAccent : ColorDimmed);
        graphics_.Restore(saved);
        GetHitAreas().push_back(std::move(area));
    }

    // A button of the bottom bar, x pixels from the left; returns the colour it was drawn in.
    int DrawButton(HitAreaKind kind, int item, int bitmap, float x, float width, int tooltip, bool selected)
    {
        HitArea area{.rect = {x, Height() - Units(20), width, Units(16)},
                     .tooltip = GetUiString(tooltip),
                     .item = item,
                     .kind = kind};
        const bool hot = IsHot(area);
        int color = hot || selected ? ColorAccent : ColorDimmed;
        if (kind == HitViewType && (hot || selected) && settings_.darkMode)
            color = ColorText;
        if (const auto image = GetTintedBitmap(bitmap, GetColor(color), GetColor(ColorBackground)))
            graphics_.DrawImage(image.get(), Gdiplus::RectF(area.rect.X, area.rect.Y, Units(16), Units(16)));
        GetHitAreas().push_back(std::move(area));
        return color;
    }

    void DrawButtons()
    {
        const DateTime today;
        const tm& shown = state_.currentDate.local;
        const bool sameMonth = shown.tm_year == today.local.tm_year && shown.tm_mon == today.local.tm_mon;
        state_.todayPeriodShown = true;
        int todayTooltip = StrGoToToday;
        if (settings_.viewType == ViewMonth && !sameMonth)
        {
            todayTooltip = StrGoToThisMonth;
            state_.todayPeriodShown = false;
        }
        else if (settings_.viewType == ViewWeek && !IsInWeekOf(state_.currentDate, today, settings_.mondayWeek))
        {
            todayTooltip = StrGoToThisWeek;
            state_.todayPeriodShown = false;
        }
        const bool todayShownInDayView = settings_.viewType == ViewDay && state_.currentDate.IsSameDay(today);
        if (!todayShownInDayView)
        {
            const int color = DrawButton(HitToday, 0, BitmapToday, Units(4), Units(16), todayTooltip, false);
            const Gdiplus::RectF box(Units(4), Height() - Units(20) + Units(5), Units(16), Units(16) - Units(5));
            DrawText(graphics_, std::to_wstring(today.local.tm_mday), FontSmallNumber, box, &formats_.centred, color);
        }
        const float refreshX = Width() - Units(20);
        DrawButton(HitRefresh, 0, BitmapRefresh, refreshX, Units(16), StrRefresh, false);
        const float settingsX = refreshX - Units(32);
        DrawButton(HitSettings, 0, BitmapSettings, settingsX, Units(20), StrSettingsButton, false);
        for (int view = ViewMonth; view < ViewTypeCount; ++view)
            DrawButton(HitViewType, view, ViewButtonBitmaps[view],
                       settingsX - Units(68) + static_cast<float>(view) * Units(20), Units(16),
                       ViewButtonTooltips[view], settings_.viewType == view);
        DrawButton(HitTheme, 0, BitmapTheme, settingsX - Units(96), Units(16), StrTheme, false);
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
        const DateTime key = DateTime::LocalDay(state_.currentDate.local.tm_year + 1900, day.month, day.day);
        CellLines lines;
        const std::lock_guard guard(GetDayMapLock());
        const auto found = GetDayMap().find(key);
        if (found == GetDayMap().end())
        {
            offset = ClampScrollOffset(offset, 0, view_.linesPerCell);
            return lines;
        }
        std::vector<const CalendarEntry*> passing;
        passing.reserve(found->second.size());
        {
            std::unique_lock<std::mutex> searchLock;
            if (searching_)
                searchLock = std::unique_lock(GetSearchResultsLock());
            for (const auto& [time, entry] : found->second)
            {
                if (!settings_.allNotebooks && !IsNotebookShown(entry.notebookIndex))
                    continue;
                if (entry.onModifiedDate ? !settings_.showPagesOnLMT : !settings_.showPagesOnCreatedDate)
                    continue;
                if (searching_ &&
                    (!entry.page->hierarchy.ID || !GetSearchResults().contains(*entry.page->hierarchy.ID)))
                    continue;
                passing.push_back(&entry);
            }
        }
        lines.count = static_cast<int>(passing.size());
        offset = ClampScrollOffset(offset, lines.count, view_.linesPerCell);
        const size_t from = std::min(passing.size(), static_cast<size_t>(offset));
        const size_t to = std::min(passing.size(), from + static_cast<size_t>(std::max(0, view_.linesPerCell)) + 1);
        lines.shown.reserve(to - from);
        for (size_t i = from; i < to; ++i)
            lines.shown.push_back(*passing[i]);
        return lines;
    }

    void DrawCells()
    {
        const DateTime today;
        const tm& shown = state_.currentDate.local;
        searching_ = state_.searchBox && GetWindowTextLengthW(state_.searchBox) > 0;
        view_.linesPerCell = static_cast<int>(rowHeight_) / lineHeight_ - 1;
        for (int row = 0; row < grid_.rows; ++row)
        {
            for (int column = 0; column < grid_.columns; ++column)
            {
                const size_t index = CellIndex(row, column);
                const Gdiplus::RectF cell = view_.cells[index];
                const CellDay day = GetCellDay(grid_, shown.tm_mon + 1, row, column);
                const DateTime date = DateTime::LocalDay(shown.tm_year + 1900, day.month, day.day);
                const int textColor = day.otherMonth ? ColorDimmed : ColorText;
                if (day.otherMonth)
                    graphics_.FillRectangle(GetBrush(ColorOtherMonth), cell.X + Units(1), cell.Y + Units(1),
                                            cell.Width - Units(2), cell.Height - Units(2));
                if (date.IsSameDay(today))
                {
                    if (settings_.viewType != ViewDay)
                        graphics_.FillRectangle(GetBrush(ColorBand), cell);
                    graphics_.DrawRectangle(GetPen(ColorAccent), cell.X, cell.Y, cell.Width - 1, cell.Height - 1);
                }
                const Gdiplus::RectF content(cell.X + Units(2), cell.Y + Units(2), cell.Width - Units(4),
                                             cell.Height - Units(4));
                if (settings_.viewType != ViewDay)
                    DrawDayNumber(day, content, textColor);
                unsigned& offset = view_.scrollOffsets[index];
                DrawLines(DayLines(day, offset), offset, content, column, row, textColor);
            }
        }
    }

    void DrawDayNumber(const CellDay& day, const Gdiplus::RectF& content, int textColor)
    {
        const std::wstring number = std::to_wstring(day.day);
        const Gdiplus::SizeF size = MeasureLine(FontPage, number);
        HitArea area{.rect = {content.X + content.Width - size.Width, content.Y, size.Width, size.Height},
                     .item = day.month,
                     .subItem = day.day,
                     .kind = HitDayNumber};
        cellTexts_.Add(number, content, FontPage, IsHot(area) ? ColorAccent : textColor, DT_RIGHT | DT_TOP);
        GetHitAreas().push_back(std::move(area));
    }

    void DrawLines(const CellLines& lines, unsigned offset, const Gdiplus::RectF& content, int column, int row,
                   int textColor)
    {
        const int perCell = view_.linesPerCell;
        const float arrowBox = Units(12);
        // A line begins a little way into its cell, clear of the edge it shares with the day before.
        const float lead = Units(3);
        // The offset outlives a cell's lines (another month, a search), but the arrow shows only
        // where lines lie above.
        if (offset > 0 && lines.count > 0)
            DrawArrow(L"", graphics_, Gdiplus::RectF(content.X, content.Y, arrowBox, arrowBox), column, row, ArrowUp);
        float y = content.Y + static_cast<float>(lineHeight_);
        const HitArea& hot = GetHotArea();
        for (size_t i = 0; i < lines.shown.size(); ++i)
        {
            // The line's number among the cell's lines, counting from 1.
            const long long number = static_cast<long long>(offset) + static_cast<long long>(i) + 1;
            if (number > static_cast<long long>(offset) + perCell)
            {
                DrawArrow(L"", graphics_,
                          Gdiplus::RectF(content.X + content.Width - arrowBox, content.Y + content.Height - arrowBox,
                                         arrowBox, arrowBox),
                          column, row, ArrowDown);
                break;
            }
            const CalendarEntry& entry = lines.shown[i];
            const ON::Page& page = *entry.page;
            const bool unread = page.isUnread.value_or(false);
            const std::wstring& name =
                page.hierarchy.name && !page.hierarchy.name->empty() ? *page.hierarchy.name : GetUiString(StrUntitledPage);
            // The last line leaves room for the down arrow.
            const bool lastLine = number == static_cast<long long>(offset) + perCell;
            const float width = (lastLine ? content.Width - Units(15) : content.Width) - lead;
            const Gdiplus::RectF box(content.X + lead, y, std::max(0.0f, width), static_cast<float>(lineHeight_));
            const Gdiplus::SizeF size = MeasureLine(unread ? FontUnreadPage : FontPage, name);
            const Gdiplus::RectF text(box.X, box.Y + (box.Height - size.Height) / 2, std::min(size.Width, box.Width),
                                      size.Height);
            HitArea area{.rect = text,
                         .tooltip = entry.text,
                         .item = column,
                         .subItem = row,
                         .kind = HitPage,
                         .page = entry.page};
            const bool isHot = hot.kind == HitPage && area.IsSame(hot);
            const int font = isHot ? (unread ? FontHotUnreadPage : FontHotPage) : (unread ? FontUnreadPage : FontPage);
            cellTexts_.AddTrimmed(name, box, font, isHot ? ColorAccent : textColor);
            GetHitAreas().push_back(std::move(area));
            y += static_cast<float>(lineHeight_);
        }
    }

    void DrawSearchFrame()
    {
        if (!state_.searchBox || !IsWindowVisible(state_.searchBox))
            return;
        RECT box{};
        GetWindowRect(state_.searchBox, &box);
        MapWindowPoints(nullptr, state_.mainWindow, reinterpret_cast<POINT*>(&box), 2);
        const Gdiplus::RectF frame(static_cast<float>(box.left) - 1, static_cast<float>(box.top) - 1,
                                   static_cast<float>(box.right - box.left) + Units(20) + 2,
                                   static_cast<float>(box.bottom - box.top) + 2);
        graphics_.FillRectangle(GetBrush(ColorBackground), frame);
        const bool focused = GetFocus() == state_.searchBox;
        graphics_.DrawRectangle(GetPen(focused ? ColorAccent : ColorDimmed), frame);
        const bool running = GetRunningSearches() > 0;
        const Gdiplus::RectF icon(frame.X + frame.Width - Units(18), frame.Y + (frame.Height - Units(16)) / 2,
                                  Units(16), Units(16));
        const int bitmap = searching_ && !running ? BitmapClearSearch : BitmapSearch;
        if (const auto image = GetTintedBitmap(bitmap, GetColor(running ? ColorAccent : ColorDimmed),
                                               GetColor(ColorBackground)))
            graphics_.DrawImage(image.get(), icon);
        GetHitAreas().push_back(HitArea{.rect = icon, .kind = HitSearchIcon});
    }

    Gdiplus::Graphics& graphics_;
    const int width_;
    const int height_;
    const CalendarSettings& settings_;
    CalendarState& state_;
    CalendarViewState& view_;
    const DateNameTables& names_;
    Formats formats_;
    CellTexts cellTexts_;
    CalendarGrid grid_;
    // The year and month strips' width, right-aligned in the header.
    int stripWidth_ = 0;
    int headerHeight_ = 0;
    int lineHeight_ = 1;
    // The band's width for full day names; narrower columns show the short ones.
    float dayNameWidth_ = 0;
    float gridTop_ = 0;
    float rowHeight_ = 0;
    Gdiplus::RectF band_;
    bool searching_ = false;
};
} // namespace

void DrawArrow(const std::wstring& tooltip, Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, int column,
               int row, ArrowDirection direction)
{
    static constexpr HitAreaKind Kinds[] = {HitScrollUp, HitScrollDown, HitPrevious, HitNext};
    // The triangle's corners, in units from the arrow box's top left.
    static constexpr float Corners[][6] = {
        {1, 9, 11, 9, 6, 4}, {1, 4, 6, 9, 11, 4}, {9, 1, 9, 11, 4, 6}, {4, 1, 9, 6, 4, 11}};
    const size_t way = static_cast<size_t>(std::clamp(static_cast<int>(direction), 0, 3));
    const float size = Units(11);
    const float x = std::floor(box.X + (box.Width - size) / 2);
    const float y = std::floor(box.Y + (box.Height - size) / 2);
    HitArea area{.rect = {x, y, size, size}, .tooltip = tooltip, .item = column, .subItem = row, .kind = Kinds[way]};
    const float* corner = Corners[way];
    const Gdiplus::PointF points[3] = {{x + Units(corner[0]), y + Units(corner[1])},
                                       {x + Units(corner[2]), y + Units(corner[3])},
                                       {x + Units(corner[4]), y + Units(corner[5])}};
    const int color = IsHot(area) ? ColorAccent : ColorDimmed;
    graphics.FillPolygon(GetBrush(color), points, 3);
    graphics.DrawPolygon(GetPen(color), points, 3);
    GetHitAreas().push_back(std::move(area));
}

float BottomBarHeight() { return Units(24); }

void PaintCalendar(Gdiplus::Graphics& graphics, int width, int height)
{
    CalendarPainter(graphics, width, height).Paint();
}
