#include "calendar/CalendarSettings.h"
#include "calendar/UiLanguages.h"
#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "tests/calendar/CalendarTestProfile.h"
#include "tests/support/SchemaCheck.h"

#include <gtest/gtest.h>

#include <fstream>

namespace
{
class SettingsFile : public testing::Test
{
protected:
    CalendarTestProfile profile;

    std::wstring Path() const { return GetSettingsFilePath(); }

    void WriteUtf16(const std::wstring& text) const
    {
        ASSERT_TRUE(WriteBytesToFile(Path().c_str(), text.data(), text.size() * sizeof(wchar_t)));
    }
    void WriteUtf8(const std::string& bytes) const { ASSERT_TRUE(WriteStringToFile(Path().c_str(), bytes)); }

    std::wstring Saved() const { return ReadTextFile(Path().c_str()); }
};

TEST_F(SettingsFile, PathIsLumdayXmlInTheRoamingApplicationData)
{
    EXPECT_EQ(Path(), profile.RoamingAppData() + L"\\lumday.xml");
}

TEST_F(SettingsFile, MissingFileGivesTheDefaultsAndFalse)
{
    const DateTime before;
    EXPECT_FALSE(LoadSettings());
    const CalendarSettings& settings = GetCalendarSettings();
    EXPECT_FALSE(settings.settingsOpen);
    EXPECT_EQ(settings.fontSize, 12.0f);
    EXPECT_EQ(settings.viewType, 0);
    EXPECT_TRUE(settings.showPagesOnCreatedDate);
    EXPECT_TRUE(settings.showPagesOnLMT);
    EXPECT_FALSE(settings.singleInstance);
    EXPECT_FALSE(settings.mondayWeek);
    EXPECT_TRUE(settings.showPreviews);
    EXPECT_GE(settings.lastUpdateCheck.time, before.time);
    EXPECT_TRUE(settings.language.empty());
    EXPECT_TRUE(settings.allNotebooks);
    EXPECT_TRUE(settings.notebookSelection.empty());
    EXPECT_EQ(settings.x, static_cast<int>(0x80000000));
    EXPECT_EQ(settings.y, static_cast<int>(0x80000000));
    EXPECT_EQ(settings.width, static_cast<int>(0x80000000));
    EXPECT_EQ(settings.height, static_cast<int>(0x80000000));
    EXPECT_EQ(settings.flags, 0u);
    EXPECT_EQ(settings.showCmd, 5u);
}

TEST_F(SettingsFile, FirstSaveWritesOnlyTheThreeAlwaysWrittenValues)
{
    LoadSettings();
    ASSERT_TRUE(SaveSettings());
    const std::wstring text = Saved();
    EXPECT_NE(text.find(L"lastUpdateCheck=\""), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"language=\"\""), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"darkMode=\""), std::wstring::npos) << text;
    for (const wchar_t* absent : {L"fontSize", L"viewType", L"showPreviews", L"all=", L" x=", L"showCmd"})
        EXPECT_EQ(text.find(absent), std::wstring::npos) << absent << L" in " << text;
    // UTF-16 without a byte order mark, as the writer makes it.
    const std::string bytes = ReadFileBytes(Path().c_str());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], '<');
    EXPECT_EQ(bytes[1], '\0');
}

