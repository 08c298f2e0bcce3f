// Where new content goes on the two kinds of OneNote build: placed by the engine below the page's
// content on the builds that need it, left to OneNote on the others. Each case runs one of the
// stand-in's onenote.exe builds, so these run alone.
#include "import_engine/ImportErrors.h"
#include "import_engine/ImportRun.h"
#include "import_engine/PageBuilders.h"
#include "import_engine/PageContent.h"
#include "import_engine/TargetPreparation.h"
#include "import_engine/TextContent.h"

#include "onenote_model/Hierarchy.h"
#include "tests/import_engine/EngineTestSupport.h"
#include "tests/import_engine/OneNoteProcessRunner.h"

#include <filesystem>
#include <fstream>

namespace EngineTest
{
namespace
{
using StandInTest::Utf8;
class Placement : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(WaitUntilNoOneNoteRuns()) << "another onenote.exe kept running";
        WriteScenario(FixtureStoreLine());
    }

    // The page XML of every UpdatePageContent call, in order.
    std::vector<std::wstring> SentPages()
    {
        std::vector<std::wstring> pages;
        for (const auto& call : Calls())
            if (call.method == L"UpdatePageContent")
            {
                EXPECT_EQ(call.result, S_OK);
                EXPECT_TRUE(IsValidSent(call.arguments[0], L"sent" + std::to_wstring(pages.size())));
                pages.push_back(call.arguments[0]);
            }
        return pages;
    }

    // Text, saved and read again, then an attachment below it; the picked page has an outline of
    // two lines at y 120, 30 points high.
    Target ImportTextThenAttachment(ON16::IApplication& application)
    {
        BSTR link = nullptr;
        EXPECT_EQ(application.GetHyperlinkToObject(_bstr_t(FixtureIds::SiteSurvey), _bstr_t(L""), &link), S_OK);
        Config config;
        config.location = static_cast<const wchar_t*>(_bstr_t(link, false));
        Target target = PrepareTarget(application, L"2024-5-3", config);
        const ImportResult text = AddTextLineOutline(L"A line of text", std::nullopt, target);
        target.referenceOutline = text.referenceOutline;
        RetrievePageContents(application, target, true);
        // OneNote reads an attached file when the page is saved: it must be there.
        const std::filesystem::path plan = TestPaths::OutputFolder() / L"plan.pdf";
        std::ofstream(plan, std::ios::binary) << "%PDF-1.4";
        const ImportResult attachment = InsertAttachment(plan.wstring(), 0, target);
        target.startPosition = attachment.startPosition;
        SavePage(application, *target.page);
        return target;
    }

    // "alpha.txt", "beta.txt" and "gamma.txt" in a folder of their own, each holding its name and " text".
    static std::vector<std::wstring> ThreeTextFiles(const wchar_t* folderName)
    {
        const std::filesystem::path folder = TestPaths::OutputFolder() / folderName;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::vector<std::wstring> files;
        for (const char* name : {"alpha", "beta", "gamma"})
        {
            const std::filesystem::path path = folder / (std::string(name) + ".txt");
            std::ofstream(path, std::ios::binary) << name << " text";
            files.push_back(path.wstring());
        }
        return files;
    }

    // Too large to be imported as text, though it can be read and attached: its entry fails after
    // its link was saved with the page and its attachment placed.
    static void MakeTooLargeForText(const std::wstring& path)
    {
        std::ofstream(std::filesystem::path(path), std::ios::binary) << std::string(GreatestTextFileSize + 1, 'x');
    }

    static void MakeText(const std::wstring& path, const char* text)
    {
        std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
    }

    static size_t CountOf(const std::wstring& text, const std::wstring& part)
    {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
            ++n;
        return n;
    }

