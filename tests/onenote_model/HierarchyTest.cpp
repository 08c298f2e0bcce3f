// Notebooks, section groups, sections and pages as OneNote's hierarchy answers hold them: their
// attributes, the order of their children, and what the calendar and the import engine rely on.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ModelTest;

namespace
{
const std::wstring Ns2010 = L"http://schemas.microsoft.com/office/onenote/2010/onenote";

std::wstring Names(const Collection<ON::Section>& sections)
{
    std::wstring names;
    for (const auto& section : sections)
        names += section->hierarchy.name.value_or(L"?") + L";";
    return names;
}

TEST(HierarchyAttributes, OwnAttributesComeFirstThenTheHierarchyGroupThenPathOrText)
{
    ExpectRoundTrips<ON::Page>({
        {"default page", Doc(L"Page"), L"<one:Page />"},
        {"defaults read are not written",
         Doc(L"Page", L"selected=\"none\" isIndexed=\"true\" isCollapsed=\"false\" isCurrentlyViewed=\"false\""),
         L"<one:Page />"},
        {"isIndexed false written", Doc(L"Page", L"isIndexed=\"false\""), L"<one:Page isIndexed=\"false\" />"},
        {"unread in capitals is false, and written",
         Doc(L"Page", L"lang=\"en-US\" name=\"P\" isUnread=\"TRUE\" pageLevel=\"2\" dateTime=\"2026-12-01T08:00:00Z\""),
         L"<one:Page dateTime=\"2026-12-01T08:00:00.000Z\" pageLevel=\"2\" isUnread=\"false\" name=\"P\" "
         L"lang=\"en-US\" />"},
    });
    ExpectRoundTrips<ON::Section>({
        {"no colour", Doc(L"Section"), L"<one:Section />"},
        {"lower-case colour unchanged", Doc(L"Section", L"color=\"#8aa8e4\""), L"<one:Section color=\"#8aa8e4\" />"},
        {"none stays none", Doc(L"Section", L"color=\"none\""), L"<one:Section color=\"none\" />"},
        {"path after the hierarchy group",
         Doc(L"Section", L"path=\"C:\\N\\S.one\" isInRecycleBin=\"true\" ID=\"{1}\" areAllPagesAvailable=\"false\" "
                         L"isDeletedPages=\"1\" readOnly=\"True\" locked=\"true\" encrypted=\"true\""),
         L"<one:Section encrypted=\"true\" locked=\"true\" readOnly=\"true\" areAllPagesAvailable=\"false\""
         L" isDeletedPages=\"true\" ID=\"{1}\" isInRecycleBin=\"true\" path=\"C:\\N\\S.one\" />"},
    });
    ExpectRoundTrips<ON::Notebook>({
        {"nickname, colour, unread, group, path",
         Doc(L"Notebook", L"path=\"https://d/N\" name=\"N\" isUnread=\"1\" color=\"#FFD869\" nickname=\"n\""),
         L"<one:Notebook nickname=\"n\" color=\"#ffd869\" isUnread=\"true\" name=\"N\" path=\"https://d/N\" />"},
    });
    ExpectRoundTrips<ON::SectionGroup>({
        {"recycle bin", Doc(L"SectionGroup", L"isRecycleBin=\"true\" name=\"OneNote_RecycleBin\""),
         L"<one:SectionGroup isRecycleBin=\"true\" name=\"OneNote_RecycleBin\" />"},
    });
}

TEST(HierarchyChildren, NotebookAnswerWithNestedGroupsReadsWhole)
{
    auto notebook = Read<ON::Notebook>(
        L"<?xml version=\"1.0\"?>" +
        Doc(L"Notebook", L"name=\"N\"",
            L"<one:Section name=\"A\"><one:Page name=\"A1\"/><one:Page name=\"A2\"/></one:Section>"
            L"<one:Section name=\"B\"/>"
            L"<one:SectionGroup name=\"G\"><one:Section name=\"G1\"><one:Page name=\"G1a\"/></one:Section>"
            L"<one:SectionGroup name=\"GG\"><one:Section name=\"GG1\"/></one:SectionGroup></one:SectionGroup>"
            L"<one:SectionGroup name=\"OneNote_RecycleBin\" isRecycleBin=\"true\">"
            L"<one:Section name=\"Deleted Pages\" isInRecycleBin=\"true\" isDeletedPages=\"true\">"
            L"<one:Page name=\"gone\" isInRecycleBin=\"true\"/></one:Section></one:SectionGroup>"));
    EXPECT_EQ(notebook->hierarchy.name, L"N");
    EXPECT_EQ(Names(notebook->sections), L"A;B;");
    ASSERT_EQ(notebook->sections[0]->pages.size(), 2u);
    EXPECT_EQ(notebook->sections[0]->pages[1]->hierarchy.name, L"A2");
    ASSERT_EQ(notebook->sectionGroups.size(), 2u);
    const ON::SectionGroup& group = *notebook->sectionGroups[0];
    EXPECT_EQ(Names(group.sections), L"G1;");
    ASSERT_EQ(group.sectionGroups.size(), 1u);
    EXPECT_EQ(Names(group.sectionGroups[0]->sections), L"GG1;");
    const ON::SectionGroup& bin = *notebook->sectionGroups[1];
    EXPECT_TRUE(bin.isRecycleBin);
    ASSERT_EQ(bin.sections.size(), 1u);
    EXPECT_TRUE(bin.sections[0]->isDeletedPages);
    EXPECT_TRUE(bin.sections[0]->pages[0]->hierarchy.isInRecycleBin);
    EXPECT_TRUE(IsValidDocument(*notebook));
}

TEST(HierarchyChildren, SectionAfterASectionGroupIsKeptAndWrittenBeforeTheGroups)
{
    auto notebook = Read<ON::Notebook>(Doc(L"Notebook", L"",
                                           L"<one:Section name=\"A\"/><one:SectionGroup name=\"G\"/>"
                                           L"<one:Section name=\"B\"><one:Page name=\"B1\"/></one:Section>"
                                           L"<one:SectionGroup name=\"H\"/>"));
    EXPECT_EQ(Names(notebook->sections), L"A;B;");
    ASSERT_EQ(notebook->sections[1]->pages.size(), 1u) << "the late section's pages are its own";
    EXPECT_EQ(notebook->sections[1]->parentList, &notebook->sections);
    EXPECT_EQ(notebook->sectionGroups.size(), 2u);
    EXPECT_EQ(Written(*notebook),
              L"<one:Notebook><one:Section name=\"A\" /><one:Section name=\"B\"><one:Page name=\"B1\" /></one:Section>"
              L"<one:SectionGroup name=\"G\" /><one:SectionGroup name=\"H\" /></one:Notebook>");
    EXPECT_TRUE(IsValidDocument(*notebook));
}

TEST(HierarchyChildren, AllNotebooksAnswerKeepsUnfiledNotesAndOpenSectionsAfterTheNotebooks)
{
    auto notebooks = Read<ON::Notebooks>(Doc(
        L"Notebooks", L"",
        L"<one:Notebook name=\"N1\"/><one:OpenSections><one:Section name=\"loose\"/></one:OpenSections>"
        L"<one:UnfiledNotes isCurrentlyViewed=\"1\" ID=\"{A1B2C3D4-0000-0000-0000-000000000001}{1}{B0}\"><one:Section "
        L"name=\"Quick Notes\"/></one:UnfiledNotes>"
        L"<one:Notebook name=\"N2\"/>"));
    ASSERT_EQ(notebooks->notebooks.size(), 2u);
    EXPECT_EQ(
        Written(*notebooks),
        L"<one:Notebooks><one:Notebook name=\"N1\" /><one:Notebook name=\"N2\" />"
        L"<one:UnfiledNotes isCurrentlyViewed=\"true\" "
        L"ID=\"{A1B2C3D4-0000-0000-0000-000000000001}{1}{B0}\"><one:Section name=\"Quick Notes\" /></one:UnfiledNotes>"
        L"<one:OpenSections><one:Section name=\"loose\" /></one:OpenSections></one:Notebooks>");
    EXPECT_TRUE(IsValidDocument(*notebooks));
    EXPECT_EQ(Written(*Read<ON::Notebooks>(Doc(L"Notebooks"))), L"<one:Notebooks />");
}

TEST(HierarchyChildren, ASecondUnfiledNotesOrOpenSectionsAddsItsSectionsToTheFirst)
{
    auto notebooks = Read<ON::Notebooks>(Doc(
        L"Notebooks", L"",
        L"<one:UnfiledNotes ID=\"{A1B2C3D4-0000-0000-0000-000000000001}{1}{B0}\"><one:Section name=\"U1\"/></one:UnfiledNotes>"
        L"<one:OpenSections><one:Section name=\"O1\"/><one:Section name=\"O2\"/></one:OpenSections>"
        L"<one:UnfiledNotes isCurrentlyViewed=\"true\"><one:Section name=\"U2\"/></one:UnfiledNotes>"
        L"<one:OpenSections><one:Section name=\"O3\"/></one:OpenSections>"));
    ASSERT_TRUE(notebooks->unfiledNotes);
    ASSERT_TRUE(notebooks->openSections);
    EXPECT_EQ(Names(notebooks->unfiledNotes->sections), L"U1;U2;");
    EXPECT_TRUE(notebooks->unfiledNotes->isCurrentlyViewed);
    EXPECT_EQ(notebooks->unfiledNotes->ID, L"{A1B2C3D4-0000-0000-0000-000000000001}{1}{B0}");
    EXPECT_EQ(Names(notebooks->openSections->sections), L"O1;O2;O3;");
    EXPECT_EQ(notebooks->openSections->sections[2]->parentList, &notebooks->openSections->sections);
}

TEST(HierarchyChildren, PathIsKeptAndAnAttributeOfAnotherCaseSkipped)
{
    auto notebook = Read<ON::Notebook>(Doc(L"Notebook", L"Path=\"C:\\Wrong\" path=\"C:\\N\"",
                                           L"<one:SectionGroup Path=\"x\"><one:Section path=\"C:\\N\\S.one\"/></one:SectionGroup>"));
    EXPECT_EQ(notebook->path.path, L"C:\\N");
    ASSERT_EQ(notebook->sectionGroups.size(), 1u);
    EXPECT_FALSE(notebook->sectionGroups[0]->path.path);
    EXPECT_EQ(notebook->sectionGroups[0]->sections[0]->path.path, L"C:\\N\\S.one");
}

TEST(HierarchyChildren, AnAnswerOfThe2010SchemaIsReadWithItsPages)
{
    std::vector<std::wstring> pagesSeen;
    auto notebooks = std::make_shared<ON::Notebooks>();
    ParseElement(*notebooks,
                 L"<?xml version=\"1.0\"?><one:Notebooks xmlns:one=\"" + Ns2010 +
                     L"\"><one:Notebook name=\"N\"><one:SectionGroup name=\"G\"><one:Section name=\"S\">"
                     L"<one:Page name=\"P\" dateTime=\"2026-11-30T09:15:00.000Z\"/></one:Section></one:SectionGroup>"
                     L"</one:Notebook></one:Notebooks>",
                 [&](const ElementLink& link) {
                     if (std::wstring_view(link.name) != L"Page")
                         return;
                     const ON::Page& page = link.As<ON::Page>();
                     const ON::Section& section = page.parentLink.As<ON::Section>();
                     const ON::SectionGroup& group = section.parentLink.As<ON::SectionGroup>();
                     pagesSeen.push_back(*page.hierarchy.name + L" in " + *section.hierarchy.name + L" in " +
                                         *group.hierarchy.name + L" in " + std::wstring(group.parentLink.name));
                 });
    EXPECT_EQ(pagesSeen, (std::vector<std::wstring>{L"P in S in G in Notebook"}));
    const std::wstring written = Write(*notebooks);
    EXPECT_EQ(written.find(L"2010"), std::wstring::npos);
    EXPECT_NE(written.find(L"2013"), std::wstring::npos);
}

TEST(HierarchyConstruction, NotebookBuiltToCreateASectionIsValid)
{
    // The import engine creates a section by sending its notebook with one new section in it.
    auto section = std::make_shared<ON::Section>();
    section->hierarchy.name = L"Imported 2026-12-08";
    Collection<ON::Section> sections;
    sections.push_back(section);
    ON::HierarchyAttributes target;
    target.ID = L"{12345678-1234-1234-1234-123456789012}{1}{B0}";
    ON::Notebook notebook(std::nullopt, Color::Automatic, std::nullopt, target, ON::PathAttributes(), sections, {});
    EXPECT_EQ(notebook.sections[0]->parentList, &notebook.sections);
    EXPECT_EQ(Written(notebook), L"<one:Notebook ID=\"{12345678-1234-1234-1234-123456789012}{1}{B0}\">"
                                 L"<one:Section name=\"Imported 2026-12-08\" /></one:Notebook>");
    EXPECT_TRUE(IsValidDocument(notebook));
}
} // namespace
