#include "calendar/CalendarCommands.h"
#include "calendar/CalendarDate.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPaint.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DrawingResources.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/HitArea.h"
#include "calendar/LumdayWindow.h"
#include "calendar/PageOpening.h"
#include "calendar/PagePreview.h"
#include "calendar/PageSearch.h"
#include "calendar/ViewType.h"
#include "framework/ui/OffscreenBitmap.h"

#include <algorithm>
#include <cmath>

namespace
{
bool ControlHeld() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

void InvalidateRectF(const Gdiplus::RectF& rect)
{
    const RECT area{static_cast<LONG>(rect.X), static_cast<LONG>(rect.Y), static_cast<LONG>(rect.X + rect.Width),
                    static_cast<LONG>(rect.Y + rect.Height)};
    InvalidateRect(GetCalendarState().mainWindow, &area, FALSE);
}

void FocusSearchBox()
{
    const HWND box = GetCalendarState().searchBox;
    if (!box)
        return;
    SendMessageW(box, EM_SETSEL, 0, -1);
    SetFocus(box);
}

// Moves a cell's hidden lines by lines (negative: back towards the first line).
void ScrollCell(int column, int row, int lines)
{
    CalendarViewState& view = GetCalendarViewState();
    if (column < 0 || column >= view.columns || row < 0 || row >= view.rows)
        return;
    const size_t index = CellIndex(row, column);
    unsigned& offset = view.scrollOffsets[index];
    if (lines < 0)
        offset -= std::min(offset, static_cast<unsigned>(-lines));
    else
        offset += std::min(static_cast<unsigned>(lines), 0xFFFFu); // the next paint clamps it to the cell's lines
    InvalidateRectF(view.cells[index]);
}

void SetShownDate(const DateTime& date)
{
    if (date.time != -1)
        GetCalendarState().currentDate = date;
}

// The calendar of pages by day.
class CalendarWnd : public LumdayWindow
{
public:
    std::unique_ptr<Gdiplus::Bitmap> OnPaint() override
    {
        const Gdiplus::RectF client = GetClientRectF();
        const int width = std::max(1, static_cast<int>(client.Width));
        const int height = std::max(1, static_cast<int>(client.Height));
        auto bitmap = UI::OffscreenBitmap::Create(width, height);
        if (!bitmap)
            return nullptr;
        {
            Gdiplus::Graphics graphics(bitmap->DC());
            PaintCalendar(graphics, width, height);
        }
        // GDI may still hold drawing back that GDI+ must see in the pixels.
        GdiFlush();
        return bitmap;
    }

    LRESULT OnClick(short x, short y, bool& handled) override
    {
        handled = true;
        CalendarState& state = GetCalendarState();
        const HitArea hot = GetHotArea();
        if (hot.kind != HitSearchIcon)
        {
            state.savedFocus = nullptr;
            SetFocus(state.mainWindow);
        }
        if (!hot.Contains(x, y))
            return 0;
        const tm& shown = state.currentDate.local;
        const int shownYear = shown.tm_year + 1900;
        switch (hot.kind)
        {
        case HitPage:
            if (hot.page)
                OpenPageInOneNote(*hot.page);
            break;
        case HitScrollUp:
            ScrollCell(hot.item, hot.subItem, -ScrollStep(GetCalendarViewState().linesPerCell));
            break;
        case HitScrollDown:
            ScrollCell(hot.item, hot.subItem, ScrollStep(GetCalendarViewState().linesPerCell));
            break;
        case HitPrevious: MovePeriod(-1); break;
        case HitNext: MovePeriod(1); break;
        case HitToday: GoToToday(); break;
        case HitDayNumber:
        {
            const int month = hot.item;
            const int day = hot.subItem;
            SetShownDate(DateTime::LocalDay(shownYear, month, day));
            GetCalendarSettings().viewType = ViewDay;
            break;
        }
        case HitMonth:
        {
            const int month = hot.item;
            SetShownDate(FirstOfMonthIn(state.currentDate, shownYear, month));
            break;
        }
        case HitYear:
        {
            const int year = hot.item;
            SetShownDate(FirstOfMonthIn(state.currentDate, year, shown.tm_mon + 1));
            break;
        }
        case HitRefresh: StartHierarchyLoad(); break;
        case HitSettings: ShowSettingsView(false); break;
        case HitViewType: GetCalendarSettings().viewType = hot.item; break;
        case HitSearchIcon:
            if (state.searchBox)
                SetWindowTextW(state.searchBox, L"");
            FocusSearchBox();
            RequestRepaint();
            break;
        case HitTheme: SetDarkMode(!GetCalendarSettings().darkMode); break;
        default: break;
        }
        if (hot.kind == HitDayNumber || hot.kind == HitMonth || hot.kind == HitYear || hot.kind == HitViewType)
        {
            UpdateWindowTitle();
            RequestRepaint();
        }
        return 0;
    }

