#pragma once
// The calendar's pages by day: every page is filed under the day it was created and, when it was
// last modified on another local day, once more under that day. A day is known by its local noon
// (DateTime::LocalDay), which every day has, where summer time that begins at midnight leaves a
// day without its 00:00. The hierarchy loader fills the map while the paint and the click read it,
// each under the map's lock.

#include "framework/text/DateTime.h"
#include "onenote_model/Hierarchy.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// One page shown on one day.
struct CalendarEntry
{
    std::shared_ptr<ON::Page> page;
    // The location (notebook, section groups, section), " > " and the page's title.
    std::wstring text;
    // The position of the page's notebook in the notebook list of the load that filed it.
    std::int32_t notebookIndex = 0;
    bool onModifiedDate = false;
};

// A day's entries by page time; entries of equal times keep the order they were filed in.
using DayEntries = std::multimap<DateTime, CalendarEntry>;
// Local noon of a day -> its entries.
using DayMap = std::map<DateTime, DayEntries>;

DayMap& GetDayMap();
std::mutex& GetDayMapLock();

// Files entry under its page's creation day and, when the page was last modified on another local
// day, under that day too; a page without a creation time is not filed. Takes the lock once per
// insertion, never across both.
void FilePageEntries(DayMap& map, std::mutex& lock, CalendarEntry entry);
