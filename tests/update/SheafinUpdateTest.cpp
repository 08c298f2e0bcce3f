// Sheafin.exe's update against the local update service with failures injected, as a user meets
// them: What's New failing after an update, an install arriving during an import, the options
// closed during a download, and an install over a program that another keeps open. None of them
// may end the program unasked or leave the user without a working program.
#include "batch_import/SettingsFile.h"
#include "batch_import/WorkspaceConversion.h"
#include "framework/ScopeExit.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "tests/batch_import/DemoSectionTest.h"
#include "tests/batch_import/SheafinLoopback.h"
#include "tests/support/ProgramHarness.h"
#include "tests/update/ServiceScenario.h"
#include "update/ProductIdentity.h"
#include "update/SelfInstall.h"

#include <gtest/gtest.h>

#include <knownfolders.h>

#include <algorithm>
#include <fstream>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{
using SheafinLoopback::DaysAgo;
using SheafinLoopback::SheafinExe;
using SheafinLoopback::Title;

class SheafinUpdate : public DemoSectionTest
{
protected:
    SheafinUpdate() : redirect_(profile_), service_(BatchImportIdentity()) {}

    void SetUp() override
    {
        DemoSectionTest::SetUp();
        files_ = profile_.Root() / L"Files";
        fs::create_directories(files_);
        std::ofstream(files_ / L"notes.txt", std::ios::binary) << "Some notes";
        release_ = profile_.Root() / L"release";
        // The Downloads folder follows the program's profile where the prefix names it by the
        // user's profile folder; otherwise it is the prefix's own.
        downloads_ = {fs::path(GetKnownFolderPath(FOLDERID_Downloads)) / L"Sheafin.x86.exe",
                      profile_.Root() / L"Downloads" / L"Sheafin.x86.exe"};
        RemoveDownloads();
    }
    void TearDown() override
    {
        sheafin_.reset();
        RemoveDownloads();
        DemoSectionTest::TearDown();
    }

    void RemoveDownloads() const
    {
        std::error_code ignored;
        for (const fs::path& download : downloads_)
        {
            fs::remove(download, ignored);
            fs::remove(download.wstring() + L".args", ignored);
        }
    }

    // A workspace of the files (names in Files\) aimed at the demo section, whose update check is
    // due when updateDue.
    void WriteWorkspace(const std::vector<std::wstring>& names, bool updateDue) const
    {
        Importer::Settings settings{Importer::Settings::DefaultsOnly{}};
        Config config;
        config.importFormat.fileAttachment = true;
        config.outputFormat = 1;
        for (const std::wstring& name : names)
            config.entries.push_back({(files_ / name).wstring(), {}, 0, 0});
        config.location = sectionLink_;
        StoreWorkspaceConfig(settings, config);
        settings.lastConfig->targetType = 4;
        settings.lastConfig->targetName = sectionName_;
        settings.lastUpdateCheck = DaysAgo(updateDue ? 8 : 1);
        const fs::path file = profile_.RoamingAppData() / L"quillora" / L"sheafin" / L"settings.xml";
        fs::create_directories(file.parent_path());
        ASSERT_TRUE(SaveSettingsFile(settings, file.wstring()));
    }

    // The new version the service offers, held back until Release.
    void OfferHeldDownload()
    {
        service_.Set("getVersion.body", "1.4.0");
        service_.SetFile("getFile.file", UpdateTest::TestProgram());
        service_.SetFile("getFile.hold", release_);
    }
    void Release() const { std::ofstream(release_) << "go"; }
    bool DownloadAsked() const
    {
        for (const auto& request : service_.Requests())
            if (request.name == "getFile")
                return true;
        return false;
    }

    HWND Start(const std::wstring& arguments = L"", const fs::path& program = SheafinExe())
    {
        sheafin_ = std::make_unique<Harness::Program>(
            Harness::StartOptions{.program = program, .arguments = arguments, .profile = &profile_, .environment = {}});
        return WaitForWindow(Title, 20s);
    }

    // A visible top-level window of the program with this title.
    HWND WaitForWindow(const std::wstring& title, std::chrono::milliseconds timeout = 20s) const
    {
        return sheafin_->WaitForShownWindowTitled(title, timeout);
    }

