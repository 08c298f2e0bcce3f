// Position, size, metadata, the page-object part, file references, note tags and Outlook tasks.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
TEST(PageObjectParts, RoundTripWritesRequiredAttributesAlwaysAndOthersOnlyWhenSet)
{
    ExpectRoundTrips<ON::Position>({
        {"default position", Doc(L"Position"), L"<one:Position x=\"0\" y=\"0\" />"},
        {"z kept", Doc(L"Position", L"x=\"72\" y=\"0.5\" z=\"3\""), L"<one:Position x=\"72\" y=\"0.5\" z=\"3\" />"},
        {"unreadable z is set as 0", Doc(L"Position", L"x=\"a\" y=\"1e2\" z=\"q\""),
         L"<one:Position x=\"0\" y=\"100\" z=\"0\" />"},
        {"text inside is dropped", Doc(L"Position", L"", L"text"), L"<one:Position x=\"0\" y=\"0\" />"},
    });
    ExpectRoundTrips<ON::Size>({
        {"no isSetByUser", Doc(L"Size", L"width=\"10\" height=\"20\""), L"<one:Size width=\"10\" height=\"20\" />"},
        {"false isSetByUser kept", Doc(L"Size", L"width=\"1\" height=\"2\" isSetByUser=\"false\""),
         L"<one:Size width=\"1\" height=\"2\" isSetByUser=\"false\" />"},
        {"1 is true", Doc(L"Size", L"isSetByUser=\"1\""), L"<one:Size width=\"0\" height=\"0\" isSetByUser=\"true\" />"},
    });
    ExpectRoundTrips<ON::Meta>({
        {"empty name written", Doc(L"Meta"), L"<one:Meta name=\"\" />"},
        {"content when set", Doc(L"Meta", L"content=\"\" name=\"n\" other=\"x\""), L"<one:Meta name=\"n\" content=\"\" />"},
    });
    ExpectRoundTrips<ON::FilePath_File>({
        {"empty path written", Doc(L"File"), L"<one:File path=\"\" />"},
        {"CDATA inside changes nothing", Doc(L"File", L"path=\"C:\\a b.png\"", L"<![CDATA[x]]>"),
         L"<one:File path=\"C:\\a b.png\" />"},
    });
}

TEST(PageObjectParts, TaskAndTagWriteTheTaskGroupInTheirOwnOrder)
{
    ExpectRoundTrips<ON::OutlookTask>({
        {"default task", Doc(L"OutlookTask"), L"<one:OutlookTask guidTask=\"{00000000-0000-0000-0000-000000000000}\" />"},
        {"group first, GUID upper-cased",
         Doc(L"OutlookTask", L"guidTask=\"{a1b2c3d4-0000-1111-2222-333344445555}\" dueDate=\"2026-01-02T03:04:05Z\" "
                             L"completed=\"True\" startDate=\"2026-01-01T00:00:00.000Z\""),
         L"<one:OutlookTask completed=\"true\" startDate=\"2026-01-01T00:00:00.000Z\" dueDate=\"2026-01-02T03:04:05.000Z\""
         L" guidTask=\"{A1B2C3D4-0000-1111-2222-333344445555}\" />"},
        {"a GUID the registry would resolve is not read", Doc(L"OutlookTask", L"guidTask=\"Word.Document\""),
         L"<one:OutlookTask guidTask=\"{00000000-0000-0000-0000-000000000000}\" />"},
        {"a GUID after a blank is not read",
         Doc(L"OutlookTask", L"guidTask=\" {A1B2C3D4-0000-1111-2222-333344445555}\""),
         L"<one:OutlookTask guidTask=\"{00000000-0000-0000-0000-000000000000}\" />"},
    });
    ExpectRoundTrips<ON::Tag>({
        {"index always", Doc(L"Tag"), L"<one:Tag index=\"0\" />"},
        {"index before the group",
         Doc(L"Tag", L"disabled=\"1\" index=\"4\" completionDate=\"2020-05-06T07:08:09.010Z\" completed=\"false\""),
         L"<one:Tag index=\"4\" disabled=\"true\" completionDate=\"2020-05-06T07:08:09.010Z\" />"},
    });
}

