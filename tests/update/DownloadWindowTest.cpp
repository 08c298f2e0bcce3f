// The download window against the local update service: the hand-over command line, progress,
// cancel, the errors it reports and the ones it keeps quiet about, two downloads at once, and what
// becomes of the file.
#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"
#include "tests/update/ServiceScenario.h"
#include "update/DownloadProgressWindow.h"
#include "update/ProgramFile.h"
#include "update/SelfInstall.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;
using UpdateTest::ProgramHasRun;
using UpdateTest::ReadBytes;
using UpdateTest::ServiceScenario;
using UpdateTest::TestProgram;
using UpdateTest::WaitForRecordedCommandLine;

namespace
{
class DownloadWindow : public DialogTest::Fixture
{
protected:
    DownloadWindow() : savedOverride_(MessageBoxOverride)
    {
        path = DownloadProgressWindow::DownloadPath(scenario.Identity().updateFileId);
        std::error_code ignored;
        fs::remove(path, ignored);
        fs::remove(path.wstring() + L".args", ignored);
        MessageBoxOverride = [this](HWND, const wchar_t* title, std::vector<MessageItem>*, bool, int,
                                    const MessageWndCallback&, const std::set<int>&, int, IMessageBoxDataProvider*,
                                    const std::wstring& text) {
            messages.push_back(std::wstring(title ? title : L"") + L": " + text);
            return static_cast<int>(MessageButtonOK);
        };
    }
    ~DownloadWindow() override
    {
        MessageBoxOverride = savedOverride_;
        std::error_code ignored;
        fs::remove(path, ignored);
        fs::remove(path.wstring() + L".args", ignored);
    }

    static HWND FindDownloadWindow() { return FindWindowW(L"Quillora Window", L"Quillora Download"); }

    // How many downloads of this process have logged that they failed, a transfer given up
    // because its window was gone among them: after that entry the download's worker only looks
    // whether its window is still there, and ends.
    static size_t FailedDownloads()
    {
        const std::wstring logged = Harness::ReadLogFile(GetLogFilePath(GetTempFolder()));
        const std::wstring entry = L"ERROR: Download failed: ";
        size_t count = 0;
        for (size_t at = logged.find(entry); at != std::wstring::npos; at = logged.find(entry, at + entry.size()))
            ++count;
        return count;
    }

    // Starts the download and waits until its window is gone (or the time is up).
    void RunDownload(std::chrono::milliseconds timeout = std::chrono::seconds(20))
    {
        InstallUpdates(nullptr, [this] {
            ++installsBegun;
            // The new program has not run yet: it waits, suspended, or has not been made (it writes
            // its command line first thing, and ends).
            startedBeforeInstall = ProgramHasRun(path) || fs::exists(path.wstring() + L".args");
            return true;
        });
        ASSERT_TRUE(FindDownloadWindow());
        EXPECT_TRUE(UiTest::PumpUntil([] { return !FindDownloadWindow(); }, timeout));
    }

    void WriteEarlierDownload() { std::ofstream(path, std::ios::binary) << "MZ earlier download"; }

    // Files a download left beside its own: none, however it ended.
    std::vector<fs::path> LeftBeside() const
    {
        std::vector<fs::path> left;
        const std::wstring prefix = path.filename().wstring() + L".";
        for (const auto& entry : fs::directory_iterator(path.parent_path()))
            if (entry.path().filename().wstring().rfind(prefix, 0) == 0 && entry.path().extension() != L".args")
                left.push_back(entry.path());
        return left;
    }

    ServiceScenario scenario;
    fs::path path;
    std::vector<std::wstring> messages;
    int installsBegun = 0;
    bool startedBeforeInstall = false;

private:
    MessageBoxOverrideFunction savedOverride_;
};
} // namespace

TEST_F(DownloadWindow, StartsTheDownloadedProgramWithTheInstallCommandLine)
{
    scenario.SetFile("getFile.file", TestProgram());
    WriteEarlierDownload();
    RunDownload();

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ReadBytes(TestProgram()), ReadBytes(path));
    EXPECT_EQ(L"\"" + path.wstring() + L"\" /install \"" + GetProgramPath() + L"\" 1.3.0",
              WaitForRecordedCommandLine(path));
    EXPECT_EQ(1, installsBegun);
    EXPECT_FALSE(startedBeforeInstall);
    const auto requests = scenario.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("getFile", requests[1].name);
    EXPECT_EQ((std::pair<std::string, std::string>("product", scenario.Identity().updateFileId)),
              requests[1].Parameters().front());
}

