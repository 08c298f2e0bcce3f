#pragma once
// Points the roaming application-data folder at a fresh folder of the running test, so that
// settings files of tests never meet (the tests using it run alone: see ShellFolderRedirect).

#include "tests/support/ProgramHarness.h"

#include <string>

class CalendarTestProfile
{
public:
    CalendarTestProfile();
    ~CalendarTestProfile();
    CalendarTestProfile(const CalendarTestProfile&) = delete;
    CalendarTestProfile& operator=(const CalendarTestProfile&) = delete;

    std::wstring RoamingAppData() const;

private:
    Harness::Profile profile_;
    Harness::ShellFolderRedirect redirect_{profile_};
};