    // Each of the three text files' link, attachment and text is on the page as often as expected.
    static void ExpectOnPage(const std::wstring& page, const std::vector<std::wstring>& files, const std::vector<size_t>& expected)
    {
        const wchar_t* texts[] = {L"alpha text", L"beta text", L"gamma text"};
        for (size_t i = 0; i < files.size(); ++i)
        {
            SCOPED_TRACE(Utf8(files[i]));
            EXPECT_EQ(expected[i], CountOf(page, L"file:///" + files[i] + L"\"")) << Utf8(page);
            EXPECT_EQ(expected[i], CountOf(page, L"preferredName=\"" + std::filesystem::path(files[i]).filename().wstring() + L"\""));
            EXPECT_EQ(expected[i], CountOf(page, texts[i]));
        }
    }

    // Text, attachment and link of each file, into the picked page.
    static Config IntoTheSiteSurvey(ON16::IApplication& application)
    {
        BSTR link = nullptr;
        EXPECT_EQ(application.GetHyperlinkToObject(_bstr_t(FixtureIds::SiteSurvey), _bstr_t(L""), &link), S_OK);
        Config config;
        config.location = static_cast<const wchar_t*>(_bstr_t(link, false));
        config.importFormat = {true, true, Config::HyperlinkPath};
        return config;
    }

    static const ON::PageObject& StoredObject(const ON::Page& page, size_t index)
    {
        const auto& element = *page.elements.at(index);
        return element.outline ? element.outline->pageObject : element.insertedFile->tagable.pageObject;
    }
};

TEST_F(Placement, AffectedBuildGetsEveryNewObjectPlacedBelowTheContent)
{
    const OneNoteProcess oneNote(OneNoteExe(L"inside"));
    ASSERT_NE(oneNote.Window(), nullptr);
    auto application = Application();
    const Target target = ImportTextThenAttachment(*application);

    const auto sent = SentPages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_NE(sent[0].find(L"<one:Position x=\"36\" y=\"170\""), std::wstring::npos) << Utf8(sent[0]);
    // Read again, the text's outline is as high as OneNote measured it: one line of 15 points.
    EXPECT_NE(sent[1].find(L"<one:Position x=\"36\" y=\"195\""), std::wstring::npos) << Utf8(sent[1]);
    ASSERT_EQ(target.page->elements.size(), 3u);
    EXPECT_EQ(StoredObject(*target.page, 1).size->height, 15.0);
    EXPECT_EQ(target.startPosition->y, 195.0 + 65 + 10);
}

TEST_F(Placement, OtherBuildsLeaveThePlacementToOneNote)
{
    const OneNoteProcess oneNote(OneNoteExe(L"outside"));
    ASSERT_NE(oneNote.Window(), nullptr);
    auto application = Application();
    const Target target = ImportTextThenAttachment(*application);

    const auto sent = SentPages();
    ASSERT_EQ(sent.size(), 2u);
    // Only what OneNote placed comes back with a position: the page's first outline, then the text.
    EXPECT_EQ(CountOf(sent[0], L"<one:Position"), 1u) << Utf8(sent[0]);
    EXPECT_EQ(CountOf(sent[1], L"<one:Position"), 2u) << Utf8(sent[1]);
    EXPECT_FALSE(target.startPosition);
    Target reread;
    reread.pageId = FixtureIds::SiteSurvey;
    RetrievePageContents(*application, reread, false);
    ASSERT_EQ(reread.page->elements.size(), 3u);
    // OneNote put each below what was there: 120 + 30 + 10, then 160 + 15 + 10.
    EXPECT_EQ(StoredObject(*reread.page, 1).position->y, 160.0);
    EXPECT_EQ(StoredObject(*reread.page, 2).position->y, 185.0);
}

