#include "calendar/CalendarCommands.h"
#include "calendar/CalendarDate.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/UiLanguages.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
// The count of days since 1970 of a date's local calendar day, worked out apart from the C
// library's local-time rules.
long long DayNumber(const DateTime& date)
{
    tm fields{};
    fields.tm_year = date.local.tm_year;
    fields.tm_mon = date.local.tm_mon;
    fields.tm_mday = date.local.tm_mday;
    fields.tm_hour = 12;
    return _mkgmtime64(&fields) / 86400;
}

class CalendarDate : public testing::Test
{
protected:
    void SetUp() override
    {
        LoadLanguageStrings(L"en");
        FillDateNameTables();
        saved = GetCalendarSettings();
        savedDate = GetCalendarState().currentDate;
    }
    void TearDown() override
    {
        GetCalendarSettings() = saved;
        GetCalendarState().currentDate = savedDate;
        GetCalendarState().todayPeriodShown = false;
    }

    static std::wstring Title(int year, int month, int day, int view, bool monday, int level)
    {
        return FormatPeriodTitle(DateTime(year, month, day, 0), view, monday, level, GetDateNameTables());
    }

    CalendarSettings saved;
    DateTime savedDate;
};

// The tests run in Europe/Berlin: 2026 turns the clocks forward on 29 March and back on 25 October.
TEST_F(CalendarDate, DaySteps_ReachEveryDayOfAYearOnceInOrderAcrossDaylightSaving)
{
    for (int hour : {0, 1, 2, 3, 12, 23})
    {
        for (int sign : {1, -1})
        {
            SCOPED_TRACE(testing::Message() << "hour " << hour << " sign " << sign);
            DateTime date = sign > 0 ? DateTime(2026, 1, 1, hour) : DateTime(2026, 12, 31, hour);
            for (int step = 0; step < 365; ++step)
            {
                const DateTime next = StepPeriod(date, 2, sign);
                ASSERT_EQ(DayNumber(next), DayNumber(date) + sign) << "step " << step;
                ASSERT_EQ(next.local.tm_wday, (date.local.tm_wday + 7 + sign) % 7);
                date = next;
            }
            EXPECT_EQ(date.local.tm_year + 1900, sign > 0 ? 2027 : 2025);
        }
    }
}

TEST_F(CalendarDate, WeekSteps_KeepTheWeekdayAndMoveSevenDays)
{
    DateTime date(2026, 1, 5, 0);
    for (int step = 0; step < 52; ++step)
    {
        const DateTime next = StepPeriod(date, 1, 1);
        ASSERT_EQ(DayNumber(next), DayNumber(date) + 7) << "step " << step;
        ASSERT_EQ(next.local.tm_wday, 1);
        ASSERT_EQ(next.local.tm_hour, 0);
        date = next;
    }
    EXPECT_EQ(DayNumber(StepPeriod(DateTime(2026, 11, 1, 0), 1, -1)), DayNumber(DateTime(2026, 10, 25, 0)));
}

TEST_F(CalendarDate, MonthSteps_AlwaysLandOnTheFirstOfTheNextOrPreviousMonth)
{
    DateTime date(2026, 1, 31, 0);
    for (int month = 2; month <= 13; ++month)
    {
        date = StepPeriod(date, 0, 1);
        ASSERT_EQ(date.local.tm_mday, 1);
        ASSERT_EQ(date.local.tm_mon, (month - 1) % 12);
        ASSERT_EQ(date.local.tm_hour, 0);
    }
    EXPECT_EQ(date.local.tm_year + 1900, 2027);
    const DateTime back = StepPeriod(DateTime(2026, 3, 1, 0), 0, -1);
    EXPECT_EQ(back.local.tm_mon + 1, 2);
    EXPECT_EQ(back.local.tm_mday, 1);
    const DateTime fromJanuary = StepPeriod(DateTime(2026, 1, 20, 0), 0, -1);
    EXPECT_EQ(fromJanuary.local.tm_year + 1900, 2025);
    EXPECT_EQ(fromJanuary.local.tm_mon + 1, 12);
    EXPECT_EQ(FirstOfMonth(DateTime(2026, 10, 31, 0)).local.tm_mday, 1);
}

