// Tables read from OneNote's pages: every attribute and child comes back, columns before rows,
// and a cell holds blocks of paragraphs like an outline.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
const std::wstring Cell = L"<one:Cell><one:OEChildren><one:OE><one:T>c</one:T></one:OE></one:OEChildren></one:Cell>";
const std::wstring Row = L"<one:Row>" + Cell + L"</one:Row>";
const std::wstring Columns = L"<one:Columns><one:Column index=\"0\" width=\"72\" /></one:Columns>";

TEST(Tables, ColumnAlwaysWritesIndexAndWidth)
{
    ExpectRoundTrips<ON::Column>({
        {"no attributes", Doc(L"Column"), L"<one:Column index=\"0\" width=\"0\" />"},
        {"locked", Doc(L"Column", L"isLocked=\"1\" width=\"37.5\" index=\"2\""),
         L"<one:Column index=\"2\" width=\"37.5\" isLocked=\"true\" />"},
        {"unlocked not written, unreadable width 0", Doc(L"Column", L"isLocked=\"false\" width=\"wide\""),
         L"<one:Column index=\"0\" width=\"0\" />"},
    });
}

TEST(Tables, TableRowAndCellWriteOnlySetAttributesInTableOrder)
{
    ExpectRoundTrips<ON::Table>({
        {"default table", Doc(L"Table"), L"<one:Table />"},
        {"bordersVisible 1 is true, false not written", Doc(L"Table", L"bordersVisible=\"1\" hasHeaderRow=\"false\""),
         L"<one:Table bordersVisible=\"true\" />"},
        {"unreadable meetingContentType is 0", Doc(L"Table", L"meetingContentType=\"x\""),
         L"<one:Table meetingContentType=\"0\" />"},
        {"own attributes, edit group, text group",
         Doc(L"Table", L"lang=\"fr\" lastModifiedBy=\"B\" meetingContentType=\"4\" lastModifiedTime=\"2026-03-04T05:06:07Z\" "
                       L"selected=\"all\" hasHeaderRow=\"True\" objectID=\"o\""),
         L"<one:Table objectID=\"o\" hasHeaderRow=\"true\" selected=\"all\" lastModifiedTime=\"2026-03-04T05:06:07.000Z\""
         L" meetingContentType=\"4\" lastModifiedBy=\"B\" lang=\"fr\" />"},
    });
    ExpectRoundTrips<ON::Row>({
        {"default row", Doc(L"Row"), L"<one:Row />"},
        {"every own attribute",
         Doc(L"Row", L"meetingContentId=\"i\" meetingContentType=\"1\" selected=\"partial\" objectID=\"r\" style=\"s\""),
         L"<one:Row objectID=\"r\" selected=\"partial\" meetingContentType=\"1\" meetingContentId=\"i\" style=\"s\" />"},
    });
    ExpectRoundTrips<ON::Cell>({
        {"default cell", Doc(L"Cell"), L"<one:Cell />"},
        {"colour names become hexadecimal", Doc(L"Cell", L"shadingColor=\"Red\""), L"<one:Cell shadingColor=\"#ff0000\" />"},
        {"none stays none", Doc(L"Cell", L"shadingColor=\"none\" selected=\"none\""), L"<one:Cell shadingColor=\"none\" />"},
    });
}

TEST(Tables, ColumnsAreTakenAmongTheRowsAndWrittenFirst)
{
    ExpectRoundTrips<ON::Table>({
        {"Row, Columns, Row", Doc(L"Table", L"", Row + Columns + Row),
         L"<one:Table>" + Columns + Row + Row + L"</one:Table>"},
        {"second Columns skipped, rows after it kept",
         Doc(L"Table", L"", Columns + Row + L"<one:Columns><one:Column index=\"9\" width=\"1\"/></one:Columns>" + Row),
         L"<one:Table>" + Columns + Row + Row + L"</one:Table>"},
    });
    ExpectRoundTrips<ON::Row>({
        {"unknown element between cells skipped, both cells kept",
         Doc(L"Row", L"", Cell + L"<one:Shading><one:Cell/></one:Shading>" + Cell),
         L"<one:Row>" + Cell + Cell + L"</one:Row>"},
    });
    ExpectRoundTrips<ON::Cell>({
        {"two blocks in order",
         Doc(L"Cell", L"", L"<one:OEChildren indent=\"2\"/><one:OEChildren indent=\"3\"/>"),
         L"<one:Cell><one:OEChildren indent=\"2\" /><one:OEChildren indent=\"3\" /></one:Cell>"},
    });
}

TEST(Tables, TableWithEveryAttributeIsValidInAParagraph)
{
    auto table = Read<ON::Table>(Doc(
        L"Table",
        L"objectID=\"{12345678-1234-1234-1234-123456789012}{1}{B0}\" bordersVisible=\"true\" hasHeaderRow=\"true\" "
        L"selected=\"partial\" lastModifiedTime=\"2026-03-04T05:06:07Z\" meetingContentType=\"1\" author=\"A\" lang=\"de\"",
        L"<one:Columns><one:Column index=\"0\" width=\"72\" isLocked=\"true\"/>"
        L"<one:Column index=\"1\" width=\"36.5\"/></one:Columns>"
        L"<one:Row objectID=\"{12345678-1234-1234-1234-123456789012}{2}{B0}\" meetingContentId=\"m\" "
        L"creationTime=\"2026-03-04T05:06:07Z\">"
        L"<one:Cell shadingColor=\"#00ff00\" selected=\"all\" quickStyleIndex=\"1\">"
        L"<one:OEChildren><one:OE><one:T>a</one:T></one:OE></one:OEChildren></one:Cell>" + Cell + L"</one:Row>"));
    ASSERT_TRUE(table->columns);
    EXPECT_EQ(table->columns->columns.size(), 2u);
    ASSERT_EQ(table->rows.size(), 1u);
    EXPECT_EQ(table->rows[0]->cells.size(), 2u);
    EXPECT_EQ(table->rows[0]->cells[1]->parentList, &table->rows[0]->cells);
    EXPECT_TRUE(IsValidInPage(*table, Place::ParagraphContent));
}
} // namespace
