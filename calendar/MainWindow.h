#pragma once
// Lumday's main window of the class "WC_LUMDAY": its window procedure hands painting and input to
// the current view.

#include <windows.h>

constexpr const wchar_t* MainWindowClass = L"WC_LUMDAY";

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterMainWindowClass(HINSTANCE instance);
// The smallest size the window can be given: 282 x 340 pixels at 96 dpi, scaled.
SIZE GetMinimumWindowSize();
