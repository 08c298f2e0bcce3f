// A date and time picker: a long date, a time, or both.
#include "framework/ui/controls/DateTimePicker.h"

#include "framework/Owners.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"
#include "framework/ui/controls/ComboBox.h"
#include "framework/ui/controls/DarkParts.h"

#include <algorithm>
#include <vector>

namespace UI
{
namespace
{
DWORD PickerStyle(int mode)
{
    const DWORD style = WS_CHILD | WS_TABSTOP;
    switch (mode)
    {
    case DateTimePicker::Time: return style | DTS_TIMEFORMAT;
    case DateTimePicker::DateAndTime: return style | DTS_SHORTDATEFORMAT;
    default: return style | DTS_LONGDATEFORMAT;
    }
}

// The drop-down button: where the control says it is, else the strip at its right that the
// system's scroll arrows are wide.
RECT ButtonRect(HWND picker)
{
    DATETIMEPICKERINFO info{};
    info.cbSize = sizeof info;
    SendMessageW(picker, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (info.rcButton.right > info.rcButton.left && info.rcButton.bottom > info.rcButton.top)
        return info.rcButton;
    RECT client{};
    GetClientRect(picker, &client);
    client.left = std::max(client.left, client.right - GetSystemMetrics(SM_CXVSCROLL));
    return client;
}
} // namespace

DateTimePicker::DateTimePicker(HWND parent, int id, int mode, const DateTime& value)
    : WindowsControl(parent, id, WS_EX_CLIENTEDGE, DATETIMEPICK_CLASSW, nullptr, PickerStyle(mode), 0), mode(mode)
{
    minWidth = minHeight = ComboBoxHeight();
    height = ComboBoxHeight();
    if (mode == DateAndTime)
        SendMessageW(hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"MMMM dd', 'yyy' 'hh':'mm':'ss' 'tt"));
    SYSTEMTIME local = value.ToLocalSystemTime();
    local.wMilliseconds = 0;
    SendMessageW(hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
    Subclass();
}

SYSTEMTIME DateTimePicker::GetValue() const
{
    SYSTEMTIME value{};
    SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}

std::wstring DateTimePicker::ShownText() const
{
    if (mode == DateAndTime)
        return {};
    SYSTEMTIME value{};
    if (SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) != GDT_VALID)
        return {};
    std::vector<wchar_t> text(256, L'\0');
    const int size = static_cast<int>(text.size());
    const int written = mode == Time
                            ? GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &value, nullptr, text.data(), size)
                            : GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &value, nullptr, text.data(), size);
    return written > 1 ? std::wstring(text.data(), static_cast<size_t>(written - 1)) : std::wstring();
}

void DateTimePicker::PaintOver()
{
    const Owners::WindowDC dc(hwnd);
    if (!dc)
        return;
    const RECT button = ButtonRect(hwnd);
    const bool enabled = IsWindowEnabled(hwnd);
    const std::wstring text = GetFocus() == hwnd ? std::wstring() : ShownText();
    if (!text.empty())
    {
        RECT field{};
        GetClientRect(hwnd, &field);
        field.right = std::min(field.right, button.left);
        FillRect(dc.get(), &field, GetThemeBrush(COLOR_WINDOW));
        field.left += ::ScaleToDpi(2);
        const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        const Owners::SelectedObject selected(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc.get(), TRANSPARENT);
        SetTextColor(dc.get(), GetThemeColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &field,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (IsDarkMode())
        PaintDarkDropDownButton(dc.get(), button, enabled);
}

LRESULT DateTimePicker::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = WindowsControl::WndProc(message, wParam, lParam);
    switch (message)
    {
    case WM_PAINT:
    case WM_ENABLE: PaintOver(); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case DTM_SETSYSTEMTIME: InvalidateRect(hwnd, nullptr, TRUE); break;
    default: break;
    }
    return result;
}
} // namespace UI
