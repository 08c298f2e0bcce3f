#pragma once
// How Sheafin's main window looks in its pictures, for the theme checks of the end-to-end tests: the
// window's own background between its controls, the list's column header, the picture on "Start
// Import" and the progress bar under that button. Works on a window of another process; its picture
// must have been taken first (Harness::SaveWindow), which waits until it has painted.

#include "framework/ui/Theme.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/TextChecks.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace WindowLooks
{
// A colour of the light or the dark theme, as the program draws it.
inline COLORREF ThemeColour(bool dark, int index)
{
    const std::optional<int> saved = GetThemeMode();
    SetThemeMode(dark ? UI::ThemeDark : UI::ThemeLight);
    const COLORREF colour = GetThemeColor(index);
    SetThemeMode(saved);
    return colour;
}

// Pixels of the client area, under no child window and not the size grip in the corner, that are
// not the background colour.
inline int ForeignBackground(HWND window, COLORREF background)
{
    const TextChecks::Shown shown(window);
    std::vector<RECT> covered;
    for (const HWND child : Harness::Children(window))
        if (IsWindowVisible(child))
            covered.push_back(Harness::ChildRect(child));
    const int grip = 16;
    int foreign = 0;
    for (int y = 0; y < shown.Height(); y += 2)
        for (int x = 0; x < shown.Width(); x += 2)
        {
            const POINT point{x, y};
            if (x >= shown.Width() - grip && y >= shown.Height() - grip)
                continue;
            bool under = false;
            for (const RECT& area : covered)
                under = under || PtInRect(&area, point);
            foreign += !under && shown.At(x, y) != background;
        }
    return foreign;
}

// "Start Import" (its text follows a blank before its picture).
inline HWND StartButton(HWND window)
{
    for (const HWND button : Harness::Children(window, L"Button"))
        if (Harness::TextOf(button).find(L"Start &Import") != std::wstring::npos)
            return button;
    return nullptr;
}

// The colour that covers most of the column header of the window's file list.
inline COLORREF HeaderColour(HWND window)
{
    const std::vector<HWND> lists = Harness::Children(window, L"SysListView32");
    if (lists.empty())
        return CLR_INVALID;
    const auto header = reinterpret_cast<HWND>(SendMessageW(lists.front(), LVM_GETHEADER, 0, 0));
    RECT area{};
    GetClientRect(header, &area);
    MapWindowPoints(header, window, reinterpret_cast<POINT*>(&area), 2);
    return TextChecks::CommonColour(TextChecks::Shown(window), area);
}

// Pixels on the "Start Import" button in a shade near its face but not its face: the tile of a
// picture made over another colour than the one the button draws.
inline int PictureTile(HWND window)
{
    const HWND start = StartButton(window);
    if (!start)
        return -1;
    const TextChecks::Shown shown(window);
    RECT area = Harness::ChildRect(start);
    InflateRect(&area, -3, -3);
    const COLORREF face = TextChecks::CommonColour(shown, area);
    int tile = 0;
    for (const auto& [colour, count] : shown.Colours(area))
    {
        const int red = GetRValue(colour) - GetRValue(face);
        const int green = GetGValue(colour) - GetGValue(face);
        const int blue = GetBValue(colour) - GetBValue(face);
        if (colour != face && red == green && green == blue && std::abs(red) <= 12)
            tile += count;
    }
    return tile;
}

// The room between the bottom of "Start Import" and the top of the shown progress bar under it:
// 0 or less when they touch.
inline int RoomAboveProgress(HWND window)
{
    const HWND start = StartButton(window);
    for (const HWND bar : Harness::Children(window, L"msctls_progress32"))
        if (start && IsWindowVisible(bar))
        {
            const RECT button = Harness::ChildRect(start);
            const RECT progress = Harness::ChildRect(bar);
            if (progress.top >= button.top && progress.left < button.right && progress.right > button.left)
                return progress.top - button.bottom;
        }
    return -1000;
}
} // namespace WindowLooks
