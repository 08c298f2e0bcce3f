#pragma once
// The day the calendar shows: moving it by month, week or day within the years the calendar
// offers, jumping to today, and the period title of the header and the window.

#include "calendar/UiLanguages.h"
#include "framework/text/DateTime.h"

#include <string>

// The first and last year a move may reach: 2000 .. the current year + 2.
constexpr int FirstCalendarYear = 2000;
int LastCalendarYear();

// The same local time on the 1st of the date's month.
DateTime FirstOfMonth(const DateTime& date);

// The 1st of a month (1-12) of a year, at the date's time of day.
DateTime FirstOfMonthIn(const DateTime& date, int year, int month);

// One period from date: the 1st of the next or previous month (view 0), seven days (view 1) or one
// day (view 2), always by calendar fields, so a change of daylight saving neither skips nor repeats
// a day. Only the sign of sign counts (0 is forward).
DateTime StepPeriod(const DateTime& date, int viewType, int sign);

// The period text at level 0 (day part, full month and year) .. 3 (day part only) for the shown
// date, the view and the week start.
std::wstring FormatPeriodTitle(const DateTime& date, int viewType, bool mondayWeek, int level,
                               const DateNameTables& names);

// The day of month of the first day of the shown date's week (below 1 in the month before).
int FirstDayOfWeek(const tm& local, bool mondayWeek);

// On the calendar's shown date (UI thread).
void SetFirstOfMonth();
// One period back (sign < 0) or forward; a move out of the year window is refused. The window
// title is set and a repaint requested either way.
void MovePeriod(int sign);
void MovePeriodBy(int steps);
// Today; a second press, once the last paint showed today's period, opens today's day view.
void GoToToday();
std::wstring FormatPeriodTitle(int level);
