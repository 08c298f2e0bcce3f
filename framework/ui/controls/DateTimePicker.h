#pragma once
// A date and time picker showing a long date, a time, or both.

#include "framework/text/DateTime.h"
#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

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
};
} // namespace UI
