#include "framework/text/Text.h"

#include <gtest/gtest.h>

TEST(Text, Utf8AndUtf16ConvertBothWaysBeyondTheBasicPlane)
{
    const std::wstring wide = L"Caf\u00e9 \u65e5\u672c \U0001F600";
    const std::string utf8 = "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(WideToUtf8(wide.c_str()), utf8);
    EXPECT_EQ(WideToUtf8(wide), utf8);
    EXPECT_EQ(Utf8ToWide(utf8), wide);
    const _bstr_t bstr = Utf8ToBstr(utf8);
    EXPECT_EQ(bstr.length(), wide.size());
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(bstr)), wide);
}

TEST(Text, ConversionsStopAtTheFirstNulAndGiveEmptyTextForNothing)
{
    EXPECT_EQ(Utf8ToWide(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(WideToUtf8(std::wstring(L"ab\0cd", 5)), "ab");
    EXPECT_EQ(WideToUtf8(static_cast<const wchar_t*>(nullptr)), "");
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(Utf8ToBstr("").length(), 0u);
}

TEST(Text, SplitKeepsEmptyPieces)
{
    EXPECT_EQ(Split(std::wstring(L"a,,b,"), L','), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
    EXPECT_EQ(Split(std::wstring(L""), std::wstring(L", ")), (std::vector<std::wstring>{L""}));
    EXPECT_EQ(Split(std::wstring(L"x, y, z"), std::wstring(L", ")), (std::vector<std::wstring>{L"x", L"y", L"z"}));
    EXPECT_EQ(Split(std::string("1.2..3"), std::string(".")), (std::vector<std::string>{"1", "2", "", "3"}));
}

TEST(Text, SplitWithAnEmptyDelimiterReturnsTheWholeText)
{
    EXPECT_EQ(Split(std::wstring(L"abc"), std::wstring()), (std::vector<std::wstring>{L"abc"}));
    EXPECT_EQ(Split(std::string("abc"), std::string()), (std::vector<std::string>{"abc"}));
}

TEST(Text, JoinPutsTheSeparatorOnlyBetweenParts)
{
    EXPECT_EQ(Join({}, L", "), L"");
    EXPECT_EQ(Join({L"a"}, L", "), L"a");
    EXPECT_EQ(Join({L"a", L"", L"b"}, L"; "), L"a; ; b");
    EXPECT_EQ(Join(Split(std::wstring(L"a,,b,"), L','), L","), L"a,,b,");
}

TEST(Text, IntToWStringWritesTheSign)
{
    EXPECT_EQ(IntToWString(0), L"0");
    EXPECT_EQ(IntToWString(-42), L"-42");
    EXPECT_EQ(IntToWString(2147483647), L"2147483647");
}
