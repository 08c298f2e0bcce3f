// Whole import runs without a window against the registered OneNote stand-in: the pages read back
// from its store, the progress reports, the answers of the error prompt and OneNote's busy answers.
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/PdfDocument.h"
#include "tests/import_engine/ImportRunFixture.h"
#include "tests/support/Screenshot.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace EngineTest
{
namespace
{
namespace fs = std::filesystem;
using StandInTest::Utf8;
namespace Ids = FixtureIds;

using ImportRun = ImportRunTest;

TEST_F(ImportRun, AFolderTreeBecomesLinksHeadingsTextAndAttachmentsOnThePickedPage)
{
    const std::wstring a = MakeFile(L"Top\\a.txt", "first\tline\r\nsecond");
    const std::wstring b = MakeFile(L"Top\\Inner\\b.json", "{}");
    Config config = ConfigInto(Ids::SiteSurvey);
    config.importFormat = {true, true, Config::HyperlinkPath};
    config.entries = {Entry((files_ / L"Top").wstring())};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(4u, result.Value());
    ASSERT_EQ(4u, config.entries.size());
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    EXPECT_NE(std::wstring::npos, page.find((files_ / L"Top").wstring())) << Utf8(page);
    EXPECT_NE(std::wstring::npos, page.find(L"first    line")) << Utf8(page);
    EXPECT_NE(std::wstring::npos, page.find(L"preferredName=\"b.json\"")) << Utf8(page);
    EXPECT_NE(std::wstring::npos, page.find(L"preferredName=\"a.txt\"")) << Utf8(page);
    EXPECT_EQ(2u, Count(page, L"file:///"));
    for (const auto& call : Calls())
    {
        if (call.method == L"UpdatePageContent")
        {
            EXPECT_TRUE(IsValidSent(call.arguments[0], L"sent"));
        }
    }
}

TEST_F(ImportRun, ReportsEachStepInOrderAndEndsWithCompletion)
{
    const std::wstring a = MakeFile(L"a.txt");
    const std::wstring b = MakeFile(L"b.txt");
    Config config = ConfigInto(Ids::SiteSurvey);
    config.entries = {Entry(a), Entry(b)};

    ASSERT_TRUE(RunImport(config, Recorder(), nullptr).HoldsValue());

    EXPECT_EQ((std::vector<Report>{{L"Enumerating files...", 0, 0},
                                   {L"Enumerating files...", 1, 0},
                                   {L"Processing files...", 0, 2},
                                   {a, 0, 2},
                                   {b, 1, 2},
                                   {L"OneNote is processing import...", 2, 2},
                                   {L"", 2, 2}}),
              reports_);
}

TEST_F(ImportRun, AnEmptyListStillSavesThePageAndCompletesWithNothing)
{
    Config config = ConfigInto(Ids::SiteSurvey);

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue());
    EXPECT_EQ(0u, result.Value());
    ASSERT_FALSE(reports_.empty());
    EXPECT_EQ((Report{L"", 0, 0}), reports_.back());
    const auto log = LogMessages();
    EXPECT_NE(std::find(log.begin(), log.end(), L"Processing 0 entries"), log.end());
}

TEST_F(ImportRun, NoImportFormatFailsTheEntryWith101)
{
    Config config = ConfigInto(Ids::SiteSurvey);
    config.importFormat = {};
    config.entries = {Entry(MakeFile(L"a.txt"))};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_TRUE(IsImportError(result.Error(), NoImportFormat));
}

TEST_F(ImportRun, AVanishedPathFailsWith200NamingIt)
{
    const std::wstring gone = (files_ / L"gone.txt").wstring();
    Config config = ConfigInto(Ids::SiteSurvey);
    config.entries = {Entry(gone)};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_TRUE(IsImportError(result.Error(), FileDoesNotExist));
    EXPECT_NE(std::wstring::npos, GetErrorText(result.Error()).find(L"File: " + gone));
}

TEST_F(ImportRun, SkipGoesOnWithoutCountingTheFailedEntry)
{
    const std::wstring gone = (files_ / L"gone.txt").wstring();
    const std::wstring a = MakeFile(L"a.txt");
    Config config = ConfigInto(Ids::SiteSurvey);
    config.entries = {Entry(gone), Entry(a)};
    std::vector<std::wstring> asked;

    const auto result = RunImport(config, Recorder(), [&](const Config::Entry& entry, const std::error_condition&) {
        asked.push_back(entry.path);
        return ErrorHandling::Skip;
    });

    ASSERT_TRUE(result.HoldsValue());
    EXPECT_EQ(1u, result.Value());
    EXPECT_EQ(std::vector<std::wstring>{gone}, asked);
    EXPECT_NE(std::wstring::npos, StoredPage(Ids::SiteSurvey).find(L"file:///" + a));
}

TEST_F(ImportRun, RetryTriesTheEntryAgainWithoutImportingItTwice)
{
    const std::wstring a = MakeFile(L"a.txt");
    const std::wstring late = (files_ / L"late.txt").wstring();
    Config config = ConfigInto(Ids::SiteSurvey);
    config.importFormat = {true, false, Config::HyperlinkPath};
    config.entries = {Entry(a), Entry(late)};
    int asked = 0;

    const auto result = RunImport(config, Recorder(), [&](const Config::Entry&, const std::error_condition&) {
        // The file turns up while the user is asked.
        std::ofstream(fs::path(late)) << "now";
        ++asked;
        return ErrorHandling::Retry;
    });

    ASSERT_TRUE(result.HoldsValue());
    EXPECT_EQ(2u, result.Value());
    EXPECT_EQ(1, asked);
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    EXPECT_EQ(1u, Count(page, L"preferredName=\"late.txt\""));
    // The retried entry's stop check reports the same index again.
    EXPECT_EQ(2u, std::count(reports_.begin(), reports_.end(), Report{late, 1, 2}));
}

TEST_F(ImportRun, StopAnswerEndsTheRunWithTheEntrysErrorAfterSavingWhatWasImported)
{
    const std::wstring a = MakeFile(L"a.txt");
    const std::wstring gone = (files_ / L"gone.txt").wstring();
    Config config = ConfigInto(Ids::SiteSurvey);
    config.entries = {Entry(a), Entry(gone), Entry(MakeFile(L"c.txt"))};

    const auto result =
        RunImport(config, Recorder(), [](const Config::Entry&, const std::error_condition&) { return ErrorHandling::Stop; });

    ASSERT_TRUE(result.HoldsError());
    EXPECT_TRUE(IsImportError(result.Error(), FileDoesNotExist));
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    EXPECT_NE(std::wstring::npos, page.find(L"file:///" + a));
    EXPECT_EQ(std::wstring::npos, page.find(L"c.txt"));
}

TEST_F(ImportRun, AStopFromTheProgressReportEndsWithItsErrorAndKeepsWhatWasImported)
{
    const std::wstring a = MakeFile(L"a.txt");
    const std::wstring b = MakeFile(L"b.txt");
    Config config = ConfigInto(Ids::SiteSurvey);
    config.entries = {Entry(a), Entry(b)};
    const auto cancelled = MakeImportError(ImportCancelled);

    const auto result = RunImport(config, Recorder([&](const Report& report) {
                                      return report.text == b ? Result{cancelled, true} : Result{};
                                  }),
                                  nullptr);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_EQ(cancelled, result.Error());
    EXPECT_NE(std::wstring::npos, StoredPage(Ids::SiteSurvey).find(L"file:///" + a));
}

TEST_F(ImportRun, AStopAfterTheLastSaveReportsCompletion)
{
    Config config = ConfigInto(Ids::SiteSurvey);
    config.entries = {Entry(MakeFile(L"a.txt"))};
    const auto cancelled = MakeImportError(ImportCancelled);

    const auto result = RunImport(
        config, Recorder([&](const Report& report) { return report.text.empty() ? Result{cancelled, true} : Result{}; }),
        nullptr);

    ASSERT_TRUE(result.HoldsValue());
    EXPECT_EQ(1u, result.Value());
}

// The files below the copies folder (where the run puts what the page names) that hold these bytes.
std::vector<fs::path> CopiesHolding(const std::string& bytes)
{
    std::vector<fs::path> found;
    std::error_code noFolderYet;
    for (const auto& entry : fs::recursive_directory_iterator(GetPrintoutFolder() + L"\\copies", noFolderYet))
        if (entry.is_regular_file() && ReadFileBytes(entry.path().c_str()) == bytes)
            found.push_back(entry.path());
    return found;
}

TEST_F(ImportRun, TheCopiesOfTheFilesAPageNamesGoOnceItIsSavedAndAFileOfALongNameIsAttachedByIt)
{
    Screenshot::GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.started());
    const Screenshot::Capture capture{4, 3, std::vector<DWORD>(4 * 3, 0x470447)};
    const fs::path png = Screenshot::Save(capture, L"copied-picture");
    const std::string picture = ReadFileBytes(png.c_str());
    const std::wstring token = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
    const std::string attached = "attached " + Utf8(token);
    const std::string html = "<p>shown " + Utf8(token) + "</p>";
    const std::string longText = "long " + Utf8(token);
    // A folder of its own in the temporary folder, short enough for a name of 200 characters and
    // more, which fills the path up to 255 characters.
    const fs::path shortFolder = GetTempFolder() + L"n" + std::to_wstring(GetCurrentProcessId());
    fs::remove_all(shortFolder);
    fs::create_directories(shortFolder);
    const size_t nameLength = 255 - shortFolder.wstring().size() - 1;
    ASSERT_GE(nameLength, 200u);
    const std::wstring longName = std::wstring(nameLength - 5, L'n') + L".json";
    const std::wstring longFile = (shortFolder / longName).wstring();
    ASSERT_TRUE(WriteStringToFile(longFile.c_str(), longText));
    const std::wstring photo = (files_ / L"photo.png").wstring();
    fs::copy_file(png, photo);
    const std::vector<std::wstring> files{MakeFile(L"a.json", attached), photo, MakeFile(L"page.htm", html), longFile};
    // What a run that ended without cleaning up left: a folder of copies nobody uses any more.
    const fs::path leftover = fs::path(GetPrintoutFolder()) / L"copies" / L"0BADF00D";
    fs::create_directories(leftover);
    ASSERT_TRUE(WriteStringToFile((leftover / L"x.txt").wstring().c_str(), "left"));
    Config config = ConfigInto(Ids::Budget);
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry(files[0]), Entry(files[1]), Entry(files[2]), Entry(files[3])};
    // While this run still needs the copies of its first files, another run starts beside it.
    TOrError<unsigned> besideResult = 0u;
    const auto runBeside = [&](const Report& report) {
        if (report.text == longFile)
        {
            Config beside = ConfigInto(Ids::SiteSurvey);
            beside.importFormat = {false, true, Config::NoOriginalPath};
            beside.entries = {Entry(MakeFile(L"beside.json", "beside " + Utf8(token)))};
            besideResult = RunImport(beside, [](std::shared_ptr<Progress>) { return Result{}; }, nullptr);
        }
        return Result{};
    };

    const auto result = RunImport(config, Recorder(runBeside), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(4u, result.Value());
    EXPECT_TRUE(besideResult.HoldsValue()) << Utf8(GetErrorText(besideResult.Error()));
    const std::vector<std::wstring> shows = Shows(StoredPage(Ids::Budget));
    for (const std::wstring& line : {L"file: a.json: " + Utf8ToWide(attached), std::wstring(L"p: shown ") + token,
                                     L"file: " + longName + L": " + Utf8ToWide(longText)})
        EXPECT_NE(std::find(shows.begin(), shows.end(), line), shows.end()) << Utf8(line);
    EXPECT_EQ(1, std::count_if(shows.begin(), shows.end(), [](const std::wstring& line) { return line.starts_with(L"image: "); }));
    for (const std::string& bytes : {attached, picture, html, longText, "beside " + Utf8(token)})
        EXPECT_EQ(std::vector<fs::path>{}, CopiesHolding(bytes)) << bytes.substr(0, 20);
    EXPECT_FALSE(fs::exists(leftover));
    fs::remove_all(shortFolder);
}