TEST(PageObjectParts, PageObjectWritesSelectedOnlyWhenNotNoneAndChildrenInSchemaOrder)
{
    const std::wstring metas = L"<one:Meta name=\"a\" /><one:Meta name=\"b\" />";
    ExpectRoundTrips<ON::PageObject>({
        {"selected none", Doc(L"PageObject", L"selected=\"none\""), L"<one:PageObject />"},
        {"any other selected kept", Doc(L"PageObject", L"selected=\"Partial!\""), L"<one:PageObject selected=\"Partial!\" />"},
        {"attributes", Doc(L"PageObject", L"lastModifiedTime=\"2021-02-03T04:05:06Z\" objectID=\"{1}{2}{B3}\""),
         L"<one:PageObject objectID=\"{1}{2}{B3}\" lastModifiedTime=\"2021-02-03T04:05:06.000Z\" />"},
        {"Meta, Meta, Position: Position first", Doc(L"PageObject", L"", metas + L"<one:Position x=\"1\" y=\"2\"/>"),
         L"<one:PageObject><one:Position x=\"1\" y=\"2\" />" + metas + L"</one:PageObject>"},
        {"Size then Position", Doc(L"PageObject", L"", L"<one:Size width=\"3\" height=\"4\"/><one:Position x=\"1\" y=\"2\"/>"),
         L"<one:PageObject><one:Position x=\"1\" y=\"2\" /><one:Size width=\"3\" height=\"4\" /></one:PageObject>"},
        {"second Position not taken",
         Doc(L"PageObject", L"", L"<one:Position x=\"1\" y=\"2\"/><one:Position x=\"5\" y=\"6\"/>"),
         L"<one:PageObject><one:Position x=\"1\" y=\"2\" /></one:PageObject>"},
    });
}

TEST(PageObjectParts, UnknownChildBetweenMetasIsSkippedWhole)
{
    auto object = Read<ON::PageObject>(
        Doc(L"PageObject", L"", L"<one:Meta name=\"a\"/><one:Later><one:Meta name=\"inner\"/></one:Later><one:Meta name=\"b\"/>"));
    ASSERT_EQ(object->metas.size(), 2u);
    EXPECT_EQ(object->metas[0]->name, L"a");
    EXPECT_EQ(object->metas[1]->name, L"b") << "nothing of the unknown element is read";
    EXPECT_EQ(object->metas[1]->parentList, &object->metas);
}

TEST(PageObjectParts, ConstructorsBuildWhatTheImportEngineWrites)
{
    ON::PageObject object(std::nullopt, L"none", std::nullopt, std::make_shared<ON::Position>(36, 86.4),
                          std::make_shared<ON::Size>(200, 100, true));
    object.metas.AddNew()->name = L"source";
    EXPECT_EQ(Written(object), L"<one:PageObject><one:Position x=\"36\" y=\"86.4\" />"
                               L"<one:Size width=\"200\" height=\"100\" isSetByUser=\"true\" />"
                               L"<one:Meta name=\"source\" /></one:PageObject>");

    ON::Position copy = *object.position;
    copy.z = 2;
    EXPECT_EQ(Written(copy), L"<one:Position x=\"36\" y=\"86.4\" z=\"2\" />");
}

TEST(PageObjectParts, TagTaskAndMetaAreValidInAParagraph)
{
    ON::Tag tag(2, ON::TaskAttributes(true, false, SYSTEMTIME{2026, 1, 0, 2, 3, 4, 5, 0}, std::nullopt));
    EXPECT_TRUE(IsValidInPage(tag, Place::ParagraphChild));
    ON::OutlookTask task(ON::TaskAttributes{}, std::nullopt, SYSTEMTIME{2026, 2, 0, 3, 0, 0, 0, 0},
                         ON::TextToGuid(L"{0123abcd-4567-89ef-fedc-ba9876543210}"));
    EXPECT_TRUE(IsValidInPage(task, Place::ParagraphChild));
    EXPECT_TRUE(IsValidInPage(ON::Meta(L"name", L"content"), Place::ParagraphChild));
}
} // namespace
