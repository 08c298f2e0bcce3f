#pragma once
// The two views of Lumday's one main window, drawn entirely by the program: each paint pass lays
// down the hit areas that the mouse and click handlers look up.

#include "calendar/HitArea.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>

class LumdayWindow
{
public:
    virtual ~LumdayWindow() = default;
    // The whole client area drawn off-screen; the caller owns the bitmap.
    virtual std::unique_ptr<Gdiplus::Bitmap> OnPaint() = 0;
    virtual LRESULT OnClick(short x, short y, bool& handled) = 0;
    virtual LRESULT OnKeyDown(WPARAM key, bool& handled) = 0;
    virtual LRESULT OnMouseWheel(POINT point, int notches, WPARAM wParam, bool& handled) = 0;
    virtual LRESULT OnCommand(int id, HWND control, int code, bool& handled) = 0;
    // True when a tooltip text is ready (asked), false when the pointer left every area.
    virtual bool OnMouseMove(bool tooltipAsks) = 0;
    virtual void Layout() = 0;
    virtual void UpdateScrollBars() = 0;
};

// A scroll bar of the main window: its state, and a new range with the position at 0.
SCROLLINFO GetScrollBar(int bar);
void ResetScrollBar(int bar, int maximum, UINT page);

// The main window's client rectangle (x, y, width, height).
Gdiplus::RectF GetClientRectF();

LumdayWindow& GetCalendarView();
// Puts the search box at its place in the calendar view's header.
void PlaceSearchBox();
LumdayWindow& GetSettingsView();
// The settings view, in its first-run form (language only) or in full.
void ShowSettingsView(bool languageOnly);
void ShowCalendarView();
bool IsSettingsLanguageOnly();

// The main window's title: the view's text, " - Dayloom " and the version.
void SetMainWindowTitle(const std::wstring& text);
void UpdateSettingsTitle();

constexpr const wchar_t* ProductName = L"Dayloom";
constexpr const wchar_t* ProductVersion = L"1.18.1";