    std::vector<std::wstring> LogEntries() const
    {
        std::vector<std::wstring> entries;
        for (const std::wstring& line :
             Split(Harness::ReadLogFile(profile_.Temp() / L"Quillora_SHF.log"), std::wstring(L"\r\n")))
            if (const size_t dash = line.find(L" - "); dash != std::wstring::npos)
                entries.push_back(line.substr(dash + 3));
        return entries;
    }
    bool Logged(const std::wstring& start) const
    {
        const auto entries = LogEntries();
        return std::any_of(entries.begin(), entries.end(), [&](const auto& entry) { return entry.starts_with(start); });
    }

    // A downloaded program, or a started one, anywhere the program may have put it.
    bool AnythingDownloadedOrStarted() const
    {
        return std::any_of(downloads_.begin(), downloads_.end(), [](const fs::path& download) {
            return fs::exists(download) || fs::exists(download.wstring() + L".args");
        });
    }

    static void Press(HWND window, const std::wstring& caption)
    {
        PostMessageW(Harness::Child(window, L"Button", caption), BM_CLICK, 0, 0);
    }

    // The options dialog, once "Check for Updates" was pressed on it; null when it did not open.
    HWND CheckForUpdatesInTheOptions(HWND window) const
    {
        Harness::PostCommand(window, 40023);
        const HWND options = WaitForWindow(L"Quillora Batch File Import Options");
        if (options)
            Press(options, L"Check for &Updates");
        return options;
    }

    // "Check for Updates" the user asks for: the Updates page says why (its text begins so) and
    // offers no install; its picture is saved, and the options are closed again.
    void ExpectTheAskedCheckToSayWhyWithoutInstall(HWND window, const std::wstring& why, const std::wstring& picture) const
    {
        const HWND options = CheckForUpdatesInTheOptions(window);
        ASSERT_NE(options, nullptr);
        EXPECT_NE(nullptr, ShownBeginning(options, L"Static", why, 20s));
        const HWND install = Harness::Child(options, L"Button", L"Install Latest Version");
        EXPECT_FALSE(install && IsWindowVisible(install));
        Harness::SaveWindow(options, picture);
        PostMessageW(options, WM_CLOSE, 0, 0);
        ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(options); }));
    }

    // A shown control of the dialog with this class whose text begins so, within the time; null
    // when none shows.
    static HWND ShownBeginning(HWND dialog, const wchar_t* className, const std::wstring& start,
                               std::chrono::milliseconds timeout)
    {
        HWND found = nullptr;
        Harness::WaitUntil(
            [&] {
                for (const HWND control : Harness::Children(dialog, className))
                    if (IsWindowVisible(control) && Harness::TextOf(control).starts_with(start))
                        found = control;
                return found != nullptr;
            },
            timeout);
        return found;
    }

    // Whether the window's thread takes a message within the time: it is not blocked in a call.
    static bool Answers(HWND window, UINT milliseconds = 2000)
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, milliseconds, &result) != 0;
    }

    // Whether a control of the dialog with this class and text is shown within the time.
    static bool Shows(HWND dialog, const wchar_t* className, const wchar_t* text, std::chrono::milliseconds timeout)
    {
        return Harness::WaitUntil(
            [&] {
                const HWND control = Harness::Child(dialog, className, text);
                return control && IsWindowVisible(control);
            },
            timeout);
    }

    // Points the user's Downloads folder at folder until the guard ends.
    [[nodiscard]] static std::function<void()> RedirectDownloads(const std::wstring& folder)
    {
        const wchar_t* const key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
        const wchar_t* const downloads = L"{374DE290-123F-4565-9164-39C4925E467B}";
        auto folders = std::make_shared<Owners::RegistryKey>();
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                                 nullptr, folders->put(), nullptr));
        std::vector<BYTE> before(4096);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(before.size());
        const bool hadValue =
            RegQueryValueExW(folders->get(), downloads, nullptr, &type, before.data(), &size) == ERROR_SUCCESS;
        before.resize(hadValue ? size : 0);
        RegSetValueExW(folders->get(), downloads, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        return [folders, downloads, hadValue, type, before] {
            if (hadValue)
                RegSetValueExW(folders->get(), downloads, 0, type, before.data(), static_cast<DWORD>(before.size()));
            else
                RegDeleteValueW(folders->get(), downloads);
        };
    }

    // The weekly check, due with an update offered, stays silent about a download it cannot make:
    // only the log says why (its text begins so). A check the user asks for says why on the Updates
    // page and offers no install. The program is closed at the end.
    void ExpectNoDownloadAndToBeToldWhy(HWND window, const std::wstring& why, const std::wstring& picture) const
    {
        EXPECT_TRUE(
            Harness::WaitUntil([&] { return Logged(L"ERROR: Update found, but not downloaded: " + why); }, 20s));
        EXPECT_EQ(nullptr, WaitForWindow(L"Quillora Download", 1s)) << "a download was started";
        EXPECT_EQ(nullptr, WaitForWindow(L"Error", 0s)) << "the weekly check showed an error";
        EXPECT_TRUE(sheafin_->IsRunning());
        EXPECT_FALSE(DownloadAsked());
        EXPECT_FALSE(Logged(L"ERROR: Update found, but not installed")) << "a download problem told as an install's";

        ExpectTheAskedCheckToSayWhyWithoutInstall(window, why, picture);
        EXPECT_FALSE(DownloadAsked());
        EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close());
    }

    Harness::Profile profile_;
    Harness::ShellFolderRedirect redirect_;
    UpdateTest::ServiceScenario service_;
    std::unique_ptr<Harness::Program> sheafin_;
    fs::path files_;
    fs::path release_;
    std::vector<fs::path> downloads_;
};
} // namespace

