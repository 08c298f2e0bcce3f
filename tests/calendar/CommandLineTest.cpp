#include "calendar/CommandLine.h"
#include "tests/support/ProgramHarness.h"

#include <gtest/gtest.h>

#include <fstream>

namespace
{
class CommandLine : public testing::Test
{
protected:
    void SetUp() override
    {
        const Harness::Profile profile;
        folder = profile.Temp().wstring();
        oldProgram = folder + L"\\Lumday.exe";
        update = folder + L"\\lumday1.exe";
        document = folder + L"\\notes.txt";
        for (const std::wstring& file : {oldProgram, update, document})
            std::ofstream(std::filesystem::path(file)) << "x";
    }

    std::wstring folder;
    std::wstring oldProgram;
    std::wstring update;
    std::wstring document;
};

TEST_F(CommandLine, PathIsTheWholeTextOrTheTextBetweenTheQuotes)
{
    std::wstring path;
    EXPECT_TRUE(ParseProgramPath(L"C:\\Apps\\Lumday.exe", path));
    EXPECT_EQ(path, L"C:\\Apps\\Lumday.exe");
    EXPECT_TRUE(ParseProgramPath(L"\"C:\\My Apps\\Lumday.exe\"", path));
    EXPECT_EQ(path, L"C:\\My Apps\\Lumday.exe");
    EXPECT_FALSE(ParseProgramPath(L"\"C:\\My Apps\\Lumday.exe", path));
    EXPECT_FALSE(ParseProgramPath(L"\"", path));
    EXPECT_FALSE(ParseProgramPath(L"", path));
}

TEST_F(CommandLine, DownloadedUpdateInstallsOverAnExistingProgram)
{
    for (const std::wstring& running : {update, folder + L"\\LUMDAY1.EXE"})
    {
        const LumdayCommand bare = ParseCommandLine(oldProgram, running);
        EXPECT_EQ(bare.kind, LumdayCommand::Install);
        EXPECT_EQ(bare.target, oldProgram);
        const LumdayCommand quoted = ParseCommandLine(L"\"" + oldProgram + L"\"", running);
        EXPECT_EQ(quoted.kind, LumdayCommand::Install);
        EXPECT_EQ(quoted.target, oldProgram);
    }
}

TEST_F(CommandLine, AnyOtherArgumentStartsTheCalendar)
{
    struct Case
    {
        std::wstring commandLine;
        std::wstring running;
    };
    const Case cases[] = {
        {oldProgram, oldProgram},                 // the installed program given its own path
        {document, update},                       // a document is never overwritten
        {document, oldProgram},                   // a document opened with Lumday
        {L"\"" + document + L"\"", oldProgram},
        {folder + L"\\missing.exe", update},      // no program to replace
        {update, update},                         // the update itself
        {L"\"" + oldProgram, update},             // an unclosed quote
        {folder, update},                         // a folder
        {L"/showUpdateInfo x", update},
        {L"/showupdateinfo", update},
        {L"", update},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::filesystem::path(c.commandLine).string()));
        const LumdayCommand command = ParseCommandLine(c.commandLine, c.running);
        EXPECT_EQ(command.kind, LumdayCommand::Start);
        EXPECT_FALSE(command.showUpdateInfo);
    }
}

TEST_F(CommandLine, ShowUpdateInfoIsRecognisedOnlyExactly)
{
    EXPECT_TRUE(ParseCommandLine(L"/showUpdateInfo", oldProgram).showUpdateInfo);
    EXPECT_EQ(ParseCommandLine(L"/showUpdateInfo", oldProgram).kind, LumdayCommand::Start);
    EXPECT_FALSE(ParseCommandLine(L"/showUpdateInfo ", oldProgram).showUpdateInfo);
}
} // namespace
