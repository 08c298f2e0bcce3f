// A date and time picker: a long date, a time, or both.
#include "framework/ui/controls/DateTimePicker.h"

#include "framework/ui/controls/ComboBox.h"

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
} // namespace

DateTimePicker::DateTimePicker(HWND parent, int id, int mode, const DateTime& value)
    : WindowsControl(parent, id, WS_EX_CLIENTEDGE, DATETIMEPICK_CLASSW, nullptr, PickerStyle(mode), 0)
{
    minWidth = minHeight = ComboBoxHeight();
    height = ComboBoxHeight();
    if (mode == DateAndTime)
        SendMessageW(hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"MMMM dd', 'yyy' 'hh':'mm':'ss' 'tt"));
    SYSTEMTIME local = value.ToLocalSystemTime();
    local.wMilliseconds = 0;
    SendMessageW(hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
}

SYSTEMTIME DateTimePicker::GetValue() const
{
    SYSTEMTIME value{};
    SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}
} // namespace UI
