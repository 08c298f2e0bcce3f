#pragma once
// What OneNote's window shows: the current page's title and text. The in-process windows of the
// stand-in and the stand-in's onenote.exe paint the same way, from the same store.

#include <windows.h>

namespace StandIn
{
// Answers WM_PAINT of a window that shows the store's current page, and names the window after
// the page.
void PaintCurrentPage(HWND window);
} // namespace StandIn
