#pragma once
// The main window's menu bar: loaded once per window, with pictures beside the commands that have
// one, and the item states the window changes as its state changes.

#include "batch_import/CommandTable.h"
#include "framework/Owners.h"

#include <windows.h>

#include <string>

// One loaded menu of a window. Until AttachTo gives it to the window, which destroys it with
// itself, the record owns it.
struct MenuRecord
{
    unsigned id = 0;
    HMENU menu = nullptr;
    const CommandTable* table = nullptr;
    UI::MenuCommandPlaces places;
    Owners::Menu owned;

    void AttachTo(HWND window);
};

// Loads menu 101 from the program, lets every popup show a check mark or a picture in one
// column, and gives each command of table with a picture its (light) picture. A missing picture
// raises the resource stream's COM error.
MenuRecord LoadMainMenu(const CommandTable& table);

// The picture of a "FILE" resource as a bitmap at the screen's DPI, made on first use and kept
// for the rest of the run.
HBITMAP GetMenuBitmap(unsigned imageId);

void SetMenuItemEnabled(const MenuRecord& menu, unsigned command, bool enabled);
void SetMenuItemText(const MenuRecord& menu, unsigned command, const std::wstring& text);
// Radio items show a bullet instead of a check mark.
void SetMenuItemChecked(const MenuRecord& menu, unsigned command, bool checked, bool radio);
