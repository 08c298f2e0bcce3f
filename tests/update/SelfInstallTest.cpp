// The "/install" step: the new program put in place of the old one once it lets go of its file,
// the restart command line, the old program started again when that fails, the targets it
// refuses, and the quoting of started programs.
#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "tests/support/TestPaths.h"
#include "tests/update/ServiceScenario.h"
#include "update/ProgramFile.h"
#include "update/SelfInstall.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using UpdateTest::ReadBytes;
using UpdateTest::TestProgram;
using UpdateTest::WaitForRecordedCommandLine;

namespace
{
class SelfInstall : public testing::Test
{
protected:
    SelfInstall() : savedPause_(InstallRetryPause)
    {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(GetTempFolder()) / (std::wstring(L"SelfInstall_") + Wide(test->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        InstallRetryPause = [this](DWORD milliseconds) {
            pauses.push_back(milliseconds);
            if (onPause)
                onPause();
        };
    }
    ~SelfInstall() override
    {
        InstallRetryPause = savedPause_;
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    static std::wstring Wide(const char* text) { return std::wstring(text, text + strlen(text)); }

    fs::path WriteFile(const wchar_t* name, const std::string& bytes)
    {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Opened without sharing, as a running program holds its file.
    Owners::FileHandle Hold(const fs::path& path)
    {
        return Owners::FileHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }

    fs::path folder;
    std::vector<DWORD> pauses;
    std::function<void()> onPause;

    // Files an install left beside the program's own: none, however it ended.
    static std::vector<fs::path> LeftBeside(const fs::path& program)
    {
        std::vector<fs::path> left;
        const std::wstring prefix = program.filename().wstring() + L".";
        for (const auto& entry : fs::directory_iterator(program.parent_path()))
            if (entry.path().filename().wstring().rfind(prefix, 0) == 0 && entry.path().extension() != L".args")
                left.push_back(entry.path());
        return left;
    }

private:
    std::function<void(DWORD)> savedPause_;
};
} // namespace

TEST_F(SelfInstall, CopiesOnceTheOldProgramLetsGoAndRestartsIt)
{
    const fs::path target = WriteFile(L"Sheafin old.exe", ReadBytes(TestProgram()) + "the old program");
    Owners::FileHandle held = Hold(target);
    ASSERT_TRUE(held);
    onPause = [&] {
        if (pauses.size() == 3)
            held.reset();
    };
    InstallSelfCopyFrom(TestProgram().wstring(), target.wstring(), L"1.2.0");

    EXPECT_EQ((std::vector<DWORD>{1000, 1000, 1000}), pauses);
    EXPECT_EQ(ReadBytes(TestProgram()), ReadBytes(target));
    EXPECT_EQ(L"\"" + target.wstring() + L"\" /showUpdateInfo 1.2.0", WaitForRecordedCommandLine(target));
}

TEST_F(SelfInstall, GivesUpAfterAMinuteWhileTheOldProgramRunsAndStartsItAgain)
{
    const fs::path target = WriteFile(L"Sheafin.exe", ReadBytes(TestProgram()));
    const fs::path source = WriteFile(L"new.exe", ReadBytes(TestProgram()) + "the new program");
    // As a running program holds its file: others may read and start it, no one may write it.
    Owners::FileHandle held(
        CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    InstallSelfCopyFrom(source.wstring(), target.wstring(), L"1.2.0");

    EXPECT_EQ(static_cast<size_t>(InstallTries - 1), pauses.size());
    EXPECT_EQ(L"\"" + target.wstring() + L"\" /updateNotInstalled", WaitForRecordedCommandLine(target))
        << "the old program, again";
    held.reset();
    EXPECT_EQ(ReadBytes(TestProgram()), ReadBytes(target));
    EXPECT_EQ(std::vector<fs::path>{}, LeftBeside(target));
}

TEST_F(SelfInstall, FailureBesideTheOldProgramLeavesItWholeAndStartsItAgainAtOnce)
{
    const ProgramBytesWriter savedWriter = ProgramFileWriter;
    // How a write beside the old program fails: the error, and whether half the file got there.
    const struct
    {
        const wchar_t* what;
        const wchar_t* program;
        DWORD error;
        bool halfWritten;
    } rows[] = {
        {L"the disk fills up half-way", L"Sheafin.exe", ERROR_DISK_FULL, true},
        {L"the folder may not be written", L"Installed Sheafin.exe", ERROR_ACCESS_DENIED, false},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::PrintToString(fs::path(row.what).string()));
        const fs::path target = WriteFile(row.program, ReadBytes(TestProgram()));
        ProgramFileWriter = [&](HANDLE file, const std::string& bytes) {
            DWORD written = 0;
            if (row.halfWritten)
                ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size() / 2), &written, nullptr);
            SetLastError(row.error);
            return false;
        };
        pauses.clear();
        const auto log = TestPaths::OutputFile(L".log");
        OpenLogFile(log.wstring());
        InstallSelfCopyFrom(WriteFile(L"new.exe", ReadBytes(TestProgram()) + std::string(5000, 'n')).wstring(),
                            target.wstring(), L"1.2.0");
        CloseLogFile();
        const std::wstring text = ReadTextFile(log.c_str());
        OpenLogFile();
        ProgramFileWriter = savedWriter;

        EXPECT_TRUE(pauses.empty()) << "nothing to wait for";
        EXPECT_EQ(ReadBytes(TestProgram()), ReadBytes(target));
        EXPECT_EQ(L"\"" + target.wstring() + L"\" /updateNotInstalled", WaitForRecordedCommandLine(target))
            << "the old program, again";
        EXPECT_EQ(std::vector<fs::path>{}, LeftBeside(target));
        EXPECT_NE(std::wstring::npos, text.find(L"ERROR: Failed to ")) << WideToUtf8(text);
        EXPECT_NE(std::wstring::npos, text.find(L"Starting the old program again: " + target.wstring()));
    }
}

TEST_F(SelfInstall, ReplacesOnlyAnExistingProgramOtherThanItself)
{
    const fs::path document = WriteFile(L"notes.txt", "my notes");
    InstallSelfCopyFrom(TestProgram().wstring(), document.wstring(), L"1.2.0");
    EXPECT_EQ("my notes", ReadBytes(document));

    const fs::path missing = folder / L"missing.exe";
    InstallSelfCopyFrom(TestProgram().wstring(), missing.wstring(), L"1.2.0");
    EXPECT_FALSE(fs::exists(missing));

    const fs::path subfolder = folder / L"folder.exe";
    fs::create_directories(subfolder);
    InstallSelfCopyFrom(TestProgram().wstring(), subfolder.wstring(), L"1.2.0");
    EXPECT_TRUE(fs::is_directory(subfolder));

    const fs::path program = WriteFile(L"program.EXE", ReadBytes(TestProgram()));
    InstallSelfCopyFrom(program.wstring(), (folder / L"." / L"PROGRAM.exe").wstring(), L"1.2.0");
    EXPECT_FALSE(fs::exists(program.wstring() + L".args"));
    EXPECT_TRUE(pauses.empty());
}

// Before anything is downloaded, the check opens the program itself as its replacement will: to be
// removed, sharing it with everyone. Wine keeps no access lists, so a program the user may not
// remove is stood in for by one that another program holds without letting it be removed: the
// open is refused all the same, and the check says so.
TEST_F(SelfInstall, AProgramThatMayNotBeRemovedIsNotReplaceableWhileARunningOneIs)
{
    const fs::path program = WriteFile(L"Sheafin.exe", ReadBytes(TestProgram()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), CheckProgramReplaceable(program.wstring()));
    {
        const Owners::FileHandle held = Hold(program);
        ASSERT_TRUE(held);
        EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), CheckProgramReplaceable(program.wstring()));
    }
    EXPECT_EQ(std::vector<fs::path>{}, LeftBeside(program));
    // The running program's own file, as each program checks it.
    wchar_t running[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, running, MAX_PATH));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), CheckProgramReplaceable(running));
}