TEST_F(CalendarDate, PeriodTitle_ReadsByViewAndLevel)
{
    struct Case
    {
        int year, month, day, view;
        bool monday;
        const wchar_t* levels[4];
    };
    const Case cases[] = {
        {2026, 3, 11, 0, false, {L"March 2026", L"Mar 2026", L"Mar", L""}},
        {2026, 3, 11, 2, false, {L"11 March 2026", L"11 Mar 2026", L"11 Mar", L"11"}},
        {2026, 3, 11, 1, false, {L"8 - 14 March 2026", L"8 - 14 Mar 2026", L"8 - 14 Mar", L"8 - 14"}},
        {2026, 3, 11, 1, true, {L"9 - 15 March 2026", L"9 - 15 Mar 2026", L"9 - 15 Mar", L"9 - 15"}},
        // A week that runs into January while the date is in December takes January's year.
        {2025, 12, 30, 1, false, {L"28 Dec - 3 Jan 2026", L"28 Dec - 3 Jan 2026", L"28 Dec - 3 Jan", L"28 Dec - 3 Jan"}},
        {2026, 1, 2, 1, false, {L"28 Dec - 3 Jan 2026", L"28 Dec - 3 Jan 2026", L"28 Dec - 3 Jan", L"28 Dec - 3 Jan"}},
        // A Sunday of a week starting on Monday belongs to the week before it.
        {2026, 3, 1, 1, true, {L"23 Feb - 1 Mar 2026", L"23 Feb - 1 Mar 2026", L"23 Feb - 1 Mar", L"23 Feb - 1 Mar"}},
        {2026, 4, 30, 1, true, {L"27 Apr - 3 May 2026", L"27 Apr - 3 May 2026", L"27 Apr - 3 May", L"27 Apr - 3 May"}},
    };
    for (const Case& c : cases)
    {
        for (int level = 0; level < 4; ++level)
        {
            SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " view " << c.view
                                            << " monday " << c.monday << " level " << level);
            EXPECT_EQ(Title(c.year, c.month, c.day, c.view, c.monday, level), c.levels[level]);
        }
    }
}

TEST_F(CalendarDate, PeriodTitle_NamesTheMonthAfterDaysInTheFormADayNumberGivesIt)
{
    LoadLanguageStrings(L"ru");
    FillDateNameTables();
    struct Case
    {
        int month, day, view;
        const wchar_t* levels[4];
    };
    const Case cases[] = {
        // Standing alone as the heading of a month, the month begins with a capital.
        {5, 5, 0, {L"Май 2026", L"Май 2026", L"Май", L""}},
        {12, 11, 0, {L"Декабрь 2026", L"Дек 2026", L"Дек", L""}},
        {5, 5, 2, {L"5 мая 2026", L"5 мая 2026", L"5 мая", L"5"}},
        {5, 5, 1, {L"3 - 9 мая 2026", L"3 - 9 мая 2026", L"3 - 9 мая", L"3 - 9"}},
        {4, 30, 1, {L"26 апр - 2 мая 2026", L"26 апр - 2 мая 2026", L"26 апр - 2 мая", L"26 апр - 2 мая"}},
    };
    for (const Case& c : cases)
    {
        for (int level = 0; level < 4; ++level)
        {
            SCOPED_TRACE(testing::Message() << c.month << "-" << c.day << " view " << c.view << " level " << level);
            EXPECT_EQ(Title(2026, c.month, c.day, c.view, false, level), c.levels[level]);
        }
    }
}

