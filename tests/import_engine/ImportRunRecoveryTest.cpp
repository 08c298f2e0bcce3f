// Whole import runs that leave the happy path, against the registered OneNote stand-in: OneNote
// failing between two pages, entries that fail and are retried, skipped or stopped at, locations
// that are not what the workspace remembers, and files that change while the run goes on. The
// store then holds each file's content exactly once, where it belongs.
#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "import_engine/FolderExpansion.h"
#include "import_engine/ImportErrors.h"
#include "tests/import_engine/ImportRunFixture.h"
#include "tests/support/Screenshot.h"

#include <filesystem>
#include <map>

namespace EngineTest
{
namespace
{
namespace fs = std::filesystem;
using StandInTest::Utf8;
namespace Ids = FixtureIds;

using Lines = std::vector<std::wstring>;
const std::pair<ErrorHandling, const char*> EveryAnswer[] = {
    {ErrorHandling::Retry, "retry"}, {ErrorHandling::Skip, "skip"}, {ErrorHandling::Stop, "stop"}};

class ImportRecovery : public ImportRunTest
{
protected:
    // What each page the run made in the section "Renovation" shows, by its name; a second page
    // of one name is a page of its own.
    std::multimap<std::wstring, Lines> PagesMadeInRenovation()
    {
        std::multimap<std::wstring, Lines> made;
        for (const auto& page : PagesOf(Hierarchy(Application(), Ids::Renovation, ON16::hsPages)))
            if (page.name != L"Budget & schedule")
                made.emplace(page.name, Shows(StoredPage(page.id)));
        return made;
    }
};

TEST_F(ImportRecovery, APageSavedBeforeTheNextPageCouldNotBeMadeIsNeverSentAgain)
{
    const std::wstring a = MakeFile(L"a.txt", "alpha");
    const std::wstring b = MakeFile(L"b.txt", "beta");
    const Lines alpha{L"outline", L"code 2: alpha", L"code 2: "};
    const Lines beta{L"outline", L"code 2: beta", L"code 2: "};
    for (const auto& [answer, label] : EveryAnswer)
    {
        SCOPED_TRACE(label);
        WriteScenario(FixtureStoreLine());
        Config config = ConfigInto(Ids::Renovation, Config::InsertEachFileOnASeparatePage);
        config.importFormat = {false, true, Config::NoOriginalPath};
        config.entries = {Entry(a), Entry(b)};
        // Once the first file has its page, OneNote stays busy when the second one's is made.
        const auto busyFromNowOn = [&](const Report& report) {
            if (report.text == a)
                WriteScenario("busy CreateNewPage 3\n");
            return Result{};
        };

        const ErrorHandling answered = answer;
        const auto result = RunImport(config, Recorder(busyFromNowOn),
                                      [&](const Config::Entry&, const std::error_condition&) { return answered; });

        EXPECT_EQ(answer == ErrorHandling::Stop, result.HoldsError());
        std::multimap<std::wstring, Lines> expected{{L"a.txt", alpha}};
        if (answer == ErrorHandling::Retry)
            expected.emplace(L"b.txt", beta);
        EXPECT_EQ(expected, PagesMadeInRenovation());
        if (result.HoldsValue())
        {
            EXPECT_EQ(expected.size(), result.Value());
        }
    }
}

TEST_F(ImportRecovery, APageThatCouldNotBeSavedIsTheFailureOfTheFileItHolds)
{
    const std::wstring a = MakeFile(L"a.txt", "alpha");
    const std::wstring b = MakeFile(L"b.txt", "beta");
    const Lines alpha{L"outline", L"code 2: alpha", L"code 2: "};
    const Lines beta{L"outline", L"code 2: beta", L"code 2: "};
    for (const auto& [answer, label] : {EveryAnswer[0], EveryAnswer[1]})
    {
        SCOPED_TRACE(label);
        WriteScenario(FixtureStoreLine());
        Config config = ConfigInto(Ids::Renovation, Config::InsertEachFileOnASeparatePage);
        config.importFormat = {false, true, Config::NoOriginalPath};
        config.entries = {Entry(a), Entry(b)};
        // OneNote stays busy longer than the first page's save waits.
        WriteScenario("busy UpdatePageContent 3\n");
        Lines asked;
        const ErrorHandling answered = answer;

        const auto result = RunImport(config, Recorder(), [&](const Config::Entry& entry, const std::error_condition&) {
            asked.push_back(entry.path);
            return answered;
        });

        EXPECT_EQ(Lines{a}, asked);
        std::multimap<std::wstring, Lines> expected{{L"b.txt", beta}};
        if (answer == ErrorHandling::Retry)
            expected.emplace(L"a.txt", alpha);
        EXPECT_EQ(expected, PagesMadeInRenovation());
        ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
        EXPECT_EQ(expected.size(), result.Value());
    }
}

TEST_F(ImportRecovery, ASkippedOrStoppedFileLeavesNoPageNamedAfterIt)
{
    const std::wstring a = MakeFile(L"a.txt", "alpha");
    const std::wstring gone = (files_ / L"gone.txt").wstring();
    const std::wstring c = MakeFile(L"c.txt", "gamma");
    for (const auto& [answer, label] : {EveryAnswer[1], EveryAnswer[2]})
    {
        SCOPED_TRACE(label);
        WriteScenario(FixtureStoreLine());
        Config config = ConfigInto(Ids::Renovation, Config::InsertEachFileOnASeparatePage);
        config.importFormat = {false, true, Config::NoOriginalPath};
        config.entries = {Entry(a), Entry(gone), Entry(c)};

        const ErrorHandling answered = answer;
        const auto result =
            RunImport(config, Recorder(), [&](const Config::Entry&, const std::error_condition&) { return answered; });

        std::multimap<std::wstring, Lines> expected{{L"a.txt", {L"outline", L"code 2: alpha", L"code 2: "}}};
        if (answer == ErrorHandling::Skip)
            expected.emplace(L"c.txt", Lines{L"outline", L"code 2: gamma", L"code 2: "});
        EXPECT_EQ(expected, PagesMadeInRenovation());
        ASSERT_EQ(answer == ErrorHandling::Stop, result.HoldsError());
        if (result.HoldsValue())
        {
            EXPECT_EQ(expected.size(), result.Value());
        }
    }
}

TEST_F(ImportRecovery, AnAttemptIsTakenBackThroughABusySpellAndOneThatOneNoteKeepsEndsTheRunNamingIt)
{
    const std::wstring a = MakeFile(L"a.txt", "alpha");
    const std::wstring b = (files_ / L"b.txt").wstring();
    const std::wstring c = MakeFile(L"c.txt", "gamma");
    const Lines alpha{L"outline", L"code 2: alpha", L"code 2: "};
    const Lines beta{L"outline", L"code 2: beta", L"code 2: "};
    const Lines gamma{L"outline", L"code 2: gamma", L"code 2: "};
    for (const char* refusal : {"busy DeleteHierarchy 5\n", "fail DeleteHierarchy 0x80004005\n"})
        for (const auto& [answer, label] : EveryAnswer)
        {
            SCOPED_TRACE(std::string(refusal) + label);
            const bool kept = std::string(refusal).starts_with("fail");
            WriteScenario(FixtureStoreLine() + "\n" + refusal);
            fs::remove(b);
            Config config = ConfigInto(Ids::Renovation, Config::InsertEachFileOnASeparatePage);
            config.importFormat = {false, true, Config::NoOriginalPath};
            config.entries = {Entry(a), Entry(b), Entry(c)};
            unsigned asked = 0;
            const ErrorHandling answered = answer;

            // The middle file vanished before its entry; a retry finds it back.
            const auto result = RunImport(config, Recorder(), [&](const Config::Entry&, const std::error_condition&) {
                ++asked;
                MakeFile(L"b.txt", "beta");
                return answered;
            });

            std::multimap<std::wstring, Lines> expected{{L"a.txt", alpha}};
            if (kept)
            {
                // Nothing asked: a retry would make the page twice, going on would count it.
                EXPECT_EQ(0u, asked);
                ASSERT_TRUE(result.HoldsError());
                EXPECT_NE(std::wstring::npos, GetErrorText(result.Error()).find(L"an untitled page made for \"b.txt\""))
                    << Utf8(GetErrorText(result.Error()));
                expected.emplace(L"", Lines{});
                EXPECT_EQ(expected, PagesMadeInRenovation());
                continue;
            }
            EXPECT_EQ(1u, asked);
            if (answer == ErrorHandling::Retry)
                expected.emplace(L"b.txt", beta);
            if (answer != ErrorHandling::Stop)
                expected.emplace(L"c.txt", gamma);
            EXPECT_EQ(expected, PagesMadeInRenovation());
            ASSERT_EQ(answer == ErrorHandling::Stop, result.HoldsError());
            if (result.HoldsValue())
            {
                EXPECT_EQ(expected.size(), result.Value());
            }
        }
}

TEST_F(ImportRecovery, AStopWhoseLastSaveFailsEndsAsFailedNamingThePage)
{
    const std::wstring a = MakeFile(L"a.txt", "alpha");
    const std::wstring b = MakeFile(L"b.txt", "beta");
    Config config = ConfigInto(Ids::Budget);
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry(a), Entry(b)};
    // The user stops before the second file, and OneNote refuses the page that holds the first.
    const auto stopAtTheSecond = [&](const Report& report) {
        if (report.text != b)
            return Result{};
        WriteScenario("fail UpdatePageContent 0x80004005\n");
        return Result{MakeImportError(ImportCancelled), true};
    };

