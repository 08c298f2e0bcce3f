#pragma once
// Lumday's process-wide state: its one main window with the tooltip and the search box, the view
// that paints and takes input, and the flags its workers and its exit share.

#include "framework/text/DateTime.h"

#include <windows.h>

#include <atomic>

class LumdayWindow;

// The private message a worker posts to have the main window repainted.
constexpr UINT WM_REPAINT_REQUEST = WM_USER + 100;

struct CalendarState
{
    HWND mainWindow = nullptr;
    HWND tooltip = nullptr;
    HWND searchBox = nullptr;
    LumdayWindow* currentView = nullptr;
    HWND savedFocus = nullptr;
    HINSTANCE instance = nullptr;
    DWORD uiThread = 0;
    bool showUpdate = false;
    std::atomic<bool> updateChecked{false};
    std::atomic<bool> updateRunning{false};
    std::atomic<bool> loading{false};
    std::atomic<bool> searching{false};
    std::atomic<bool> quitting{false};
    std::atomic<float> loadingProgress{0};
    std::atomic<float> updateProgress{0};
    // The day the calendar shows; the UI thread's alone.
    DateTime currentDate;
    // Set by each paint of the calendar when it showed today's month, week or day.
    bool todayPeriodShown = false;
};

CalendarState& GetCalendarState();

// On the UI thread: invalidates the main window without erasing; elsewhere: posts
// WM_REPAINT_REQUEST to it.
void RequestRepaint();
