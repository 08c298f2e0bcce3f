#pragma once
// Moving a window's placement (normal rectangle, show state, minimised and maximised positions)
// between an HWND and the values kept in the settings file.

#include <windows.h>

// The value of x, y, width and height that means "never placed".
constexpr int WindowPositionUnset = static_cast<int>(0x80000000u);

void GetWindowPosition(HWND window, int& x, int& y, int& width, int& height, unsigned& showCmd, unsigned& flags,
                       int& minX, int& minY, int& maxX, int& maxY);

// Applies a placement only when x, y, width and height are all set and the size is positive;
// returns the show command to show the window with (SW_SHOW when nothing was applied; a stored
// minimised state comes back as SW_SHOW).
unsigned SetWindowPosition(HWND window, int x, int y, int width, int height, unsigned showCmd, unsigned flags, int minX,
                           int minY, int maxX, int maxY);

// The same for any record with the fields x, y, width, height, flags, showCmd, minX, minY, maxX and
// maxY (such as the settings' window position element).
template <typename Position>
void GetWindowPosition(HWND window, Position& position)
{
    int x, y, width, height, minX, minY, maxX, maxY;
    unsigned showCmd, flags;
    GetWindowPosition(window, x, y, width, height, showCmd, flags, minX, minY, maxX, maxY);
    position.x = x;
    position.y = y;
    position.width = width;
    position.height = height;
    position.showCmd = showCmd;
    position.flags = flags;
    position.minX = minX;
    position.minY = minY;
    position.maxX = maxX;
    position.maxY = maxY;
}

template <typename Position>
unsigned SetWindowPosition(HWND window, const Position& position)
{
    return SetWindowPosition(window, position.x, position.y, position.width, position.height, position.showCmd,
                             position.flags, position.minX, position.minY, position.maxX, position.maxY);
}