TEST_F(Placement, AnEntryThatFailsAfterItsPageWasSavedIsTakenBackBeforeARetryASkipOrAStop)
{
    const OneNoteProcess oneNote(OneNoteExe(L"inside"));
    ASSERT_NE(oneNote.Window(), nullptr);
    const std::vector<std::wstring> files = ThreeTextFiles(L"placement-failed-entry");
    auto application = Application();
    Config config = IntoTheSiteSurvey(*application);
    ASSERT_FALSE(config.location.empty());
    config.entries = {{files[0], {}, 0, 0}, {files[1], {}, 0, 0}, {files[2], {}, 0, 0}};
    const std::pair<ErrorHandling, const char*> answers[] = {
        {ErrorHandling::Retry, "retry"}, {ErrorHandling::Skip, "skip"}, {ErrorHandling::Stop, "stop"}};
    for (const int32_t format : {Config::InsertAllFilesIntoASinglePage, Config::InsertEachFileOnASeparatePage,
                                 Config::InsertEachPrintoutPageOnASeparatePage})
    for (const auto& [answer, label] : answers)
    {
        SCOPED_TRACE(std::string(label) + " in output format " + std::to_string(format));
        config.outputFormat = format;
        WriteScenario(FixtureStoreLine());
        // The second file's link is saved with the page before its attachment is placed, and then
        // its content fails. A retry finds it small enough.
        MakeTooLargeForText(files[1]);
        std::vector<std::wstring> asked;
        const ErrorHandling answered = answer;

        const auto result = RunImport(
            config, [](std::shared_ptr<Progress>) { return Result{}; },
            [&](const Config::Entry& entry, const std::error_condition&) {
                asked.push_back(entry.path);
                MakeText(files[1], "beta text");
                return answered;
            });

        EXPECT_EQ(std::vector<std::wstring>{files[1]}, asked);
        // What each file should have left on the page: all of it once, or nothing.
        std::vector<size_t> expected{1, answer == ErrorHandling::Retry ? 1u : 0u, answer == ErrorHandling::Stop ? 0u : 1u};
        if (answer == ErrorHandling::Stop)
            EXPECT_TRUE(result.HoldsError());
        else
        {
            ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
            EXPECT_EQ(expected[0] + expected[1] + expected[2], result.Value());
        }
        // Every page of the store, wherever the output format put the files.
        std::wstring page;
        const std::wstring all = Hierarchy(application, L"", ON16::hsPages);
        for (size_t at = all.find(L"<one:Page ID=\""); at != std::wstring::npos; at = all.find(L"<one:Page ID=\"", at + 1))
        {
            const size_t start = at + 14;
            page += Content(application, all.substr(start, all.find(L'"', start) - start));
        }
        ExpectOnPage(page, files, expected);
    }
    SentPages();
}

TEST_F(Placement, TakingBackAnEntryFromTheSavedPageKeepsWhatSomeoneTypedThereDuringTheRun)
{
    const OneNoteProcess oneNote(OneNoteExe(L"inside"));
    ASSERT_NE(oneNote.Window(), nullptr);
    const std::vector<std::wstring> files = ThreeTextFiles(L"placement-typed-meanwhile");
    auto application = Application();
    Config config = IntoTheSiteSurvey(*application);
    ASSERT_FALSE(config.location.empty());
    // The second entry fails after its link was sent: its content, or the reading of the page
    // right after it was sent (what the entry added is then found when the page is read again).
    const struct
    {
        const char* label;
        std::string scenario;
    } failures[] = {{"content", "# nothing fails\n"}, {"reading", "failfrom GetPageContent 1-1 0x80004005\n"}};
    for (const auto& failure : failures)
    {
        SCOPED_TRACE(failure.label);
        WriteScenario(FixtureStoreLine());
        config.entries = {{files[0], {}, 0, 0}, {files[1], {}, 0, 0}, {files[2], {}, 0, 0}};
        MakeTooLargeForText(files[1]);
        // As the second file's turn comes, someone types a line on the page the run is filling.
        const auto typeALine = [&](std::shared_ptr<Progress> report) {
            if (!report || report->text != files[1])
                return Result{};
            const std::wstring typed = L"<one:Page xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\" ID=\"" +
                                       std::wstring(FixtureIds::SiteSurvey) +
                                       L"\"><one:Outline><one:OEChildren><one:OE><one:T>typed by hand</one:T></one:OE>"
                                       L"</one:OEChildren></one:Outline></one:Page>";
            EXPECT_EQ(S_OK, application->UpdatePageContent(_bstr_t(typed.c_str()), 0.0, ON16::xs2013, VARIANT_TRUE));
            WriteScenario(failure.scenario);
            return Result{};
        };

        const auto result = RunImport(config, typeALine, [](const Config::Entry&, const std::error_condition&) {
            return ErrorHandling::Skip;
        });

        ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
        EXPECT_EQ(2u, result.Value());
        const std::wstring page = Content(application, FixtureIds::SiteSurvey);
        EXPECT_EQ(1u, CountOf(page, L"typed by hand")) << Utf8(page);
        ExpectOnPage(page, files, {1, 0, 1});
    }
}

