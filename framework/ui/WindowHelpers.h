#pragma once
// Small questions asked of any window.

#include <windows.h>

#include <map>
#include <string>
#include <utility>

namespace UI
{
struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The client rectangle (x and y are 0) and the window rectangle on the screen.
Rect GetClientRectangle(HWND window);
Rect GetWindowRectangle(HWND window);
// Empty when the window has no text.
std::wstring GetWindowTextString(HWND window);
// At most 255 characters.
std::wstring GetClassNameString(HWND window);

// Where a menu command sits: the key of a menu and the position of the submenu in it.
using MenuCommandPlaces = std::multimap<UINT, std::pair<int, int>>;
// Applies info to command in every submenu of menu (known by key) that places lists for it, so that
// a command that sits in several submenus gets one check mark state.
void SetMenuCommandInfo(const MenuCommandPlaces& places, const MENUITEMINFOW& info, UINT command,
                        std::pair<int, HMENU> menu);
} // namespace UI

// The text as the window shows it: mnemonic '&'s removed (not for a "Static" with SS_NOPREFIX) and,
// for a "SysLink", each link reduced to its label. Labels and buttons are measured with it.
std::wstring GetDisplayText(HWND window);
