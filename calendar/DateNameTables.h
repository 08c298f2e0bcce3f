#pragma once
// The month and day names of the current language, split out of its texts. Entry 0 of the month
// tables is December and entry 0 of the day tables Sunday, so that month 0 and a week starting on
// Sunday (0-6) or Monday (1-7) read without wrapping.

#include <array>
#include <string>

struct DateNameTables
{
    std::array<std::wstring, 13> monthNames;
    std::array<std::wstring, 13> shortMonthNames;
    // The forms a month name takes beside a day number (the genitive of Russian, Polish, Czech and
    // Slovak, the numbered months of Chinese; the names above in the other languages).
    std::array<std::wstring, 13> monthNamesAfterDay;
    std::array<std::wstring, 13> shortMonthNamesAfterDay;
    // The forms a month name takes alone as the heading of a month (capitalised in Russian, numbered
    // in Chinese; the names above in the other languages).
    std::array<std::wstring, 13> monthHeadingNames;
    std::array<std::wstring, 13> shortMonthHeadingNames;
    // What the month strip shows: twelve texts that tell every month apart.
    std::array<std::wstring, 13> monthInitials;
    std::array<std::wstring, 8> dayNames;
    std::array<std::wstring, 8> shortDayNames;
    std::array<std::wstring, 3> viewCaptions; // by viewType: month, week, day
    // What follows a day number in a period title: the full stop of Czech, Slovak, German and
    // Norwegian dates, the 日 of Chinese ones, nothing in the other languages.
    std::wstring dayNumberEnding;
    // Chinese dates begin with the year, followed by 年, and run on without blanks.
    bool yearFirst = false;
    std::wstring yearEnding;
};
