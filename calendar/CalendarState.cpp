#include "calendar/CalendarState.h"

CalendarState& GetCalendarState()
{
    static CalendarState state;
    return state;
}

void RequestRepaint()
{
    const CalendarState& state = GetCalendarState();
    if (!state.mainWindow)
        return;
    if (GetCurrentThreadId() == state.uiThread)
        InvalidateRect(state.mainWindow, nullptr, FALSE);
    else
        PostMessageW(state.mainWindow, WM_REPAINT_REQUEST, 0, 0);
}
