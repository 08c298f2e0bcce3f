#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "tests/batch_import/SettingsXml.h"
#include "tests/framework/log/LogReading.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <knownfolders.h>

#include <filesystem>
#include <optional>

using SettingsXml::Written;

namespace
{
const std::wstring DefaultTree = L"<Settings lastFilePath=\"\"><View><WindowPosition/></View></Settings>";

// Each test gets a folder for its settings file and a log of its own.
class SettingsFile : public testing::Test
{
protected:
    SettingsFile()
        : folder_(TestPaths::OutputFile(L".files")), path_((folder_ / L"settings.xml").wstring()),
          logPath_(TestPaths::OutputFile(L".log"))
    {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        OpenLogFile(logPath_.wstring());
    }
    ~SettingsFile() override { CloseLogFile(); }

    const std::wstring& Path() const { return path_; }
    std::wstring KeptPath() const { return GetUnreadableSettingsPath(path_); }

    void WriteBytes(const std::string& bytes) const { ASSERT_TRUE(WriteStringToFile(path_.c_str(), bytes)); }
    // Nothing where there is no file: a missing file must not pass for an empty one.
    std::optional<std::string> Bytes(const std::wstring& path) const
    {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return std::nullopt;
        return LogReading::Bytes(path);
    }

    // The entries that report a failure, logged since the last call.
    std::vector<std::wstring> LoggedErrors()
    {
        CloseLogFile();
        std::vector<std::wstring> errors;
        for (const std::wstring& line : LogReading::Lines(LogReading::Text(logPath_)))
            if (LogReading::Message(line).starts_with(L"ERROR: "))
                errors.push_back(LogReading::Message(line));
        logPath_ = TestPaths::OutputFile(L"." + std::to_wstring(++logs_) + L".log");
        OpenLogFile(logPath_.wstring());
        return errors;
    }

private:
    std::filesystem::path folder_;
    std::wstring path_;
    std::filesystem::path logPath_;
    int logs_ = 0;
};

// The full workspace in the form the file is to have.
std::wstring FullWorkspaceDocument()
{
    return L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           L"<Settings lastFilePath=\"C:\\Users\\Ann\\Documents\\last.pdf\" lastUpdateCheck=\"2024-03-05T07:08:09.010Z\""
           L" dirty=\"true\">\n"
           L"  <View theme=\"dark\" fileList=\"tiles\">\n"
           L"    <WindowPosition x=\"120\" y=\"-8\" width=\"900\" height=\"640\" flags=\"2\" showCmd=\"3\" minX=\"-1\""
           L" minY=\"-1\" maxX=\"-9\" maxY=\"-9\"/>\n"
           L"  </View>\n"
           L"  <LastConfig targetType=\"4\" targetName=\"Notes \u203a Travel &amp; Plans\">\n"
           L"    <Config>\n"
           L"      <OutputFormat>\n"
           L"        <InsertEachFileOnASeparatePage>\n"
           L"          <CreateNewSection under=\"onenote:https://d.docs.live.net/abc/Notes/&amp;section-id={1A2B}&amp;end\"/>\n"
           L"        </InsertEachFileOnASeparatePage>\n"
           L"      </OutputFormat>\n"
           L"      <DefaultImportFormat fileAttachment=\"true\" fileContent=\"true\" originalPath=\"hyperlink\"/>\n"
           L"      <PrintoutOptions scale=\"300\"/>\n"
           L"      <Entries>\n"
           L"        <Entry path=\"C:\\Data\\report &quot;final&quot; &lt;v2&gt;.pdf\"/>\n"
           L"        <Entry path=\"C:\\Data\\Folder\">\n"
           L"          <Entries>\n"
           L"            <Entry path=\"C:\\Data\\Folder\\a.txt\"/>\n"
           L"            <Entry path=\"C:\\Data\\Folder\\Sub\">\n"
           L"              <Entries><Entry path=\"C:\\Data\\Folder\\Sub\\b.docx\"/></Entries>\n"
           L"            </Entry>\n"
           L"            <Entry path=\"C:\\Data\\Folder\\Empty\"/>\n"
           L"          </Entries>\n"
           L"        </Entry>\n"
           L"        <Entry path=\"D:\\\u5199\u771f\\\u732b.png\"/>\n"
           L"      </Entries>\n"
           L"    </Config>\n"
           L"  </LastConfig>\n"
           L"</Settings>\n";
}

std::string Utf16LittleEndian(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t c : text)
    {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}
} // namespace

