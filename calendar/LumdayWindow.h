#pragma once
// The two views of Lumday's one main window, drawn entirely by the program: each paint pass lays
// down the hit areas that the mouse and click handlers look up.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

namespace ON
{
class Page;
}

// One clickable or hoverable rectangle of a view, in content coordinates.
struct HitArea
{
    HitArea() = default;
    HitArea(const Gdiplus::RectF& rect, std::wstring tooltip, int a, int b, int kind,
            std::shared_ptr<ON::Page> page = nullptr)
        : rect(rect), tooltip(std::move(tooltip)), a(a), b(b), kind(kind), page(std::move(page))
    {
    }

    Gdiplus::RectF rect;
    std::wstring tooltip;
    int a = 0;
    int b = 0;
    int kind = 0; // HitAreaKind; 0 none
    std::shared_ptr<ON::Page> page; // a page line's page

    bool Contains(float x, float y) const
    {
        return rect.X <= x && x < rect.X + rect.Width && rect.Y <= y && y < rect.Y + rect.Height;
    }
    // The same page, or the same button or slot.
    bool IsSame(const HitArea& other) const;
};

enum HitAreaKind : int
{
    HitPage = 1,
    HitScrollUp = 2,
    HitScrollDown = 3,
    HitPrevious = 4,
    HitNext = 5,
    HitToday = 6,
    HitDayNumber = 7,
    HitMonth = 8,
    HitYear = 9,
    HitRefresh = 10,
    HitSettings = 11,
    HitViewType = 12,
    HitTextSize = 13,
    HitOption = 14,
    HitNotebook = 15,
    HitLeave = 16,
    HitSearchIcon = 17,
    HitTheme = 18,
};

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

// The hit areas of the last paint, in the order it laid them down, and the one under the mouse.
std::vector<HitArea>& GetHitAreas();
HitArea& GetHotArea();
void SetHotArea(const HitArea& area);
// Makes the first area containing the point the hot area; false (and no hot area) for none.
bool HitTest(float x, float y);

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
