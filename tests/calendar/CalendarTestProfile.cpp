#include "tests/calendar/CalendarTestProfile.h"

#include "calendar/CalendarSettings.h"

CalendarTestProfile::CalendarTestProfile() { SetLoadedNotebookPaths(std::nullopt); }

CalendarTestProfile::~CalendarTestProfile() { SetLoadedNotebookPaths(std::nullopt); }

std::wstring CalendarTestProfile::RoamingAppData() const { return profile_.RoamingAppData().wstring(); }
