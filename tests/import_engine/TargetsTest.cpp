// Targets of an import run against the registered OneNote stand-in: the first target for each
// output format and location, the next target before each entry, new pages and sections, and
// what the engine sends, as OneNote stores it.
#include "import_engine/HierarchyObject.h"
#include "import_engine/PageBuilders.h"
#include "import_engine/PageContent.h"
#include "import_engine/PageCreation.h"
#include "import_engine/TargetPreparation.h"

#include "onenote_model/Hierarchy.h"
#include "tests/import_engine/EngineTestSupport.h"

namespace EngineTest
{
namespace
{
using StandInTest::Utf8;
namespace Ids = FixtureIds;
constexpr const wchar_t* DateText = L"2024-5-3";

std::wstring Text(const _bstr_t& text) { return text.length() ? static_cast<const wchar_t*>(text) : L""; }

class Targets : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        WriteScenario(FixtureStoreLine());
        application_ = Application();
    }

    std::wstring LinkTo(const std::wstring& id)
    {
        BSTR link = nullptr;
        EXPECT_EQ(application_->GetHyperlinkToObject(_bstr_t(id.c_str()), _bstr_t(L""), &link), S_OK);
        return Text(_bstr_t(link, false));
    }

    Config ConfigFor(const std::wstring& id, int32_t outputFormat, bool createNew, std::wstring locationId = {})
    {
        Config config;
        config.location = LinkTo(id);
        config.locationId = std::move(locationId);
        config.outputFormat = outputFormat;
        config.createNew = createNew;
        config.printoutScale = 150;
        return config;
    }

    std::shared_ptr<ON::Page> StoredPage(const std::wstring& id)
    {
        auto page = std::make_shared<ON::Page>();
        ParseElement(*page, Content(application_, id));
        return page;
    }

    // The sections of a notebook or section group as OneNote lists them.
    std::vector<std::pair<std::wstring, std::wstring>> SectionsOf(const std::wstring& parentId)
    {
        const std::wstring xml = Hierarchy(application_, parentId, ON16::hsChildren);
        ON::SectionGroup group;
        ON::Notebook notebook;
        const bool isNotebook = xml.find(L"<one:Notebook") != std::wstring::npos;
        if (isNotebook)
            ParseElement(notebook, xml);
        else
            ParseElement(group, xml);
        std::vector<std::pair<std::wstring, std::wstring>> sections;
        for (const auto& section : isNotebook ? notebook.sections : group.sections)
            sections.emplace_back(section->hierarchy.name.value_or(L""), section->hierarchy.ID.value_or(L""));
        return sections;
    }

    std::vector<std::wstring> SectionNamesOf(const std::wstring& parentId)
    {
        std::vector<std::wstring> names;
        for (const auto& [name, id] : SectionsOf(parentId))
            names.push_back(name);
        return names;
    }

    // The pages of a section: name and level.
    std::vector<std::pair<std::wstring, int32_t>> PagesOf(const std::wstring& sectionId)
    {
        ON::Section section;
        ParseElement(section, Hierarchy(application_, sectionId, ON16::hsChildren));
        std::vector<std::pair<std::wstring, int32_t>> pages;
        for (const auto& page : section.pages)
            pages.emplace_back(page->hierarchy.name.value_or(L""), page->pageLevel.value_or(0));
        return pages;
    }

    size_t CallsOf(const std::wstring& method)
    {
        size_t count = 0;
        for (const auto& call : Calls())
            count += call.method == method ? 1 : 0;
        return count;
    }

    // Every page and hierarchy the engine sent, checked against OneNote's published schema.
    void ExpectSentXmlValid()
    {
        int n = 0;
        for (const auto& call : Calls())
            if ((call.method == L"UpdatePageContent" || call.method == L"UpdateHierarchy") && !call.arguments.empty())
            {
                SCOPED_TRACE(Utf8(call.method));
                EXPECT_EQ(call.result, S_OK);
                EXPECT_TRUE(IsValidSent(call.arguments[0], call.method + std::to_wstring(++n)));
            }
    }

