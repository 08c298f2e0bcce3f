#include "framework/text/Text.h"
#include "tests/batch_import/SettingsXml.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Importer;
using SettingsXml::Read;
using SettingsXml::Written;

namespace
{
constexpr wchar_t Declaration[] = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>";

struct ReaderCase
{
    const char* name;
    std::wstring xml;
    std::function<void(const Settings&)> check;
};

void Check(const std::vector<ReaderCase>& cases)
{
    for (const ReaderCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.check(Read(std::wstring(Declaration) + c.xml));
    }
}

// The entry paths of a list, a folder's contents in brackets after it.
std::wstring Paths(const Entries& entries)
{
    std::wstring paths;
    for (const std::shared_ptr<Entry>& entry : entries.entries)
    {
        paths += paths.empty() ? L"" : L" ";
        paths += entry->path;
        if (entry->entries)
            paths += L"[" + Paths(*entry->entries) + L"]";
    }
    return paths;
}
} // namespace

TEST(SettingsReader, AFileWrittenBySettingsReadsBackIntoAnEqualTree)
{
    const Settings full = SettingsXml::FullWorkspace();
    const Settings read = Read(std::wstring(Declaration) + Written(full));
    EXPECT_EQ(Written(read), Written(full));
    ASSERT_TRUE(read.lastUpdateCheck);
    EXPECT_EQ(read.lastUpdateCheck->wDayOfWeek, 0);
    EXPECT_EQ(read.lastUpdateCheck->wMilliseconds, 10);
}

TEST(SettingsReader, ReadsBooleansNumbersAndTextsByTheirRules)
{
    for (const wchar_t* falseText : {L"false", L"0", L"TRUE", L"", L"yes"})
    {
        SCOPED_TRACE(testing::Message() << "dirty=\"" << WideToUtf8(falseText) << "\"");
        EXPECT_FALSE(Read(std::wstring(L"<Settings dirty=\"") + falseText + L"\"/>").dirty);
    }
    for (const wchar_t* trueText : {L"true", L"True", L"1"})
    {
        SCOPED_TRACE(testing::Message() << "dirty=\"" << WideToUtf8(trueText) << "\"");
        EXPECT_TRUE(Read(std::wstring(L"<Settings dirty=\"") + trueText + L"\"/>").dirty);
    }

    Check({
        {"a target type that is no number reads as 0", L"<Settings><LastConfig targetType=\"abc\"/></Settings>",
         [](const Settings& s) { EXPECT_EQ(s.lastConfig->targetType, 0); }},
        {"a target type takes its leading number", L"<Settings><LastConfig targetType=\"-12px\"/></Settings>",
         [](const Settings& s) { EXPECT_EQ(s.lastConfig->targetType, -12); }},
        {"a scale that is no number is a present 0",
         L"<Settings><LastConfig><Config><PrintoutOptions scale=\"abc\"/></Config></LastConfig></Settings>",
         [](const Settings& s) { EXPECT_EQ(s.lastConfig->config.printoutOptions.scale, 0u); }},
        {"texts are kept as they stand",
         L"<Settings lastFilePath=\" x \"><View theme=\"purple\" fileList=\"\"/><LastConfig targetName=\"\">"
         L"<Config><DefaultImportFormat originalPath=\"Hyperlink\"/></Config></LastConfig></Settings>",
         [](const Settings& s) {
             EXPECT_EQ(s.lastFilePath, L" x ");
             EXPECT_EQ(s.view.theme, L"purple");
             EXPECT_EQ(s.view.fileList, L"");
             EXPECT_EQ(s.lastConfig->targetName, L"");
             EXPECT_EQ(s.lastConfig->config.defaultImportFormat->originalPath, L"Hyperlink");
         }},
        {"the update check in UTC, an offset taken off",
         L"<Settings lastUpdateCheck=\"2024-03-05T07:08:09.010+01:00\"/>",
         [](const Settings& s) {
             ASSERT_TRUE(s.lastUpdateCheck);
             EXPECT_EQ(s.lastUpdateCheck->wHour, 6);
             EXPECT_EQ(s.lastUpdateCheck->wMinute, 8);
         }},
        {"the window position",
         L"<Settings><View><WindowPosition x=\"-4\" y=\"7\" width=\"800\" height=\"600\" showCmd=\"3\"/></View>"
         L"</Settings>",
         [](const Settings& s) {
             EXPECT_EQ(s.view.windowPosition.x, -4);
             EXPECT_EQ(s.view.windowPosition.height, 600);
             EXPECT_EQ(s.view.windowPosition.showCmd, 3u);
             EXPECT_EQ(s.view.windowPosition.flags, 0u);
         }},
        {"unknown attributes are passed over",
         L"<Settings colour=\"red\" dirty=\"1\"><View zoom=\"2\" theme=\"light\"/></Settings>",
         [](const Settings& s) {
             EXPECT_TRUE(s.dirty);
             EXPECT_EQ(s.view.theme, L"light");
         }},
    });
}

