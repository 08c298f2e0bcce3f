// Import runs started from a window on the virtual display against the OneNote stand-in (in this
// process): what the window's status label and progress bar show from the start to the end, a stop,
// a failure, a file that vanished, a window that goes away during the run, and the pages the run
// leaves in the stand-in's store.
#include "batch_import/ImportController.h"

#include "framework/Owners.h"
#include "framework/ScopeExit.h"
#include "framework/text/Text.h"
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/Label.h"
#include "framework/ui/controls/Progress.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "import_engine/FolderExpansion.h"
#include "import_engine/ImportErrors.h"
#include "tests/batch_import/PromptHost.h"
#include "tests/batch_import/DemoSectionTest.h"
#include "tests/support/TestPaths.h"
#include "tests/support/ProgramHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;
using DialogTest::Child;
using DialogTest::Click;

namespace
{
// A window with the run controls, as the main window has them.
class RunWindow : public AutoLayoutWindow, public ImportDisplay
{
public:
    void Build()
    {
        Create(nullptr, COLOR_WINDOW, 0, WS_OVERLAPPEDWINDOW);
        status = std::make_shared<UI::Label>(hwnd_, L"", false);
        progress = std::make_shared<UI::Progress>(hwnd_);
        progress->height = UI::ControlHeight();
        stop = std::make_shared<UI::Button>(hwnd_, L"Stop Import");
        status->visible = progress->visible = stop->visible = false;
        SetRootControl(std::make_shared<UI::BoxContainer>("rootContainer", true, UI::BoxContainer::Start, UI::Gap(),
                                                          UI::ControlList{status, progress, stop}));
        controller = std::make_shared<ImportController>(*this, *this);
        ShowAtLocation(L"Sheafin", 420, 160, false, nullptr, nullptr, Center);
        LayoutToClient(nullptr);
    }

    void ShowImportStarted() override
    {
        ++starts;
        status->visible = progress->visible = stop->visible = true;
        stop->Enable(true);
        LayoutToClient(nullptr);
    }
    void SetImportStatus(const std::wstring& text) override
    {
        statuses.push_back(text);
        status->SetText(text);
    }
    void SetImportProgress(float fraction) override { progress->SetProgress(fraction); }
    void ShowImportStopping() override { stop->Enable(false); }
    void ShowImportWaiting() override
    {
        ++waits;
        stop->Enable(true);
    }
    void ShowImportEnded(bool hideProgress) override
    {
        ++ends;
        progress->visible = !hideProgress;
        stop->visible = false;
        LayoutToClient(nullptr);
    }
    void PickTargetThenStart() override { ++picks; }

    std::wstring Status() const { return UI::GetWindowTextString(status->hwnd); }
    int Position() const { return static_cast<int>(SendMessageW(progress->hwnd, PBM_GETPOS, 0, 0)); }

    std::shared_ptr<UI::Label> status;
    std::shared_ptr<UI::Progress> progress;
    std::shared_ptr<UI::Button> stop;
    std::shared_ptr<ImportController> controller;
    std::vector<std::wstring> statuses;
    int starts = 0;
    int ends = 0;
    int picks = 0;
    int waits = 0;
};

class ImportRuns : public DemoSectionTest
{
protected:
    void SetUp() override
    {
        DemoSectionTest::SetUp();
        PromptTest::UseUiResources();
        window_ = std::make_shared<RunWindow>();
        window_->Build();
        files_ = TestPaths::OutputFolder() /
                 (L"ui-run-" + fs::path(testing::UnitTest::GetInstance()->current_test_info()->name()).wstring());
        fs::remove_all(files_);
        fs::create_directories(files_);
    }

    void TearDown() override
    {
        window_.reset();
        DemoSectionTest::TearDown();
    }

    std::wstring MakeFile(const std::wstring& name, const std::string& text = "Some text")
    {
        const fs::path path = files_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.wstring();
    }