    // Each entry as the run driver moves on: the returned target replaces the current one.
    void Next(Target& target, EntryKind kind, const std::wstring& name)
    {
        target = PrepareNextTarget(*application_, kind, name, DateText, target);
    }

    ON16::ApplicationPtr application_;
};

TEST_F(Targets, AllOnOnePageFillsThePickedPageWithoutMakingOne)
{
    const Target target =
        PrepareTarget(*application_, DateText, ConfigFor(Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage, false));
    EXPECT_EQ(Text(target.pageId), Ids::SiteSurvey);
    EXPECT_EQ(Text(target.sectionId), Ids::Surveys);
    // A section right under a notebook: the window shows no section group.
    EXPECT_EQ(Text(target.parentId), Ids::Work);
    ASSERT_TRUE(target.page);
    EXPECT_EQ(target.page->hierarchy.name, L"Site survey, 3 December");
    EXPECT_EQ(target.page->quickStyleDefs.size(), 2u + 8u);
    EXPECT_EQ(target.page->quickStyleDefs.back()->index, 1u + 8u);
    // OneNote lays out new content itself on this build.
    EXPECT_FALSE(target.startPosition);
    EXPECT_EQ(CallsOf(L"CreateNewPage"), 0u);
    EXPECT_EQ(target.outputFormat, Config::InsertAllFilesIntoASinglePage);
    EXPECT_EQ(target.printoutScale, 150u);
    EXPECT_EQ(target.location, LinkTo(Ids::SiteSurvey));
    const auto log = LogMessages();
    EXPECT_NE(std::find(log.begin(), log.end(), L"Using current page"), log.end());
}

TEST_F(Targets, AllOnOnePageWithCreateNewMakesATitledPageInTheCurrentSectionAndOpensIt)
{
    Target target =
        PrepareTarget(*application_, DateText, ConfigFor(Ids::Budget, Config::InsertAllFilesIntoASinglePage, true));
    EXPECT_EQ(Text(target.sectionId), Ids::Renovation);
    EXPECT_EQ(Text(target.parentId), Ids::Projects);
    ASSERT_TRUE(target.page);
    const std::wstring title = target.page->hierarchy.name.value_or(L"");
    EXPECT_EQ(title.rfind(L"Files Imported on ", 0), 0u) << Utf8(title);
    EXPECT_TRUE(target.pageGenerator);
    EXPECT_EQ(Calls().back().method, L"NavigateTo");
    EXPECT_EQ(Calls().back().arguments[0], Text(target.pageId));

    AddTextLineOutline(L"a < b & 'c'", std::nullopt, target);
    SavePage(*application_, *target.page);
    const auto stored = StoredPage(Text(target.pageId));
    EXPECT_EQ(stored->hierarchy.name, title);
    ASSERT_EQ(stored->elements.size(), 1u);
    const auto& line = (*stored->elements[0]->outline->children[0]->children[0]->oe->content.text)[0]->t->text;
    // A paragraph's text is HTML to OneNote: the characters come back as the HTML that shows them.
    EXPECT_EQ(line, L"a &lt; b &amp; 'c'");
    ExpectSentXmlValid();
}

TEST_F(Targets, PageOrSectionPerFileWithoutCreateNewUsesTheCurrentSectionWithNoPageOpen)
{
    for (const int32_t format : {Config::InsertEachFileOnASeparatePage, Config::InsertEachPrintoutPageOnASeparatePage})
    {
        SCOPED_TRACE(format);
        const Target target = PrepareTarget(*application_, DateText, ConfigFor(Ids::Renovation, format, false));
        EXPECT_EQ(Text(target.sectionId), Ids::Renovation);
        EXPECT_EQ(target.pageId.length(), 0u);
        EXPECT_FALSE(target.page);
        EXPECT_FALSE(target.lastEntryKind);
    }
}