    const auto result = RunImport(config, Recorder(stopAtTheSecond), nullptr);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_FALSE(IsImportError(result.Error(), ImportCancelled));
    EXPECT_TRUE(IsHResultError(result.Error(), E_FAIL));
    EXPECT_NE(std::wstring::npos, GetErrorText(result.Error()).find(L"\"Budget & schedule\""))
        << Utf8(GetErrorText(result.Error()));
}

TEST_F(ImportRecovery, AStoppedRunWaitsForOneNoteThirtySecondsInAllAndAsksBeforeGivingUpThePage)
{
    const std::wstring a = MakeFile(L"a.txt", "alpha");
    const std::wstring b = MakeFile(L"b.txt", "beta");
    for (const auto& [answer, label] : {EveryAnswer[0], EveryAnswer[2]})
    {
        SCOPED_TRACE(label);
        WriteScenario(FixtureStoreLine());
        Config config = ConfigInto(Ids::Renovation);
        config.createNew = true;
        config.importFormat = {false, true, Config::NoOriginalPath};
        config.entries = {Entry(a), Entry(b)};
        // The user stops before the second file, and OneNote stays busy from then on, for longer
        // than the run waits: at the page's save and when the run looks whether it is empty.
        const auto stopAtTheSecond = [&](const Report& report) {
            if (report.text != b)
                return Result{};
            WriteScenario("busy UpdatePageContent 100000\nbusy GetPageContent 100000\nbusy DeleteHierarchy 100000\n");
            return Result{MakeImportError(ImportCancelled), true};
        };
        const size_t pausesBefore = pauses_.Taken().size();
        unsigned asked = 0;
        const ErrorHandling answered = answer;

        const auto result = RunImport(config, Recorder(stopAtTheSecond),
                                      [&](const Config::Entry& entry, const std::error_condition&) {
                                          ++asked;
                                          EXPECT_TRUE(entry.path.empty()) << "a file was asked about";
                                          if (answered == ErrorHandling::Retry)
                                              WriteScenario("# OneNote answers again\n");
                                          return answered;
                                      });

        DWORD waited = 0;
        const std::vector<DWORD> taken = pauses_.Taken();
        for (size_t i = pausesBefore; i < taken.size(); ++i)
            waited += taken[i];
        EXPECT_EQ(30000u, waited) << "the save and the end's look at the page wait in one";
        EXPECT_EQ(1u, asked) << "the page's save that OneNote did not take";
        ASSERT_TRUE(result.HoldsError());
        WriteScenario("# read what the run left\n");
        std::wstring content;
        for (const auto& [name, lines] : PagesMadeInRenovation())
            for (const std::wstring& line : lines)
                content += line + L"\n";
        if (answer == ErrorHandling::Retry)
        {
            EXPECT_TRUE(IsImportError(result.Error(), ImportCancelled)) << Utf8(GetErrorText(result.Error()));
            EXPECT_NE(std::wstring::npos, content.find(L"alpha")) << Utf8(content);
        }
        else
        {
            const std::wstring told = GetErrorText(result.Error());
            EXPECT_NE(std::wstring::npos, told.find(L"given up when the import was stopped")) << Utf8(told);
            EXPECT_EQ(std::wstring::npos, content.find(L"alpha")) << Utf8(content);
        }
        EXPECT_EQ(std::wstring::npos, content.find(L"beta")) << Utf8(content);
    }
}

TEST_F(ImportRecovery, ANewSectionThatWasNotFoundAgainIsTakenBackAndARetryMakesItOnce)
{
    const std::wstring x = MakeFile(L"x.txt", "first");
    const std::wstring plans = (files_ / L"Plans").wstring();
    MakeFile(L"Plans\\p.txt", "plan");
    for (const auto& [answer, label] : {EveryAnswer[0], EveryAnswer[1]})
    {
        SCOPED_TRACE(label);
        WriteScenario(FixtureStoreLine());
        Config config = ConfigInto(Ids::Renovation, Config::InsertEachPrintoutPageOnASeparatePage);
        config.importFormat = {false, true, Config::NoOriginalPath};
        config.entries = {Entry(x), Entry(plans)};
        // Once the folder's section is made, OneNote stays busy when it is looked for.
        const auto busyWhenFound = [&](const Report& report) {
            if (report.text == x)
                WriteScenario("failfrom GetHierarchy 2-4 0x80010001\n");
            return Result{};
        };
        const ErrorHandling answered = answer;

        const auto result = RunImport(config, Recorder(busyWhenFound),
                                      [&](const Config::Entry&, const std::error_condition&) { return answered; });

        ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
        const std::wstring sections = Hierarchy(Application(), L"", ON16::hsSections);
        EXPECT_EQ(answer == ErrorHandling::Retry ? 1u : 0u, Count(sections, L"name=\"Plans")) << Utf8(sections);
    }
}

TEST_F(ImportRecovery, WhatTheRunMadeForItselfIsRemovedWhenNothingCameIntoIt)
{
    const std::wstring gone = (files_ / L"gone.txt").wstring();
    const std::wstring trip = (files_ / L"Trip").wstring();
    MakeFile(L"Trip\\missing-soon.txt", "x");
    const struct
    {
        const char* label;
        int32_t outputFormat;
        bool createNew;
        std::vector<Config::Entry> entries;
    } runs[] = {
        {"a new page", Config::InsertAllFilesIntoASinglePage, true, {Entry(gone)}},
        {"a new section", Config::InsertEachFileOnASeparatePage, true, {Entry(gone)}},
        {"a top folder's section", Config::InsertEachPrintoutPageOnASeparatePage, false, {Entry(trip)}},
    };
    for (const auto& run : runs)
    {
        SCOPED_TRACE(run.label);
        WriteScenario(FixtureStoreLine());
        Config config = ConfigInto(Ids::Renovation, run.outputFormat);
        config.createNew = run.createNew;
        config.importFormat = {false, true, Config::NoOriginalPath};
        config.entries = run.entries;
        // The folder's only file goes once the folder is listed.
        const auto removeTheFile = [&](const Report& report) {
            if (report.text == trip)
                fs::remove(files_ / L"Trip\\missing-soon.txt");
            return Result{};
        };

        const auto result = RunImport(config, Recorder(removeTheFile),
                                      [](const Config::Entry&, const std::error_condition&) { return ErrorHandling::Skip; });

        ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
        // A folder whose section went with the rest counts as nothing imported.
        EXPECT_EQ(0u, result.Value());
        const std::wstring everything = Hierarchy(Application(), L"", ON16::hsPages);
        EXPECT_EQ(std::wstring::npos, everything.find(L"Files Imported on")) << Utf8(everything);
        EXPECT_EQ(std::wstring::npos, everything.find(L"name=\"Imported Files")) << Utf8(everything);
        EXPECT_EQ(std::wstring::npos, everything.find(L"name=\"Trip")) << Utf8(everything);
        MakeFile(L"Trip\\missing-soon.txt", "x");
    }
}

TEST_F(ImportRecovery, ARunsOwnPageWhoseLastSaveIsGivenUpIsToldOnceNotToHaveReachedOneNoteAndThenToHaveBeenRemoved)
{
    Config config = ConfigInto(Ids::Renovation);
    config.createNew = true;
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry(MakeFile(L"a.txt", "alpha"))};
    // OneNote refuses the page, and nobody is there to ask.
    WriteScenario("fail UpdatePageContent 0x80004005\n");

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_TRUE(IsHResultError(result.Error(), E_FAIL));
    const std::wstring told = GetErrorText(result.Error());
    EXPECT_EQ(1u, Count(told, L"\"Files Imported on ")) << Utf8(told);
    EXPECT_EQ(1u, Count(told, L"reach")) << Utf8(told);
    const size_t notReached = told.find(L"did not reach OneNote");
    ASSERT_NE(std::wstring::npos, notReached) << Utf8(told);
    EXPECT_LT(notReached, told.find(L"was removed")) << Utf8(told);
    EXPECT_NE(std::wstring::npos, told.find(L"was removed")) << Utf8(told);
    EXPECT_TRUE(PagesMadeInRenovation().empty());
}

