#include "framework/text/Text.h"
#include "tests/batch_import/SettingsXml.h"

#include <gtest/gtest.h>

#include <string>

using SettingsXml::Read;
using SettingsXml::Written;

namespace
{
// Every field of a run configuration, entries with their depth, as one comparable text.
std::wstring Describe(const std::vector<Config::Entry>& entries)
{
    std::wstring text;
    for (const Config::Entry& entry : entries)
        text += L"{" + entry.path + L"|" + std::to_wstring(entry.depth) + Describe(entry.entries) + L"}";
    return text;
}

std::wstring Describe(const Config& config)
{
    return L"attachment=" + std::to_wstring(config.importFormat.fileAttachment) +
           L" content=" + std::to_wstring(config.importFormat.fileContent) +
           L" path=" + std::to_wstring(config.importFormat.originalPath) +
           L" output=" + std::to_wstring(config.outputFormat) + L" new=" + std::to_wstring(config.createNew) +
           L" location=" + config.location + L" scale=" + std::to_wstring(config.printoutScale) +
           L" entries=" + Describe(config.entries);
}

// The configuration saved in a file of that last configuration.
Config FromFile(const std::wstring& lastConfig, float dpiScaleX = 96.0f / 72)
{
    const Importer::Settings settings = Read(L"<?xml version=\"1.0\"?><Settings>" + lastConfig + L"</Settings>");
    return ApplyImporterConfig(settings.lastConfig->config, dpiScaleX);
}

Config Sample()
{
    Config config;
    config.entries = {{L"C:\\a.pdf", {}, 0},
                      {L"C:\\Folder", {{L"C:\\Folder\\Sub", {{L"C:\\Folder\\Sub\\b.txt", {}, 0}}, 0}}, 0},
                      {L"C:\\Empty", {}, 0}};
    config.location = L"onenote:#Travel&section-id={1}";
    config.printoutScale = 250;
    return config;
}
} // namespace

TEST(WorkspaceConversion, EveryFieldSurvivesBuildingAndApplying)
{
    for (int32_t outputFormat = 0; outputFormat <= 2; ++outputFormat)
        for (bool createNew : {false, true})
            for (int32_t originalPath = 0; originalPath <= 2; ++originalPath)
            {
                Config config = Sample();
                config.outputFormat = outputFormat;
                config.createNew = createNew;
                config.importFormat = {.fileAttachment = createNew, .fileContent = !createNew,
                                       .originalPath = originalPath};
                SCOPED_TRACE(WideToUtf8(Describe(config)));
                EXPECT_EQ(Describe(ApplyImporterConfig(*BuildImporterConfig(config), 1.0f)), Describe(config));
            }
}

TEST(WorkspaceConversion, BuildsOneModeWithOneLocationAndEveryPart)
{
    struct Case
    {
        int32_t outputFormat;
        bool createNew;
        std::wstring output;
    };
    const std::vector<Case> cases = {
        {0, false,
         L"<InsertAllFilesIntoASinglePage><UseExistingPage at=\"L\"/></InsertAllFilesIntoASinglePage>"},
        {0, true, L"<InsertAllFilesIntoASinglePage><CreateNewPage under=\"L\"/></InsertAllFilesIntoASinglePage>"},
        {1, false,
         L"<InsertEachFileOnASeparatePage><UseExistingSection at=\"L\"/></InsertEachFileOnASeparatePage>"},
        {1, true,
         L"<InsertEachFileOnASeparatePage><CreateNewSection under=\"L\"/></InsertEachFileOnASeparatePage>"},
        {2, false,
         L"<InsertEachPrintoutPageOnASeparatePage><UseExistingSection at=\"L\"/>"
         L"</InsertEachPrintoutPageOnASeparatePage>"},
        {2, true,
         L"<InsertEachPrintoutPageOnASeparatePage><CreateNewSection under=\"L\"/>"
         L"</InsertEachPrintoutPageOnASeparatePage>"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "output " << c.outputFormat << ", new " << c.createNew);
        Config config;
        config.outputFormat = c.outputFormat;
        config.createNew = c.createNew;
        config.location = L"L";
        config.importFormat.originalPath = Config::PlainTextPath;
        config.entries = {{L"C:\\Folder", {{L"C:\\Folder\\a.txt", {}, 0}}, 0}, {L"C:\\Empty", {}, 0}};
        EXPECT_EQ(Written(*BuildImporterConfig(config)),
                  L"<Config><OutputFormat>" + c.output +
                      L"</OutputFormat><DefaultImportFormat originalPath=\"plainText\"/>"
                      L"<PrintoutOptions scale=\"200\"/><Entries><Entry path=\"C:\\Folder\"><Entries>"
                      L"<Entry path=\"C:\\Folder\\a.txt\"/></Entries></Entry><Entry path=\"C:\\Empty\"/></Entries>"
                      L"</Config>");
    }
}

