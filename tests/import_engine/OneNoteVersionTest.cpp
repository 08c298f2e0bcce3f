#include "import_engine/OneNoteVersion.h"

#include "tests/import_engine/EngineTestSupport.h"
#include "tests/import_engine/OneNoteProcessRunner.h"

#include <tlhelp32.h>

#include <cwctype>
#include <filesystem>

namespace EngineTest
{
namespace
{
VS_FIXEDFILEINFO Version(WORD major, WORD minor, WORD build, WORD revision)
{
    VS_FIXEDFILEINFO info{};
    info.dwSignature = VS_FFI_SIGNATURE;
    info.dwFileVersionMS = MAKELONG(minor, major);
    info.dwFileVersionLS = MAKELONG(revision, build);
    return info;
}

TEST(OneNoteBuilds, OnlyBuilds16328To16614OfOneNote16AreAffected)
{
    const struct
    {
        const char* name;
        FileVersion version;
        bool affected;
    } rows[] = {
        {"no version known", std::nullopt, false},
        {"16.0.16327", Version(16, 0, 16327, 20000), false},
        {"16.0.16328", Version(16, 0, 16328, 0), true},
        {"16.0.16400", Version(16, 0, 16400, 20000), true},
        {"16.0.16614", Version(16, 0, 16614, 65535), true},
        {"16.0.16615", Version(16, 0, 16615, 0), false},
        {"15.0.16400", Version(15, 0, 16400, 0), false},
        {"17.0.16400", Version(17, 0, 16400, 0), false},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsAffectedOneNoteBuild(row.version), row.affected);
    }
}

// The stand-in's onenote.exe under another name, in a folder of the running test's own.
std::filesystem::path CopyOfOneNoteExe(const std::wstring& name)
{
    const std::filesystem::path folder = TestPaths::OutputFile(L"." + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(OneNoteExe(L"inside"), folder / name);
    return folder / name;
}

class OneNoteVersion : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(WaitUntilNoOneNoteRuns()) << "another onenote.exe kept running";
    }
};

TEST_F(OneNoteVersion, FoundThroughTheWindowOfEitherOneNoteBuild)
{
    const struct
    {
        const wchar_t* variant;
        WORD build;
        bool affected;
    } rows[] = {{L"inside", 16400, true}, {L"outside", 17126, false}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.build);
        const OneNoteProcess oneNote(OneNoteExe(row.variant));
        ASSERT_NE(oneNote.Window(), nullptr);
        auto application = Application();
        const FileVersion version = GetOneNoteVersion(*application);
        ASSERT_TRUE(version);
        EXPECT_EQ(HIWORD(version->dwFileVersionMS), 16);
        EXPECT_EQ(HIWORD(version->dwFileVersionLS), row.build);
        EXPECT_EQ(IsAffectedOneNoteVersion(*application), row.affected);
    }
    // The window answered: the process list was not searched.
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(OneNoteVersion, OneNoteWithoutAWindowIsFoundInTheProcessListEvenInCapitals)
{
    // A copy named in capitals, as a file system may keep OneNote's name.
    const std::filesystem::path capitals = CopyOfOneNoteExe(L"ONENOTE.EXE");
    const OneNoteProcess oneNote(capitals);
    ASSERT_NE(oneNote.Id(), 0u);
    ASSERT_EQ(ExecutableOf(oneNote.Id()), L"ONENOTE.EXE");
    WriteScenario("store demo\ncurrentwindow none\n");
    auto application = Application();

    const FileVersion version = GetOneNoteVersion(*application);
    ASSERT_TRUE(version);
    EXPECT_EQ(HIWORD(version->dwFileVersionLS), 16400);
    EXPECT_EQ(LogMessages(), (std::vector<std::wstring>{L"Checking if OneNote is running", L"Found process 'onenote.exe'"}));
}

TEST_F(OneNoteVersion, NoOneNoteProcessGivesNoVersionAndLogsOnlyTheSearch)
{
    WriteScenario("store demo\ncurrentwindow none\n");
    auto application = Application();
    EXPECT_FALSE(GetOneNoteVersion(*application));
    EXPECT_EQ(LogMessages(), (std::vector<std::wstring>{L"Checking if OneNote is running"}));
}

TEST_F(OneNoteVersion, ProgramsWhoseNameOnlyEndsLikeOneNotesAreNotOneNote)
{
    const OneNoteProcess first(CopyOfOneNoteExe(L"myonenote.exe"));
    const OneNoteProcess second(CopyOfOneNoteExe(L"lumday.exe"));
    ASSERT_NE(first.Id(), 0u);
    ASSERT_NE(second.Id(), 0u);
    EXPECT_FALSE(FindOneNoteProcess());
}

TEST_F(OneNoteVersion, WithoutAWindowsCollectionTheCheckFailsWithAMissingPointer)
{
    WriteScenario("store demo\nwindows none\n");
    auto application = Application();
    const auto error = ComErrorRaisedBy([&] { GetOneNoteVersion(*application); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Error(), E_POINTER);
}

TEST_F(OneNoteVersion, WindowInThisProcessIsReadThroughThisProcess)
{
    // Without onenote.exe the stand-in's window belongs to the test program, which has no version
    // resource.
    auto application = Application();
    EXPECT_FALSE(GetOneNoteVersion(*application));
    EXPECT_TRUE(LogMessages().empty());
}
} // namespace
} // namespace EngineTest
