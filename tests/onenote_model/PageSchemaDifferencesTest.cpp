// What the page and hierarchy classes keep and write back although OneNote's published schema
// would refuse it: what was read, or what code built, is written as it stands.
#include "tests/onenote_model/ModelTestSupport.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
TEST(PageSchemaDifferences, ModelWritesWhatItHoldsWhereTheSchemaWantsOneOrMore)
{
    SKIP_WITHOUT_SHARED_FILE(schema, L"platform/xsd/onenote-2013.xsd");

    struct Case
    {
        const char* what;
        std::shared_ptr<ChildElement> element;
        Place place;
    };
    const Case cases[] = {
        {"a page size both automatic and explicit",
         Read<ON::PageSettings>(
             Doc(L"PageSettings", L"", L"<one:PageSize><one:Automatic/><one:Margins/></one:PageSize>")),
         Place::Page},
        {"rule lines with vertical lines and a margin line",
         Read<ON::PageSettings>(Doc(L"PageSettings", L"",
                                    L"<one:RuleLines visible=\"true\"><one:Vertical/><one:Margin/></one:RuleLines>")),
         Place::Page},
        {"an inserted file with previews and a printout",
         Read<ON::InsertedFile>(Doc(L"InsertedFile", L"",
                                    L"<one:Previews sourceDocument=\"{00000000-0000-0000-0000-000000000000}\"/>"
                                    L"<one:Printout xpsFileIndex=\"0\"/>")),
         Place::Page},
        {"a quick style of font size 0", Read<ON::QuickStyleDef>(Doc(L"QuickStyleDef")), Place::Page},
        {"an outline without blocks", Read<ON::Outline>(Doc(L"Outline")), Place::Page},
        {"indents without an indent",
         Read<ON::Outline>(
             Doc(L"Outline", L"", L"<one:Indents/><one:OEChildren><one:OE><one:T>x</one:T></one:OE></one:OEChildren>")),
         Place::Page},
        {"an empty playlist", Read<ON::MediaPlaylist>(Doc(L"MediaPlaylist")), Place::Page},
        {"an XPS file without a source", Read<ON::XPSFile>(Doc(L"XPSFile")), Place::Page},
        {"an ink drawing without a source", Read<ON::InkDrawing>(Doc(L"InkDrawing")), Place::Page},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(IsValidInPage(*c.element, c.place)) << c.what;

    auto unfiled = Read<ON::Notebooks>(
        Doc(L"Notebooks", L"", L"<one:UnfiledNotes><one:Section/><one:Section/></one:UnfiledNotes>"));
    EXPECT_FALSE(IsValidDocument(*unfiled)) << "unfiled notes hold at most one section";
    EXPECT_FALSE(IsValidDocument(*Read<ON::Page>(Doc(L"Page", L"pageLevel=\"0\"")))) << "page levels are 1 to 3";
}
} // namespace