TEST_F(SheafinUpdate, WhatsNewThatFailsAfterAnUpdateLeavesTheProgramRunning)
{
    service_.Set("getProductInfo.status", "500");
    WriteWorkspace({L"notes.txt"}, false);
    const HWND window = Start(L"/showUpdateInfo 1.2.0");
    ASSERT_NE(window, nullptr);
    // What's New is asked for two seconds after the start.
    // The failure's log line is the worker's last step: What's New of a start asks for no word back.
    ASSERT_TRUE(Harness::WaitUntil([&] { return Logged(L"ERROR: What's New could not be shown: "); }, 20s));
    EXPECT_TRUE(sheafin_->IsRunning());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(nullptr, WaitForWindow(L"What's New", 0s));
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close());
}

TEST_F(SheafinUpdate, InstallDuringAnImportAsksAsACloseDoesAndNoKeepsTheImportAndTheProgram)
{
    OfferHeldDownload();
    // The vanished file holds the import at its question, for as long as the test likes.
    WriteWorkspace({L"gone.txt", L"notes.txt"}, true);
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Harness::WaitUntil([&] { return DownloadAsked(); }, 30s));
    Harness::PostCommand(window, 40036);
    const HWND prompt = WaitForWindow(L"Error");
    ASSERT_NE(prompt, nullptr);
    Release();

    const HWND question = WaitForWindow(L"Import in Progress", 30s);
    ASSERT_NE(question, nullptr) << "the install ended the program without asking";
    Harness::SaveWindow(question, L"import-in-progress");
    Press(question, L"&No");
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(question); }));
    // The install is called off once the download it started has been ended and removed: the log
    // says so last.
    EXPECT_TRUE(Harness::WaitUntil([&] { return Logged(L"The install was called off"); }));
    EXPECT_TRUE(sheafin_->IsRunning());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindow(prompt)) << "the import still asks";
    for (const fs::path& download : downloads_)
        EXPECT_FALSE(fs::exists(download.wstring() + L".args")) << "the new program ran";
    EXPECT_TRUE(Logged(L"The install was called off"));
    for (const fs::path& download : downloads_)
        EXPECT_FALSE(fs::exists(download)) << "the download no install runs stays";

    Press(prompt, L"  &Stop import");
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(prompt); }));
    // Closed once the stopped run has ended, as its status tells.
    EXPECT_TRUE(Harness::WaitUntil(
        [&] {
            const auto labels = Harness::Children(window, L"Static");
            return std::any_of(labels.begin(), labels.end(), [](HWND label) {
                return IsWindowVisible(label) && Harness::TextOf(label) == L"Cancelled";
            });
        },
        30s));
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close(30s));
}

TEST_F(SheafinUpdate, ClosingTheOptionsDuringADownloadStopsItAndLeavesNothing)
{
    OfferHeldDownload();
    WriteWorkspace({L"notes.txt"}, false);
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    const HWND options = CheckForUpdatesInTheOptions(window);
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(Shows(options, L"Button", L"Install Latest Version", 30s));
    Press(options, L"Install Latest Version");
    const HWND download = WaitForWindow(L"Quillora Download");
    ASSERT_NE(download, nullptr);
    ASSERT_TRUE(Harness::WaitUntil([&] { return DownloadAsked(); }, 30s));

    PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(options) && !IsWindow(download); }));
    Release();
    // The worker's last word, once the answer comes and its window is found gone: the transfer
    // given up, or (had all of it come at once) called off.
    EXPECT_TRUE(Harness::WaitUntil(
        [&] { return Logged(L"ERROR: Download failed: ") || Logged(L"The download was called off"); }, 30s));
    EXPECT_FALSE(AnythingDownloadedOrStarted()) << "a download that the user no longer sees";
    // A box the worker decided on would come as a posted message, at once after its word: it shows
    // once what was posted so far has been handled.
    ASSERT_TRUE(Harness::HandledWhatWasPosted(window));
    EXPECT_EQ(nullptr, WaitForWindow(L"Error", 0s));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close());
}