TEST_F(ImportRecovery, ASectionTheRunMadeForItselfThatABusySpellKeepsIsNamedBesideTheCountWhileOneHoldingAFileIsLeftAlone)
{
    const std::wstring trip = (files_ / L"Trip").wstring();
    MakeFile(L"Trip\\a.txt", "alpha");
    Config config = ConfigInto(Ids::Renovation, Config::InsertEachPrintoutPageOnASeparatePage);
    config.createNew = true;
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry(trip)};
    // The folder's section holds its file; "Imported Files" is left empty. Once all is imported,
    // OneNote stays busy for longer than the run's end waits.
    const auto busyAtTheEnd = [&](const Report& report) {
        if (report.text == L"OneNote is processing import...")
            WriteScenario("busy GetHierarchy 100000\nbusy DeleteHierarchy 100000\n");
        return Result{};
    };
    RunEnding ending;

    const auto result = RunImport(config, Recorder(busyAtTheEnd), nullptr, ending);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(2u, result.Value());
    EXPECT_NE(std::wstring::npos, ending.notice.find(L"the section \"Imported Files\" stays")) << Utf8(ending.notice);
    EXPECT_EQ(std::wstring::npos, ending.notice.find(L"Trip")) << Utf8(ending.notice);
    DWORD waited = 0;
    for (const DWORD pause : pauses_.Taken())
        waited += pause;
    EXPECT_EQ(30000u, waited);
    WriteScenario("# read what the run left\n");
    const std::wstring sections = Hierarchy(Application(), L"", ON16::hsPages);
    EXPECT_EQ(1u, Count(sections, L"name=\"Imported Files\"")) << Utf8(sections);
    EXPECT_EQ(1u, Count(sections, L"name=\"a.txt\"")) << Utf8(sections);
}

