// Attribute values as text: integers at their limits, doubles and floats, booleans and dates.
#include "framework/xml/ValueConverters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(IntegerText, IsDecimalWithoutGroupingOrLeadingZeros)
{
    EXPECT_EQ(UIntToText(0), L"0");
    EXPECT_EQ(UIntToText(4294967295u), L"4294967295");
    EXPECT_EQ(IntToText(-1), L"-1");
    EXPECT_EQ(IntToText(INT32_MIN), L"-2147483648");
    EXPECT_EQ(IntToText(INT32_MAX), L"2147483647");
    EXPECT_EQ(IntToText(1234567), L"1234567");
}

TEST(IntegerText, ReadsTheLeadingNumberAndZeroWithoutOne)
{
    struct Case
    {
        const wchar_t* text;
        std::int32_t asInt;
        std::uint32_t asUInt;
    };
    for (const Case& c : {Case{L"12abc", 12, 12}, Case{L"abc", 0, 0}, Case{L"", 0, 0}, Case{L"  \t42", 42, 42},
                          Case{L"+7", 7, 7}, Case{L"-2147483648", INT32_MIN, 2147483648u},
                          Case{L"2147483647", INT32_MAX, 2147483647u}, Case{L"4294967295", INT32_MAX, UINT32_MAX},
                          Case{L"99999999999", INT32_MAX, UINT32_MAX}, Case{L"-1", -1, UINT32_MAX},
                          Case{L"- 1", 0, 0}, Case{L"0x10", 0, 0}, Case{L"1.9", 1, 1}})
    {
        EXPECT_EQ(TextToInt(c.text), c.asInt) << c.text;
        EXPECT_EQ(TextToUInt(c.text), c.asUInt) << c.text;
    }
}

TEST(DoubleText, HasFifteenSignificantDigitsAndShortExponents)
{
    struct Case
    {
        double value;
        const wchar_t* text;
    };
    for (const Case& c : {Case{72, L"72"}, Case{0.5, L"0.5"}, Case{0.1, L"0.1"}, Case{1234567.5, L"1234567.5"},
                          Case{1e-20, L"1e-20"}, Case{1e15, L"1e+15"}, Case{123456789012345.0, L"123456789012345"},
                          Case{0.0001, L"0.0001"}, Case{0.00001, L"1e-05"}, Case{-23.76, L"-23.76"},
                          Case{1.0 / 3, L"0.333333333333333"}, Case{2.0 / 3, L"0.666666666666667"}, Case{0, L"0"},
                          Case{1e300, L"1e+300"}})
        EXPECT_EQ(DoubleToText(c.value), c.text) << c.value;
}

TEST(DoubleText, ReadsTheLeadingNumberWhateverFollows)
{
    struct Case
    {
        const wchar_t* text;
        double value;
    };
    for (const Case& c : {Case{L" 12.5pt", 12.5}, Case{L"abc", 0}, Case{L"1,5", 1}, Case{L"", 0}, Case{L"-.5", -0.5},
                          Case{L"+3.", 3}, Case{L"2e3", 2000}, Case{L"2e", 2}, Case{L"2e+x", 2}, Case{L"1E-2", 0.01},
                          Case{L"23.76", 23.76}, Case{L"1e999", 1.7976931348623157e308}, Case{L"1e-999", 0},
                          Case{L"inf", 0}, Case{L"nan", 0}, Case{L".", 0}})
        EXPECT_EQ(TextToDouble(c.text), c.value) << c.text;
}

TEST(DoubleText, RoundTripsThroughTheWrittenText)
{
    for (const double value : {0.1, 23.76, 792.0, 1234567.5, 1e-20, 3.25e10, -0.000123})
        EXPECT_EQ(TextToDouble(DoubleToText(value)), value) << value;
}

TEST(FloatText, HasSixSignificantDigits)
{
    EXPECT_EQ(FloatToText(11), L"11");
    EXPECT_EQ(FloatToText(10.5f), L"10.5");
    EXPECT_EQ(FloatToText(0.1f), L"0.1");
    EXPECT_EQ(FloatToText(1234567.f), L"1.23457e+06");
    EXPECT_EQ(TextToFloat(L" 10.5pt"), 10.5f);
    EXPECT_EQ(TextToFloat(L"x"), 0.f);
}

