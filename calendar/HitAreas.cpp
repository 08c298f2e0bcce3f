#include "calendar/HitArea.h"

#include "onenote_model/Page.h"

bool HitArea::IsSame(const HitArea& other) const
{
    if (kind != other.kind)
        return false;
    if (kind == HitPage)
        return page && other.page && page->hierarchy.ID && other.page->hierarchy.ID &&
               *page->hierarchy.ID == *other.page->hierarchy.ID;
    return item == other.item && subItem == other.subItem;
}

std::vector<HitArea>& GetHitAreas()
{
    static std::vector<HitArea> areas;
    return areas;
}

HitArea& GetHotArea()
{
    static HitArea hot;
    return hot;
}

void SetHotArea(const HitArea& area) { GetHotArea() = area; }

bool HitTest(float x, float y)
{
    for (const HitArea& area : GetHitAreas())
    {
        if (area.Contains(x, y))
        {
            SetHotArea(area);
            return true;
        }
    }
    SetHotArea(HitArea());
    return false;
}
