#include "calendar/CalendarCommands.h"

#include "calendar/CalendarDate.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/LumdayWindow.h"
#include "calendar/UiLanguages.h"
#include "calendar/ViewType.h"

void SetFirstOfMonth()
{
    DateTime& date = GetCalendarState().currentDate;
    date = FirstOfMonth(date);
}

void MovePeriod(int sign)
{
    DateTime& date = GetCalendarState().currentDate;
    const DateTime moved = StepPeriod(date, GetCalendarSettings().viewType, sign);
    const int year = moved.local.tm_year + 1900;
    if (moved.time != -1 && year >= FirstCalendarYear && year <= LastCalendarYear())
        date = moved;
    UpdateWindowTitle();
    RequestRepaint();
}

void MovePeriodBy(int steps)
{
    for (int i = 0; i < (steps < 0 ? -steps : steps); ++i)
        MovePeriod(steps);
}

void GoToToday()
{
    CalendarState& state = GetCalendarState();
    state.currentDate = DateTime();
    if (state.todayPeriodShown)
        GetCalendarSettings().viewType = ViewDay;
    UpdateWindowTitle();
    RequestRepaint();
}

void SetViewType(int viewType)
{
    GetCalendarSettings().viewType = viewType;
    UpdateWindowTitle();
    RequestRepaint();
}

std::wstring FormatPeriodTitle(int level)
{
    const CalendarSettings& settings = GetCalendarSettings();
    return FormatPeriodTitle(GetCalendarState().currentDate, settings.viewType, settings.mondayWeek, level,
                             GetDateNameTables());
}

void UpdateWindowTitle() { SetMainWindowTitle(FormatPeriodTitle(0)); }