TEST(BoolText, IsTrueOnlyForTrueInTwoSpellingsAndOne)
{
    for (const wchar_t* text : {L"true", L"True", L"1"})
        EXPECT_TRUE(TextToBool(text)) << text;
    for (const wchar_t* text : {L"false", L"0", L"TRUE", L"", L"yes", L" true", L"true "})
        EXPECT_FALSE(TextToBool(text)) << text;
    EXPECT_STREQ(BoolToText(true), L"true");
    EXPECT_STREQ(BoolToText(false), L"false");
}

namespace
{
SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = milliseconds;
    return time;
}
} // namespace

TEST(DateTimeText, IsUtcWithThreeDigitMilliseconds)
{
    EXPECT_EQ(DateTimeToText(Time(2013, 5, 1, 9, 4, 7, 50)), L"2013-05-01T09:04:07.050Z");
    EXPECT_EQ(DateTimeToText(Time(2024, 12, 31, 23, 59, 59, 999)), L"2024-12-31T23:59:59.999Z");
    EXPECT_EQ(DateTimeToText(Time(5, 1, 2, 3, 4, 5, 6)), L"05-01-02T03:04:05.006Z");
    EXPECT_EQ(DateTimeToText(SYSTEMTIME{}), L"00-00-00T00:00:00.000Z");
}

TEST(DateTimeText, ReadsFieldByFieldAndTakesOffsetsToUtc)
{
    struct Case
    {
        const wchar_t* text;
        const wchar_t* utc;
    };
    // The tests run in Europe/Berlin: none of this may depend on the local zone or its summer
    // time (2013-03-31T02:30 does not exist there).
    for (const Case& c : {
             Case{L"2013-05-01T09:04:07.000Z", L"2013-05-01T09:04:07.000Z"},
             Case{L"2013-05-01T09:04:07.123Z", L"2013-05-01T09:04:07.123Z"},
             Case{L"2013-05-01T09:04:07Z", L"2013-05-01T09:04:07.000Z"},
             Case{L"2013-05-01T09:04:07", L"2013-05-01T09:04:07.000Z"},
             Case{L"2013-05-01T09:04:07.5Z", L"2013-05-01T09:04:07.500Z"},
             Case{L"2013-05-01T09:04:07.123456Z", L"2013-05-01T09:04:07.123Z"},
             Case{L"2013-05-01T09:04:07.123+02:00", L"2013-05-01T07:04:07.123Z"},
             Case{L"2013-05-01T09:04:07+02:00", L"2013-05-01T07:04:07.000Z"},
             Case{L"2013-05-01T09:04:07-05:30", L"2013-05-01T14:34:07.000Z"},
             Case{L"2013-05-01T09:04:07+0200", L"2013-05-01T07:04:07.000Z"},
             Case{L"2013-01-01T01:00:00.000+02:00", L"2012-12-31T23:00:00.000Z"},
             Case{L"2012-02-29T23:30:00-01:00", L"2012-03-01T00:30:00.000Z"},
             Case{L"2013-03-31T02:30:00+02:00", L"2013-03-31T00:30:00.000Z"},
             Case{L"2013-10-27T02:30:00+01:00", L"2013-10-27T01:30:00.000Z"},
             Case{L"2013-05-01T09:04:07+00:00", L"2013-05-01T09:04:07.000Z"},
             Case{L"2013/05/01 09.04.07", L"2013-05-01T09:04:07.000Z"},
             Case{L"2013-05-01", L"2013-05-01T00:00:00.000Z"},
             Case{L"2013-05", L"2013-05-00T00:00:00.000Z"},
             Case{L"garbage", L"00-00-00T00:00:00.000Z"},
             Case{L"", L"00-00-00T00:00:00.000Z"},
         })
    {
        const SYSTEMTIME time = TextToDateTime(c.text);
        EXPECT_EQ(DateTimeToText(time), c.utc) << c.text;
        EXPECT_EQ(time.wDayOfWeek, 0) << c.text;
    }
}
