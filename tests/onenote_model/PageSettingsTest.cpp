// A page's paper and rule lines: what is written back of what was read, and what is kept when
// both alternatives of a choice or a repeated child come.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
TEST(PageSize, ExplicitSizeIsWrittenWholeOnceOneOfItsElementsWasRead)
{
    ExpectRoundTrips<ON::PageSize>({
        {"automatic alone", Doc(L"PageSize", L"", L"<one:Automatic/>"),
         L"<one:PageSize><one:Automatic /></one:PageSize>"},
        {"landscape only", Doc(L"PageSize", L"", L"<one:Orientation landscape=\"true\"/>"),
         L"<one:PageSize><one:Orientation landscape=\"true\" /><one:Dimensions /><one:Margins /></one:PageSize>"},
        {"both alternatives, automatic first",
         Doc(L"PageSize", L"", L"<one:Dimensions width=\"595\" height=\"792\"/><one:Automatic/>"),
         L"<one:PageSize><one:Automatic /><one:Orientation /><one:Dimensions width=\"595\" /><one:Margins "
         L"/></one:PageSize>"},
        {"only margins that differ",
         Doc(L"PageSize", L"", L"<one:Margins top=\"36\" bottom=\"20\" left=\"72\" right=\"0\"/>"),
         L"<one:PageSize><one:Orientation /><one:Dimensions /><one:Margins bottom=\"20\" right=\"0\" "
         L"/></one:PageSize>"},
        {"second orientation skipped",
         Doc(L"PageSize", L"", L"<one:Orientation landscape=\"1\"/><one:Orientation landscape=\"false\"/>"),
         L"<one:PageSize><one:Orientation landscape=\"true\" /><one:Dimensions /><one:Margins /></one:PageSize>"},
    });

    auto automaticTwice = Read<ON::PageSize>(Doc(L"PageSize", L"", L"<one:Automatic/><one:Automatic/>"));
    EXPECT_TRUE(automaticTwice->automatic);
    EXPECT_FALSE(automaticTwice->explicitSize) << "a refused element leaves no explicit size behind";

    auto landscape = Read<ON::PageSize>(Doc(L"PageSize", L"", L"<one:Orientation landscape=\"true\"/>"));
    ASSERT_TRUE(landscape->explicitSize);
    EXPECT_EQ(landscape->explicitSize->dimensions.width, 612);
    EXPECT_EQ(landscape->explicitSize->dimensions.height, 792);
    EXPECT_EQ(landscape->explicitSize->margins.left, 72);
    EXPECT_EQ(landscape->explicitSize->margins.top, 36);
}

TEST(RuleLines, VisibleIsAlwaysWrittenAndLinesInSchemaOrder)
{
    ExpectRoundTrips<ON::RuleLines>({
        {"default", Doc(L"RuleLines"), L"<one:RuleLines visible=\"false\" />"},
        {"visible in capitals is false", Doc(L"RuleLines", L"visible=\"TRUE\""),
         L"<one:RuleLines visible=\"false\" />"},
        {"visible 1 is true", Doc(L"RuleLines", L"visible=\"1\""), L"<one:RuleLines visible=\"true\" />"},
        {"vertical before horizontal",
         Doc(L"RuleLines", L"visible=\"true\"", L"<one:Vertical spacing=\"10\"/><one:Horizontal color=\"#AABBCC\"/>"),
         L"<one:RuleLines visible=\"true\"><one:Horizontal color=\"#aabbcc\" /><one:Vertical spacing=\"10\" />"
         L"</one:RuleLines>"},
        {"defaults of a line not written; unknown attribute skipped",
         Doc(L"RuleLines", L"visible=\"true\"",
             L"<one:Horizontal color=\"automatic\" spacing=\"23.76\" automatic=\"1\"/>"),
         L"<one:RuleLines visible=\"true\"><one:Horizontal /></one:RuleLines>"},
        {"margin and vertical both kept",
         Doc(L"RuleLines", L"visible=\"true\"", L"<one:Margin color=\"red\"/><one:Vertical/>"),
         L"<one:RuleLines visible=\"true\"><one:Vertical /><one:Margin color=\"#ff0000\" /></one:RuleLines>"},
    });

    auto verticalOnly = Read<ON::RuleLines>(Doc(L"RuleLines", L"visible=\"True\"", L"<one:Vertical/>"));
    EXPECT_TRUE(verticalOnly->visible);
    ASSERT_TRUE(verticalOnly->lines);
    EXPECT_FALSE(verticalOnly->lines->horizontal);
    ASSERT_TRUE(verticalOnly->lines->verticalOrMargin.vertical);
    EXPECT_EQ(verticalOnly->lines->verticalOrMargin.vertical->spacing, 23.76);
    EXPECT_FALSE(Read<ON::RuleLines>(Doc(L"RuleLines", L"", L"<one:Automatic/>"))->lines);
}

TEST(PageSettings, EachChildIsTakenOnceInEitherOrder)
{
    const std::wstring size = L"<one:PageSize><one:Automatic /></one:PageSize>";
    const std::wstring lines = L"<one:RuleLines visible=\"true\"><one:Automatic /></one:RuleLines>";
    ExpectRoundTrips<ON::PageSettings>({
        {"empty", Doc(L"PageSettings"), L"<one:PageSettings />"},
        {"RTL 1 and a colour", Doc(L"PageSettings", L"color=\"#FFFFCC\" RTL=\"1\""),
         L"<one:PageSettings RTL=\"true\" color=\"#ffffcc\" />"},
        {"automatic colour not written", Doc(L"PageSettings", L"color=\"automatic\" RTL=\"false\""),
         L"<one:PageSettings />"},
        {"rule lines before page size", Doc(L"PageSettings", L"", lines + size),
         L"<one:PageSettings>" + size + lines + L"</one:PageSettings>"},
        {"second page size skipped whole, rule lines after it kept",
         Doc(L"PageSettings", L"", size + L"<one:PageSize><one:Orientation/></one:PageSize>" + lines),
         L"<one:PageSettings>" + size + lines + L"</one:PageSettings>"},
    });
}

TEST(PageSettings, WhatOneNoteWritesIsValidOnAPage)
{
    auto settings = Read<ON::PageSettings>(
        Doc(L"PageSettings", L"RTL=\"false\" color=\"#FFFFFF\"",
            L"<one:PageSize><one:Orientation landscape=\"true\"/><one:Dimensions width=\"841.9\" height=\"595.3\"/>"
            L"<one:Margins top=\"20\" bottom=\"20\" left=\"20\" right=\"20\"/></one:PageSize>"
            L"<one:RuleLines visible=\"true\"><one:Horizontal color=\"#C0C0C0\" spacing=\"20\"/>"
            L"<one:Margin color=\"#FF0000\"/></one:RuleLines>"));
    EXPECT_TRUE(IsValidInPage(*settings, Place::Page));
    EXPECT_TRUE(IsValidInPage(
        *Read<ON::PageSettings>(Doc(L"PageSettings", L"",
                                    L"<one:PageSize><one:Automatic/></one:PageSize>"
                                    L"<one:RuleLines visible=\"false\"><one:Automatic/></one:RuleLines>")),
        Place::Page));
}
} // namespace
