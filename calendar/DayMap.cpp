#include "calendar/DayMap.h"

DayMap& GetDayMap()
{
    static DayMap map;
    return map;
}

std::mutex& GetDayMapLock()
{
    static std::mutex lock;
    return lock;
}

void FilePageEntries(DayMap& map, std::mutex& lock, CalendarEntry entry)
{
    const ON::Page& page = *entry.page;
    if (!page.dateTime)
        return;
    const DateTime created(*page.dateTime);
    std::optional<DateTime> modified;
    if (page.hierarchy.lastModifiedTime)
    {
        const DateTime time(*page.hierarchy.lastModifiedTime);
        if (!time.IsSameDay(created))
            modified = time;
    }
    {
        const std::lock_guard guard(lock);
        map[created.LocalNoon()].emplace(created, entry);
    }
    if (modified)
    {
        entry.onModifiedDate = true;
        const std::lock_guard guard(lock);
        map[modified->LocalNoon()].emplace(*modified, std::move(entry));
    }
}