    // A run into the first section of the demo store, each file's text and a link to it.
    Config ConfigFor(const std::vector<std::wstring>& paths) const
    {
        Config config;
        config.location = sectionLink_;
        config.locationId = sectionId_;
        config.outputFormat = Config::InsertEachFileOnASeparatePage;
        config.importFormat.fileContent = true;
        config.importFormat.originalPath = Config::HyperlinkPath;
        for (const std::wstring& path : paths)
            config.entries.push_back({path, {}, 0, 0});
        return config;
    }

    bool WaitForTheEnd(std::chrono::seconds timeout = std::chrono::seconds(60))
    {
        return UiTest::PumpUntil([&] { return !window_->controller->IsImporting(); }, timeout);
    }

    bool Saw(const std::wstring& status) const
    {
        return std::find(window_->statuses.begin(), window_->statuses.end(), status) != window_->statuses.end();
    }

    std::shared_ptr<RunWindow> window_;
    fs::path files_;
};

// Counts the message boxes instead of showing them, for runs that must show none.
class CountedMessageBoxes
{
public:
    CountedMessageBoxes()
    {
        MessageBoxOverride = [this](HWND, const wchar_t*, std::vector<MessageItem>*, bool, int,
                                    const MessageWndCallback&, const std::set<int>&, int, IMessageBoxDataProvider*,
                                    const std::wstring& text) {
            texts.push_back(text);
            return static_cast<int>(MessageButtonOK);
        };
    }
    ~CountedMessageBoxes() { MessageBoxOverride = nullptr; }
    std::vector<std::wstring> texts;
};

Progress Report(const std::wstring& text, uint32_t done, uint32_t total) { return Progress(text, done, total); }

// How many closures wait for the window in this thread's queue, unrun: taken out to be counted and
// posted again in their order.
size_t WaitingClosures(HWND window)
{
    std::vector<MSG> waiting;
    MSG message;
    while (PeekMessageW(&message, window, WM_RUNCLOSURE, WM_RUNCLOSURE, PM_REMOVE))
        waiting.push_back(message);
    for (const MSG& closure : waiting)
        PostMessageW(window, closure.message, closure.wParam, closure.lParam);
    return waiting.size();
}
} // namespace

TEST(ImportStatus, ShowsTheCountsAndOnlyTheFileNameOfAPath)
{
    EXPECT_EQ(L"(0/5) Processing files...", ImportController::StatusText(Report(L"Processing files...", 0, 5)));
    EXPECT_EQ(L"(3/5) Report.pdf", ImportController::StatusText(Report(L"C:\\Work\\2024\\Report.pdf", 3, 5)));
    EXPECT_EQ(L"(4/0) Enumerating files...", ImportController::StatusText(Report(L"Enumerating files...", 4, 0)));
    EXPECT_EQ(L"(5/5) ", ImportController::StatusText(Report(L"", 5, 5)));
}

TEST(ImportStatus, DotsCycleThroughNoneOneTwoAndThree)
{
    std::wstring text = L"Expanding folders...";
    std::vector<std::wstring> seen;
    for (int i = 0; i < 5; ++i)
        seen.push_back(text = ImportController::NextEllipsis(text));
    EXPECT_EQ((std::vector<std::wstring>{L"Expanding folders", L"Expanding folders.", L"Expanding folders..",
                                         L"Expanding folders...", L"Expanding folders"}),
              seen);
    EXPECT_EQ(L"....", ImportController::NextEllipsis(L"...")) << "a text of only dots never empties";
}

