// A combo box, editable or a drop-down list, drawn by us in the dark theme.
#include "framework/ui/controls/ComboBox.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/controls/DarkParts.h"

namespace UI
{
int ComboBoxHeight()
{
    static const int value = PointsToPixels(17.25f, GetDpiScaleX());
    return value;
}

namespace
{
DWORD ComboStyle(bool editable)
{
    DWORD style = WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS;
    style |= editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    if (IsDarkMode())
        style |= CBS_OWNERDRAWFIXED;
    return style;
}

float Pixel() { return 0.75f * GetDpiScaleX(); }

// Shared by every owner-drawn combo box item: one is drawn at a time.
Window::Offscreen& ItemBuffer()
{
    static Window::Offscreen buffer;
    return buffer;
}
} // namespace

ComboBox::ComboBox(HWND parent, int id, bool editable)
    : WindowsControl(parent, id, WS_EX_CLIENTEDGE, L"ComboBox", nullptr, ComboStyle(editable), 0),
      ownerDrawn(IsDarkMode())
{
    minWidth = minHeight = ComboBoxHeight();
    height = ComboBoxHeight();
    if (ownerDrawn)
        Subclass();
}

LRESULT ComboBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = WindowsControl::WndProc(message, wParam, lParam);
    if (message == WM_PAINT || message == WM_ENABLE)
    {
        // The control draws its button in the system's colours, whatever it is told.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(hwnd, &info))
        {
            const Owners::WindowDC dc(hwnd);
            PaintDarkDropDownButton(dc.get(), info.rcButton, IsWindowEnabled(hwnd));
        }
    }
    return result;
}

void ComboBox::SetItems(const std::vector<std::wstring>& items)
{
    SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items)
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::SetSelection(int index) { SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int ComboBox::GetSelection() const { return static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)); }

std::wstring ComboBox::GetItemText(int index) const
{
    if (index < 0 || index >= static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0)))
        return {};
    const LRESULT length = SendMessageW(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring ComboBox::GetText()
{
    const int selection = GetSelection();
    if (selection == CB_ERR)
        return GetWindowTextString(hwnd);
    return GetItemText(selection);
}

void ComboBox::DrawItem(const DRAWITEMSTRUCT* item, int)
{
    if (!ownerDrawn || !item || item->itemID == static_cast<UINT>(-1))
        return;
    const int w = item->rcItem.right - item->rcItem.left;
    const int h = item->rcItem.bottom - item->rcItem.top;
    Window::Offscreen& buffer = ItemBuffer();
    if (w <= 0 || h <= 0 || !buffer.Prepare(item->hDC, w, h))
        return;
    const bool selected = item->itemState & ODS_SELECTED;
    const int fill = selected ? SelectThemeColor(COLOR_BTNFACE, COLOR_HIGHLIGHT, COLOR_BTNFACE) : COLOR_BTNFACE;
    {
        Gdiplus::Graphics graphics(buffer.dc.get());
        graphics.Clear(Gdiplus::Color(GetThemeArgb(fill)));
        const float px = Pixel();
        const Gdiplus::SolidBrush text{
            Gdiplus::Color(GetThemeArgb(item->itemState & ODS_DISABLED ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT))};
        const std::wstring itemText = GetItemText(static_cast<int>(item->itemID));
        if (Gdiplus::Font* font = GetUiFontTable().Font(0))
            graphics.DrawString(itemText.c_str(), static_cast<INT>(itemText.size()), font, Gdiplus::PointF(px, 0),
                                &text);
        if (selected && GetFocus() == hwnd)
        {
            Gdiplus::Pen pen(Gdiplus::Color(SelectThemeColor<Gdiplus::ARGB>(
                                 GetThemeArgb(COLOR_WINDOWFRAME), 0xFF4C9CF0, GetThemeArgb(COLOR_WINDOWFRAME))),
                             1);
            if (!IsHighContrast())
                pen.SetDashStyle(Gdiplus::DashStyleDot);
            graphics.DrawRectangle(&pen, px, px, w - 3 * px, h - 3 * px);
        }
    }
    BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, w, h, buffer.dc.get(), 0, 0, SRCCOPY);
}
} // namespace UI
