#include "calendar/LumdayWindow.h"

#include "calendar/CalendarCommands.h"
#include "calendar/CalendarState.h"
#include "calendar/HitArea.h"
#include "calendar/UiLanguages.h"

SCROLLINFO GetScrollBar(int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(GetCalendarState().mainWindow, bar, &info);
    return info;
}

void ResetScrollBar(int bar, int maximum, UINT page)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = maximum;
    info.nPage = page;
    SetScrollInfo(GetCalendarState().mainWindow, bar, &info, TRUE);
}

Gdiplus::RectF GetClientRectF()
{
    RECT client{};
    GetClientRect(GetCalendarState().mainWindow, &client);
    return Gdiplus::RectF(static_cast<float>(client.left), static_cast<float>(client.top),
                          static_cast<float>(client.right - client.left), static_cast<float>(client.bottom - client.top));
}

void SetMainWindowTitle(const std::wstring& text)
{
    if (HWND window = GetCalendarState().mainWindow)
        SetWindowTextW(window, (text + L" - " + ProductName + L" " + ProductVersion).c_str());
}

void UpdateSettingsTitle() { SetMainWindowTitle(GetUiString(StrSettings)); }

void ShowCalendarView()
{
    CalendarState& state = GetCalendarState();
    state.currentView = &GetCalendarView();
    if (state.searchBox)
        ShowWindow(state.searchBox, SW_SHOW);
    GetHitAreas().clear();
    SetHotArea(HitArea());
    state.currentView->Layout();
    UpdateWindowTitle();
    RequestRepaint();
}