TEST_F(ImportRuns, EachFileOnItsPageEndsWithTheNumberImportedAndAFullBar)
{
    // The window shows the latest report when it looks, at most every 50 ms: OneNote is busy once
    // at the first file's save, so that the first file's report shows for half a second.
    WriteScenario("failfrom UpdatePageContent 1-1 0x80010001\n");
    const Config config = ConfigFor({MakeFile(L"first.txt"), MakeFile(L"second.txt")});
    window_->controller->Start(config);
    EXPECT_TRUE(window_->controller->IsImporting());
    EXPECT_EQ(L"Starting Import...", window_->Status());
    Screenshot::SaveWindow(window_->GetHwnd(), L"starting");
    ASSERT_TRUE(WaitForTheEnd());

    EXPECT_EQ(L"Imported 2 items", window_->Status());
    EXPECT_TRUE(Saw(L"(0/2) Processing files..."));
    EXPECT_TRUE(Saw(L"(0/2) first.txt")) << "only the file name of the path";
    for (const std::wstring& status : window_->statuses)
        EXPECT_EQ(std::wstring::npos, status.find(L'\\')) << WideToUtf8(status);
    // The bar takes its last position from the queue.
    UiTest::PumpWaiting();
    EXPECT_EQ(1000, window_->Position());
    EXPECT_TRUE(IsWindowVisible(window_->progress->hwnd));
    EXPECT_FALSE(IsWindowVisible(window_->stop->hwnd));
    EXPECT_EQ(1, window_->ends);
    Screenshot::SaveWindow(window_->GetHwnd(), L"imported");

    // The pages are in the stand-in's store, valid against OneNote's schema.
    auto application = Connect();
    const std::wstring pages = Hierarchy(application, L"", ON16::hsPages);
    for (const wchar_t* name : {L"first.txt", L"second.txt"})
    {
        const std::wstring id = FirstId(pages, L"Page", name);
        ASSERT_FALSE(id.empty()) << WideToUtf8(name);
        EXPECT_TRUE(IsValid(Content(application, id), ON16::xs2013, name));
    }
}

TEST_F(ImportRuns, OneFileReadsItemInTheSingular)
{
    window_->controller->Start(ConfigFor({MakeFile(L"only.txt")}));
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_EQ(L"Imported 1 item", window_->Status());
}

TEST_F(ImportRuns, WithoutATargetThePickerOpensAndNothingStarts)
{
    Config config = ConfigFor({MakeFile(L"a.txt")});
    config.location.clear();
    window_->controller->Start(config);
    EXPECT_EQ(1, window_->picks);
    EXPECT_EQ(0, window_->starts);
    EXPECT_FALSE(window_->controller->IsImporting());
}

TEST_F(ImportRuns, StopSaysStoppingThenCancelledWithoutAMessageAndHidesTheBar)
{
    CountedMessageBoxes boxes;
    window_->controller->Start(ConfigFor({MakeFile(L"a.txt"), MakeFile(L"b.txt")}));
    window_->controller->Stop();
    EXPECT_EQ(L"Stopping import...", window_->Status());
    EXPECT_FALSE(IsWindowEnabled(window_->stop->hwnd));
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_EQ(L"Cancelled", window_->Status());
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_FALSE(IsWindowVisible(window_->progress->hwnd));
    EXPECT_FALSE(IsWindowVisible(window_->stop->hwnd));

    // A new import can start, and it no longer stops.
    window_->controller->Start(ConfigFor({MakeFile(L"c.txt")}));
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_EQ(L"Imported 1 item", window_->Status());
}

TEST_F(ImportRuns, AFailureShowsImportFailedWithTheMessageInAnErrorBoxAndInTheStatus)
{
    WriteScenario("store demo\ncreate 0x80080005\n");
    std::wstring boxText;
    DialogTest::Driver driver(L"Error", {[&](HWND dialog) {
        for (const HWND label : DialogTest::Children(dialog, L"SysLink"))
        {
            const std::wstring text = UI::GetWindowTextString(label);
            if (text.starts_with(L"Import failed with:"))
                boxText = text;
        }
        Screenshot::SaveWindow(dialog, L"failure");
        Click(Child(dialog, L"Button", L"&OK"));
    }});
    Config config;
    config.location = L"onenote:#Somewhere";
    config.importFormat.originalPath = Config::HyperlinkPath;
    config.entries.push_back({MakeFile(L"a.txt"), {}, 0, 0});
    window_->controller->Start(config);
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_TRUE(window_->Status().starts_with(L"Import failed with:\n\n"));
    EXPECT_GT(window_->Status().size(), std::wstring(L"Import failed with:\n\n").size());
    EXPECT_EQ(window_->Status(), boxText);
    EXPECT_FALSE(IsWindowVisible(window_->progress->hwnd));
}