TEST_F(SettingsFile, FullWorkspaceIsWrittenInItsFormAndIsAFixedPoint)
{
    ASSERT_TRUE(SaveSettingsFile(SettingsXml::FullWorkspace(), Path()));
    const std::string first = Bytes(Path()).value_or("");
    EXPECT_TRUE(first.starts_with("<?xml version=\"1.0\" encoding=\"utf-8\"?>")) << first.substr(0, 60);
    EXPECT_EQ(first.find("standalone"), std::string::npos);
    // Indentation is the writer's own: compared without the white space between tags.
    const auto canonical = [](const wchar_t* suffix, const std::wstring& document) {
        return SchemaCheck::Canonical(SchemaCheck::WriteOutputFile(suffix, WideToUtf8(SettingsXml::Compact(document))));
    };
    EXPECT_EQ(canonical(L".saved.xml", Utf8ToWide(first)), canonical(L".expected.xml", FullWorkspaceDocument()));

    const Importer::Settings read(Path());
    const std::wstring again = (std::filesystem::path(Path()).parent_path() / L"again.xml").wstring();
    ASSERT_TRUE(SaveSettingsFile(read, again));
    EXPECT_EQ(Bytes(again), first);
    EXPECT_FALSE(FileExists(KeptPath().c_str()));
    EXPECT_EQ(LoggedErrors(), std::vector<std::wstring>());
}

TEST_F(SettingsFile, ReadsUtf8WithOrWithoutMarkAndUtf16LittleEndianWithOrWithoutMark)
{
    const std::wstring document = FullWorkspaceDocument();
    const std::string utf8 = WideToUtf8(document);
    const std::string utf16 = Utf16LittleEndian(document);
    const std::vector<std::pair<const char*, std::string>> encodings = {
        {"UTF-8", utf8},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-16LE with mark", "\xFF\xFE" + utf16},
        {"UTF-16LE without mark", utf16},
    };
    const std::wstring expected = Written(SettingsXml::FullWorkspace());
    for (const auto& [name, bytes] : encodings)
    {
        SCOPED_TRACE(name);
        WriteBytes(bytes);
        EXPECT_EQ(Written(Importer::Settings(Path())), expected);
    }
    EXPECT_EQ(LoggedErrors(), std::vector<std::wstring>());
}

TEST_F(SettingsFile, MissingFileGivesTheDefaultsWithoutAWord)
{
    EXPECT_EQ(Written(Importer::Settings(Path())), DefaultTree);
    EXPECT_FALSE(Importer::Settings(Path()).lastConfig);
    EXPECT_EQ(LoggedErrors(), std::vector<std::wstring>());
}

TEST_F(SettingsFile, UnreadableFileGivesTheDefaultsIsLoggedAndKeptUntouchedBySaving)
{
    const std::string whole = WideToUtf8(FullWorkspaceDocument());
    struct File
    {
        const char* name;
        std::string bytes;
        bool damaged;
    };
    const std::vector<File> files = {
        {"empty", "", false},
        {"blank", " \r\n\t", false},
        {"cut off", whole.substr(0, whole.size() / 2), true},
        {"cut off before the root's end tag", whole.substr(0, whole.rfind("</Settings>")), true},
        {"not well-formed", "<?xml version=\"1.0\"?><Settings dirty=\"true\"><View></Settings>", true},
        {"zeros", std::string(64, '\0'), true},
        {"a document type", "<?xml version=\"1.0\"?><!DOCTYPE Settings []><Settings dirty=\"true\"/>", true},
        {"another program's settings", "<?xml version=\"1.0\"?><Lumday><Settings dirty=\"true\"/></Lumday>", false},
        {"not XML", "dirty=true\r\ntheme=dark\r\n", true},
    };
    for (const auto& [name, bytes, damaged] : files)
    {
        SCOPED_TRACE(name);
        std::filesystem::remove(KeptPath());
        WriteBytes(bytes);

        const Importer::Settings settings(Path());
        EXPECT_EQ(Written(settings), DefaultTree);
        const std::vector<std::wstring> errors = LoggedErrors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_TRUE(errors[0].starts_with(L"ERROR: The settings file " + Path())) << WideToUtf8(errors[0]);
        EXPECT_NE(errors[0].find(L"kept as " + KeptPath()), std::wstring::npos) << WideToUtf8(errors[0]);
        EXPECT_EQ(errors[0].find(L"reading stopped") != std::wstring::npos, damaged) << WideToUtf8(errors[0]);
        EXPECT_EQ(Bytes(KeptPath()), bytes);
        EXPECT_EQ(Bytes(Path()), bytes);

        ASSERT_TRUE(SaveSettingsFile(settings, Path()));
        EXPECT_EQ(Bytes(KeptPath()), bytes);
        EXPECT_EQ(Written(Importer::Settings(Path())), DefaultTree);
    }
}

