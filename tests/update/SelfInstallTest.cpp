// The "/install" step: the copy over the old program with its retries, the restart command line,
// the targets it refuses, and the quoting of started programs.
#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "tests/update/ServiceScenario.h"
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

private:
    std::function<void(DWORD)> savedPause_;
};
} // namespace

TEST_F(SelfInstall, CopiesOnceTheOldProgramLetsGoAndRestartsIt)
{
    const fs::path target = WriteFile(L"Sheafin old.exe", "MZ old program");
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

TEST_F(SelfInstall, GivesUpAfterAThousandTriesWithoutStartingAnything)
{
    const fs::path target = WriteFile(L"Sheafin.exe", "MZ old program");
    Owners::FileHandle held = Hold(target);
    ASSERT_TRUE(held);
    InstallSelfCopyFrom(TestProgram().wstring(), target.wstring(), L"1.2.0");
    held.reset();

    EXPECT_EQ(999u, pauses.size());
    EXPECT_EQ("MZ old program", ReadBytes(target));
    EXPECT_FALSE(fs::exists(target.wstring() + L".args"));
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