TEST_F(ImportRuns, AWorkerThatEndsByAnExceptionReturnsTheWindowToIdleWithAGenericMessage)
{
    CountedMessageBoxes boxes;
    const FolderLister previous = SetFolderLister([](const std::wstring&, DWORD*) -> std::vector<FolderEntry> {
        throw std::runtime_error("lister broke");
    });
    fs::create_directories(files_ / L"folder");
    window_->controller->Start(ConfigFor({(files_ / L"folder").wstring()}));
    const bool ended = WaitForTheEnd();
    SetFolderLister(previous);
    ASSERT_TRUE(ended);
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_TRUE(boxes.texts[0].starts_with(L"Import failed with:\n\n"));
    EXPECT_EQ(boxes.texts[0], window_->Status());
    EXPECT_FALSE(IsWindowVisible(window_->stop->hwnd));
}

TEST_F(ImportRuns, AVanishedFileIsAskedAboutAndSkippingGoesOnWithTheNext)
{
    const std::wstring vanished = MakeFile(L"vanished.txt");
    const Config config = ConfigFor({vanished, MakeFile(L"kept.txt")});
    fs::remove(vanished);
    std::wstring prompt;
    DialogTest::Driver driver(L"Error", {[&](HWND dialog) {
        prompt = PromptTest::TaskDialogText(dialog);
        Click(PromptTest::TaskDialogButton(dialog, L"S&kip this file"));
    }});
    window_->controller->Start(config);
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_NE(std::wstring::npos, prompt.find(L"Import of file \"" + vanished + L"\" failed with:"));
    EXPECT_EQ(L"Imported 1 item", window_->Status()) << "the skipped file is not counted";
}

TEST_F(ImportRuns, StoppingAtTheErrorPromptEndsTheRunAsCancelledWithoutAnErrorBox)
{
    const std::wstring vanished = MakeFile(L"vanished.txt");
    const Config config = ConfigFor({vanished, MakeFile(L"kept.txt")});
    fs::remove(vanished);
    CountedMessageBoxes boxes;
    DialogTest::Driver driver(L"Error", {[&](HWND dialog) {
        Click(PromptTest::TaskDialogButton(dialog, L"&Stop import"));
    }});
    window_->controller->Start(config);
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_EQ(0u, boxes.texts.size()) << "a stop is no failure";
    EXPECT_EQ(L"Cancelled", window_->Status());
}

TEST_F(ImportRuns, AnEmptyReportMovesTheDotsOfTheLastTextAtMostOnceASecond)
{
    int64_t now = 1000;
    window_->controller->clock = [&] { return now; };
    // A run that cannot reach OneNote stays "importing" until this thread handles its end.
    WriteScenario("store demo\ncreate 0x80080005\n");
    CountedMessageBoxes boxes;
    Config config;
    config.location = L"onenote:#Somewhere";
    config.entries.push_back({MakeFile(L"a.txt"), {}, 0, 0});
    window_->controller->Start(config);

    window_->controller->UpdateProgress(nullptr);
    EXPECT_EQ(L"Starting Import...", window_->Status()) << "no report yet";
    auto report = std::make_shared<Progress>(L"Expanding folders...", 2, 0);
    report->time = now;
    window_->controller->UpdateProgress(report);
    EXPECT_EQ(L"(2/0) Expanding folders...", window_->Status());
    window_->controller->UpdateProgress(nullptr);
    EXPECT_EQ(L"(2/0) Expanding folders...", window_->Status()) << "within the same second";
    std::vector<std::wstring> shown;
    for (int second = 1; second <= 4; ++second)
    {
        now = 1000 + second;
        window_->controller->UpdateProgress(nullptr);
        window_->controller->UpdateProgress(nullptr);
        shown.push_back(window_->Status());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"(2/0) Expanding folders", L"(2/0) Expanding folders.",
                                         L"(2/0) Expanding folders..", L"(2/0) Expanding folders..."}),
              shown);
    EXPECT_EQ(0, window_->Position()) << "a total of 0 keeps the bar at its start";
    ASSERT_TRUE(WaitForTheEnd());
}

