#include "framework/ui/WindowPosition.h"

void GetWindowPosition(HWND window, int& x, int& y, int& width, int& height, unsigned& showCmd, unsigned& flags,
                       int& minX, int& minY, int& maxX, int& maxY)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    x = placement.rcNormalPosition.left;
    y = placement.rcNormalPosition.top;
    width = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    height = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    showCmd = placement.showCmd;
    flags = placement.flags;
    minX = placement.ptMinPosition.x;
    minY = placement.ptMinPosition.y;
    maxX = placement.ptMaxPosition.x;
    maxY = placement.ptMaxPosition.y;
}

unsigned SetWindowPosition(HWND window, int x, int y, int width, int height, unsigned showCmd, unsigned flags, int minX,
                           int minY, int maxX, int maxY)
{
    // A placement with a part missing (or an empty size) would put the window out of sight.
    if (x == WindowPositionUnset || y == WindowPositionUnset || width == WindowPositionUnset ||
        height == WindowPositionUnset || width <= 0 || height <= 0)
        return SW_SHOW;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.flags = flags;
    placement.showCmd = showCmd == SW_SHOWMINIMIZED ? SW_SHOW : showCmd;
    placement.ptMinPosition = {minX, minY};
    placement.ptMaxPosition = {maxX, maxY};
    placement.rcNormalPosition = {x, y, x + width, y + height};
    SetWindowPlacement(window, &placement);
    return placement.showCmd;
}
