#pragma once
// The main window's command vocabulary: the ids its menu, accelerators and buttons send, and the
// table that ties each menu command to its picture and to the popup of the menu that holds it.

#include "framework/ui/WindowHelpers.h"

#include <map>

namespace Command
{
enum : unsigned
{
    Exit = 40005,
    AddFiles = 40006,
    AddFolders = 40007,
    RemoveSelected = 40008,
    SelectAll = 40009,
    MoveUp = 40010,
    MoveDown = 40011,
    ImportSettings = 40012,
    FileAttachment = 40013,
    FileContent = 40014,
    OriginalPath = 40015,
    PathAsText = 40016,
    PathAsLink = 40017,
    SinglePage = 40018,
    PagePerFile = 40019,
    PagePerPrintoutPage = 40020,
    PickLocation = 40021,
    CheckForUpdates = 40023,
    ViewHelp = 40024,
    SendFeedback = 40025,
    ThemeLight = 40030,
    ThemeDark = 40031,
    ThemeFollowOffice = 40032,
    ListView = 40034,
    IconView = 40035,
    StartImport = 40036,
    StopImport = 40037,
    ClearFileList = 40038,
    PrintoutOptions = 40039,
};
} // namespace Command

// The main menu's resource id and the accelerator table's.
constexpr unsigned MainMenuId = 101;
constexpr unsigned MainAcceleratorsId = 103;

// Pictures: "FILE" resources holding PNG images; the dark variant of each is DarkImageOffset above.
namespace Image
{
enum : int
{
    AddFiles = 354,
    AddFolders = 355,
    Remove = 357,
    ImportFormat = 359,
    MoveUp = 386,
    MoveDown = 387,
    StartImport = 390,
    StartImportLarge = 391,
    StartImportToolbar = 392,
};
} // namespace Image
constexpr int DarkImageOffset = 1000;

struct CommandInfo
{
    // 0: none.
    unsigned image = 0;
    unsigned menu = MainMenuId;
    // The top-level popup of the menu that holds the command, directly or in a nested popup.
    unsigned popup = 0;
};

using CommandTable = std::map<unsigned, CommandInfo>;

// Every command of the main menu but the printout options, which has no picture and whose item
// is never changed.
const CommandTable& GetCommandTable();

// Where the framework's menu helper finds each command: (menu id, popup position).
UI::MenuCommandPlaces GetMenuCommandPlaces(const CommandTable& table);