TEST_F(ImportRuns, AWindowThatGoesAwayDuringARunEndsItWithoutWaitingForEver)
{
    const std::wstring vanished = MakeFile(L"vanished.txt");
    const Config config = ConfigFor({vanished, MakeFile(L"kept.txt")});
    fs::remove(vanished);
    // The run's reports reach the window as closures in its queue, and so does its question.
    const auto reports = std::make_shared<std::atomic<unsigned>>(0);
    window_->controller->post = [reports](const UiChannel& channel, ClosureChannel::Closure closure) {
        // Counted before the post, so that the count never falls behind the queue.
        ++*reports;
        const bool posted = channel.Post(std::move(closure));
        if (!posted)
            --*reports;
        return posted;
    };
    window_->controller->Start(config);
    // The run is at its error prompt, posted and not yet shown: this thread runs no message
    // meanwhile, and the queue holds a closure more than the run's reports.
    ASSERT_TRUE(Harness::PollUntil([&] { return WaitingClosures(window_->GetHwnd()) > reports->load(); }, std::chrono::seconds(30)))
        << "the run never asked";
    EXPECT_TRUE(window_->controller->IsImporting());
    window_->controller->Close();
    const auto before = std::chrono::steady_clock::now();
    window_.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(20));
}

TEST_F(ImportRuns, AFolderOfTwelveThousandFilesIsImportedWholeInFewPostsWhateverPostsFail)
{
    // ctest makes the files beforehand on the Linux side; a run by hand makes them here, slowly.
    constexpr unsigned files = 12000;
    const fs::path folder = TestPaths::OutputFolder() / L"twelve-thousand-files";
    std::error_code noFolder;
    const bool made = static_cast<unsigned>(std::distance(fs::directory_iterator(folder, noFolder),
                                                          fs::directory_iterator())) == files;
    const ScopeExit removeWhatWasMadeHere([&] {
        if (!made)
            fs::remove_all(folder, noFolder);
    });
    if (!made)
    {
        fs::remove_all(folder, noFolder);
        fs::create_directories(folder);
        for (unsigned index = 0; index < files; ++index)
        {
            const std::wstring path = (folder / (L"f" + std::to_wstring(index) + L".txt")).wstring();
            const Owners::FileHandle file(
                CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(file) << GetLastError();
        }
    }
    // Windows keeps at most 10,000 posted messages for a thread: past that a post fails while the
    // window is still there. Here every post after the second fails.
    std::atomic<unsigned> posts = 0;
    window_->controller->post = [&](const UiChannel& channel, ClosureChannel::Closure closure) {
        return ++posts <= 2 && channel.Post(std::move(closure));
    };
    Config config;
    config.location = sectionLink_;
    config.locationId = sectionId_;
    config.outputFormat = Config::InsertAllFilesIntoASinglePage;
    config.importFormat.originalPath = Config::PlainTextPath;
    config.entries.push_back({folder.wstring(), {}, 0, 0});

    const auto start = std::chrono::steady_clock::now();
    window_->controller->Start(config);
    ASSERT_TRUE(WaitForTheEnd(std::chrono::seconds(120)));
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(L"Imported 12001 items", window_->Status()) << "the folder and its files";
    for (const std::wstring& status : window_->statuses)
        EXPECT_EQ(std::wstring::npos, status.find(L"Cancelled"));
    EXPECT_LT(posts.load(), files / 20) << "the run took " << seconds << " s";
    std::cout << "12,001 entries in " << seconds << " s with " << posts.load() << " posts\n";
}