TEST(WorkspaceConversion, ValuesOutOfRangeAreSavedAsNothingAndReadAsTheDefault)
{
    Config config = Sample();
    config.outputFormat = 5;
    config.createNew = true;
    config.importFormat.originalPath = 3;
    const std::shared_ptr<Importer::Config> built = BuildImporterConfig(config);
    EXPECT_EQ(Written(built->outputFormat), L"<OutputFormat/>");
    EXPECT_EQ(Written(*built->defaultImportFormat), L"<DefaultImportFormat/>");

    const Config applied = ApplyImporterConfig(*built, 1.0f);
    EXPECT_EQ(applied.outputFormat, 0);
    EXPECT_FALSE(applied.createNew);
    EXPECT_EQ(applied.location, L"");
    EXPECT_EQ(applied.importFormat.originalPath, 0);
}

TEST(WorkspaceConversion, AppliesSavedFilesByTheReadingRules)
{
    struct Case
    {
        const char* name;
        std::wstring lastConfig;
        std::wstring expected;
    };
    const std::wstring noEntries = L" entries=";
    const std::vector<Case> cases = {
        {"no configuration at all: the defaults, the scale of the screen", L"<LastConfig/>",
         L"attachment=0 content=0 path=0 output=0 new=0 location= scale=200" + noEntries},
        {"path reference names differing in case mean none",
         L"<LastConfig><Config><DefaultImportFormat fileAttachment=\"True\" originalPath=\"PlainText\"/>"
         L"</Config></LastConfig>",
         L"attachment=1 content=0 path=0 output=0 new=0 location= scale=200" + noEntries},
        {"hyperlink", L"<LastConfig><Config><DefaultImportFormat originalPath=\"hyperlink\"/></Config></LastConfig>",
         L"attachment=0 content=0 path=2 output=0 new=0 location= scale=200" + noEntries},
        {"an existing location wins over a new one, whatever their order",
         L"<LastConfig><Config><OutputFormat><InsertEachFileOnASeparatePage><CreateNewSection under=\"n\"/>"
         L"<UseExistingSection at=\"e\"/></InsertEachFileOnASeparatePage></OutputFormat></Config></LastConfig>",
         L"attachment=0 content=0 path=0 output=1 new=0 location=e scale=200" + noEntries},
        {"several modes: the first of single page, each file, each printout page",
         L"<LastConfig><Config><OutputFormat><InsertEachPrintoutPageOnASeparatePage><CreateNewSection under=\"x\"/>"
         L"</InsertEachPrintoutPageOnASeparatePage><InsertEachFileOnASeparatePage><CreateNewSection under=\"n\"/>"
         L"</InsertEachFileOnASeparatePage></OutputFormat></Config></LastConfig>",
         L"attachment=0 content=0 path=0 output=1 new=1 location=n scale=200" + noEntries},
        {"a mode without a location keeps the default target",
         L"<LastConfig><Config><OutputFormat><InsertEachPrintoutPageOnASeparatePage/></OutputFormat></Config>"
         L"</LastConfig>",
         L"attachment=0 content=0 path=0 output=2 new=0 location= scale=200" + noEntries},
        {"folders with and without contents, an entry's own format not read",
         L"<LastConfig><Config><Entries><Entry path=\"F\"><ImportFormat fileAttachment=\"true\"/><Entries>"
         L"<Entry path=\"F\\a\"/></Entries></Entry><Entry path=\"E\"/></Entries></Config></LastConfig>",
         L"attachment=0 content=0 path=0 output=0 new=0 location= scale=200 entries={F|0{F\\a|0}}{E|0}"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Describe(FromFile(c.lastConfig)), c.expected);
    }
}

