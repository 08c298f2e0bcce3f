#pragma once
// The calendar's date arithmetic: the years it offers, a step by month, week or day, the first day
// of a week and the period title of a date. None of it needs a window.

#include "framework/text/DateTime.h"

#include <ctime>
#include <string>

struct DateNameTables;

// The first and last year a move may reach: 2000 .. the current year + 2.
constexpr int FirstCalendarYear = 2000;
int LastCalendarYear();

// Each of these keeps the date's time of day, or gives the noon of the day it reaches when the
// clocks skip that time there (summer time that begins at midnight).

// The same local time on the 1st of the date's month.
DateTime FirstOfMonth(const DateTime& date);

// The 1st of a month (1-12) of a year, at the date's time of day.
DateTime FirstOfMonthIn(const DateTime& date, int year, int month);

// One period from date: the 1st of the next or previous month (month view), seven days (week view)
// or one day (day view); a view type out of range counts as the month view. Always by calendar
// fields, so a change of daylight saving neither skips nor repeats a day. Only the sign of sign
// counts (0 is forward).
DateTime StepPeriod(const DateTime& date, int viewType, int sign);

// The period text at level 0 (day part, full month and year) .. 3 (day part only) for the shown
// date, the view and the week start.
std::wstring FormatPeriodTitle(const DateTime& date, int viewType, bool mondayWeek, int level,
                               const DateNameTables& names);

// The day of month of the first day of the shown date's week (below 1 in the month before).
int FirstDayOfWeek(const tm& local, bool mondayWeek);

// Whether day lies in the week that holds shown, the weeks starting on Monday or on Sunday.
bool IsInWeekOf(const DateTime& shown, const DateTime& day, bool mondayWeek);