TEST_F(ImportRecovery, APageOrSectionTheRunMadeForItselfGoesWhenItsStartFailsAndOneThatStaysIsNamed)
{
    const std::wstring a = MakeFile(L"a.txt", "alpha");
    // OneNote fails, or stays busy, right after it made the run's own page or section.
    const struct
    {
        const char* label;
        int32_t outputFormat;
        std::string failure;
        bool kept;
    } starts[] = {
        {"a new page, not opened", Config::InsertAllFilesIntoASinglePage, "fail NavigateTo 0x80004005\n", false},
        {"a new page, not read", Config::InsertAllFilesIntoASinglePage, "busy GetPageContent 3\n", false},
        {"a new section, not found again", Config::InsertEachFileOnASeparatePage, "failfrom GetHierarchy 2-4 0x80010001\n", false},
        {"a new section, not opened", Config::InsertEachPrintoutPageOnASeparatePage, "fail NavigateTo 0x80004005\n", false},
        {"a new page OneNote keeps", Config::InsertAllFilesIntoASinglePage,
         "fail NavigateTo 0x80004005\nfail DeleteHierarchy 0x80004005\n", true},
    };
    for (const auto& start : starts)
    {
        SCOPED_TRACE(start.label);
        WriteScenario(FixtureStoreLine());
        Config config = ConfigInto(Ids::Renovation, start.outputFormat);
        config.createNew = true;
        config.importFormat = {false, true, Config::NoOriginalPath};
        config.entries = {Entry(a)};
        const bool page = start.outputFormat == Config::InsertAllFilesIntoASinglePage;
        const auto made = [&] {
            return page ? PagesMadeInRenovation().size()
                        : Count(Hierarchy(Application(), L"", ON16::hsSections), L"name=\"Imported Files");
        };
        // Without a store line the store stays as it is; the counts of calls start afresh.
        WriteScenario(start.failure);

        const auto result = RunImport(config, Recorder(), nullptr);

        ASSERT_TRUE(result.HoldsError());
        EXPECT_EQ(start.kept ? 1u : 0u, made());
        if (start.kept)
        {
            const std::wstring told = GetErrorText(result.Error());
            EXPECT_NE(std::wstring::npos, told.find(L"an untitled page made for \"Files Imported on ")) << Utf8(told);
        }
        // The user tries again once OneNote answers: the run makes one of its own.
        WriteScenario("# OneNote answers again\n");
        const auto again = RunImport(config, Recorder(), nullptr);
        ASSERT_TRUE(again.HoldsValue()) << Utf8(GetErrorText(again.Error()));
        EXPECT_EQ(start.kept ? 2u : 1u, made());
    }
}

