#include "tests/batch_import/SettingsXml.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Importer;
using SettingsXml::Written;

namespace
{
struct WriterCase
{
    const char* name;
    std::function<std::wstring()> write;
    std::wstring expected;
};

Settings Defaults() { return Settings(Settings::DefaultsOnly{}); }

std::shared_ptr<SHFN_LastConfig> LastConfig(std::int32_t targetType, std::wstring targetName)
{
    auto lastConfig = std::make_shared<SHFN_LastConfig>();
    lastConfig->targetType = targetType;
    lastConfig->targetName = std::move(targetName);
    return lastConfig;
}

template <typename Format>
std::shared_ptr<Format> ImportFormatOf(bool attachment, bool content, std::optional<std::wstring> originalPath)
{
    auto format = std::make_shared<Format>();
    format->fileAttachment = attachment;
    format->fileContent = content;
    format->originalPath = std::move(originalPath);
    return format;
}

void Check(const std::vector<WriterCase>& cases)
{
    for (const WriterCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.write(), c.expected);
    }
}
} // namespace

TEST(SettingsWriter, WritesTheRootAndViewByTheirDefaults)
{
    Check({
        {"default tree", [] { return Written(Defaults()); },
         L"<Settings lastFilePath=\"\"><View><WindowPosition/></View></Settings>"},
        {"root values away from their defaults",
         [] {
             Settings settings = Defaults();
             settings.lastFilePath = L"C:\\a.pdf";
             settings.lastUpdateCheck = SYSTEMTIME{2024, 3, 2, 5, 7, 8, 9, 10};
             settings.dirty = true;
             return Written(settings);
         },
         L"<Settings lastFilePath=\"C:\\a.pdf\" lastUpdateCheck=\"2024-03-05T07:08:09.010Z\" dirty=\"true\">"
         L"<View><WindowPosition/></View></Settings>"},
        {"view settings equal to their defaults are left out",
         [] {
             View view;
             view.theme = L"followOffice";
             view.fileList = L"list";
             return Written(view);
         },
         L"<View><WindowPosition/></View>"},
        {"view settings of the user, any text",
         [] { return Written(View(L"dark", L"tiles", WP::WindowPosition())); },
         L"<View theme=\"dark\" fileList=\"tiles\"><WindowPosition/></View>"},
        {"window position",
         [] {
             View view;
             view.windowPosition.x = 10;
             view.windowPosition.y = 20;
             view.windowPosition.width = 300;
             view.windowPosition.height = 200;
             view.windowPosition.showCmd = 3;
             return Written(view);
         },
         L"<View><WindowPosition x=\"10\" y=\"20\" width=\"300\" height=\"200\" showCmd=\"3\"/></View>"},
        {"last configuration after the view",
         [] {
             Settings settings = Defaults();
             settings.lastConfig = std::make_shared<SHFN_LastConfig>();
             return Written(settings);
         },
         L"<Settings lastFilePath=\"\"><View><WindowPosition/></View><LastConfig><Config><OutputFormat/>"
         L"<PrintoutOptions/><Entries/></Config></LastConfig></Settings>"},
    });
}

TEST(SettingsWriter, WritesTheLastTargetOnlyWhereItDiffersFromUnknown)
{
    Check({
        {"no target", [] { return Written(*LastConfig(0, L"Unknown Location")); },
         L"<LastConfig><Config><OutputFormat/><PrintoutOptions/><Entries/></Config></LastConfig>"},
        {"a section", [] { return Written(*LastConfig(4, L"Travel")); },
         L"<LastConfig targetType=\"4\" targetName=\"Travel\"><Config><OutputFormat/><PrintoutOptions/><Entries/>"
         L"</Config></LastConfig>"},
        {"a page named like the default", [] { return Written(*LastConfig(8, L"Unknown Location")); },
         L"<LastConfig targetType=\"8\"><Config><OutputFormat/><PrintoutOptions/><Entries/></Config></LastConfig>"},
        {"an empty name differs from the default", [] { return Written(*LastConfig(0, L"")); },
         L"<LastConfig targetName=\"\"><Config><OutputFormat/><PrintoutOptions/><Entries/></Config></LastConfig>"},
    });
}