TEST_F(SettingsFile, UnreadableFileThatCannotBeKeptAsideIsNotSavedOver)
{
    const std::string damaged = "<?xml version=\"1.0\"?><Settings dirty=\"true\"><View></Settings>";
    WriteBytes(damaged);
    // A folder in the copy's place: the copy cannot be made.
    std::filesystem::create_directories(KeptPath());

    const Importer::Settings settings(Path());
    EXPECT_EQ(Written(settings), DefaultTree);
    const std::vector<std::wstring> read = LoggedErrors();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_NE(read[0].find(L"could not be kept as " + KeptPath()), std::wstring::npos) << WideToUtf8(read[0]);

    EXPECT_FALSE(SaveSettingsFile(settings, Path()));
    EXPECT_EQ(Bytes(Path()), damaged) << "the only copy of the workspace stays";
    EXPECT_EQ(LoggedErrors().size(), 1u);
}

TEST_F(SettingsFile, UpdateCheckThatIsNoValidDateCountsAsAbsent)
{
    const std::vector<std::pair<const wchar_t*, bool>> dates = {
        {L"2024-02-29T23:59:59.999Z", true}, {L"2023-02-29T10:00:00.000Z", false}, {L"2024-13-01T10:00:00.000Z", false},
        {L"2024-04-31T10:00:00.000Z", false}, {L"2024-04-30T24:00:00.000Z", false}, {L"yesterday", false},
        {L"", false},
    };
    for (const auto& [date, valid] : dates)
    {
        SCOPED_TRACE(WideToUtf8(date));
        WriteBytes(WideToUtf8(std::wstring(L"<?xml version=\"1.0\"?><Settings lastUpdateCheck=\"") + date +
                              L"\" dirty=\"true\"/>"));
        const Importer::Settings settings(Path());
        EXPECT_EQ(settings.lastUpdateCheck.has_value(), valid);
        EXPECT_TRUE(settings.dirty);
    }
    EXPECT_EQ(LoggedErrors(), std::vector<std::wstring>());
}

TEST_F(SettingsFile, SaveThatFailsPartWayLeavesThePreviousFileIntact)
{
    ASSERT_TRUE(SaveSettingsFile(SettingsXml::FullWorkspace(), Path()));
    const std::optional<std::string> previous = Bytes(Path());

    std::wstring writtenTo;
    const FileBytesWriter failingHalfWay = [&](const wchar_t* path, const void* bytes, size_t count) {
        writtenTo = path;
        WriteBytesToFile(path, bytes, count / 2);
        SetLastError(ERROR_DISK_FULL);
        return false;
    };
    EXPECT_FALSE(SaveSettingsFile(Importer::Settings(Importer::Settings::DefaultsOnly{}), Path(), failingHalfWay));

    EXPECT_EQ(Bytes(Path()), previous);
    EXPECT_EQ(std::filesystem::path(writtenTo).parent_path(), std::filesystem::path(Path()).parent_path());
    EXPECT_NE(writtenTo, Path());
    EXPECT_FALSE(FileExists(writtenTo.c_str()));
    const std::vector<std::wstring> errors = LoggedErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].starts_with(L"ERROR: The settings could not be saved to " + Path())) << WideToUtf8(errors[0]);
    EXPECT_EQ(Written(Importer::Settings(Path())), Written(SettingsXml::FullWorkspace()));
}

TEST_F(SettingsFile, SaveIntoAFolderThatIsGoneFailsAndIsLogged)
{
    const std::wstring path = (std::filesystem::path(Path()).parent_path() / L"gone" / L"settings.xml").wstring();
    EXPECT_FALSE(SaveSettingsFile(Importer::Settings(Importer::Settings::DefaultsOnly{}), path));
    EXPECT_FALSE(FileExists(path.c_str()));
    const std::vector<std::wstring> errors = LoggedErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].starts_with(L"ERROR: The settings could not be saved to " + path)) << WideToUtf8(errors[0]);
}

TEST(SettingsPath, IsSettingsXmlInTheSuiteFoldersOfTheRoamingApplicationData)
{
    const std::wstring path = GetSettingsPath();
    EXPECT_EQ(path, GetKnownFolderPath(FOLDERID_RoamingAppData) + L"\\quillora\\sheafin\\settings.xml");
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(path).parent_path()));
    EXPECT_EQ(GetSettingsPath(), path);
}
