#pragma once
// What accessibility tools are told of a link label: a child for each of its links, at the places
// the label draws them, that can be focused and opened.

#include <windows.h>

namespace UI
{
// The answer to WM_GETOBJECT for the label's client area; 0 for the objects it leaves to the system.
LRESULT LinkLabelObject(HWND label, WPARAM wParam, LPARAM lParam);
} // namespace UI
