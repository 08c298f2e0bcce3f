// A progress bar, in thousandths or as a marquee.
#include "framework/ui/controls/Progress.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"

#include <uxtheme.h>

#include <cmath>

namespace UI
{
Progress::Progress(HWND parent) : WindowsControl(parent, 0, WS_EX_CLIENTEDGE, PROGRESS_CLASSW, nullptr, WS_CHILD, 0)
{
    minWidth = minHeight = ControlHeight();
    height = ControlHeight();
    SendMessageW(hwnd, PBM_SETRANGE32, 0, 1000);
    if (IsDarkMode())
    {
        // A themed bar keeps the light theme's track; a plain one takes the colour it is given,
        // and is one smooth bar like the themed one.
        SetWindowTheme(hwnd, L" ", L" ");
        SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | PBS_SMOOTH);
        SendMessageW(hwnd, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(GetThemeColor(COLOR_WINDOW)));
    }
}

bool Progress::SetProgress(float fraction)
{
    if (marquee)
    {
        SendMessageW(hwnd, PBM_SETMARQUEE, FALSE, 0);
        RemoveStyle(PBS_MARQUEE);
        marquee = false;
    }
    const int newPosition = static_cast<int>(std::lround(fraction * 1000.0f));
    if (newPosition == position)
        return false;
    position = newPosition;
    PostMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    return true;
}

void Progress::SetMarquee()
{
    SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | PBS_MARQUEE);
    SendMessageW(hwnd, PBM_SETMARQUEE, TRUE, 0);
    marquee = true;
}
} // namespace UI
