// Filing pages in the map of days, without OneNote.
#include "calendar/DayMap.h"

#include "framework/xml/XmlDocument.h"

#include <gtest/gtest.h>

namespace
{
std::shared_ptr<ON::Page> Page(const std::wstring& attributes)
{
    auto page = std::make_shared<ON::Page>();
    ParseElement(*page, L"<one:Page xmlns:one=\"http://schemas.microsoft.com/office/onenote/2010/onenote\" " +
                            attributes + L"/>");
    return page;
}

TEST(DayMap, EntriesOfEqualTimesKeepTheOrderTheyWereFiledIn)
{
    DayMap map;
    std::mutex lock;
    for (const wchar_t* name : {L"first", L"second", L"third"})
        FilePageEntries(map, lock, {Page(L"dateTime=\"2026-03-01T10:00:00.000Z\""), name, 0, false});
    FilePageEntries(map, lock, {Page(L"dateTime=\"2026-03-01T09:00:00.000Z\""), L"earlier", 0, false});
    ASSERT_EQ(map.size(), 1u);
    std::wstring order;
    for (const auto& [time, entry] : map.begin()->second)
        order += entry.text + L";";
    EXPECT_EQ(order, L"earlier;first;second;third;");
}

TEST(DayMap, APageWithoutCreationTimeIsNotFiledAndOneWithoutModificationTimeOnce)
{
    DayMap map;
    std::mutex lock;
    FilePageEntries(map, lock, {Page(L"lastModifiedTime=\"2026-03-01T10:00:00.000Z\""), L"no creation", 0, false});
    EXPECT_TRUE(map.empty());
    FilePageEntries(map, lock, {Page(L"dateTime=\"2026-03-01T10:00:00.000Z\""), L"created only", 0, false});
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.begin()->second.size(), 1u);
    EXPECT_FALSE(map.begin()->second.begin()->second.onModifiedDate);
}
} // namespace