TEST_F(ImportRecovery, FillingThePageOfALocationWithoutOneFailsTheRunWithOneNotesError)
{
    // A workspace edited by hand names a section without pages as the page to fill.
    Config config = ConfigInto(Ids::Archive);
    config.entries = {Entry(MakeFile(L"a.txt"))};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_TRUE(IsHResultError(result.Error(), static_cast<HRESULT>(0x80042005)));
    EXPECT_NE(std::wstring::npos, GetErrorText(result.Error()).find(L"The page does not exist.")) << Utf8(GetErrorText(result.Error()));
}

TEST_F(ImportRecovery, APickedNotebookReceivesTheNewSectionAfterARestart)
{
    // A workspace read at start-up keeps the picked notebook's link only, not its ID; opening the
    // notebook opens a section of its group "Acme".
    Config config = ConfigInto(Ids::Clients, Config::InsertEachFileOnASeparatePage);
    config.createNew = true;
    config.entries = {Entry(MakeFile(L"a.txt"))};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    auto application = Application();
    const std::wstring clients = Hierarchy(application, Ids::Clients, ON16::hsChildren);
    EXPECT_NE(std::wstring::npos, clients.find(L"<one:Section name=\"Imported Files\"")) << Utf8(clients);
    EXPECT_EQ(std::wstring::npos, Hierarchy(application, Ids::Acme, ON16::hsChildren).find(L"Imported Files"));
}

