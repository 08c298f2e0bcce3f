#include "framework/text/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
// The C library takes its time zone from TZ ("JST-9": nine hours east, no daylight saving time).
class TimeZone
{
public:
    explicit TimeZone(const wchar_t* zone)
    {
        if (const wchar_t* old = _wgetenv(L"TZ"))
            previous_ = old;
        _wputenv_s(L"TZ", zone);
        _tzset();
    }
    ~TimeZone()
    {
        _wputenv_s(L"TZ", previous_.c_str());
        _tzset();
    }

private:
    std::wstring previous_;
};

SYSTEMTIME Utc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

const __time64_t march5 = 1709647629; // 2024-03-05T14:07:09Z
} // namespace

TEST(DateTime, UtcFormNeverWritesAnOffset)
{
    for (const wchar_t* zone : {L"GMT0", L"JST-9", L"EST5"})
    {
        TimeZone scope(zone);
        EXPECT_EQ(FormatDateTime(DateTime(march5), false), L"2024-03-05T14:07:09.000Z") << zone;
    }
}

TEST(DateTime, LocalFormWritesTheOffsetOfTheZone)
{
    {
        TimeZone scope(L"GMT0");
        EXPECT_EQ(FormatDateTime(DateTime(march5), true), L"2024-03-05T14:07:09.000+00:00");
    }
    {
        TimeZone scope(L"JST-9");
        EXPECT_EQ(FormatDateTime(DateTime(march5), true), L"2024-03-05T23:07:09.000+09:00");
    }
    {
        TimeZone scope(L"EST5");
        EXPECT_EQ(FormatDateTime(DateTime(march5), true), L"2024-03-05T09:07:09.000-05:00");
    }
    {
        TimeZone scope(L"IST-5:30");
        EXPECT_EQ(FormatDateTime(DateTime(march5), true), L"2024-03-05T19:37:09.000+05:30");
    }
}

TEST(DateTime, LocalTextReadsBackAsTheSameInstantInEveryZone)
{
    for (const wchar_t* zone : {L"GMT0", L"JST-9", L"EST5", L"IST-5:30"})
    {
        TimeZone scope(zone);
        const auto parsed = ParseDateTime(FormatDateTime(DateTime(march5), true));
        ASSERT_TRUE(parsed) << zone;
        EXPECT_EQ(parsed->time, march5) << zone;
    }
}

TEST(DateTime, ParsesZoneOffsetsSpacesAndDatesAlone)
{
    EXPECT_EQ(ParseDateTime(L"2024-03-05T14:07:09.000Z")->time, march5);
    EXPECT_EQ(ParseDateTime(L"2024-03-05T15:07:09.000+01:00")->time, march5);
    EXPECT_EQ(ParseDateTime(L"2024-03-05T09:07:09.000-05:00")->time, march5);
    EXPECT_EQ(ParseDateTime(L"2024-03-05 14:07:09")->time, march5);
    EXPECT_EQ(ParseDateTime(L"2024-03-05T15:07:09+01:00")->time, march5);
    EXPECT_EQ(ParseDateTime(L"2024-03-05")->time, march5 - (14 * 3600 + 7 * 60 + 9));
    EXPECT_EQ(ParseDateTime(L"2024-03-05T23:37:09.000+09:30")->time, march5);
}

TEST(DateTime, TextWhoseDateCannotBeReadIsReportedUnreadable)
{
    EXPECT_FALSE(ParseDateTime(L""));
    EXPECT_FALSE(ParseDateTime(L"yesterday"));
    EXPECT_FALSE(ParseDateTime(L"2024"));
    EXPECT_FALSE(ParseDateTime(L"2024-03"));
    EXPECT_FALSE(ParseDateTime(L"1900-01-01T00:00:00Z"));
}

TEST(DateTime, LocalFieldsFollowTheZone)
{
    TimeZone scope(L"JST-9");
    const DateTime time(Utc(2024, 3, 5, 20, 0, 0));
    EXPECT_EQ(time.local.tm_mday, 6);
    EXPECT_EQ(time.local.tm_hour, 5);
    const SYSTEMTIME utc = time.ToUtcSystemTime();
    EXPECT_EQ(utc.wDay, 5);
    EXPECT_EQ(utc.wHour, 20);
    const SYSTEMTIME local = time.ToLocalSystemTime();
    EXPECT_EQ(local.wDay, 6);
    EXPECT_EQ(local.wDayOfWeek, 3);
    EXPECT_EQ(DateTime::FromLocalSystemTime(local).time, time.time);
    EXPECT_EQ(time.LocalNoon().time, DateTime(Utc(2024, 3, 6, 3, 0, 0)).time);
    EXPECT_TRUE(time.IsSameDay(time.LocalNoon()));
    EXPECT_FALSE(time.IsSameDay(time.AddSeconds(19 * 3600)));
}

TEST(DateTime, LocalHourConstructorCarriesMonthsAndDaysOver)
{
    const DateTime thirteenth(2024, 13, 1, 0);
    EXPECT_EQ(thirteenth.local.tm_year + 1900, 2025);
    EXPECT_EQ(thirteenth.local.tm_mon, 0);
    const DateTime dayZero(2024, 3, 0, 6);
    EXPECT_EQ(dayZero.local.tm_mon, 1);
    EXPECT_EQ(dayZero.local.tm_mday, 29);
    EXPECT_LT(dayZero, thirteenth);
}

TEST(DateTime, DaysInMonthFollowsTheLeapYearRules)
{
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 4), 30);
    EXPECT_EQ(DaysInMonth(2024, 12), 31);
}

TEST(DateTime, DateTextsOfNumbersAreLocaleFree)
{
    const DateTime newYearsEve(2024, 12, 31, 12);
    EXPECT_EQ(GetDateText(newYearsEve, 9), L"366");
    EXPECT_EQ(GetDateText(DateTime(2023, 12, 31, 12), 9), L"365");
    EXPECT_EQ(GetDateText(newYearsEve, 10), L"2");
    EXPECT_EQ(GetDateText(newYearsEve, 4), L"2024");
    EXPECT_EQ(GetDateText(DateTime(2024, 3, 5, 12), 5), L"03");
    EXPECT_EQ(GetDateText(DateTime(2024, 3, 5, 12), 6), L"05");
    EXPECT_FALSE(GetDateText(newYearsEve, 0).empty());
    EXPECT_EQ(GetDateText(newYearsEve, 42), GetDateText(newYearsEve, 1));
    EXPECT_NE(GetDateText(newYearsEve, 7), GetDateText(newYearsEve, 8));
}
