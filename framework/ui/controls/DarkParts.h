#pragma once
// Parts of standard controls that the controls draw in the system's light colours whatever their
// parent says, painted again in the dark theme's: a drop-down button and a vertical scroll bar.

#include <windows.h>

namespace UI
{
// The button of a combo box or date field: the face, and the Marlett down arrow over it.
void PaintDarkDropDownButton(HDC dc, const RECT& button, bool enabled);
// The window's own vertical scroll bar (a non-client part), when it has one that shows.
void PaintDarkScrollBar(HWND window);
// From now on the header control (a list's column header) paints itself in the theme's colours:
// the face, the columns' titles and a line between them.
void PaintHeaderDark(HWND header);
} // namespace UI
