#include "calendar/CalendarGrid.h"

#include "calendar/CalendarDate.h"
#include "calendar/ViewType.h"

#include <algorithm>

CalendarGrid GetCalendarGrid(const tm& shown, int viewType, bool mondayWeek)
{
    CalendarGrid grid;
    const int year = shown.tm_year + 1900;
    const int month = shown.tm_mon + 1;
    grid.daysInMonth = DaysInMonth(year, month);
    grid.daysInPreviousMonth = month == 1 ? DaysInMonth(year - 1, 12) : DaysInMonth(year, month - 1);
    // The weekday of the 1st follows from the shown day's weekday.
    const int firstWeekday = ((shown.tm_wday - (shown.tm_mday - 1)) % 7 + 7) % 7;
    grid.offset = (firstWeekday - (mondayWeek ? 1 : 0) + 7) % 7;
    grid.columns = viewType == ViewDay ? 1 : 7;
    grid.rows = viewType == ViewMonth ? (grid.offset + grid.daysInMonth > 35 ? 6 : 5) : 1;
    if (viewType == ViewWeek)
        grid.firstDay = FirstDayOfWeek(shown, mondayWeek);
    else if (viewType == ViewDay)
        grid.firstDay = shown.tm_mday;
    else
        grid.firstDay = 1 - grid.offset;
    return grid;
}

CellDay GetCellDay(const CalendarGrid& grid, int shownMonth, int row, int column)
{
    const int day = grid.firstDay + 7 * row + column;
    if (day > grid.daysInMonth)
        return {shownMonth + 1, day - grid.daysInMonth, true};
    if (day < 1)
        return {shownMonth - 1, day + grid.daysInPreviousMonth, true};
    return {shownMonth, day, false};
}

unsigned ClampScrollOffset(unsigned offset, int lineCount, int linesPerCell)
{
    if (lineCount <= 0)
        return offset;
    const int hidable = std::max(0, lineCount - std::max(0, linesPerCell));
    return std::min(offset, static_cast<unsigned>(hidable));
}

int ScrollStep(int linesPerCell) { return std::max(1, linesPerCell); }

CalendarViewState& GetCalendarViewState()
{
    static CalendarViewState state;
    return state;
}