TEST_F(SettingsFile, EveryValueSurvivesARoundTripAndASecondSaveWritesTheSameText)
{
    LoadSettings();
    CalendarSettings& settings = GetCalendarSettings();
    settings.settingsOpen = true;
    settings.fontSize = 10.6666f;
    settings.viewType = 2;
    settings.showPagesOnCreatedDate = false;
    settings.showPagesOnLMT = true;
    settings.singleInstance = true;
    settings.mondayWeek = true;
    settings.showPreviews = false;
    SYSTEMTIME when{2024, 2, 0, 29, 13, 45, 30, 0};
    settings.lastUpdateCheck = DateTime(when);
    settings.language = L"pt-BR";
    settings.darkMode = true;
    settings.allNotebooks = false;
    SetLoadedNotebookPaths(std::vector<std::wstring>{L"C:\\Notes\\A", L"https://host/B & C", L"C:\\Notes\\D"});
    settings.notebookSelection = {{0, true}, {1, true}, {2, false}, {7, true}};
    settings.x = 10;
    settings.y = -20;
    settings.width = 800;
    settings.height = 600;
    settings.flags = 2;
    settings.showCmd = 3;
    settings.minX = -1;
    settings.minY = -2;
    settings.maxX = 4;
    settings.maxY = 5;
    ASSERT_TRUE(SaveSettings());
    const std::wstring first = Saved();
    EXPECT_NE(first.find(L"fontSize=\"10.6666\""), std::wstring::npos) << first;

    SetLoadedNotebookPaths(std::nullopt);
    ASSERT_TRUE(LoadSettings());
    const CalendarSettings& read = GetCalendarSettings();
    EXPECT_TRUE(read.settingsOpen);
    EXPECT_EQ(read.fontSize, 10.6666f);
    EXPECT_EQ(read.viewType, 2);
    EXPECT_FALSE(read.showPagesOnCreatedDate);
    EXPECT_TRUE(read.showPagesOnLMT);
    EXPECT_TRUE(read.singleInstance);
    EXPECT_TRUE(read.mondayWeek);
    EXPECT_FALSE(read.showPreviews);
    EXPECT_EQ(read.lastUpdateCheck.time, DateTime(when).time);
    EXPECT_EQ(read.language, L"pt-BR");
    EXPECT_TRUE(read.darkMode);
    EXPECT_FALSE(read.allNotebooks);
    ASSERT_EQ(StoredNotebookPaths().size(), 2u);
    EXPECT_EQ(StoredNotebookPaths()[0]->text, L"C:\\Notes\\A");
    EXPECT_EQ(StoredNotebookPaths()[1]->text, L"https://host/B & C");
    EXPECT_EQ(read.x, 10);
    EXPECT_EQ(read.y, -20);
    EXPECT_EQ(read.width, 800);
    EXPECT_EQ(read.height, 600);
    EXPECT_EQ(read.flags, 2u);
    EXPECT_EQ(read.showCmd, 3u);
    EXPECT_EQ(read.minX, -1);
    EXPECT_EQ(read.minY, -2);
    EXPECT_EQ(read.maxX, 4);
    EXPECT_EQ(read.maxY, 5);

    // Without a loaded notebook list the stored paths are written again: the file is a fixed point.
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(Saved(), first);
}

