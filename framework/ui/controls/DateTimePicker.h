#pragma once
// A date and time picker showing a long date, a time, or both.

#include "framework/text/DateTime.h"
#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

#include <string>

namespace UI
{
class DateTimePicker : public WindowsControl
{
public:
    enum Mode : int
    {
        LongDate = 0,
        Time = 1,
        DateAndTime = 2,
    };

    DateTimePicker(HWND parent, int id, int mode, const DateTime& value);

    // The picked local time.
    SYSTEMTIME GetValue() const;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int mode;

private:
    // The date as the locale writes it, over the field's text, while the field is not being
    // edited: the control gives each part the room of its widest value ("Tuesday , December 8 ,
    // 2026"). Empty for a field of a custom format.
    std::wstring ShownText() const;
    void PaintOver();
};
} // namespace UI
