#include "batch_import/ImportSettingsMenu.h"

#include "batch_import/CommandTable.h"

std::vector<ImportSettingsItem> ImportSettingsItems(const Config& config, const std::wstring& targetText)
{
    using Item = ImportSettingsItem;
    const Config::ImportFormat& format = config.importFormat;
    const auto check = [](bool on) { return on ? Item::Check : Item::None; };
    const auto radio = [&](int32_t value) { return config.outputFormat == value ? Item::Radio : Item::None; };
    return {
        {L"Insert as file &attachment", check(format.fileAttachment)},
        {L"Insert file &content (text, printout, image)", check(format.fileContent)},
        {L"", Item::Separator},
        {L"Insert original file path as plain &text", check(format.originalPath == Config::PlainTextPath)},
        {L"Insert original file path as hyper&link", check(format.originalPath == Config::HyperlinkPath)},
        {L"", Item::Separator},
        {L"Insert all files into a &single page", radio(Config::InsertAllFilesIntoASinglePage)},
        {L"Insert each file into a separate &page", radio(Config::InsertEachFileOnASeparatePage)},
        {L"Insert each print&out page into a separate page", radio(Config::InsertEachPrintoutPageOnASeparatePage)},
        {L"", Item::Separator},
        {config.location.empty() ? L"Pic&k a location to import..." : L"Pic&k a location to import (" + targetText + L")",
         Item::None},
    };
}

unsigned ImportSettingsCommand(int position)
{
    switch (position)
    {
    case 1: return Command::FileAttachment;
    case 2: return Command::FileContent;
    case 4: return Command::PathAsText;
    case 5: return Command::PathAsLink;
    case 7: return Command::SinglePage;
    case 8: return Command::PagePerFile;
    case 9: return Command::PagePerPrintoutPage;
    case 11: return Command::PickLocation;
    default: return 0;
    }
}
