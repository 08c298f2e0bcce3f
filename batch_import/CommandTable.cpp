#include "batch_import/CommandTable.h"

const CommandTable& GetCommandTable()
{
    static const CommandTable table{
        {Command::StartImport, {Image::StartImport, MainMenuId, 0}},
        {Command::StopImport, {0, MainMenuId, 0}},
        {Command::Exit, {0, MainMenuId, 0}},
        {Command::AddFiles, {Image::AddFiles, MainMenuId, 1}},
        {Command::AddFolders, {Image::AddFolders, MainMenuId, 1}},
        {Command::RemoveSelected, {Image::Remove, MainMenuId, 1}},
        {Command::SelectAll, {0, MainMenuId, 1}},
        {Command::MoveUp, {Image::MoveUp, MainMenuId, 1}},
        {Command::MoveDown, {Image::MoveDown, MainMenuId, 1}},
        {Command::ClearFileList, {0, MainMenuId, 1}},
        {Command::ListView, {0, MainMenuId, 2}},
        {Command::IconView, {0, MainMenuId, 2}},
        {Command::ThemeLight, {0, MainMenuId, 2}},
        {Command::ThemeDark, {0, MainMenuId, 2}},
        {Command::ThemeFollowOffice, {0, MainMenuId, 2}},
        {Command::FileAttachment, {0, MainMenuId, 3}},
        {Command::FileContent, {0, MainMenuId, 3}},
        {Command::PathAsText, {0, MainMenuId, 3}},
        {Command::PathAsLink, {0, MainMenuId, 3}},
        {Command::SinglePage, {0, MainMenuId, 3}},
        {Command::PagePerFile, {0, MainMenuId, 3}},
        {Command::PagePerPrintoutPage, {0, MainMenuId, 3}},
        {Command::PickLocation, {0, MainMenuId, 3}},
        {Command::ViewHelp, {0, MainMenuId, 4}},
        {Command::SendFeedback, {0, MainMenuId, 4}},
        {Command::CheckForUpdates, {0, MainMenuId, 4}},
    };
    return table;
}

UI::MenuCommandPlaces GetMenuCommandPlaces(const CommandTable& table)
{
    UI::MenuCommandPlaces places;
    for (const auto& [command, info] : table)
        places.emplace(command, std::make_pair(static_cast<int>(info.menu), static_cast<int>(info.popup)));
    return places;
}
