// The command lines of the update hand-over, matched exactly, and everything else a normal start.
#include "batch_import/SheafinCommandLine.h"

#include <gtest/gtest.h>

TEST(SheafinCommandLine, InstallTakesATargetAndAVersionOnlyWhenExactlyThreeArgumentsAreGiven)
{
    struct Case
    {
        std::vector<std::wstring> arguments;
        std::wstring target;
        std::wstring version;
    };
    const Case cases[] = {
        {{L"/install", L"C:\\Apps\\Sheafin.exe"}, L"C:\\Apps\\Sheafin.exe", L"1.0.0"},
        {{L"/install", L"C:\\Apps\\Sheafin.exe", L"1.2.0"}, L"C:\\Apps\\Sheafin.exe", L"1.2.0"},
        {{L"/install", L"C:\\Apps\\Sheafin.exe", L"1.2.0", L"more"}, L"C:\\Apps\\Sheafin.exe", L"1.0.0"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.arguments.size());
        const SheafinCommand command = ParseSheafinCommandLine(c.arguments);
        EXPECT_TRUE(command.install);
        EXPECT_EQ(c.target, command.installTarget);
        EXPECT_EQ(c.version, command.installVersion);
        EXPECT_FALSE(command.previousVersion);
    }
}

TEST(SheafinCommandLine, OtherLetterCasesLoneSwitchesAndStrayArgumentsStartNormally)
{
    const std::vector<std::wstring> cases[] = {
        {},
        {L"/install"},
        {L"/INSTALL", L"C:\\Apps\\Sheafin.exe"},
        {L"/showUpdateInfo"},
        {L"/showUpdateInfo", L"1.2.0", L"more"},
        {L"/showupdateinfo", L"1.2.0"},
        {L"notes.txt"},
    };
    for (const auto& arguments : cases)
    {
        SCOPED_TRACE(testing::PrintToString(arguments.size()));
        const SheafinCommand command = ParseSheafinCommandLine(arguments);
        EXPECT_FALSE(command.install);
        EXPECT_FALSE(command.previousVersion);
    }
}

TEST(SheafinCommandLine, ShowUpdateInfoWithExactlyOneVersionCarriesIt)
{
    const SheafinCommand command = ParseSheafinCommandLine({L"/showUpdateInfo", L"1.2.0"});
    EXPECT_FALSE(command.install);
    EXPECT_EQ(std::optional<std::wstring>(L"1.2.0"), command.previousVersion);
}

TEST(SheafinCommandLine, TailIsSplitByTheShellsRules)
{
    EXPECT_EQ((std::vector<std::wstring>{}), SplitCommandLine(L""));
    EXPECT_EQ((std::vector<std::wstring>{}), SplitCommandLine(L"   "));
    EXPECT_EQ((std::vector<std::wstring>{L"/install", L"C:\\My Apps\\Sheafin.exe", L"1.2.0"}),
              SplitCommandLine(L"/install \"C:\\My Apps\\Sheafin.exe\" 1.2.0"));
}