TEST_F(SheafinUpdate, InstallOverAProgramThatAnotherKeepsOpenGivesUpAfterItsTriesAndStartsItAgain)
{
    // The old program, kept open by another that no one ends, as a copy of it that stays running
    // would keep it: the install, which nothing told to wait for that one, cannot replace it.
    const fs::path target = (profile_.Root() / L"Installed" / L"Sheafin.exe").make_preferred();
    fs::create_directories(target.parent_path());
    ASSERT_TRUE(CopyFileW(UpdateTest::TestProgram().c_str(), target.c_str(), FALSE));
    const std::string oldProgram = UpdateTest::ReadBytes(target);
    Owners::FileHandle held = UpdateTest::HoldAsARunningProgram(target);
    ASSERT_TRUE(held);
    sheafin_ = std::make_unique<Harness::Program>(Harness::StartOptions{
        .program = SheafinExe(), .arguments = L"/install \"" + target.wstring() + L"\" 1.2.0", .profile = &profile_,
        .environment = {}});
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->WaitForExit(std::chrono::seconds(InstallTries) + 30s))
        << "still trying";
    EXPECT_EQ(oldProgram, UpdateTest::ReadBytes(target));
    EXPECT_EQ(L"\"" + target.wstring() + L"\" /updateNotInstalled", UpdateTest::WaitForRecordedCommandLine(target))
        << "the old program, started again";
    EXPECT_TRUE(Logged(L"Starting the old program again: " + target.wstring()));
    // Once let go, and the old program started again has ended, nothing holds it any more.
    held.reset();
    EXPECT_TRUE(Harness::WaitUntil([&] { return DeleteFileW(target.c_str()) != FALSE; }, 10s)) << GetLastError();
}

TEST_F(SheafinUpdate, ABuildWithoutTheServiceKeyAsksNothingAndSaysSoInTheLogAndTheOptions)
{
    // The program of the build is made without the operator's key.
    const fs::path product = (UpdateTest::BuildFolder() / L"batch_import" / L"Sheafin.exe").make_preferred();
    WriteWorkspace({L"notes.txt"}, true);
    const HWND window = Start(L"", product);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Harness::WaitUntil([&] { return Logged(L"This build cannot check for updates"); }, 20s));
    const HWND options = CheckForUpdatesInTheOptions(window);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(Shows(options, L"Static", L"This build cannot check for updates", 20s));
    const HWND noUpdates = Harness::Child(options, L"Static", L"No updates found");
    EXPECT_FALSE(noUpdates && IsWindowVisible(noUpdates));
    Harness::SaveWindow(options, L"cannot-check");
    EXPECT_FALSE(Logged(L"HTTPS Request")) << "a request was sent";
    EXPECT_FALSE(Logged(L"No updates found"));
    PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(options); }));
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close());
}

TEST_F(SheafinUpdate, APieceOfACutOffDownloadIsRemovedAtTheNextStartAndAFileNoUpdateWroteStays)
{
    // In each place the Downloads folder may be: a piece of a download whose process has ended (4321
    // is no process's number), and the user's own file of the download's name, which no update wrote.
    const auto pieceOf = [](const fs::path& download) { return fs::path(download.wstring() + L".4321-1.partial"); };
    for (const fs::path& download : downloads_)
        if (fs::exists(download.parent_path()))
        {
            std::ofstream(pieceOf(download), std::ios::binary) << "MZ cut off";
            std::ofstream(download, std::ios::binary) << "MZ the user's own";
        }
    WriteWorkspace({L"notes.txt"}, false);
    ASSERT_NE(Start(), nullptr);
    EXPECT_TRUE(Harness::WaitUntil(
        [&] {
            return std::any_of(downloads_.begin(), downloads_.end(), [&](const fs::path& download) {
                return fs::exists(download.parent_path()) && !fs::exists(pieceOf(download));
            });
        },
        10s))
        << "the program's Downloads folder still holds the piece";
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close());
    std::error_code ignored;
    for (const fs::path& download : downloads_)
    {
        if (fs::exists(download.parent_path()))
        {
            EXPECT_EQ("MZ the user's own", UpdateTest::ReadBytes(download)) << download.string();
        }
        fs::remove(pieceOf(download), ignored);
    }
}