    LRESULT OnKeyDown(WPARAM key, bool& handled) override
    {
        handled = true;
        if (key == VK_F5)
        {
            StartHierarchyLoad();
            return 0;
        }
        if (!ControlHeld())
            return 0;
        switch (key)
        {
        case 'F': FocusSearchBox(); break;
        case VK_LEFT: MovePeriod(-1); break;
        case VK_RIGHT: MovePeriod(1); break;
        case '0': GoToToday(); break;
        case '1': SetViewType(ViewMonth); break;
        case '2': SetViewType(ViewWeek); break;
        case '3': SetViewType(ViewDay); break;
        case 'S': ShowSettingsView(false); break;
        case VK_ADD:
        case VK_OEM_PLUS: LargerText(); break;
        case VK_SUBTRACT:
        case VK_OEM_MINUS: SmallerText(); break;
        case VK_F12:
            GetCalendarViewState().outlineHitAreas = !GetCalendarViewState().outlineHitAreas;
            RequestRepaint();
            break;
        default: handled = false; break;
        }
        return 0;
    }

    LRESULT OnMouseWheel(POINT point, int notches, WPARAM keys, bool& handled) override
    {
        handled = true;
        if (keys & MK_CONTROL)
        {
            for (int i = 0; i < std::abs(notches); ++i)
                notches > 0 ? LargerText() : SmallerText();
            return 0;
        }
        if (keys & MK_SHIFT)
        {
            MovePeriodBy(-notches);
            return 0;
        }
        const Gdiplus::RectF client = GetClientRectF();
        const CalendarViewState& view = GetCalendarViewState();
        const Gdiplus::RectF& first = view.cells[0];
        const float x = static_cast<float>(point.x);
        const float y = static_cast<float>(point.y);
        if (x < 0 || y < 0 || x >= client.Width || y >= client.Height || first.Width <= 0 || first.Height <= 0)
            return 0;
        if (y < first.Y)
        {
            MovePeriodBy(-notches);
            return 0;
        }
        const int row = static_cast<int>((y - first.Y) / first.Height);
        const int column = static_cast<int>((x - first.X) / first.Width);
        if (notches != 0)
            ScrollCell(column, row, notches > 0 ? -1 : 1);
        return 0;
    }

    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override
    {
        // Esc reaches the window as IDCANCEL: it empties the search box and takes the focus back.
        CalendarState& state = GetCalendarState();
        if (control && control == state.searchBox)
        {
            if (code == EN_CHANGE)
            {
                const int length = GetWindowTextLengthW(control);
                std::wstring text(static_cast<size_t>(length) + 1, L'\0');
                text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
                QueueSearch(text);
                handled = true;
            }
            else if (code == EN_SETFOCUS || code == EN_KILLFOCUS)
            {
                RequestRepaint();
                handled = true;
            }
            return 0;
        }
        if (id == IDCANCEL)
        {
            if (state.searchBox)
                SetWindowTextW(state.searchBox, L"");
            state.savedFocus = nullptr;
            SetFocus(state.mainWindow);
            handled = true;
        }
        return 0;
    }

    bool OnMouseMove(bool show) override { return UpdatePagePreview(show); }

    void Layout() override
    {
        PlaceSearchBox();
        UpdateScrollBars();
        RequestRepaint();
    }

    void UpdateScrollBars() override
    {
        ResetScrollBar(SB_VERT, 0, 0);
        ResetScrollBar(SB_HORZ, 0, 0);
    }
};
} // namespace

void PlaceSearchBox()
{
    const HWND searchBox = GetCalendarState().searchBox;
    if (!searchBox)
        return;
    // In the bottom bar, between the today button and the view buttons.
    const Gdiplus::RectF client = GetClientRectF();
    const float width = std::min(UnitsToPixels(200), client.Width - UnitsToPixels(224));
    MoveWindow(searchBox, static_cast<int>(UnitsToPixels(40)),
               static_cast<int>(client.Height - UnitsToPixels(22) + UnitsToPixels(1.49f)),
               std::max(0, static_cast<int>(width)), static_cast<int>(UnitsToPixels(18)), TRUE);
}

LumdayWindow& GetCalendarView()
{
    static CalendarWnd view;
    return view;
}