TEST(SettingsReader, TakesEachSingleChildOnceAndEntriesUntilAnotherElement)
{
    Check({
        {"a second last configuration is passed over",
         L"<Settings><LastConfig targetType=\"4\" targetName=\"A\"/><LastConfig/></Settings>",
         [](const Settings& s) {
             ASSERT_TRUE(s.lastConfig);
             EXPECT_EQ(s.lastConfig->targetType, 4);
             EXPECT_EQ(s.lastConfig->targetName, L"A");
         }},
        {"a last configuration without its configuration keeps the default one",
         L"<Settings><LastConfig targetType=\"8\"/></Settings>",
         [](const Settings& s) {
             ASSERT_TRUE(s.lastConfig);
             EXPECT_EQ(Written(s.lastConfig->config), L"<Config><OutputFormat/><PrintoutOptions/><Entries/></Config>");
         }},
        {"an element of another name ends the run of entries",
         L"<Settings><LastConfig><Config><Entries><Entry path=\"a\"/><Note/><Entry path=\"b\"/></Entries>"
         L"</Config></LastConfig></Settings>",
         [](const Settings& s) { EXPECT_EQ(Paths(s.lastConfig->config.entries), L"a"); }},
        {"nested entries at any depth, each list owned by its entry",
         L"<Settings><LastConfig><Config><Entries><Entry path=\"a\"><Entries><Entry path=\"b\"><Entries>"
         L"<Entry path=\"c\"/><Entry path=\"d\"/></Entries></Entry></Entries></Entry><Entry path=\"e\"/></Entries>"
         L"</Config></LastConfig></Settings>",
         [](const Settings& s) {
             const Entries& top = s.lastConfig->config.entries;
             EXPECT_EQ(Paths(top), L"a[b[c d]] e");
             const Entries& inner = *top.entries[0]->entries;
             EXPECT_EQ(inner.entries[0]->parentList, &inner.entries);
             EXPECT_EQ(top.entries[1]->parentList, &top.entries);
         }},
        {"an output format with two modes keeps both, each location too",
         L"<Settings><LastConfig><Config><OutputFormat><InsertEachFileOnASeparatePage>"
         L"<CreateNewSection under=\"n\"/><UseExistingSection at=\"e\"/></InsertEachFileOnASeparatePage>"
         L"<InsertAllFilesIntoASinglePage><UseExistingPage at=\"p\"/></InsertAllFilesIntoASinglePage>"
         L"</OutputFormat></Config></LastConfig></Settings>",
         [](const Settings& s) {
             const OutputFormat& output = s.lastConfig->config.outputFormat;
             ASSERT_TRUE(output.singlePage && output.pagePerFile);
             EXPECT_FALSE(output.pagePerPrintoutPage);
             EXPECT_EQ(output.singlePage->existing->at, L"p");
             EXPECT_EQ(output.pagePerFile->existing->at, L"e");
             EXPECT_EQ(output.pagePerFile->created->under, L"n");
         }},
        {"an entry's own import format is kept",
         L"<Settings><LastConfig><Config><Entries><Entry path=\"a\"><ImportFormat fileContent=\"true\"/></Entry>"
         L"</Entries></Config></LastConfig></Settings>",
         [](const Settings& s) {
             const Entry& entry = *s.lastConfig->config.entries.entries.at(0);
             ASSERT_TRUE(entry.importFormat);
             EXPECT_TRUE(entry.importFormat->fileContent);
             EXPECT_FALSE(entry.importFormat->originalPath);
         }},
    });
}

TEST(SettingsReader, ReadsTheRootByItsLocalNameWithOrWithoutDeclaration)
{
    const std::wstring body = L"<Settings lastFilePath=\"p\" dirty=\"true\"><View theme=\"dark\"/></Settings>";
    for (const std::wstring& xml :
         {body, std::wstring(Declaration) + body,
          std::wstring(L"<s:Settings xmlns:s=\"urn:x\" lastFilePath=\"p\" dirty=\"true\"><s:View theme=\"dark\"/>"
                       L"</s:Settings>")})
    {
        SCOPED_TRACE(WideToUtf8(xml));
        const Settings settings = Read(xml);
        EXPECT_EQ(settings.lastFilePath, L"p");
        EXPECT_TRUE(settings.dirty);
        EXPECT_EQ(settings.view.theme, L"dark");
    }
}