TEST(SettingsWriter, WritesTheOutputModesAndLocationsThatArePresent)
{
    Check({
        {"no mode", [] { return Written(OutputFormat()); }, L"<OutputFormat/>"},
        {"single page into an existing page, empty link",
         [] {
             return Written(OutputFormat(std::make_shared<InsertAllFilesIntoASinglePage>(
                                             std::make_shared<ExistingLocation_UseExistingPage>(L""), nullptr),
                                         nullptr, nullptr));
         },
         L"<OutputFormat><InsertAllFilesIntoASinglePage><UseExistingPage at=\"\"/></InsertAllFilesIntoASinglePage>"
         L"</OutputFormat>"},
        {"single page, new page under a section",
         [] {
             return Written(InsertAllFilesIntoASinglePage(nullptr,
                                                          std::make_shared<NewLocation_CreateNewPage>(L"onenote:#s")));
         },
         L"<InsertAllFilesIntoASinglePage><CreateNewPage under=\"onenote:#s\"/></InsertAllFilesIntoASinglePage>"},
        {"page per file, both locations, existing first",
         [] {
             return Written(InsertEachFileOnASeparatePage(std::make_shared<ExistingLocation_UseExistingSection>(L"x"),
                                                          std::make_shared<NewLocation_CreateNewSection>(L"")));
         },
         L"<InsertEachFileOnASeparatePage><UseExistingSection at=\"x\"/><CreateNewSection under=\"\"/>"
         L"</InsertEachFileOnASeparatePage>"},
        {"page per printout page",
         [] {
             return Written(InsertEachPrintoutPageOnASeparatePage(
                 nullptr, std::make_shared<NewLocation_CreateNewSection>(L"onenote:#nb")));
         },
         L"<InsertEachPrintoutPageOnASeparatePage><CreateNewSection under=\"onenote:#nb\"/>"
         L"</InsertEachPrintoutPageOnASeparatePage>"},
        {"two modes, in the order of the element tree",
         [] {
             return Written(OutputFormat(nullptr, std::make_shared<InsertEachFileOnASeparatePage>(),
                                         std::make_shared<InsertEachPrintoutPageOnASeparatePage>()));
         },
         L"<OutputFormat><InsertEachFileOnASeparatePage/><InsertEachPrintoutPageOnASeparatePage/></OutputFormat>"},
    });
}

TEST(SettingsWriter, WritesImportFormatsPrintoutOptionsAndEntries)
{
    Check({
        {"import format off, no path reference",
         [] { return Written(*ImportFormatOf<ImportFormat_DefaultImportFormat>(false, false, std::nullopt)); },
         L"<DefaultImportFormat/>"},
        {"import format on, any path reference text",
         [] { return Written(*ImportFormatOf<ImportFormat_DefaultImportFormat>(true, true, L"PlainText")); },
         L"<DefaultImportFormat fileAttachment=\"true\" fileContent=\"true\" originalPath=\"PlainText\"/>"},
        {"an empty path reference is written",
         [] { return Written(*ImportFormatOf<ImportFormat>(false, true, L"")); },
         L"<ImportFormat fileContent=\"true\" originalPath=\"\"/>"},
        {"no scale", [] { return Written(PrintoutOptions()); }, L"<PrintoutOptions/>"},
        {"a scale",
         [] {
             PrintoutOptions options;
             options.scale = 175;
             return Written(options);
         },
         L"<PrintoutOptions scale=\"175\"/>"},
        {"configuration without anything keeps its three required children",
         [] { return Written(Importer::Config()); },
         L"<Config><OutputFormat/><PrintoutOptions/><Entries/></Config>"},
        {"configuration with a default import format between output and printout",
         [] {
             return Written(Importer::Config(OutputFormat(),
                                             ImportFormatOf<ImportFormat_DefaultImportFormat>(true, false, std::nullopt),
                                             PrintoutOptions(), Entries()));
         },
         L"<Config><OutputFormat/><DefaultImportFormat fileAttachment=\"true\"/><PrintoutOptions/><Entries/></Config>"},
        {"an entry with an empty path",
         [] { return Written(Entry(L"", nullptr, nullptr)); }, L"<Entry path=\"\"/>"},
        {"a folder's nested entries inside its entry, import format first",
         [] {
             Collection<Entry> inner;
             inner.push_back(std::make_shared<Entry>(L"C:\\f\\a.txt", nullptr, nullptr));
             inner.push_back(std::make_shared<Entry>(L"C:\\f\\b.txt", nullptr, nullptr));
             return Written(Entry(L"C:\\f", ImportFormatOf<ImportFormat>(true, false, std::nullopt),
                                  std::make_shared<Entries>(std::move(inner))));
         },
         L"<Entry path=\"C:\\f\"><ImportFormat fileAttachment=\"true\"/><Entries><Entry path=\"C:\\f\\a.txt\"/>"
         L"<Entry path=\"C:\\f\\b.txt\"/></Entries></Entry>"},
        {"markup characters in a path are escaped",
         [] { return Written(Entry(L"C:\\a&b <\"c\".txt", nullptr, nullptr)); },
         L"<Entry path=\"C:\\a&amp;b &lt;&quot;c&quot;.txt\"/>"},
    });
}