TEST_F(SettingsFile, AttributesReadByTheirRules)
{
    struct Case
    {
        const wchar_t* attributes;
        std::function<void(const CalendarSettings&)> check;
    };
    const Case cases[] = {
        {L"singleInstance=\"TRUE\"", [](const CalendarSettings& s) { EXPECT_FALSE(s.singleInstance); }},
        {L"singleInstance=\"True\"", [](const CalendarSettings& s) { EXPECT_TRUE(s.singleInstance); }},
        {L"singleInstance=\"1\"", [](const CalendarSettings& s) { EXPECT_TRUE(s.singleInstance); }},
        {L"showPreviews=\"yes\"", [](const CalendarSettings& s) { EXPECT_FALSE(s.showPreviews); }},
        {L"fontSize=\"big\"", [](const CalendarSettings& s) { EXPECT_EQ(s.fontSize, 0.0f); }},
        {L"viewType=\"1\"", [](const CalendarSettings& s) { EXPECT_EQ(s.viewType, 1); }},
        {L"viewType=\"3\"", [](const CalendarSettings& s) { EXPECT_EQ(s.viewType, 0); }},
        {L"viewType=\"-1\"", [](const CalendarSettings& s) { EXPECT_EQ(s.viewType, 0); }},
        {L"language=\"de\"", [](const CalendarSettings& s) { EXPECT_EQ(s.language, L"de"); }},
        {L"language=\"DE\"", [](const CalendarSettings& s) { EXPECT_EQ(s.language, L""); }},
        {L"language=\"ja\"", [](const CalendarSettings& s) { EXPECT_EQ(s.language, L""); }},
        {L"darkMode=\"false\"", [](const CalendarSettings& s) { EXPECT_FALSE(s.darkMode); }},
        {L"darkMode=\"true\"", [](const CalendarSettings& s) { EXPECT_TRUE(s.darkMode); }},
        {L"lastUpdateCheck=\"2023-13-45T00:00:00.000Z\"",
         [](const CalendarSettings& s) { EXPECT_GT(s.lastUpdateCheck.time, 1700000000); }},
        {L"lastUpdateCheck=\"yesterday\"", [](const CalendarSettings& s) { EXPECT_GT(s.lastUpdateCheck.time, 1700000000); }},
        {L"lastUpdateCheck=\"2020-01-02T03:04:05.000Z\"",
         [](const CalendarSettings& s) { EXPECT_EQ(s.lastUpdateCheck.time, 1577934245); }},
        {L"unknown=\"1\"", [](const CalendarSettings& s) { EXPECT_EQ(s.fontSize, 12.0f); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(WideToUtf8(c.attributes));
        WriteUtf16(std::wstring(L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Lumday><Settings ") + c.attributes +
                   L"/></Lumday>");
        EXPECT_TRUE(LoadSettings());
        c.check(GetCalendarSettings());
    }
}

TEST_F(SettingsFile, WindowPlacementAndNotebookListAreRead)
{
    WriteUtf16(L"<Lumday><Settings><Notebooks all=\"false\"><Notebook>one</Notebook><Notebook><![CDATA[two]]></Notebook>"
               L"</Notebooks></Settings><Window x=\"5\" y=\"6\" width=\"700\" height=\"500\" showCmd=\"3\"/></Lumday>");
    EXPECT_TRUE(LoadSettings());
    const CalendarSettings& settings = GetCalendarSettings();
    EXPECT_FALSE(settings.allNotebooks);
    ASSERT_EQ(StoredNotebookPaths().size(), 2u);
    EXPECT_EQ(StoredNotebookPaths()[1]->text, L"two");
    EXPECT_EQ(settings.x, 5);
    EXPECT_EQ(settings.height, 500);
    EXPECT_EQ(settings.showCmd, 3u);
}

TEST_F(SettingsFile, EmptyRootElementGivesDefaultsAndTrue)
{
    WriteUtf16(L"<Lumday/>");
    EXPECT_TRUE(LoadSettings());
    EXPECT_EQ(GetCalendarSettings().fontSize, 12.0f);
    EXPECT_EQ(GetCalendarSettings().x, static_cast<int>(0x80000000));
}

TEST_F(SettingsFile, LegacyUtf8FileIsReadWithoutBeingRewritten)
{
    const std::string legacy = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                               "<Lumday><Settings language=\"cs\" fontSize=\"14\"><Notebooks all=\"false\">"
                               "<Notebook>C:\\Pozn\xC3\xA1mky</Notebook></Notebooks></Settings></Lumday>";
    WriteUtf8(legacy);
    EXPECT_TRUE(LoadSettings());
    EXPECT_EQ(GetCalendarSettings().language, L"cs");
    EXPECT_EQ(GetCalendarSettings().fontSize, 14.0f);
    ASSERT_EQ(StoredNotebookPaths().size(), 1u);
    EXPECT_EQ(StoredNotebookPaths()[0]->text, L"C:\\Pozn\u00E1mky");
    EXPECT_EQ(ReadFileBytes(Path().c_str()), legacy.substr(3));
    // The next save writes UTF-16 with the same values.
    ASSERT_TRUE(SaveSettings());
    EXPECT_FALSE(IsUtf8File(Path().c_str()));
    EXPECT_TRUE(LoadSettings());
    EXPECT_EQ(GetCalendarSettings().language, L"cs");
    EXPECT_EQ(StoredNotebookPaths()[0]->text, L"C:\\Pozn\u00E1mky");
}

TEST_F(SettingsFile, DamagedOrTruncatedFileGivesDefaultsAndIsKeptAside)
{
    const std::wstring whole = L"<Lumday><Settings language=\"de\" singleInstance=\"true\"/>"
                               L"<Window x=\"5\" y=\"6\" width=\"700\" height=\"500\"/></Lumday>";
    const std::wstring damaged[] = {
        whole.substr(0, whole.size() - 5),
        whole.substr(0, 30),
        L"<Lumday><Settings language=\"de\" singleInstance=\"true\"></Lumday>",
        whole + L"<Lumday/>",
        L"<Lumday><Settings language=\"de\" singleInstance=\"true\"/><Window x=\"5\" & /></Lumday>",
    };
    for (const std::wstring& text : damaged)
    {
        SCOPED_TRACE(WideToUtf8(text));
        DeleteFileW(GetDamagedSettingsFilePath().c_str());
        WriteUtf16(text);
        EXPECT_FALSE(LoadSettings());
        EXPECT_EQ(GetCalendarSettings().language, L"");
        EXPECT_FALSE(GetCalendarSettings().singleInstance);
        EXPECT_EQ(GetCalendarSettings().x, static_cast<int>(0x80000000));
        EXPECT_EQ(ReadTextFile(GetDamagedSettingsFilePath().c_str()), text);
        EXPECT_EQ(Saved(), text) << "the damaged file stays until the next save";
    }
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFileWhole)
{
    WriteUtf16(L"<Lumday><Settings language=\"fr\"/></Lumday>");
    ASSERT_TRUE(LoadSettings());
    // A reader that lets nobody delete the file makes the move over it fail.
    {
        const Owners::FileHandle reader(
            CreateFileW(Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        GetCalendarSettings().language = L"it";
        EXPECT_FALSE(SaveSettings());
    }
    EXPECT_EQ(Saved(), L"<Lumday><Settings language=\"fr\"/></Lumday>");
}

// A damaged file that cannot be copied aside is the only copy of what the user set: no save of
// the run replaces it.
TEST_F(SettingsFile, DamagedFileThatCannotBeKeptAsideIsNeverReplaced)
{
    const std::wstring damaged = L"<Lumday><Settings language=\"de\"";
    WriteUtf16(damaged);
    DeleteFileW(GetDamagedSettingsFilePath().c_str());
    ASSERT_TRUE(CreateDirectoryW(GetDamagedSettingsFilePath().c_str(), nullptr)); // no copy can go there
    EXPECT_FALSE(LoadSettings());
    GetCalendarSettings().language = L"it";
    EXPECT_FALSE(SaveSettings());
    RemoveDirectoryW(GetDamagedSettingsFilePath().c_str());
    EXPECT_EQ(Saved(), damaged);
}

TEST_F(SettingsFile, FileWhoseReadingFailedWithAComErrorIsNeverReplaced)
{
    const std::wstring stored = L"<Lumday><Settings language=\"de\" darkMode=\"true\"/></Lumday>";
    WriteUtf16(stored);
    const auto reader = SettingsFileReader;
    SettingsFileReader = [](const std::wstring&) -> FileReadResult {
        _com_issue_error(E_OUTOFMEMORY);
        return {};
    };
    const bool loaded = LoadSettings();
    SettingsFileReader = reader;
    EXPECT_FALSE(loaded);
    EXPECT_EQ(GetCalendarSettings().language, L"");
    GetCalendarSettings().language = L"it";
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(Saved(), stored);
}

TEST_F(SettingsFile, SaveRemovesTheTemporaryFilesOfSavesWhoseProcessHasEnded)
{
    // 4321 is no process's number (they are multiples of four): a save cut off with its process.
    const std::wstring ended = Path() + L".4321-1.tmp";
    // This process runs: a save of its own may be writing such a file at this moment.
    const std::wstring running = Path() + L"." + std::to_wstring(GetCurrentProcessId()) + L"-99999.tmp";
    // Files of other names are no saves'.
    const std::wstring others[] = {Path() + L".backup.tmp", Path() + L".4321.tmp", Path() + L".4321-1.tmp.old"};
    for (const std::wstring& file : {ended, running, others[0], others[1], others[2]})
        ASSERT_TRUE(WriteStringToFile(file.c_str(), "<Lumday"));
    LoadSettings();
    ASSERT_TRUE(SaveSettings());
    EXPECT_FALSE(FileExists(ended.c_str()));
    EXPECT_TRUE(FileExists(running.c_str()));
    for (const std::wstring& file : others)
        EXPECT_TRUE(FileExists(file.c_str())) << WideToUtf8(file);
    for (const std::wstring& file : {ended, running, others[0], others[1], others[2]})
        DeleteFileW(file.c_str());
}

TEST_F(SettingsFile, WrittenFileIsWellFormedUtf16Xml)
{
    LoadSettings();
    GetCalendarSettings().language = L"ru";
    SetLoadedNotebookPaths(std::vector<std::wstring>{L"<odd> & \"quoted\""});
    GetCalendarSettings().notebookSelection = {{0, true}};
    ASSERT_TRUE(SaveSettings());
    SetLoadedNotebookPaths(std::nullopt);
    const std::wstring text = Saved();
    EXPECT_EQ(text.rfind(L"<?xml version=\"1.0\" encoding=\"utf-16\"?>", 0), 0u) << text;
    EXPECT_TRUE(LoadSettings());
    ASSERT_EQ(StoredNotebookPaths().size(), 1u);
    EXPECT_EQ(StoredNotebookPaths()[0]->text, L"<odd> & \"quoted\"");
}
} // namespace