TEST_F(ImportRecovery, ARestoredWorkspaceThreeFoldersDeepImportsEveryFolderAndARetryListsAFolderAgain)
{
    const std::wstring top = (files_ / L"Top").wstring();
    const std::wstring mid = top + L"\\Mid";
    const std::wstring deep = mid + L"\\Deep";
    const std::wstring a = MakeFile(L"Top\\a.txt");
    const std::wstring b = MakeFile(L"Top\\Mid\\b.txt");
    const std::wstring d = MakeFile(L"Top\\Mid\\Deep\\d.txt");
    // As the settings keep a tree of folders: the deepest one was never listed.
    Config config = ConfigInto(Ids::SiteSurvey);
    config.entries = {{top, {Entry(a), {mid, {Entry(b), Entry(deep)}, 0, 0}}, 0, 0}};
    int deepListings = 0;
    const FolderLister previous = SetFolderLister([&](const std::wstring& folder, DWORD* error) {
        // The deepest folder cannot be listed at first.
        if (folder == deep && deepListings++ == 0)
        {
            *error = ERROR_ACCESS_DENIED;
            return std::vector<FolderEntry>{};
        }
        return ListFolder(folder, error);
    });
    Lines asked;

    const auto result = RunImport(config, Recorder(), [&](const Config::Entry& entry, const std::error_condition&) {
        asked.push_back(entry.path);
        return asked.size() == 1 ? ErrorHandling::Retry : ErrorHandling::Skip;
    });

    SetFolderLister(previous);
    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(Lines{deep}, asked);
    EXPECT_EQ(6u, result.Value()); // the three folders and their three files
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    for (const std::wstring& file : {a, b, d})
        EXPECT_EQ(1u, Count(page, L"file:///" + file + L"\"")) << Utf8(file);
}