TEST(WorkspaceConversion, PrintoutScaleIsKeptWithinItsRangeAndOtherwiseFollowsTheScreen)
{
    struct Case
    {
        const char* name;
        std::wstring printoutOptions;
        float dpiScaleX;
        uint32_t expected;
    };
    const float dpi96 = 96.0f / 72;
    const float dpi144 = 144.0f / 72;
    const std::vector<Case> cases = {
        {"absent at 96 dpi", L"<PrintoutOptions/>", dpi96, 200},
        {"absent at 144 dpi", L"<PrintoutOptions/>", dpi144, 300},
        {"an odd value within the range", L"<PrintoutOptions scale=\"175\"/>", dpi144, 175},
        {"the lowest", L"<PrintoutOptions scale=\"100\"/>", dpi96, 100},
        {"beyond 500, as the options dialog offers", L"<PrintoutOptions scale=\"600\"/>", dpi96, 600},
        {"the highest", L"<PrintoutOptions scale=\"1000\"/>", dpi96, 1000},
        {"below the range", L"<PrintoutOptions scale=\"99\"/>", dpi96, 200},
        {"above the range", L"<PrintoutOptions scale=\"1001\"/>", dpi144, 300},
        {"zero", L"<PrintoutOptions scale=\"0\"/>", dpi144, 300},
        {"no number", L"<PrintoutOptions scale=\"abc\"/>", dpi96, 200},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FromFile(L"<LastConfig><Config>" + c.printoutOptions + L"</Config></LastConfig>", c.dpiScaleX)
                      .printoutScale,
                  c.expected);
    }
}

TEST(WorkspaceConversion, SettingsWithoutLastConfigurationGiveTheDefaultConfigOnEveryScreen)
{
    const Config config = LoadWorkspaceConfig(Importer::Settings(Importer::Settings::DefaultsOnly{}));
    EXPECT_EQ(Describe(config), Describe(Config()));
    EXPECT_EQ(config.printoutScale, 200u);
}

TEST(WorkspaceConversion, StoringTheWorkspaceKeepsTheLastTargetAndReplacesTheConfiguration)
{
    Importer::Settings settings(Importer::Settings::DefaultsOnly{});
    Config first = Sample();
    StoreWorkspaceConfig(settings, first);
    ASSERT_TRUE(settings.lastConfig);
    EXPECT_EQ(settings.lastConfig->targetType, 0);
    EXPECT_EQ(settings.lastConfig->targetName, L"Unknown Location");
    settings.lastConfig->targetType = 4;
    const std::shared_ptr<Importer::SHFN_LastConfig> lastConfig = settings.lastConfig;

    Config second;
    second.outputFormat = Config::InsertEachPrintoutPageOnASeparatePage;
    second.entries = {{L"C:\\only.pdf", {}, 0}};
    StoreWorkspaceConfig(settings, second);
    EXPECT_EQ(settings.lastConfig, lastConfig);
    EXPECT_EQ(settings.lastConfig->targetType, 4);
    EXPECT_EQ(Describe(LoadWorkspaceConfig(settings)), Describe(ApplyImporterConfig(*BuildImporterConfig(second))));
    const Importer::Entries& entries = settings.lastConfig->config.entries;
    ASSERT_EQ(entries.entries.size(), 1u);
    EXPECT_EQ(entries.entries[0]->parentList, &entries.entries);
}
