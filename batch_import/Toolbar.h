#pragma once
// The row of buttons above the file list.

#include "framework/ui/Containers.h"
#include "framework/ui/controls/Button.h"

#include <windows.h>

#include <memory>

struct ToolbarButtons
{
    std::shared_ptr<UI::Button> addFiles;
    std::shared_ptr<UI::Button> addFolders;
    std::shared_ptr<UI::Button> remove;
    std::shared_ptr<UI::Button> moveUp;
    std::shared_ptr<UI::Button> moveDown;
    std::shared_ptr<UI::Button> importFormat;
    std::shared_ptr<UI::Button> start;
};

// Tips of the toolbar wait twice as long as others before they show.
constexpr int ToolbarTooltipDelay = 800;

// Makes the buttons on parent (their pictures imageOffset above the light ones) and returns the
// "toolbar" box that lays them out: Add Files, Add Folders, Remove, Move Up, Move Down, free space,
// Import Format, Start Import.
std::shared_ptr<UI::BoxContainer> BuildToolbar(HWND parent, int imageOffset, ToolbarButtons& buttons);