TEST_F(Targets, CreateNewSectionIsToldApartFromTakenNames)
{
    const Config config = ConfigFor(Ids::Surveys, Config::InsertEachFileOnASeparatePage, true);
    std::vector<std::wstring> made;
    for (int run = 0; run < 3; ++run)
    {
        const Target target = PrepareTarget(*application_, DateText, config);
        // The new section is open in OneNote's window.
        EXPECT_EQ(Calls().back().method, L"NavigateTo");
        EXPECT_EQ(target.pageId.length(), 0u);
        EXPECT_FALSE(target.page);
        const auto sections = SectionsOf(Ids::Work);
        const auto found = std::find_if(sections.begin(), sections.end(),
                                        [&](const auto& section) { return section.second == Text(target.sectionId); });
        ASSERT_NE(found, sections.end());
        made.push_back(found->first);
    }
    EXPECT_EQ(made, (std::vector<std::wstring>{L"Imported Files", L"Imported Files 2024-5-3",
                                               L"Imported Files 2024-5-3 (2)"}));
    EXPECT_EQ(SectionNamesOf(Ids::Work), (std::vector<std::wstring>{L"Surveys", L"Archive", L"Imported Files",
                                                                    L"Imported Files 2024-5-3",
                                                                    L"Imported Files 2024-5-3 (2)"}));
    // The log names the section asked for, not the one chosen.
    const auto log = LogMessages();
    EXPECT_EQ(std::count(log.begin(), log.end(), L"Navigating to Section \"Imported Files\""), 3);
    ExpectSentXmlValid();
}

TEST_F(Targets, SectionWithAnEmptySuffixGetsTheNextNumber)
{
    Target target;
    target.parentId = Ids::Work;
    CreateNewSection(*application_, target, L"Notes", L"");
    CreateNewSection(*application_, target, L"Notes", L"");
    CreateNewSection(*application_, target, L"Notes", L"");
    EXPECT_EQ(SectionNamesOf(Ids::Work),
              (std::vector<std::wstring>{L"Surveys", L"Archive", L"Notes", L"Notes (2)", L"Notes (3)"}));
}

TEST_F(Targets, NewSectionsGoIntoTheSectionGroupTheWindowShows)
{
    const Target target =
        PrepareTarget(*application_, DateText, ConfigFor(Ids::Garden, Config::InsertEachPrintoutPageOnASeparatePage, true));
    EXPECT_EQ(Text(target.parentId), Ids::Group2025);
    EXPECT_EQ(SectionNamesOf(Ids::Group2025), (std::vector<std::wstring>{L"Garden", L"Imported Files"}));
    ExpectSentXmlValid();
}

TEST_F(Targets, PickedNotebookOrGroupReceivesTheSectionsWhateverGroupTheWindowShows)
{
    // Opening either shows the section inside the nested group Acme.
    for (const wchar_t* picked : {Ids::Clients, Ids::Acme})
    {
        SCOPED_TRACE(Utf8(picked));
        const Target target = PrepareTarget(
            *application_, DateText, ConfigFor(picked, Config::InsertEachPrintoutPageOnASeparatePage, true, picked));
        EXPECT_EQ(Text(target.parentId), picked);
        EXPECT_EQ(SectionNamesOf(picked).back(), L"Imported Files");
    }
    // A picked section leaves the choice to the window.
    const Target target = PrepareTarget(
        *application_, DateText,
        ConfigFor(Ids::Contracts, Config::InsertEachPrintoutPageOnASeparatePage, true, Ids::Contracts));
    EXPECT_EQ(Text(target.parentId), Ids::Acme);
}

