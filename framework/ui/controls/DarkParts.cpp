// Drop-down buttons and scroll bars painted in the dark theme's colours over what the controls drew.
#include "framework/ui/controls/DarkParts.h"

#include "framework/Owners.h"
#include "framework/ScopeExit.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"

#include <commctrl.h>

namespace UI
{
namespace
{
// A Marlett glyph ("5" up, "6" down) centred in the rectangle.
void DrawGlyph(HDC dc, const RECT& area, const wchar_t* glyph, COLORREF colour)
{
    const HFONT font = GetUiFontTable().Handle(FontGlyphs);
    if (!font)
        return;
    const Owners::SelectedObject selected(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    RECT bounds = area;
    DrawTextW(dc, glyph, 1, &bounds, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void Frame(HDC dc, const RECT& area, int colourIndex)
{
    FrameRect(dc, &area, GetThemeBrush(colourIndex));
}

void PaintHeader(HWND header, HDC dc)
{
    RECT client{};
    GetClientRect(header, &client);
    FillRect(dc, &client, GetThemeBrush(COLOR_BTNFACE));
    const Owners::Pen line(CreatePen(PS_SOLID, 1, GetThemeColor(COLOR_BTNSHADOW)));
    const Owners::SelectedObject pen(dc, line.get());
    MoveToEx(dc, client.left, client.bottom - 1, nullptr);
    LineTo(dc, client.right, client.bottom - 1);
    auto font = reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0));
    const Owners::SelectedObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetThemeColor(COLOR_WINDOWTEXT));
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
    {
        RECT item{};
        if (!SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
            continue;
        wchar_t title[256] = {};
        HDITEMW column{};
        column.mask = HDI_TEXT;
        column.pszText = title;
        column.cchTextMax = 256;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
        RECT text = item;
        InflateRect(&text, -::GetSystemMetrics(SM_CXEDGE) * 3, 0);
        DrawTextW(dc, title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        MoveToEx(dc, item.right - 1, item.top + 2, nullptr);
        LineTo(dc, item.right - 1, item.bottom - 2);
    }
}

LRESULT CALLBACK DarkHeaderProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (message)
    {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    {
        PAINTSTRUCT paint{};
        if (const HDC dc = BeginPaint(header, &paint))
            PaintHeader(header, dc);
        EndPaint(header, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: PaintHeader(header, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(header, &DarkHeaderProc, 0); break;
    default: break;
    }
    return DefSubclassProc(header, message, wParam, lParam);
}
} // namespace

void PaintDarkDropDownButton(HDC dc, const RECT& button, bool enabled)
{
    if (!dc || button.right <= button.left || button.bottom <= button.top)
        return;
    FillRect(dc, &button, GetThemeBrush(COLOR_BTNFACE));
    Frame(dc, button, COLOR_BTNSHADOW);
    DrawGlyph(dc, button, L"6", GetThemeColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
}

void PaintHeaderDark(HWND header)
{
    if (header)
        SetWindowSubclass(header, &DarkHeaderProc, 0, 0);
}

void PaintDarkScrollBar(HWND window)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!window || !GetScrollBarInfo(window, OBJID_VSCROLL, &info) ||
        (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)))
        return;
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT bar = info.rcScrollBar;
    OffsetRect(&bar, -frame.left, -frame.top);
    if (bar.right <= bar.left || bar.bottom <= bar.top)
        return;
    const HDC dc = GetWindowDC(window);
    if (!dc)
        return;
    const ScopeExit release([window, dc] { ReleaseDC(window, dc); });
    const bool usable = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    const COLORREF arrows = GetThemeColor(usable ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    const int side = info.dxyLineButton > 0 ? info.dxyLineButton : bar.right - bar.left;
    FillRect(dc, &bar, GetThemeBrush(COLOR_BTNFACE));
    const RECT up{bar.left, bar.top, bar.right, bar.top + side};
    const RECT down{bar.left, bar.bottom - side, bar.right, bar.bottom};
    for (const RECT& button : {up, down})
        Frame(dc, button, COLOR_BTNSHADOW);
    DrawGlyph(dc, up, L"5", arrows);
    DrawGlyph(dc, down, L"6", arrows);
    if (usable && info.xyThumbBottom > info.xyThumbTop)
    {
        RECT thumb{bar.left + 2, bar.top + info.xyThumbTop, bar.right - 2, bar.top + info.xyThumbBottom};
        FillRect(dc, &thumb, GetThemeBrush(COLOR_BTNSHADOW));
    }
}
} // namespace UI
