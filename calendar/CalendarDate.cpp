#include "calendar/CalendarDate.h"

#include "calendar/DateNameTables.h"
#include "calendar/ViewType.h"

namespace
{
// The local fields renormalised through the C library, daylight saving left to it. A time of day
// that the clocks skip on the day the fields name comes back on another day (summer time that
// begins at midnight turns 00:00 into 23:00 of the day before): that day's noon stands for it.
DateTime FromLocalFields(tm fields)
{
    // The calendar day the fields name, carried over by the calendar alone.
    tm day = fields;
    if (_mkgmtime64(&day) == -1)
        return DateTime(0);
    fields.tm_isdst = -1;
    DateTime result(0);
    result.time = _mktime64(&fields);
    if (result.time == -1)
        return DateTime(0);
    result.local = fields;
    if (fields.tm_year != day.tm_year || fields.tm_mon != day.tm_mon || fields.tm_mday != day.tm_mday)
        return DateTime::LocalDay(day.tm_year + 1900, day.tm_mon + 1, day.tm_mday);
    return result;
}

ViewType ViewOf(int viewType)
{
    return viewType >= ViewMonth && viewType <= ViewDay ? static_cast<ViewType>(viewType) : ViewMonth;
}
} // namespace

int LastCalendarYear() { return DateTime().local.tm_year + 1900 + 2; }

DateTime FirstOfMonth(const DateTime& date)
{
    tm fields = date.local;
    fields.tm_mday = 1;
    return FromLocalFields(fields);
}

DateTime FirstOfMonthIn(const DateTime& date, int year, int month)
{
    tm fields = date.local;
    fields.tm_mday = 1;
    fields.tm_mon = month - 1;
    fields.tm_year = year - 1900;
    return FromLocalFields(fields);
}

DateTime StepPeriod(const DateTime& date, int viewType, int sign)
{
    tm fields = date.local;
    const int direction = sign < 0 ? -1 : 1;
    switch (ViewOf(viewType))
    {
    case ViewMonth:
        fields.tm_mday = 1;
        fields.tm_mon += direction;
        break;
    case ViewWeek:
        fields.tm_mday += 7 * direction;
        break;
    default:
        fields.tm_mday += direction;
        break;
    }
    return FromLocalFields(fields);
}

int FirstDayOfWeek(const tm& local, bool mondayWeek)
{
    if (!mondayWeek)
        return local.tm_mday - local.tm_wday;
    return local.tm_wday == 0 ? local.tm_mday - 6 : local.tm_mday - local.tm_wday + 1;
}

bool IsInWeekOf(const DateTime& shown, const DateTime& day, bool mondayWeek)
{
    // By calendar days, so that a week across two months or years, or a change of daylight
    // saving, counts as one week.
    tm first = shown.local;
    first.tm_mday = FirstDayOfWeek(shown.local, mondayWeek);
    first.tm_hour = 12;
    for (int offset = 0; offset < 7; ++offset)
    {
        tm fields = first;
        fields.tm_mday += offset;
        if (FromLocalFields(fields).IsSameDay(day))
            return true;
    }
    return false;
}