TEST_F(Placement, AStopWhileTheTakingBackAsksWhichOneNoteRunsEndsItAtOneNotesNextAnswer)
{
    const OneNoteProcess oneNote(OneNoteExe(L"inside"));
    ASSERT_NE(oneNote.Window(), nullptr);
    const std::vector<std::wstring> files = ThreeTextFiles(L"placement-stopped-version");
    auto application = Application();
    Config config = IntoTheSiteSurvey(*application);
    ASSERT_FALSE(config.location.empty());
    config.entries = {{files[0], {}, 0, 0}, {files[1], {}, 0, 0}, {files[2], {}, 0, 0}};
    // From the second file on, OneNote stays busy when asked for its windows, which every read of
    // the page asks to learn which OneNote runs: the entry fails after its link was saved, and its
    // taking back reads the page again. The user stops meanwhile.
    bool stopping = false;
    size_t callsAtTheStop = 0;
    const auto result = RunImport(
        config,
        [&](std::shared_ptr<Progress> report) {
            if (report && report->text == files[1])
            {
                WriteScenario("busy get_Windows 1000\n");
                stopping = true;
            }
            // Only waiting out OneNote asks without a report.
            if (report || !stopping)
                return Result{};
            if (callsAtTheStop == 0)
                callsAtTheStop = Calls().size();
            return Result{MakeImportError(ImportCancelled), true};
        },
        [&](const Config::Entry&, const std::error_condition&) {
            ADD_FAILURE() << "asked after a stop";
            return ErrorHandling::Stop;
        });

    ASSERT_TRUE(result.HoldsError());
    const std::wstring told = GetErrorText(result.Error());
    EXPECT_NE(std::wstring::npos, told.find(L"The import was stopped before all of this entry's import was taken back"))
        << Utf8(told);
    ASSERT_NE(0u, callsAtTheStop);
    EXPECT_EQ(callsAtTheStop, Calls().size()) << "OneNote was called after the stop";
    WriteScenario("# read what the run left\n");
}

TEST_F(Placement, ThePageTheRunMadeIsNamedByItsTitleWhenOneNoteKeepsItAfterAnEntryThatSavedItWasTakenBack)
{
    const OneNoteProcess oneNote(OneNoteExe(L"inside"));
    ASSERT_NE(oneNote.Window(), nullptr);
    const std::vector<std::wstring> files = ThreeTextFiles(L"placement-own-page");
    auto application = Application();
    Config config = IntoTheSiteSurvey(*application);
    ASSERT_FALSE(config.location.empty());
    // Into a new page of the run's own, which the entry saves (titling it) before it fails and is
    // taken back; OneNote then refuses the page's last save and keeps the empty page.
    config.createNew = true;
    config.entries = {{files[0], {}, 0, 0}};
    MakeTooLargeForText(files[0]);
    WriteScenario("fail DeleteHierarchy 0x80004005\nfailfrom UpdatePageContent 2 0x80004005\n");

    const auto result = RunImport(
        config, [](std::shared_ptr<Progress>) { return Result{}; },
        [](const Config::Entry&, const std::error_condition&) { return ErrorHandling::Skip; });

    MakeText(files[0], "alpha text");
    ASSERT_TRUE(result.HoldsError());
    const std::wstring told = GetErrorText(result.Error());
    EXPECT_NE(std::wstring::npos, told.find(L"the page \"Files Imported on ")) << Utf8(told);
    EXPECT_EQ(std::wstring::npos, told.find(L"untitled")) << Utf8(told);
    WriteScenario("# read what the run left\n");
}

