// The parts every OneNote element shares: GUID attribute values and the five attribute groups.
#include "onenote_model/OneNoteModel.h"
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

namespace
{
constexpr GUID Sample{0x0123abcd, 0x4567, 0x89ef, {0xfe, 0xdc, 0xba, 0x98, 0x76, 0x54, 0x32, 0x10}};

TEST(GuidText, IsTheBracedRegistryFormInUpperCase)
{
    EXPECT_EQ(ON::GuidToText(Sample), L"{0123ABCD-4567-89EF-FEDC-BA9876543210}");
    EXPECT_EQ(ON::GuidToText(GUID{}), L"{00000000-0000-0000-0000-000000000000}");
}

TEST(GuidText, IsReadInEitherCaseAndIgnoresWhatFollowsTheClosingBrace)
{
    EXPECT_EQ(ON::TextToGuid(L"{0123abcd-4567-89ef-fedc-ba9876543210}"), Sample);
    EXPECT_EQ(ON::TextToGuid(L"{0123ABCD-4567-89EF-FEDC-BA9876543210}trailing"), Sample);
}

TEST(GuidText, AnythingButTheBracedFormReadsAsTheZeroGuid)
{
    for (const wchar_t* text :
         {L"", L"not a guid", L" {0123ABCD-4567-89EF-FEDC-BA9876543210}", L"0123ABCD-4567-89EF-FEDC-BA9876543210",
          L"{0123ABCD-4567-89EF-FEDC-BA987654321}", L"{0123ABCD-4567-89EF-FEDC-BA987654321G}",
          L"{0123ABCD+4567-89EF-FEDC-BA9876543210}", L"{0123ABCD-4567-89EF-FEDC-BA9876543210",
          L"{00020906-0000-0000-C000-00000000004", L"Word.Document", L"{Word.Document}"})
        EXPECT_EQ(ON::TextToGuid(text), GUID{}) << testing::PrintToString(std::wstring(text));
}

TEST(AttributeGroups, WriteOnlyWhatIsSetOrDiffersFromTheDefault)
{
    struct Case
    {
        const char* name;
        std::wstring (*write)();
        std::wstring expected;
    };
    const Case cases[] = {
        {"empty hierarchy group", [] { return WriteGroup(ON::HierarchyAttributes{}); }, L""},
        {"hierarchy group with a name only",
         [] {
             ON::HierarchyAttributes group;
             group.name = L"Notes";
             return WriteGroup(group);
         },
         L" name=\"Notes\""},
        {"hierarchy group, all set",
         [] {
             return WriteGroup(ON::HierarchyAttributes(L"{1}{1}{B0}", L"n", SYSTEMTIME{2026, 12, 0, 8, 9, 30, 5, 0},
                                                       true, true));
         },
         L" ID=\"{1}{1}{B0}\" name=\"n\" lastModifiedTime=\"2026-12-08T09:30:05.000Z\" isCurrentlyViewed=\"true\""
         L" isInRecycleBin=\"true\""},
        {"text group in table order",
         [] { return WriteGroup(ON::TextAttributes(L"font-size:11pt", 0u, L"en-US")); },
         L" style=\"font-size:11pt\" quickStyleIndex=\"0\" lang=\"en-US\""},
        {"empty lang is still written",
         [] { return WriteGroup(ON::TextAttributes(std::nullopt, std::nullopt, L"")); },
         L" lang=\"\""},
        {"path group", [] { return WriteGroup(ON::PathAttributes(L"C:\\n")); }, L" path=\"C:\\n\""},
        {"edited-by group, creation time only",
         [] {
             ON::EditedByAttributes group;
             group.creationTime = SYSTEMTIME{2020, 1, 0, 2, 3, 4, 5, 6};
             return WriteGroup(group);
         },
         L" creationTime=\"2020-01-02T03:04:05.006Z\""},
        {"task group with defaults", [] { return WriteGroup(ON::TaskAttributes{}); }, L""},
        {"task group completed", [] { return WriteGroup(ON::TaskAttributes(true, false, std::nullopt, std::nullopt)); },
         L" completed=\"true\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.write(), c.expected) << c.name;
}

TEST(AttributeGroups, GroupsWrittenInFullAreValidOnPagesAndOutlines)
{
    const SYSTEMTIME time{2026, 12, 0, 8, 9, 30, 5, 250};
    const std::wstring page = WriteGroup(ON::HierarchyAttributes(L"{12345678-1234-1234-1234-123456789012}{1}{B0}",
                                                                 L"A & B <page>", time, true, false)) +
                              WriteGroup(ON::TextAttributes(L"font-family:Calibri", 2u, L"de-DE"));
    const std::wstring outline =
        WriteGroup(ON::TextAttributes(std::nullopt, std::nullopt, L"en-US")) +
        WriteGroup(ON::EditedByAttributes(L"Ann", L"A", L"r1", L"Bob", L"B", L"r2", time));
    EXPECT_TRUE(ModelTest::IsValidPageWithAttributes(page, outline));
}

TEST(AttributeGroups, SettersTakeTheirOwnNamesOnly)
{
    ON::HierarchyAttributes hierarchy;
    EXPECT_TRUE(hierarchy.SetAttribute(L"isCurrentlyViewed", L"1"));
    EXPECT_TRUE(hierarchy.isCurrentlyViewed);
    EXPECT_TRUE(hierarchy.SetAttribute(L"isInRecycleBin", L"false"));
    EXPECT_FALSE(hierarchy.isInRecycleBin);
    EXPECT_FALSE(hierarchy.SetAttribute(L"path", L"x"));
    EXPECT_FALSE(hierarchy.SetAttribute(L"Name", L"x")) << "names compare with case";

    ON::TextAttributes text;
    EXPECT_TRUE(text.SetAttribute(L"quickStyleIndex", L"abc"));
    EXPECT_EQ(text.quickStyleIndex, 0u) << "an unreadable number still sets the attribute";
    EXPECT_TRUE(text.SetAttribute(L"lang", L"de-DE"));
    EXPECT_TRUE(text.SetAttribute(L"lang", L"fr-FR"));
    EXPECT_EQ(text.lang, L"fr-FR") << "setting again replaces";
    EXPECT_FALSE(text.SetAttribute(L"author", L"x"));

    ON::PathAttributes path;
    EXPECT_TRUE(path.SetAttribute(L"path", L""));
    EXPECT_EQ(path.path, L"");

    ON::EditedByAttributes edited;
    EXPECT_TRUE(edited.SetAttribute(L"creationTime", L"2021-03-04T05:06:07Z"));
    EXPECT_EQ(WriteGroup(edited), L" creationTime=\"2021-03-04T05:06:07.000Z\"")
        << "a time without milliseconds is written back with them";

    ON::TaskAttributes task;
    EXPECT_TRUE(task.SetAttribute(L"completed", L"TRUE"));
    EXPECT_FALSE(task.completed) << "only true, True and 1 are true";
    EXPECT_FALSE(task.SetAttribute(L"index", L"1"));
}

TEST(Namespace, ElementsOfThe2010SchemaAreReadAndWrittenIn2013)
{
    auto image = ModelTest::Read<ON::Image>(
        L"<one:Image xmlns:one=\"http://schemas.microsoft.com/office/onenote/2010/onenote\" format=\"png\">"
        L"<one:Size width=\"5\" height=\"6\"/><one:CallbackID callbackID=\"c\"/></one:Image>");
    ASSERT_TRUE(image->tagable.pageObject.size);
    ASSERT_TRUE(image->source.callback);
    const std::wstring written = ModelTest::Write(*image);
    EXPECT_NE(written.find(L"xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\""), std::wstring::npos);
    EXPECT_EQ(written.find(L"2010"), std::wstring::npos);
    EXPECT_EQ(ModelTest::Written(*image),
              L"<one:Image format=\"png\"><one:Size width=\"5\" height=\"6\" /><one:CallbackID callbackID=\"c\" /></one:Image>");
}
} // namespace