// Chinese readers write a date year first, with numbered months and no blanks: 2026年12月11日.
TEST_F(CalendarDate, PeriodTitle_BeginsWithTheYearInChinese)
{
    struct Case
    {
        int year, month, day, view;
        const wchar_t* levels[4];
    };
    const Case cases[] = {
        {2026, 12, 11, 0, {L"2026年12月", L"2026年12月", L"12月", L""}},
        {2026, 12, 11, 2, {L"2026年12月11日", L"2026年12月11日", L"12月11日", L"11日"}},
        {2026, 12, 11, 1, {L"2026年12月6日 - 12日", L"2026年12月6日 - 12日", L"12月6日 - 12日", L"6日 - 12日"}},
        {2026, 12, 1, 1, {L"2026年11月29日 - 12月5日", L"2026年11月29日 - 12月5日", L"11月29日 - 12月5日",
                          L"11月29日 - 12月5日"}},
        // A week across the turn of the year names the year of each end.
        {2025, 12, 30, 1, {L"2025年12月28日 - 2026年1月3日", L"2025年12月28日 - 2026年1月3日", L"12月28日 - 1月3日",
                           L"12月28日 - 1月3日"}},
        {2026, 1, 2, 1, {L"2025年12月28日 - 2026年1月3日", L"2025年12月28日 - 2026年1月3日", L"12月28日 - 1月3日",
                         L"12月28日 - 1月3日"}},
    };
    for (const wchar_t* language : {L"zh-CN", L"zh-TW"})
    {
        LoadLanguageStrings(language);
        FillDateNameTables();
        for (const Case& c : cases)
        {
            for (int level = 0; level < 4; ++level)
            {
                SCOPED_TRACE(testing::Message() << std::filesystem::path(language).string() << " " << c.year << "-"
                                                << c.month << "-" << c.day << " view " << c.view << " level " << level);
                EXPECT_EQ(Title(c.year, c.month, c.day, c.view, false, level), c.levels[level]);
            }
        }
    }
}

// Czech, Slovak, German and Norwegian readers write a full stop after a day number; the other
// languages write the number alone.
TEST_F(CalendarDate, PeriodTitle_WritesTheDaysFullStopWhereTheLanguageDoes)
{
    struct Case
    {
        const wchar_t* language;
        int month, day, view;
        const wchar_t* title;
    };
    const Case cases[] = {
        {L"cs", 1, 21, 2, L"21. ledna 2025"},
        {L"cs", 1, 21, 1, L"19. - 25. ledna 2025"},
        {L"cs", 1, 29, 1, L"26. led - 1. úno 2025"},
        {L"sk", 1, 21, 2, L"21. januára 2025"},
        {L"de", 1, 21, 2, L"21. Januar 2025"},
        {L"de", 1, 21, 1, L"19. - 25. Januar 2025"},
        {L"nb", 1, 21, 2, L"21. januar 2025"},
        {L"pl", 1, 21, 2, L"21 stycznia 2025"},
        {L"nl", 1, 21, 1, L"19 - 25 januari 2025"},
        {L"en", 1, 21, 2, L"21 January 2025"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(c.language).string() << " " << c.month << "-" << c.day
                                        << " view " << c.view);
        LoadLanguageStrings(c.language);
        FillDateNameTables();
        EXPECT_EQ(Title(2025, c.month, c.day, c.view, false, 0), c.title);
    }
}

TEST_F(CalendarDate, MovePeriod_StaysInsideTheYearWindow)
{
    CalendarState& state = GetCalendarState();
    GetCalendarSettings().viewType = 1;
    state.currentDate = DateTime(2000, 1, 3, 0);
    MovePeriod(-1);
    EXPECT_EQ(state.currentDate, DateTime(2000, 1, 3, 0));
    MovePeriodBy(2);
    EXPECT_EQ(state.currentDate, DateTime(2000, 1, 17, 0));
    MovePeriodBy(-1);
    EXPECT_EQ(state.currentDate, DateTime(2000, 1, 10, 0));
    GetCalendarSettings().viewType = 2;
    state.currentDate = DateTime(LastCalendarYear(), 12, 31, 0);
    MovePeriod(1);
    EXPECT_EQ(state.currentDate, DateTime(LastCalendarYear(), 12, 31, 0));
    MovePeriodBy(0);
    EXPECT_EQ(state.currentDate, DateTime(LastCalendarYear(), 12, 31, 0));
}

TEST_F(CalendarDate, GoToToday_OpensTheDayViewOnlyOnceTodaysPeriodIsShown)
{
    CalendarState& state = GetCalendarState();
    GetCalendarSettings().viewType = 0;
    state.currentDate = DateTime(2010, 5, 5, 0);
    state.todayPeriodShown = false;
    GoToToday();
    EXPECT_TRUE(state.currentDate.IsSameDay(DateTime()));
    EXPECT_EQ(GetCalendarSettings().viewType, 0);
    state.todayPeriodShown = true;
    GoToToday();
    EXPECT_EQ(GetCalendarSettings().viewType, 2);
}
} // namespace
