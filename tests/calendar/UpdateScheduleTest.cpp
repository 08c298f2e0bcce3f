// When Lumday asks for its next update, and which page it opens after one.
#include "calendar/SelfUpdate.h"
#include "update/ProductIdentity.h"

#include <gtest/gtest.h>

namespace
{
TEST(UpdateSchedule, NextCheckIsSevenDaysLaterOnTheLocalClock)
{
    struct Case
    {
        const char* what;
        DateTime last;
        __time64_t hours; // from the last check to the next, in real time
    };
    // The tests run in Berlin: summer time begins on 29 March 2026 and ends on 25 October 2026.
    const Case cases[] = {
        {"a week without a change", DateTime(2026, 1, 10, 9), 7 * 24},
        {"across the start of summer time", DateTime(2026, 3, 25, 12), 7 * 24 - 1},
        {"across its end", DateTime(2026, 10, 20, 12), 7 * 24 + 1},
        {"across the end of a year", DateTime(2026, 12, 28, 23), 7 * 24},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const DateTime next = NextUpdateCheck(c.last);
        EXPECT_EQ(next.time - c.last.time, c.hours * 60 * 60);
        EXPECT_EQ(next.local.tm_hour, c.last.local.tm_hour) << "the same time of day";
    }
}

TEST(UpdateSchedule, UpdatePageIsTheServicesRecordOfTheRunningVersion)
{
    SetRunningProduct(CalendarIdentity());
    // The programs' build speaks to the service on the standard port, which the address leaves out.
    EXPECT_EQ(GetUpdateInfoAddress(), L"https://service.quillora.com/recordUpdate.php?ver=1.18.1");
    SetRunningProduct(BatchImportIdentity());
}
} // namespace