TEST_F(Targets, NoWindowOrNoWindowsCollectionEndsThePreparation)
{
    for (const char* line : {"currentwindow none\n", "windows none\n"})
    {
        SCOPED_TRACE(line);
        WriteScenario(FixtureStoreLine() + line);
        const Config config = ConfigFor(Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage, false);
        const auto error = ComErrorRaisedBy([&] { PrepareTarget(*application_, DateText, config); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Error(), E_POINTER);
    }
}

TEST_F(Targets, PagesPerFileMirrorTheFolders)
{
    Target target =
        PrepareTarget(*application_, DateText, ConfigFor(Ids::Garden, Config::InsertEachFileOnASeparatePage, false));
    Next(target, TopFolder, L"A");
    Next(target, InnerFile, L"x.txt");
    Next(target, InnerFile, L"y.txt");
    Next(target, TopFile, L"z.txt");
    Next(target, InnerFolder, L"B");
    SavePage(*application_, *target.page);
    using Pages = std::vector<std::pair<std::wstring, int32_t>>;
    // The folder's page keeps the level OneNote gave it.
    EXPECT_EQ(PagesOf(Ids::Garden), (Pages{{L"Planting plan", 1}, {L"A", 1}, {L"x.txt", 2}, {L"y.txt", 2},
                                           {L"z.txt", 1}, {L"B", 1}}));
    EXPECT_EQ(target.lastEntryKind, InnerFolder);
    const auto log = LogMessages();
    EXPECT_NE(std::find(log.begin(), log.end(), L"Saving previous page contents (y.txt)"), log.end());
    ExpectSentXmlValid();
}

TEST_F(Targets, TopFolderWithAPagePerPrintoutPageGetsASectionOfItsOwn)
{
    Target target = PrepareTarget(*application_, DateText,
                                  ConfigFor(Ids::Surveys, Config::InsertEachPrintoutPageOnASeparatePage, false));
    Next(target, TopFolder, L"Surveys");
    const std::wstring section = Text(target.sectionId);
    EXPECT_FALSE(target.page);
    Next(target, InnerFile, L"one.pdf");
    Next(target, InnerFile, L"two.pdf");
    SavePage(*application_, *target.page);
    // "Surveys" is taken among the notebook's sections.
    const auto sections = SectionsOf(Ids::Work);
    EXPECT_EQ(sections.back(), std::make_pair(std::wstring(L"Surveys 2024-5-3"), section));
    using Pages = std::vector<std::pair<std::wstring, int32_t>>;
    EXPECT_EQ(PagesOf(section), (Pages{{L"one.pdf", 1}, {L"two.pdf", 1}}));
}

TEST_F(Targets, ContinuationPagesAreSubpagesOfTheFirstPage)
{
    const struct
    {
        std::optional<int32_t> firstLevel;
        int32_t continued;
    } rows[] = {{std::nullopt, 2}, {1, 2}, {2, 3}, {3, 3}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.firstLevel.value_or(0));
        Target target;
        target.sectionId = Ids::Surveys;
        CreateNewPage(*application_, target, L"report.pdf", true);
        target.page->pageLevel = row.firstLevel;
        const Target first = target;
        target.pageGenerator(target, 2);
        const std::wstring second = Text(target.pageId);
        target.pageGenerator(target, 3);
        SavePage(*application_, *target.page);
        EXPECT_EQ(StoredPage(second)->pageLevel, row.continued);
        EXPECT_EQ(target.page->pageLevel, row.continued);
        EXPECT_EQ(target.page->hierarchy.name, L"report.pdf - Page 3");
        // The copy taken before keeps its own page.
        EXPECT_EQ(first.page->hierarchy.name, L"report.pdf");
        EXPECT_NE(Text(first.pageId), Text(target.pageId));
    }
    ExpectSentXmlValid();
}

TEST_F(Targets, AllOnOnePageStartsANewRowWhereANewGroupOfFilesBegins)
{
    Target target =
        PrepareTarget(*application_, DateText, ConfigFor(Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage, false));
    target.startPosition = std::make_shared<ON::Position>(36.0, 200.0);
    target.position = std::make_shared<ON::Position>(300.0, 250.0);
    Next(target, TopFolder, L"A");
    EXPECT_EQ(target.position->x, 300.0);
    Next(target, InnerFile, L"x.txt");
    EXPECT_EQ(target.position->x, 36.0);
    EXPECT_EQ(target.position->y, 200.0);
    target.position->x = 300;
    Next(target, InnerFile, L"y.txt");
    EXPECT_EQ(target.position->x, 300.0);
    Next(target, TopFile, L"z.txt");
    EXPECT_EQ(target.position->x, 36.0);
    EXPECT_EQ(CallsOf(L"CreateNewPage") + CallsOf(L"UpdatePageContent"), 0u);
}