TEST_F(SheafinUpdate, ACheckForUpdatesThatFailsSaysSoWithTheReasonOnTheUpdatesPageAndInTheLog)
{
    // The service is down behind its front door, which answers every request so.
    service_.Set("getVersion.status", "503");
    service_.Set("getVersion.reason", "Service Unavailable");
    WriteWorkspace({L"notes.txt"}, false);
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    const HWND options = CheckForUpdatesInTheOptions(window);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(Shows(options, L"Static", L"Could not check for updates: Service Unavailable", 20s));
    const HWND noUpdates = Harness::Child(options, L"Static", L"No updates found");
    EXPECT_FALSE(noUpdates && IsWindowVisible(noUpdates)) << "the failed check was shown as no update";
    Harness::SaveWindow(options, L"check-failed");
    EXPECT_TRUE(Logged(L"ERROR: Could not check for updates: Service Unavailable"));
    PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(options); }));
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close());
}

TEST_F(SheafinUpdate, AnUpdateThatCannotBeInstalledWhereTheProgramIsIsNotDownloadedAndTheOptionsSayWhyAndWhere)
{
    // Made by the fixture of the update tests: a folder no one may add a file to, as a user may not
    // write the folder of a program installed for all users, with this Sheafin in it.
    const fs::path program = (UpdateTest::BuildFolder() / L"update-service" / L"unwritable" / L"Sheafin.exe").make_preferred();
    if (const std::string why = UpdateTest::ReadBytes(program.parent_path() / L"not-locked.txt"); !why.empty())
        GTEST_SKIP() << "the folder could not be locked against writing: " << why;
    service_.Set("getVersion.body", "1.4.0");
    service_.SetFile("getFile.file", UpdateTest::TestProgram());
    WriteWorkspace({L"notes.txt"}, true);
    const HWND window = Start(L"", program);
    ASSERT_NE(window, nullptr);
    const std::wstring why = L"The update cannot be installed in " + program.parent_path().wstring() + L": ";
    // The weekly check stays silent: only the log says why and where.
    // The decision's log line is the check's last step: nothing is downloaded or closed after it.
    EXPECT_TRUE(Harness::WaitUntil([&] { return Logged(L"ERROR: Update found, but not installed: " + why); }, 20s));
    EXPECT_TRUE(sheafin_->IsRunning()) << "the program closed for an update that cannot land";
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(DownloadAsked()) << "the update was downloaded";
    EXPECT_EQ(nullptr, WaitForWindow(L"Quillora Download", 0s));

    // A check the user asks for says why and where, and offers no install.
    ExpectTheAskedCheckToSayWhyWithoutInstall(window, why, L"cannot-install");
    EXPECT_FALSE(DownloadAsked());
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close());
}

TEST_F(SheafinUpdate, ADownloadsFolderThatCannotBeFoundStopsNoStart)
{
    // The Downloads folder redirected to a share that is offline: a path where nothing is.
    const std::wstring offline = (profile_.Root() / L"Offline share" / L"Downloads").wstring();
    const ScopeExit restore(RedirectDownloads(offline));

    // A newer version is offered to the weekly check, which is due.
    service_.Set("getVersion.body", "1.4.0");
    service_.SetFile("getFile.file", UpdateTest::TestProgram());
    WriteWorkspace({L"notes.txt"}, true);
    const HWND window = Start();
    ASSERT_NE(window, nullptr) << "the program did not open";
    EXPECT_TRUE(Logged(L"ERROR: The Downloads folder could not be found"));

    ExpectNoDownloadAndToBeToldWhy(window, L"The update cannot be downloaded: the Downloads folder could not be found",
                                   L"cannot-download");
    EXPECT_FALSE(fs::exists(offline));
}