TEST_F(DownloadWindow, ShowsProgressAndCancelStopsWithoutInstallingOrReplacing)
{
    std::string program = ReadBytes(TestProgram());
    program.resize(std::max<size_t>(program.size(), 400000), '\0');
    std::ofstream(fs::path(TestProgram().wstring() + L".large"), std::ios::binary) << program;
    scenario.SetFile("getFile.file", TestProgram().wstring() + L".large");
    scenario.Set("getFile.delay", "30");
    WriteEarlierDownload();

    InstallUpdates(nullptr, [this] {
        ++installsBegun;
        return true;
    });
    const HWND window = FindDownloadWindow();
    ASSERT_TRUE(window);
    std::wstring label;
    ASSERT_TRUE(UiTest::PumpUntil(
        [&] {
            const auto labels = DialogTest::Children(window, L"Static");
            label = labels.empty() ? L"" : UI::GetWindowTextString(labels.front());
            return label.rfind(L"Downloading... ", 0) == 0;
        },
        std::chrono::seconds(20)));
    EXPECT_EQ(L'%', label.back());
    EXPECT_NE(std::wstring::npos, label.find(L'.', 15)) << "one decimal";
    Screenshot::SaveWindow(window, L"downloading");
    const size_t failed = FailedDownloads();
    DialogTest::Click(DialogTest::Child(window, L"Button", L"&Cancel"));
    EXPECT_TRUE(UiTest::PumpUntil([] { return !FindDownloadWindow(); }));
    // The worker notices at its next read, and logs that it gave the transfer up.
    EXPECT_TRUE(UiTest::PumpUntil([&] { return FailedDownloads() > failed; }, std::chrono::seconds(20)));
    UiTest::PumpWaiting();

    EXPECT_EQ(0, installsBegun);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("MZ earlier download", ReadBytes(path));
    EXPECT_TRUE(LeftBeside().empty());
    fs::remove(TestProgram().wstring() + L".large");
}

TEST_F(DownloadWindow, ReportsARefusedDownloadAndKeepsTheEarlierFile)
{
    scenario.Set("getFile.status", "500");
    scenario.Set("getFile.reason", "Out Of Service");
    WriteEarlierDownload();
    RunDownload();

    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(L"Error: Failed to download latest version\nOut Of Service", messages[0]);
    EXPECT_EQ(0, installsBegun);
    EXPECT_EQ("MZ earlier download", ReadBytes(path));
}

TEST_F(DownloadWindow, DownloadCutShortIsAnErrorAndReplacesNothing)
{
    scenario.SetFile("getFile.file", TestProgram());
    scenario.Set("getFile.truncate", "10000");
    WriteEarlierDownload();
    RunDownload();

    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(0u, messages[0].find(L"Error: Failed to download latest version\n"));
    EXPECT_EQ(0, installsBegun);
    EXPECT_EQ("MZ earlier download", ReadBytes(path));
    EXPECT_TRUE(LeftBeside().empty());
}

