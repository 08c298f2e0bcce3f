#pragma once
// A point in time with its local broken-down form, and its text forms.

#include <windows.h>

#include <compare>
#include <ctime>
#include <optional>
#include <string>

struct DateTime
{
    __time64_t time = 0; // seconds since 1970-01-01 00:00 UTC
    tm local{};          // the local broken-down time of `time`

    // Now, as the clock gives it (SetClock).
    DateTime();
    // The instant a count of seconds since 1970 (UTC) names.
    explicit DateTime(__time64_t seconds);
    // Year, month, day, hour, minute and second read as UTC (milliseconds and weekday ignored).
    explicit DateTime(const SYSTEMTIME& utc);
    // A local time on the hour (month 1-12); months and days out of range are carried over. An hour
    // that the clocks skip that day comes back as the C library makes it, which may be on the day
    // before (summer time that begins at midnight): a whole day is LocalDay's.
    DateTime(int year, int month, int day, int hour);

    // A whole local day (month 1-12, carried over as above), as its noon: midnight is not a time of
    // every day where summer time begins at 00:00, noon is, and no change of the clocks moves it to
    // another day.
    static DateTime LocalDay(int year, int month, int day) { return DateTime(year, month, day, 12); }

    // Year, month, day, hour, minute and second read as local time.
    static DateTime FromLocalSystemTime(const SYSTEMTIME& localTime);

    SYSTEMTIME ToUtcSystemTime() const;
    SYSTEMTIME ToLocalSystemTime() const;

    DateTime AddSeconds(__time64_t seconds) const { return DateTime(time + seconds); }
    // The local day of this time, as LocalDay gives it.
    DateTime LocalNoon() const;
    bool IsSameDay(const DateTime& other) const;

    friend bool operator==(const DateTime& a, const DateTime& b) { return a.time == b.time; }
    friend auto operator<=>(const DateTime& a, const DateTime& b) { return a.time <=> b.time; }
};

// The clock that DateTime() reads: the system's (_time64), or a test's own that names another
// instant "now". Gives back the one it replaces; null puts the system's back.
using Clock = __time64_t (*)();
Clock SetClock(Clock clock);

// The days of a month (1-12) of a year of the Gregorian calendar.
int DaysInMonth(int year, int month);

// Whether the fields name a real instant: a day of the Gregorian calendar from 1601 on (where
// file times begin) and a time of that day. The day of the week is not looked at.
bool IsValidSystemTime(const SYSTEMTIME& value);

// xsd:dateTime text with the milliseconds ".000": "Z" for UTC, else the local time and its offset
// ("+01:00", "-05:00", "+00:00").
std::wstring FormatDateTime(const DateTime& dateTime, bool local);

// Reads year-month-day, then optionally hour:minute:second, milliseconds and "Z" or an offset;
// the separators are not checked and missing time fields count as 0. Nothing when the year, month
// or day cannot be read or the date lies outside the C library's range.
std::optional<DateTime> ParseDateTime(const std::wstring& text);

// A localized text of the local date (the user's locale): 0 long date, 1 short date, 2 day name,
// 3 short day name, 4 year, 5 month number (two digits), 6 day of month (two digits), 7 month
// name, 8 short month name, 9 day of the year (1-366), 10 day of the week (0-6, Sunday 0); any other
// kind the short date.
std::wstring GetDateText(const DateTime& dateTime, int kind);