TEST_F(Placement, AnEntryThatOneNoteWillNotTakeBackFromTheSavedPageEndsTheRunAndIsNeverSentTwice)
{
    const OneNoteProcess oneNote(OneNoteExe(L"inside"));
    ASSERT_NE(oneNote.Window(), nullptr);
    const std::vector<std::wstring> files = ThreeTextFiles(L"placement-kept-entry");
    auto application = Application();
    Config config = IntoTheSiteSurvey(*application);
    ASSERT_FALSE(config.location.empty());
    // Where OneNote refuses: the removal of the link the entry saved (which then stays), or the
    // reading of the page once the link was removed (the entry's second read: after its save,
    // and after the removal), or the removal and then the save of the page as the run ends (its
    // second save), when the user is told both.
    const struct
    {
        const char* label;
        std::string scenario;
        bool linkStays;
        std::vector<const wchar_t*> told;
    } refusals[] = {
        {"removal", "fail DeletePageContent 0x80004005\n", true, {L"what it added to the page"}},
        {"reading", "failfrom GetPageContent 2 0x80004005\n", false, {L"could not be read again"}},
        {"removal and last save", "fail DeletePageContent 0x80004005\nfailfrom UpdatePageContent 2 0x80004005\n", true,
         {L"what it added to the page", L"did not reach OneNote"}},
    };
    for (const auto& refusal : refusals)
        for (const ErrorHandling answer : {ErrorHandling::Retry, ErrorHandling::Skip, ErrorHandling::Stop})
        {
            SCOPED_TRACE(std::string(refusal.label) + " " + std::to_string(static_cast<int>(answer)));
            WriteScenario(FixtureStoreLine());
            config.entries = {{files[0], {}, 0, 0}, {files[1], {}, 0, 0}, {files[2], {}, 0, 0}};
            MakeTooLargeForText(files[1]);
            unsigned asked = 0;

            const auto result = RunImport(
                config,
                [&](std::shared_ptr<Progress> report) {
                    if (report && report->text == files[1])
                        WriteScenario(refusal.scenario);
                    return Result{};
                },
                [&](const Config::Entry&, const std::error_condition&) {
                    ++asked;
                    MakeText(files[1], "beta text");
                    return answer;
                });

            MakeText(files[1], "beta text");
            EXPECT_EQ(0u, asked);
            ASSERT_TRUE(result.HoldsError());
            for (const wchar_t* told : refusal.told)
                EXPECT_NE(std::wstring::npos, GetErrorText(result.Error()).find(told)) << Utf8(GetErrorText(result.Error()));
            WriteScenario("# read what the run left\n");
            const std::wstring page = Content(application, FixtureIds::SiteSurvey);
            EXPECT_EQ(1u, CountOf(page, L"alpha text")) << Utf8(page);
            EXPECT_EQ(1u, CountOf(page, L"file:///" + files[0] + L"\""));
            EXPECT_EQ(refusal.linkStays ? 1u : 0u, CountOf(page, L"file:///" + files[1] + L"\""));
            EXPECT_EQ(0u, CountOf(page, L"beta text"));
            EXPECT_EQ(0u, CountOf(page, L"gamma text"));
        }
}
} // namespace
} // namespace EngineTest
