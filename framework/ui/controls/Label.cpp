// A label: static text, or a link (SysLink), measured to wrap at the width it is given.
#include "framework/ui/controls/Label.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"
#include "framework/ui/controls/TextMeasure.h"

namespace UI
{
namespace
{
DWORD LabelStyle(bool mnemonic, int alignment, bool link)
{
    DWORD style = WS_CHILD;
    style |= alignment == Label::Right ? SS_RIGHT : alignment == Label::Centre ? SS_CENTER : SS_LEFT;
    if (!mnemonic)
    {
        style |= SS_NOPREFIX;
        if (link)
            style |= LWS_NOPREFIX;
    }
    if (link)
        style |= WS_TABSTOP;
    return style;
}
} // namespace

Label::Label(HWND parent, const std::wstring& text, bool mnemonic, int alignment, int fontIndex, bool link)
    : WindowsControl(parent, 0, 0, link ? L"SysLink" : L"Static", text.c_str(), LabelStyle(mnemonic, alignment, link),
                     fontIndex),
      link(link)
{
    if (link)
        Subclass();
}

Label::~Label() { ReleaseSharedFont(); }

// Some link controls delete the font they were last given when they are destroyed, and that font
// is the shared UI font every later window draws with: the control is left without one first.
void Label::ReleaseSharedFont()
{
    if (link && hwnd && IsWindow(hwnd))
        SendMessageW(hwnd, WM_SETFONT, 0, FALSE);
}

LRESULT Label::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        ReleaseSharedFont();
    return WindowsControl::WndProc(message, wParam, lParam);
}

void Label::Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight)
{
    if (link && IsDarkMode())
    {
        // The link colour of the light theme is unreadable on the dark background.
        LITEM item{};
        item.mask = LIF_ITEMINDEX | LIF_STATE;
        item.iLink = 0;
        item.state = LIS_DEFAULTCOLORS;
        item.stateMask = LIS_DEFAULTCOLORS;
        SendMessageW(hwnd, LM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
    int w = 0;
    int h = 0;
    if (height > 0)
    {
        w = width > 0 ? width : MeasureWindowTextWidth(graphics, hwnd, fontIndex);
        h = height;
    }
    else
    {
        w = width > 0 ? width : availableWidth;
        const int wrapWidth = w + PointsToPixels(7.5f, GetDpiScaleX()) - padding.left - padding.right;
        h = MeasureWindowTextHeight(graphics, hwnd, wrapWidth, fontIndex) + padding.top + padding.bottom;
    }
    (void)availableHeight;
    WindowsControl::Measure(graphics, w, h);
}
} // namespace UI
