#include "batch_import/WorkspaceConversion.h"

#include "framework/ui/Dpi.h"

#include <string>

namespace
{
constexpr wchar_t PlainTextPathName[] = L"plainText";
constexpr wchar_t HyperlinkPathName[] = L"hyperlink";

std::optional<std::wstring> OriginalPathName(int32_t originalPath)
{
    switch (originalPath)
    {
    case Config::PlainTextPath: return PlainTextPathName;
    case Config::HyperlinkPath: return HyperlinkPathName;
    default: return std::nullopt;
    }
}

int32_t OriginalPathValue(const std::optional<std::wstring>& name)
{
    if (name == PlainTextPathName)
        return Config::PlainTextPath;
    if (name == HyperlinkPathName)
        return Config::HyperlinkPath;
    return Config::NoOriginalPath;
}

// The mode's target: its existing location when it has one, else where it creates a new one.
template <typename Mode>
void ApplyOutputMode(const Mode& mode, int32_t outputFormat, Config& config)
{
    config.outputFormat = outputFormat;
    if (mode.existing)
    {
        config.createNew = false;
        config.location = mode.existing->at;
    }
    else if (mode.created)
    {
        config.createNew = true;
        config.location = mode.created->under;
    }
}

template <typename Mode>
std::shared_ptr<Mode> BuildOutputMode(const Config& config)
{
    auto mode = std::make_shared<Mode>();
    if (config.createNew)
        mode->created = std::make_shared<typename Mode::NewLocation>(config.location);
    else
        mode->existing = std::make_shared<typename Mode::ExistingLocation>(config.location);
    return mode;
}
} // namespace

Collection<Importer::Entry> BuildImporterEntries(const std::vector<Config::Entry>& entries)
{
    Collection<Importer::Entry> built;
    for (const Config::Entry& entry : entries)
    {
        Collection<Importer::Entry> nested = BuildImporterEntries(entry.entries);
        std::shared_ptr<Importer::Entries> nestedList;
        if (!nested.empty())
            nestedList = std::make_shared<Importer::Entries>(std::move(nested));
        built.push_back(std::make_shared<Importer::Entry>(entry.path, nullptr, std::move(nestedList)));
    }
    return built;
}

std::shared_ptr<Importer::Config> BuildImporterConfig(const Config& config)
{
    auto built = std::make_shared<Importer::Config>();
    built->entries = Importer::Entries(BuildImporterEntries(config.entries));

    auto importFormat = std::make_shared<Importer::ImportFormat_DefaultImportFormat>();
    importFormat->fileAttachment = config.importFormat.fileAttachment;
    importFormat->fileContent = config.importFormat.fileContent;
    importFormat->originalPath = OriginalPathName(config.importFormat.originalPath);
    built->defaultImportFormat = std::move(importFormat);

    built->printoutOptions.scale = config.printoutScale;

    Importer::OutputFormat& output = built->outputFormat;
    switch (config.outputFormat)
    {
    case Config::InsertAllFilesIntoASinglePage:
        output.singlePage = BuildOutputMode<Importer::InsertAllFilesIntoASinglePage>(config);
        break;
    case Config::InsertEachFileOnASeparatePage:
        output.pagePerFile = BuildOutputMode<Importer::InsertEachFileOnASeparatePage>(config);
        break;
    case Config::InsertEachPrintoutPageOnASeparatePage:
        output.pagePerPrintoutPage = BuildOutputMode<Importer::InsertEachPrintoutPageOnASeparatePage>(config);
        break;
    default:
        break;
    }
    return built;
}

std::vector<Config::Entry> ApplyImporterEntries(const Importer::Entries* entries)
{
    std::vector<Config::Entry> applied;
    if (!entries)
        return applied;
    applied.reserve(entries->entries.size());
    for (const std::shared_ptr<Importer::Entry>& entry : entries->entries)
    {
        if (entry)
            applied.push_back(Config::Entry{entry->path, ApplyImporterEntries(entry->entries.get()), 0});
    }
    return applied;
}

Config ApplyImporterConfig(const Importer::Config& config) { return ApplyImporterConfig(config, GetDpiScaleX()); }

Config ApplyImporterConfig(const Importer::Config& config, float dpiScaleX)
{
    Config applied;
    if (const auto& importFormat = config.defaultImportFormat)
    {
        applied.importFormat.fileAttachment = importFormat->fileAttachment;
        applied.importFormat.fileContent = importFormat->fileContent;
        applied.importFormat.originalPath = OriginalPathValue(importFormat->originalPath);
    }

    const std::optional<uint32_t>& scale = config.printoutOptions.scale;
    if (scale && *scale >= MinimumPrintoutScale && *scale <= MaximumPrintoutScale)
        applied.printoutScale = *scale;
    else
        applied.printoutScale = static_cast<uint32_t>(dpiScaleX * 150 + 0.5f);

    const Importer::OutputFormat& output = config.outputFormat;
    if (output.singlePage)
        ApplyOutputMode(*output.singlePage, Config::InsertAllFilesIntoASinglePage, applied);
    else if (output.pagePerFile)
        ApplyOutputMode(*output.pagePerFile, Config::InsertEachFileOnASeparatePage, applied);
    else if (output.pagePerPrintoutPage)
        ApplyOutputMode(*output.pagePerPrintoutPage, Config::InsertEachPrintoutPageOnASeparatePage, applied);

    applied.entries = ApplyImporterEntries(&config.entries);
    return applied;
}

Config LoadWorkspaceConfig(const Importer::Settings& settings)
{
    if (!settings.lastConfig)
        return Config();
    return ApplyImporterConfig(settings.lastConfig->config);
}

void StoreWorkspaceConfig(Importer::Settings& settings, const Config& config)
{
    if (!settings.lastConfig)
        settings.lastConfig = std::make_shared<Importer::SHFN_LastConfig>();
    const std::shared_ptr<Importer::Config> built = BuildImporterConfig(config);
    Importer::Config& stored = settings.lastConfig->config;
    stored.outputFormat = built->outputFormat;
    stored.defaultImportFormat = built->defaultImportFormat;
    stored.printoutOptions = built->printoutOptions;
    stored.entries = std::move(built->entries);
}