TEST_F(ImportRecovery, WhatOneNoteReadsWhenThePageIsSavedIsReadWithItsEntrySoOnlyAnUnreadableFileFails)
{
    Screenshot::GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.started());
    // Wider than a picture is shown, so that it is shown 480 points wide whatever the screen's scaling.
    const Screenshot::Capture capture{1000, 500, std::vector<DWORD>(1000 * 500, 0x336699)};
    const std::string png = ReadFileBytes(Screenshot::Save(capture, L"picture").c_str());
    // The page names these files, and OneNote reads them only when it is saved.
    const struct
    {
        const char* label;
        Config::ImportFormat format;
        std::wstring extension;
        std::string bytes;
        // What the file that went away shows, then the text file after it.
        Lines shows;
    } kinds[] = {
        {"an HTML file", {false, true, Config::NoOriginalPath}, L".htm", "<p>Read before it went</p>",
         {L"outline", L"p: Read before it went", L"code 2: after", L"code 2: "}},
        {"an attached file", {true, false, Config::NoOriginalPath}, L".txt", "read before it went",
         {L"file: gone.txt: read before it went", L"file: after.txt: after"}},
        {"a picture", {false, true, Config::NoOriginalPath}, L".png", png,
         {L"image: 480 x 240", L"outline", L"code 2: after", L"code 2: "}},
    };
    for (const auto& kind : kinds)
    {
        SCOPED_TRACE(kind.label);
        WriteScenario(FixtureStoreLine());
        const std::wstring gone = MakeFile(L"gone" + kind.extension, kind.bytes);
        const std::wstring locked = MakeFile(L"locked" + kind.extension, kind.bytes);
        const std::wstring after = MakeFile(L"after.txt", "after");
        Config config = ConfigInto(Ids::Budget);
        config.importFormat = kind.format;
        config.entries = {Entry(gone), Entry(locked), Entry(after)};
        Owners::FileHandle lock(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        Lines asked;
        // The first file goes away once its entry is done, long before the page is saved.
        const auto removeTheFirst = [&](const Report& report) {
            if (report.text == locked)
                fs::remove(gone);
            return Result{};
        };

        const auto result = RunImport(config, Recorder(removeTheFirst), [&](const Config::Entry& entry, const std::error_condition&) {
            asked.push_back(entry.path);
            return ErrorHandling::Skip;
        });

        lock.reset();
        EXPECT_EQ(Lines{locked}, asked);
        EXPECT_EQ(kind.shows, Shows(StoredPage(Ids::Budget)));
        EXPECT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
        if (result.HoldsValue())
        {
            EXPECT_EQ(2u, result.Value());
        }
    }
}
} // namespace
} // namespace EngineTest