TEST_F(SheafinUpdate, ADownloadsFolderThatMayNotBeWrittenIsTreatedAsOneThatCannotBeFound)
{
    // Made by the fixture of the update tests: a folder no one may add a file to, as on a read-only
    // share.
    const fs::path folder = (UpdateTest::BuildFolder() / L"update-service" / L"unwritable").make_preferred();
    if (const std::string why = UpdateTest::ReadBytes(folder / L"not-locked.txt"); !why.empty())
        GTEST_SKIP() << "the folder could not be locked against writing: " << why;
    const ScopeExit restore(RedirectDownloads(folder.wstring()));

    service_.Set("getVersion.body", "1.4.0");
    service_.SetFile("getFile.file", UpdateTest::TestProgram());
    WriteWorkspace({L"notes.txt"}, true);
    const HWND window = Start();
    ASSERT_NE(window, nullptr) << "the program did not open";

    ExpectNoDownloadAndToBeToldWhy(window,
                                   L"The update cannot be downloaded: the Downloads folder may not be written (" +
                                       folder.wstring() + L": ",
                                   L"cannot-download-here");
    EXPECT_FALSE(fs::exists(folder / L"Sheafin.x86.exe"));
}

TEST_F(SheafinUpdate, WhatsNewLeavesTheWindowAnsweringWhileTheServiceIsSlow)
{
    service_.Set("getProductInfo.body",
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?><Product name=\"Quillora Batch File Import\">"
                 "<Version number=\"1.4.0\" date=\"2026-06-01T00:00:00.000Z\"><Changes>- Faster</Changes></Version>"
                 "<Version number=\"1.3.0\" date=\"2026-01-15T00:00:00.000Z\"><Changes>- First</Changes></Version>"
                 "</Product>");
    WriteWorkspace({L"notes.txt"}, false);
    // What's New after an update, and from the options.
    for (const bool fromTheOptions : {false, true})
    {
        SCOPED_TRACE(fromTheOptions ? "from the options" : "after an update");
        const fs::path release = profile_.Root() / (fromTheOptions ? L"release-options" : L"release-start");
        service_.SetFile("getProductInfo.hold", release);
        const auto asked = [&] {
            size_t count = 0;
            for (const auto& request : service_.Requests())
                count += request.name == "getProductInfo";
            return count;
        };
        const size_t before = asked();
        const HWND window = Start(fromTheOptions ? L"" : L"/showUpdateInfo 1.2.0");
        ASSERT_NE(window, nullptr);
        HWND asking = window;
        if (fromTheOptions)
        {
            Harness::PostCommand(window, 40023);
            asking = WaitForWindow(L"Quillora Batch File Import Options");
            ASSERT_NE(asking, nullptr);
            Press(asking, L"&Show What's New in 1.3.0");
        }
        ASSERT_TRUE(Harness::WaitUntil([&] { return asked() > before; }, 20s)) << "What's New was not asked for";
        // The service holds its answer back: the window that asked goes on taking messages.
        EXPECT_TRUE(Answers(asking)) << "the window waits for the service";
        EXPECT_TRUE(Answers(window));
        std::ofstream(release) << "go";
        const HWND whatsNew = WaitForWindow(L"What's New");
        EXPECT_NE(nullptr, whatsNew);
        if (whatsNew)
        {
            PostMessageW(whatsNew, WM_CLOSE, 0, 0);
            EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(whatsNew); }));
        }
        if (asking != window)
        {
            PostMessageW(asking, WM_CLOSE, 0, 0);
            EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(asking); }));
        }
        EXPECT_EQ(std::optional<DWORD>(0), sheafin_->Close());
    }
}

TEST_F(SheafinUpdate, AnInstallPointedAtAProgramOfAnotherProductLeavesItAsItIs)
{
    // Lumday's program, which a command line that anyone can write names as the target.
    const fs::path target = (profile_.Root() / L"Other Apps" / L"Lumday.exe").make_preferred();
    fs::create_directories(target.parent_path());
    ASSERT_TRUE(CopyFileW(UpdateTest::CalendarTestProgram().c_str(), target.c_str(), FALSE));
    const std::string other = UpdateTest::ReadBytes(target);
    sheafin_ = std::make_unique<Harness::Program>(Harness::StartOptions{
        .program = SheafinExe(), .arguments = L"/install \"" + target.wstring() + L"\" 1.2.0", .profile = &profile_,
        .environment = {}});
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->WaitForExit(30s));
    EXPECT_EQ(other, UpdateTest::ReadBytes(target)) << "another product's program was replaced";
    EXPECT_TRUE(Logged(L"ERROR: Not installing over " + target.wstring()));
    // A replacement would start Sheafin under the other program's name.
    HWND started = nullptr;
    EXPECT_FALSE(Harness::WaitUntil([&] { return (started = FindWindowW(L"Quillora Window", Title)) != nullptr; }, 3s))
        << "a program was started";
    if (started)
        PostMessageW(started, WM_CLOSE, 0, 0);
}