TEST_F(ImportRun, BusyAnswersAreSurvivedAtEveryCallTheRunMakes)
{
    Config config = ConfigInto(Ids::SiteSurvey);
    // Busy counts start again with the new scenario; the store keeps what it has.
    WriteScenario(FixtureStoreLine() + "busy GetHierarchy 2\nbusy GetPageContent 2\nbusy UpdatePageContent 2\n"
                                       "busy NavigateTo 2\nbusy FindPages 2\n");
    config.importFormat = {true, false, Config::HyperlinkPath};
    config.entries = {Entry(MakeFile(L"a.txt"))};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_NE(std::wstring::npos, StoredPage(Ids::SiteSurvey).find(L"a.txt"));
    EXPECT_FALSE(pauses_.Taken().empty());
}

TEST_F(ImportRun, EveryCallOfEveryOutputFormatSurvivesBusyAnswers)
{
    const std::wstring top = (files_ / L"Top").wstring();
    MakeFile(L"Top\\a.txt", "one");
    MakeFile(L"Top\\b.json", "{}");
    MakeFile(L"c.txt", "two");
    const struct
    {
        const char* label;
        const wchar_t* location;
        int32_t outputFormat;
        bool createNew;
    } cases[] = {
        {"the picked page", Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage, false},
        {"a new page", Ids::Renovation, Config::InsertAllFilesIntoASinglePage, true},
        {"a page per file", Ids::Renovation, Config::InsertEachFileOnASeparatePage, false},
        {"a new section, a page per printout page", Ids::Renovation, Config::InsertEachPrintoutPageOnASeparatePage, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        // The store starts again from the fixture with each scenario written.
        WriteScenario(FixtureStoreLine());
        auto configure = [&] {
            Config config = ConfigInto(c.location, c.outputFormat);
            config.createNew = c.createNew;
            config.importFormat = {true, true, Config::HyperlinkPath};
            config.entries = {Entry(top), Entry((files_ / L"c.txt").wstring())};
            return config;
        };
        auto run = [&](Config config) {
            const size_t before = Calls().size();
            const auto result = RunImport(config, Recorder(), nullptr);
            EXPECT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
            const auto calls = Calls();
            return std::vector<StandIn::CallRecord>(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end());
        };
        std::set<std::wstring> methods;
        for (const auto& call : run(configure()))
            methods.insert(call.method);
        ASSERT_FALSE(methods.empty());

        Config again = configure();
        std::string busy = FixtureStoreLine();
        for (const auto& method : methods)
            busy += "busy " + Utf8(method) + " 2\n";
        WriteScenario(busy);
        std::set<std::wstring> answeredBusy;
        for (const auto& call : run(again))
            if (call.result == ::StandInTest::Busy)
                answeredBusy.insert(call.method);
        EXPECT_EQ(methods, answeredBusy);
    }
}

TEST_F(ImportRun, AFolderAtDepthSevenGetsTheSmallestHeading)
{
    std::wstring relative = L"L0";
    for (int i = 1; i <= 7; ++i)
        relative += L"\\L" + std::to_wstring(i);
    fs::create_directories(files_ / relative);
    Config config = ConfigInto(Ids::SiteSurvey);
    config.entries = {Entry((files_ / L"L0").wstring())};

    ASSERT_TRUE(RunImport(config, Recorder(), nullptr).HoldsValue());

    ASSERT_EQ(8u, config.entries.size());
    EXPECT_EQ(7u, config.entries.back().depth);
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    EXPECT_NE(std::wstring::npos, page.find(L"name=\"h6\"")) << Utf8(page);
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
}

TEST_F(ImportRun, APageForEachFileMakesOnePagePerFileInTheSection)
{
    Config config = ConfigInto(Ids::Budget, Config::InsertEachFileOnASeparatePage);
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry(MakeFile(L"one.txt", "alpha")), Entry(MakeFile(L"two.txt", "beta"))};
    const auto storePages = [&] { return Count(Hierarchy(Application(), L"", ON16::hsPages), L"<one:Page "); };
    const size_t pagesBefore = storePages();

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    // The picked page's section holds one new page per file, after the page that was there, and no
    // other place of the store got one.
    const auto pages = PagesOf(Hierarchy(Application(), Ids::Renovation, ON16::hsPages));
    ASSERT_EQ(3u, pages.size());
    EXPECT_EQ(L"Budget & schedule", pages[0].name);
    EXPECT_EQ(L"one.txt", pages[1].name);
    EXPECT_EQ(L"two.txt", pages[2].name);
    const auto holds = [&](const std::wstring& id, const std::wstring& text) {
        const std::vector<std::wstring> shown = Shows(StoredPage(id));
        return std::count_if(shown.begin(), shown.end(),
                             [&](const std::wstring& line) { return line.ends_with(text); });
    };
    EXPECT_EQ(1, holds(pages[1].id, L": alpha"));
    EXPECT_EQ(0, holds(pages[1].id, L": beta"));
    EXPECT_EQ(1, holds(pages[2].id, L": beta"));
    EXPECT_EQ(0, holds(pages[2].id, L": alpha"));
    EXPECT_EQ(pagesBefore + 2, storePages());
    size_t alpha = 0;
    size_t beta = 0;
    for (const auto& call : Calls())
        if (call.method == L"UpdatePageContent")
        {
            alpha += call.arguments[0].find(L">alpha<") != std::wstring::npos ? 1 : 0;
            beta += call.arguments[0].find(L">beta<") != std::wstring::npos ? 1 : 0;
            EXPECT_TRUE(IsValidSent(call.arguments[0], L"sent"));
        }
    EXPECT_GE(alpha, 1u);
    EXPECT_GE(beta, 1u);
}
} // namespace
} // namespace EngineTest
