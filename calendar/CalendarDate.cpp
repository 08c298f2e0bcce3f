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

std::wstring FormatPeriodTitle(const DateTime& date, int viewType, bool mondayWeek, int level,
                               const DateNameTables& names)
{
    const ViewType view = ViewOf(viewType);
    const int month = date.local.tm_mon + 1;
    int year = date.local.tm_year + 1900;
    // After the days of the day and week views a month takes the form a day number gives it.
    const bool afterDays = view != ViewMonth;
    std::wstring monthName = (afterDays ? names.monthNamesAfterDay : names.monthNames)[static_cast<size_t>(month)];
    std::wstring shortMonthName =
        (afterDays ? names.shortMonthNamesAfterDay : names.shortMonthNames)[static_cast<size_t>(month)];
    const std::wstring blank = level == 3 ? L"" : L" ";
    const auto day = [&names](int number) { return std::to_wstring(number) + names.dayNumberEnding; };
    std::wstring dayPart;
    if (view == ViewDay)
    {
        dayPart = day(date.local.tm_mday) + blank;
    }
    else if (view == ViewWeek)
    {
        const int first = FirstDayOfWeek(date.local, mondayWeek);
        const int last = first + 6;
        const int length = DaysInMonth(year, month);
        if (first < 1)
        {
            const int previous = month == 1 ? 12 : month - 1;
            dayPart = day(DaysInMonth(year, previous) + first) + L" " +
                      names.shortMonthNamesAfterDay[static_cast<size_t>(previous)] + L" - " + day(last) + L" " +
                      shortMonthName;
            monthName.clear();
            shortMonthName.clear();
        }
        else if (last > length)
        {
            const int next = month == 12 ? 1 : month + 1;
            if (month == 12)
                ++year;
            dayPart = day(first) + L" " + shortMonthName + L" - " + day(last - length) + L" " +
                      names.shortMonthNamesAfterDay[static_cast<size_t>(next)];
            monthName.clear();
            shortMonthName.clear();
        }
        else
        {
            dayPart = day(first) + L" - " + day(last) + blank;
        }
    }
    switch (level)
    {
    case 0:
        return dayPart + monthName + L" " + std::to_wstring(year);
    case 1:
        return dayPart + shortMonthName + L" " + std::to_wstring(year);
    case 2:
        return dayPart + shortMonthName;
    default:
        return dayPart;
    }
}