TEST_F(Targets, FailedNextPageLeavesTheCurrentTargetAsItWas)
{
    WriteScenario(FixtureStoreLine() + "fail UpdatePageContent 0x80042005 The page does not exist.\n");
    Target target =
        PrepareTarget(*application_, DateText, ConfigFor(Ids::Surveys, Config::InsertEachFileOnASeparatePage, false));
    Next(target, TopFile, L"a.txt");
    const std::wstring page = Text(target.pageId);
    const auto error = ComErrorRaisedBy([&] { Next(target, TopFile, L"b.txt"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Error(), static_cast<HRESULT>(0x80042005));
    EXPECT_EQ(Text(target.pageId), page);
    EXPECT_EQ(target.page->hierarchy.name, L"a.txt");
    EXPECT_EQ(target.lastEntryKind, TopFile);
    EXPECT_EQ(CallsOf(L"CreateNewPage"), 1u);
}

TEST_F(Targets, SectionOfANameTakenInOtherLetterCaseIsToldApart)
{
    Target target;
    target.parentId = Ids::Work;
    CreateNewSection(*application_, target, L"surveys", DateText);
    EXPECT_EQ(SectionNamesOf(Ids::Work).back(), L"surveys 2024-5-3");
}

TEST_F(Targets, FailedHierarchyUpdateIsRaisedAndNoSectionIsMade)
{
    WriteScenario(FixtureStoreLine() + "failid " + Utf8(Ids::Work) + " 0x80042017 Bad name.\n");
    Target target;
    target.parentId = Ids::Work;
    const auto error = ComErrorRaisedBy([&] { CreateNewSection(*application_, target, L"New", DateText); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Error(), static_cast<HRESULT>(0x80042017));
    EXPECT_EQ(target.sectionId.length(), 0u);
}

TEST_F(Targets, RetrievingAPageWithoutIdEmptiesItWithoutCallingOneNote)
{
    Target target;
    target.page = std::make_shared<ON::Page>();
    target.position = std::make_shared<ON::Position>();
    target.startPosition = std::make_shared<ON::Position>();
    target.pageId = L"";
    const size_t before = Calls().size();
    RetrievePageContents(*application_, target, true);
    EXPECT_FALSE(target.page || target.position || target.startPosition);
    EXPECT_EQ(Calls().size(), before);
}

TEST_F(Targets, RereadPageIsTheSameObjectWithTheSavedContent)
{
    Target target;
    target.pageId = Ids::SiteSurvey;
    RetrievePageContents(*application_, target, false);
    const std::shared_ptr<ON::Page> shared = target.page;
    AddTextLineOutline(L"added", std::nullopt, target);
    RetrievePageContents(*application_, target, true);
    EXPECT_EQ(target.page, shared);
    ASSERT_EQ(shared->elements.size(), 2u);
    // OneNote measured the new outline: one line.
    EXPECT_EQ(shared->elements[1]->outline->pageObject.size->height, 15.0);
    EXPECT_FALSE(target.referenceOutline);
    EXPECT_EQ(shared->quickStyleDefs.size(), 2u + 8u);
    ExpectSentXmlValid();
}

TEST_F(Targets, PickedObjectsResolveToTheirKindNameAndLink)
{
    const struct
    {
        const wchar_t* id;
        ON16::HierarchyElement kind;
        const wchar_t* name;
    } rows[] = {
        {Ids::Work, ON16::heNotebooks, L"Work"},
        {Ids::Projects, ON16::heSectionGroups, L"Projects"},
        {Ids::Surveys, ON16::heSections, L"Surveys"},
        {Ids::SiteSurvey, ON16::hePages, L"Site survey, 3 December"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(Utf8(row.id));
        const HierarchyObject object = ResolveHierarchyObject(*application_, row.id);
        EXPECT_EQ(object.kind, row.kind);
        EXPECT_EQ(object.name, row.name);
        EXPECT_EQ(object.link, LinkTo(row.id));
        EXPECT_EQ(object.link.rfind(L"onenote:", 0), 0u);
    }
}

TEST_F(Targets, ObjectOfNoKnownKindIsUnexpected)
{
    const auto error = ComErrorRaisedBy([&] { ResolveHierarchyObject(*application_, Ids::OpenSections); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Error(), E_UNEXPECTED);
    EXPECT_EQ(CallsOf(L"GetHyperlinkToObject"), 0u);
}
} // namespace
} // namespace EngineTest