namespace
{
// The ends of the period a title names: the first and the last day (the same in the day view),
// each with its month and year, or the month alone in the month view.
struct PeriodEnds
{
    ViewType view;
    int firstYear, firstMonth, firstDay;
    int lastYear, lastMonth, lastDay;
};

PeriodEnds EndsOf(const DateTime& date, ViewType view, bool mondayWeek)
{
    const int year = date.local.tm_year + 1900;
    const int month = date.local.tm_mon + 1;
    const int day = date.local.tm_mday;
    PeriodEnds ends{view, year, month, day, year, month, day};
    if (view != ViewWeek)
        return ends;
    const int first = FirstDayOfWeek(date.local, mondayWeek);
    const int last = first + 6;
    const int length = DaysInMonth(year, month);
    ends.firstDay = first;
    ends.lastDay = last;
    if (first < 1)
    {
        // The previous month of January is December of the shown year, as its length is taken.
        ends.firstMonth = month == 1 ? 12 : month - 1;
        ends.firstYear = month == 1 ? year - 1 : year;
        ends.firstDay = DaysInMonth(year, ends.firstMonth) + first;
    }
    else if (last > length)
    {
        ends.lastMonth = month == 12 ? 1 : month + 1;
        ends.lastYear = month == 12 ? year + 1 : year;
        ends.lastDay = last - length;
    }
    return ends;
}

// Day, month, year: "11 December 2026", "8 - 14 March 2026", "28 Dec - 3 Jan 2026"; a week across
// two months takes the year of its last day.
std::wstring DayFirstTitle(const PeriodEnds& ends, int level, const DateNameTables& names)
{
    const auto at = [](const auto& table, int month) { return table[static_cast<size_t>(month)]; };
    const auto day = [&names](int number) { return std::to_wstring(number) + names.dayNumberEnding; };
    // After the days of the day and week views a month takes the form a day number gives it.
    const bool afterDays = ends.view != ViewMonth;
    std::wstring monthName = at(afterDays ? names.monthNamesAfterDay : names.monthHeadingNames, ends.lastMonth);
    std::wstring shortMonthName =
        at(afterDays ? names.shortMonthNamesAfterDay : names.shortMonthHeadingNames, ends.lastMonth);
    const std::wstring blank = level == 3 ? L"" : L" ";
    std::wstring dayPart;
    if (ends.view == ViewDay)
        dayPart = day(ends.firstDay) + blank;
    else if (ends.view == ViewWeek)
    {
        if (ends.firstMonth != ends.lastMonth)
        {
            dayPart = day(ends.firstDay) + L" " + at(names.shortMonthNamesAfterDay, ends.firstMonth) + L" - " +
                      day(ends.lastDay) + L" " + shortMonthName;
            monthName.clear();
            shortMonthName.clear();
        }
        else
            dayPart = day(ends.firstDay) + L" - " + day(ends.lastDay) + blank;
    }
    const std::wstring year = std::to_wstring(ends.lastYear);
    switch (level)
    {
    case 0: return dayPart + monthName + L" " + year;
    case 1: return dayPart + shortMonthName + L" " + year;
    case 2: return dayPart + shortMonthName;
    default: return dayPart;
    }
}

// Year, month, day without blanks: "2026年12月11日", "2026年12月6日 - 12日", "2026年11月29日 - 12月5日"; a
// week across two years names the year of each end. Level 2 leaves the year out, level 3 the month
// too where the week lies in one month.
std::wstring YearFirstTitle(const PeriodEnds& ends, int level, const DateNameTables& names)
{
    const auto at = [](const auto& table, int month) { return table[static_cast<size_t>(month)]; };
    const auto year = [&names](int number) { return std::to_wstring(number) + names.yearEnding; };
    const auto day = [&names](int number) { return std::to_wstring(number) + names.dayNumberEnding; };
    const bool withYear = level <= 1;
    if (ends.view == ViewMonth)
    {
        if (level == 3)
            return L"";
        const std::wstring month = at(level == 0 ? names.monthHeadingNames : names.shortMonthHeadingNames,
                                      ends.firstMonth);
        return (withYear ? year(ends.firstYear) : L"") + month;
    }
    const auto& months = level == 0 ? names.monthNamesAfterDay : names.shortMonthNamesAfterDay;
    const std::wstring firstMonth = at(months, ends.firstMonth);
    const std::wstring firstYear = withYear ? year(ends.firstYear) : L"";
    if (ends.view == ViewDay)
        return level == 3 ? day(ends.firstDay) : firstYear + firstMonth + day(ends.firstDay);
    if (ends.firstMonth == ends.lastMonth)
    {
        const std::wstring days = day(ends.firstDay) + L" - " + day(ends.lastDay);
        return level == 3 ? days : firstYear + firstMonth + days;
    }
    const std::wstring lastYear = withYear && ends.lastYear != ends.firstYear ? year(ends.lastYear) : L"";
    return firstYear + firstMonth + day(ends.firstDay) + L" - " + lastYear + at(months, ends.lastMonth) +
           day(ends.lastDay);
}
} // namespace

std::wstring FormatPeriodTitle(const DateTime& date, int viewType, bool mondayWeek, int level,
                               const DateNameTables& names)
{
    const PeriodEnds ends = EndsOf(date, ViewOf(viewType), mondayWeek);
    return names.yearFirst ? YearFirstTitle(ends, level, names) : DayFirstTitle(ends, level, names);
}
