#pragma once
// The clickable and hoverable rectangles that each paint pass of a view lays down, and the one of
// them under the mouse, which the click, the tooltip and the highlight read.

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

// What an area is, and so what a click on it does. The item and subItem of each kind are named
// beside it.
enum HitAreaKind : int
{
    HitNone = 0,
    HitPage = 1,        // a cell's page line: column, row
    HitScrollUp = 2,    // a cell's up arrow: column, row
    HitScrollDown = 3,  // a cell's down arrow: column, row
    HitPrevious = 4,    // the header's left arrow
    HitNext = 5,        // the header's right arrow
    HitToday = 6,       // the today button
    HitDayNumber = 7,   // a day number: month (0 the December before, 13 the January after), day
    HitMonth = 8,       // a slot of the month strip: month 1-12
    HitYear = 9,        // a slot of the year strip: year
    HitRefresh = 10,    // the refresh button
    HitSettings = 11,   // the settings button
    HitViewType = 12,   // a view-type button: ViewType
    HitTextSize = 13,   // settings view, a text size: its index
    HitOption = 14,     // settings view, an option row: the option, its choice
    HitNotebook = 15,   // settings view, a notebook's check box: the notebook's index
    HitLeave = 16,      // settings view, Continue or Back
    HitSearchIcon = 17, // the icon beside the search box
    HitTheme = 18,      // the theme button
};

// One clickable or hoverable rectangle of a view, in client coordinates. Every member has its
// initialiser, so that an area is made by naming only what it carries.
struct HitArea
{
    Gdiplus::RectF rect{};
    std::wstring tooltip{};
    // Which one of its kind the area is (see HitAreaKind); 0 where a kind has only one.
    int item = 0;
    int subItem = 0;
    HitAreaKind kind = HitNone;
    std::shared_ptr<ON::Page> page{}; // a page line's page
    // A notebook check box's notebook, by its ID: a load may number the notebooks anew before the
    // next paint.
    std::wstring notebookId{};

    bool Contains(float x, float y) const
    {
        return rect.X <= x && x < rect.X + rect.Width && rect.Y <= y && y < rect.Y + rect.Height;
    }
    // The same page, or the same button or slot.
    bool IsSame(const HitArea& other) const;
};

// The hit areas of the last paint, in the order it laid them down, and the one under the mouse.
std::vector<HitArea>& GetHitAreas();
HitArea& GetHotArea();
void SetHotArea(const HitArea& area);
// Makes the first area containing the point the hot area; false (and no hot area) for none.
bool HitTest(float x, float y);
