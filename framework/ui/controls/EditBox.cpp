// An edit box, single-line or multi-line.
#include "framework/ui/controls/EditBox.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"
#include "framework/ui/controls/DarkParts.h"

namespace UI
{
namespace
{
DWORD EditStyle(bool multiLine)
{
    if (multiLine)
        return WS_CHILD | WS_VSCROLL | WS_TABSTOP | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE;
    return WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL;
}
} // namespace

EditBox::EditBox(HWND parent, const wchar_t* initialText, bool multiLine)
    : WindowsControl(parent, 0, IsDarkMode() ? WS_EX_STATICEDGE : WS_EX_CLIENTEDGE, L"Edit", nullptr,
                     EditStyle(multiLine), 0)
{
    minWidth = minHeight = ControlHeight();
    if (!multiLine)
        height = ControlHeight();
    SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(-1), 0);
    if (initialText)
        SetWindowTextW(hwnd, initialText);
    dark_ = multiLine && IsDarkMode();
    if (multiLine)
        Subclass();
}

LRESULT EditBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = WindowsControl::WndProc(message, wParam, lParam);
    // Tab moves the focus on rather than entering a tab character.
    if (message == WM_GETDLGCODE && wParam == VK_TAB)
        result &= ~DLGC_WANTALLKEYS;
    // The system draws the scroll bar in its own colours, at every paint of the frame and every
    // scroll; it is painted again after each.
    if (dark_ && (message == WM_NCPAINT || message == WM_PAINT || message == WM_VSCROLL || message == WM_MOUSEWHEEL ||
                  message == WM_KEYDOWN || message == WM_CHAR || message == WM_SETTEXT || message == WM_SIZE ||
                  message == WM_NCLBUTTONUP || message == WM_ENABLE || message == EM_SCROLL ||
                  message == EM_LINESCROLL || message == EM_SCROLLCARET))
        PaintDarkScrollBar(hwnd);
    return result;
}
} // namespace UI
