#pragma once
// An edit box, single-line or multi-line (where Tab moves the focus on).

#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

namespace UI
{
class EditBox : public WindowsControl
{
public:
    EditBox(HWND parent, const wchar_t* initialText, bool multiLine);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A multi-line box made in the dark theme paints its scroll bar in the theme's colours.
    bool dark_ = false;
};
} // namespace UI