TEST_F(DownloadWindow, AnswerThatIsNoProgramIsAnError)
{
    scenario.Set("getFile.body", "<html>maintenance</html>");
    RunDownload();

    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(0u, messages[0].find(L"Error: Failed to download latest version\n"));
    EXPECT_EQ(0, installsBegun);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(DownloadWindow, ProgramThatDoesNotStartIsReportedAndTheRunningOneStays)
{
    scenario.Set("getFile.body", "MZ but not a program at all");
    RunDownload();

    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(0u, messages[0].find(L"Error: Failed to download latest version\n"));
    EXPECT_EQ(0, installsBegun);
    EXPECT_FALSE(fs::exists(path)) << "the download no install runs stays";
}

TEST_F(DownloadWindow, CutShortWithoutLengthTheLabelStaysAndNothingIsReplaced)
{
    // Without a length the end of a broken connection looks like the end of the file.
    scenario.SetFile("getFile.file", TestProgram());
    scenario.Set("getFile.no_length", "1");
    scenario.Set("getFile.truncate", "300000");
    scenario.Set("getFile.delay", "20");
    WriteEarlierDownload();
    InstallUpdates(nullptr, [this] {
        ++installsBegun;
        return true;
    });
    const HWND window = FindDownloadWindow();
    ASSERT_TRUE(window);
    const HWND label = DialogTest::Children(window, L"Static").front();
    std::vector<std::wstring> texts;
    EXPECT_TRUE(UiTest::PumpUntil(
        [&] {
            if (IsWindow(label))
                texts.push_back(UI::GetWindowTextString(label));
            return !FindDownloadWindow();
        },
        std::chrono::seconds(20)));
    for (const auto& text : texts)
        EXPECT_EQ(L"", text);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(0u, messages[0].find(L"Error: Failed to download latest version\n"));
    EXPECT_EQ(0, installsBegun);
    EXPECT_EQ("MZ earlier download", ReadBytes(path));
    EXPECT_TRUE(LeftBeside().empty());
}

TEST_F(DownloadWindow, TwoDownloadsAtOnceEachWriteAWholeProgramOfTheirOwn)
{
    // Both writes are held half-way until the other has begun, as two downloads that end together.
    const ProgramBytesWriter savedWriter = ProgramFileWriter;
    std::atomic<int> halfWritten{0};
    ProgramFileWriter = [&](HANDLE file, const std::string& bytes) {
        const size_t half = bytes.size() / 2;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(half), &written, nullptr))
            return false;
        ++halfWritten;
        for (int wait = 0; wait < 500 && halfWritten < 2; ++wait)
            Sleep(10);
        return WriteFile(file, bytes.data() + half, static_cast<DWORD>(bytes.size() - half), &written, nullptr) != FALSE;
    };
    scenario.SetFile("getFile.file", TestProgram());
    WriteEarlierDownload();
    for (int download = 0; download < 2; ++download)
        InstallUpdates(nullptr, [this] {
            ++installsBegun;
            return true;
        });
    EXPECT_TRUE(UiTest::PumpUntil([] { return !FindDownloadWindow(); }, std::chrono::seconds(30)));
    UiTest::PumpUntil([this] { return installsBegun == 2 || !messages.empty(); }, std::chrono::seconds(5));
    ProgramFileWriter = savedWriter;

    EXPECT_EQ(2, halfWritten.load());
    EXPECT_TRUE(messages.empty()) << WideToUtf8(messages.empty() ? L"" : messages.front());
    EXPECT_EQ(2, installsBegun);
    EXPECT_EQ(ReadBytes(TestProgram()), ReadBytes(path));
    EXPECT_NE(L"", WaitForRecordedCommandLine(path));
    EXPECT_TRUE(LeftBeside().empty());
}

// A download that ends after another download of the same program has put it in place and
// started it cannot replace the running file, and need not: it installs what is there. A running
// file that holds other bytes is still an error, and stays as it is.
TEST_F(DownloadWindow, ADownloadThatFindsTheSameProgramRunningInItsPlaceInstallsIt)
{
    scenario.SetFile("getFile.file", TestProgram());
    const std::string program = ReadBytes(TestProgram());
    // The other program first: the started one would keep its file until it ends.
    for (const bool same : {false, true})
    {
        SCOPED_TRACE(same);
        messages.clear();
        installsBegun = 0;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << (same ? program : "MZ another program");
        {
            // As Windows holds a started program's file: others may read it, not replace it.
            const Owners::FileHandle running(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(running);
            InstallUpdates(nullptr, [this] {
                ++installsBegun;
                return true;
            });
            EXPECT_TRUE(UiTest::PumpUntil([] { return !FindDownloadWindow(); }, std::chrono::seconds(20)));
            UiTest::PumpUntil([this] { return installsBegun == 1 || !messages.empty(); }, std::chrono::seconds(5));
        }
        EXPECT_EQ(same ? 1 : 0, installsBegun);
        EXPECT_EQ(same, messages.empty()) << WideToUtf8(messages.empty() ? L"" : messages.front());
        EXPECT_EQ(same ? program : "MZ another program", ReadBytes(path));
        EXPECT_TRUE(LeftBeside().empty());
        if (same)
        {
            EXPECT_NE(L"", WaitForRecordedCommandLine(path));
        }
    }
}

TEST_F(DownloadWindow, ErrorAfterTheUserClosedTheWindowIsNotShown)
{
    scenario.Set("getFile.body", std::string(100000, 'x'));
    scenario.Set("getFile.truncate", "60000");
    scenario.Set("getFile.delay", "40");
    InstallUpdates(nullptr, [this] {
        ++installsBegun;
        return true;
    });
    const HWND window = FindDownloadWindow();
    ASSERT_TRUE(window);
    const size_t failed = FailedDownloads();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(UiTest::PumpUntil([] { return !FindDownloadWindow(); }));
    // The transfer fails after the close: the worker logs it, and shows nothing.
    EXPECT_TRUE(UiTest::PumpUntil([&] { return FailedDownloads() > failed; }, std::chrono::seconds(20)));
    UiTest::PumpWaiting();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(0, installsBegun);
}
