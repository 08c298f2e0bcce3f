// What the outline classes keep and write back although OneNote's published schema would refuse
// it: they write what was read or built, and enforce neither the schema's minimum counts nor its
// choices nor its value ranges.
#include "tests/onenote_model/ModelTestSupport.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
TEST(OutlineSchemaDifferences, ModelWritesWhatItHoldsWhereTheSchemaAsksForMoreOrLess)
{
    SKIP_WITHOUT_SHARED_FILE(schema, L"platform/xsd/onenote-2013.xsd");

    struct Case
    {
        const char* what;
        std::shared_ptr<ChildElement> element;
        Place place;
    };
    const std::wstring text = L"<one:T>x</one:T>";
    const std::wstring paragraph = L"<one:OE>" + text + L"</one:OE>";
    const Case cases[] = {
        {"a block without paragraphs", Read<ON::OEChildren>(Doc(L"OEChildren")), Place::OutlineBlock},
        {"indent 0", Read<ON::OEChildren>(Doc(L"OEChildren", L"indent=\"0\"", paragraph)), Place::OutlineBlock},
        {"an HTML block without source", Read<ON::HtmlContent_HTMLBlock>(Doc(L"HTMLBlock")), Place::BlockChild},
        {"an HTML block with two sources",
         Read<ON::HtmlContent_HTMLBlock>(Doc(L"HTMLBlock", L"", L"<one:File path=\"a\"/><one:Data>b</one:Data>")),
         Place::BlockChild},
        {"a paragraph with an image and text",
         Read<ON::OE>(Doc(L"OE", L"", L"<one:Image><one:Data>AAAA</one:Data></one:Image>" + text)), Place::BlockChild},
        {"an alignment outside left and right", Read<ON::OE>(Doc(L"OE", L"alignment=\"centre\"")), Place::BlockChild},
        {"a title without paragraphs", Read<ON::Title>(Doc(L"Title")), Place::Page},
        {"a table without rows", Read<ON::Table>(Doc(L"Table")), Place::ParagraphContent},
        {"columns without a column",
         Read<ON::Table>(Doc(L"Table", L"", L"<one:Columns/><one:Row/>")), Place::ParagraphContent},
        {"a cell without a block", Read<ON::Table>(Doc(L"Table", L"", L"<one:Row><one:Cell/></one:Row>")),
         Place::ParagraphContent},
        {"a state outside 0 to 3", Read<ON::LinkedNote>(Doc(L"LinkedNote", L"state=\"-3\"")), Place::ParagraphContent},
        {"a thumbnail with both pictures",
         Read<ON::LinkedNote>(Doc(L"LinkedNote", L"state=\"0\"",
                                  L"<one:LinkedNoteThumbnail><one:Data>AAAA</one:Data><one:CallbackID callbackID=\"c\"/>"
                                  L"</one:LinkedNoteThumbnail>")),
         Place::ParagraphContent},
        {"a list alignment outside left and right",
         Read<ON::OEChildren>(Doc(L"OEChildren", L"", L"<one:ChildOELayout listAlignment=\"centre\"/>" + paragraph)),
         Place::OutlineBlock},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(IsValidInPage(*c.element, c.place)) << c.what;
}
} // namespace