TEST_F(SelfInstall, LaunchQuotesThePathUnlessItIsQuotedAlready)
{
    const fs::path program = WriteFile(L"with blank.exe", ReadBytes(TestProgram()));
    ASSERT_TRUE(LaunchProcess(program.wstring(), L"/install \"C:\\old path\\Sheafin.exe\" 1.3.0"));
    EXPECT_EQ(L"\"" + program.wstring() + L"\" /install \"C:\\old path\\Sheafin.exe\" 1.3.0",
              WaitForRecordedCommandLine(program));

    fs::remove(program.wstring() + L".args");
    ASSERT_TRUE(LaunchProcess(L"\"" + program.wstring() + L"\"", L""));
    EXPECT_EQ(L"\"" + program.wstring() + L"\"", WaitForRecordedCommandLine(program));
}

TEST_F(SelfInstall, LaunchOfWhatIsNoProgramFails)
{
    const fs::path broken = WriteFile(L"broken.exe", "MZ but nothing more");
    EXPECT_FALSE(LaunchProcess(broken.wstring(), L""));
}

TEST(ProgramManifest, BothProgramsRunWithTheUsersOwnRightsSoThatAWriteToTheirFolderIsNeverRedirected)
{
    const auto build = UpdateTest::BuildFolder();
    for (const fs::path& program : {build / L"batch_import" / L"Sheafin.exe", build / L"calendar" / L"Lumday.exe"})
    {
        SCOPED_TRACE(program.string());
        const HMODULE module =
            LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
        std::string manifest;
        if (const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
        {
            const HGLOBAL loaded = LoadResource(module, resource);
            const auto* bytes = static_cast<const char*>(LockResource(loaded));
            if (bytes)
                manifest.assign(bytes, SizeofResource(module, resource));
        }
        FreeLibrary(module);
        EXPECT_NE(std::string::npos,
                  manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"))
            << manifest;
    }
}
