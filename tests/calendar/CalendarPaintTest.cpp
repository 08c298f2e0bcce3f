#include "calendar/CalendarDate.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPaint.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/DrawingResources.h"
#include "calendar/HitArea.h"
#include "calendar/PagePreview.h"
#include "calendar/SelfUpdate.h"
#include "calendar/UiLanguages.h"

#include "framework/ui/OffscreenBitmap.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

// What this program frees while a FreedMemoryKeptAside lives is neither given back nor left as it
// was: every word of it points at a run of numbers far larger than any measure. Code that reads an
// object it freed then reads a vector of those (its pointers all point there) instead of the old
// values, which a heap that has not reused the memory yet would still show, and does not crash.
namespace
{
std::atomic<bool> keepFreedMemory{false};
constexpr size_t MostFreedBlocksKept = 1 << 18;
void* freedBlocksKept[MostFreedBlocksKept];
std::atomic<size_t> freedBlocksCount{0};
constexpr int32_t FreedMemoryNumber = 1 << 24;
int32_t freedMemoryNumbers[1 << 14];

void KeepOrFreeBlock(void* block) noexcept
{
    if (!block)
        return;
    if (keepFreedMemory.load())
    {
        if (const size_t index = freedBlocksCount++; index < MostFreedBlocksKept)
        {
            const size_t size = _msize(block);
            const auto pointer = reinterpret_cast<uintptr_t>(freedMemoryNumbers);
            for (size_t at = 0; at + sizeof pointer <= size; at += sizeof pointer)
                std::memcpy(static_cast<char*>(block) + at, &pointer, sizeof pointer);
            freedBlocksKept[index] = block;
            return;
        }
    }
    std::free(block);
}

class FreedMemoryKeptAside
{
public:
    FreedMemoryKeptAside()
    {
        std::fill(std::begin(freedMemoryNumbers), std::end(freedMemoryNumbers), FreedMemoryNumber);
        keepFreedMemory = true;
    }
    ~FreedMemoryKeptAside()
    {
        keepFreedMemory = false;
        const size_t kept = std::min(freedBlocksCount.exchange(0), MostFreedBlocksKept);
        for (size_t i = 0; i < kept; ++i)
            std::free(freedBlocksKept[i]);
    }
    FreedMemoryKeptAside(const FreedMemoryKeptAside&) = delete;
    FreedMemoryKeptAside& operator=(const FreedMemoryKeptAside&) = delete;
};
} // namespace

// The program's own frees, which new takes from malloc.
void operator delete(void* block) noexcept { KeepOrFreeBlock(block); }
void operator delete(void* block, std::size_t) noexcept { KeepOrFreeBlock(block); }
void operator delete[](void* block) noexcept { KeepOrFreeBlock(block); }
void operator delete[](void* block, std::size_t) noexcept { KeepOrFreeBlock(block); }

namespace
{
TEST(CalendarGrid, MonthViewHasFiveRowsUnlessTheMonthReachesASixth)
{
    struct Case
    {
        int year, month;
        bool monday;
        int offset, rows;
    };
    const Case cases[] = {
        {2026, 2, false, 0, 5}, // 1 February 2026 is a Sunday: four full rows, still five
        {2026, 2, true, 6, 5},
        {2026, 8, false, 6, 6}, // 31 days from a Saturday
        {2026, 5, false, 5, 6}, // 31 days from a Friday
        {2026, 5, true, 4, 5},
        {2026, 3, true, 6, 6},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << " monday " << c.monday);
        const CalendarGrid grid = GetCalendarGrid(DateTime(c.year, c.month, 17, 0).local, 0, c.monday);
        EXPECT_EQ(grid.offset, c.offset);
        EXPECT_EQ(grid.rows, c.rows);
        EXPECT_EQ(grid.columns, 7);
        EXPECT_EQ(grid.firstDay, 1 - c.offset);
    }
    const CalendarGrid week = GetCalendarGrid(DateTime(2026, 3, 11, 0).local, 1, false);
    EXPECT_EQ(week.rows, 1);
    EXPECT_EQ(week.firstDay, 8);
    const CalendarGrid day = GetCalendarGrid(DateTime(2026, 3, 11, 0).local, 2, false);
    EXPECT_EQ(day.columns, 1);
    EXPECT_EQ(day.firstDay, 11);
}

TEST(CalendarGrid, DaysAroundTheShownMonthCountFromItsOwnLength)
{
    // January 2026 begins on a Thursday; February has 28 days, so counting on from it would be wrong.
    const CalendarGrid grid = GetCalendarGrid(DateTime(2026, 1, 10, 0).local, 0, false);
    const CellDay before = GetCellDay(grid, 1, 0, 0);
    EXPECT_EQ(before.month, 0);
    EXPECT_EQ(before.day, 31 - 3);
    EXPECT_TRUE(before.otherMonth);
    const CellDay first = GetCellDay(grid, 1, 0, 4);
    EXPECT_EQ(first.month, 1);
    EXPECT_EQ(first.day, 1);
    EXPECT_FALSE(first.otherMonth);
    const CellDay after = GetCellDay(grid, 1, 4, 6); // day 1 - 4 + 28 + 6 = 31
    EXPECT_EQ(after.day, 31);
    const CellDay next = GetCellDay(grid, 1, 5, 0); // day 32
    EXPECT_EQ(next.month, 2);
    EXPECT_EQ(next.day, 1);
    const CalendarGrid february = GetCalendarGrid(DateTime(2026, 2, 10, 0).local, 0, false);
    EXPECT_EQ(GetCellDay(february, 2, 4, 6).day, 35 - 28);
}

TEST(CalendarGrid, ScrollOffsetIsClampedByArithmeticAndStepsAtLeastOneLine)
{
    EXPECT_EQ(ClampScrollOffset(3, 10, 4), 3u);
    EXPECT_EQ(ClampScrollOffset(9, 10, 4), 10u - 4u);
    EXPECT_EQ(ClampScrollOffset(4000000000u, 10, 4), 6u);
    EXPECT_EQ(ClampScrollOffset(5, 3, 4), 0u);
    EXPECT_EQ(ClampScrollOffset(5, 0, 4), 5u) << "an empty day keeps its offset for when its lines come";
    EXPECT_EQ(ClampScrollOffset(7, 10, -1), 7u);
    EXPECT_EQ(ScrollStep(-1), 1);
    EXPECT_EQ(ScrollStep(0), 1);
    EXPECT_EQ(ScrollStep(5), 5);
}

TEST(PagePreviewPopup, StaysBelowThePointerAndTurnsAwayFromEachEdge)
{
    const float u = UnitsToPixels(1);
    const auto expect = [](const Gdiplus::RectF& box, float x, float y) {
        EXPECT_FLOAT_EQ(box.X, x);
        EXPECT_FLOAT_EQ(box.Y, y);
    };
    {
        SCOPED_TRACE("inside");
        expect(PlacePreviewPopup(100, 100, 300, 300, 1000, 800), 100, 100 + 24 * u);
    }
    {
        SCOPED_TRACE("right edge, room on the left");
        expect(PlacePreviewPopup(900, 100, 300, 300, 1000, 800), 900 - 300 - 8 * u, 100 + 24 * u);
    }
    {
        SCOPED_TRACE("right edge of a narrow window");
        expect(PlacePreviewPopup(50, 100, 300, 300, 250, 800), 0, 100 + 24 * u);
    }
    {
        SCOPED_TRACE("bottom edge, room above");
        expect(PlacePreviewPopup(100, 700, 300, 300, 1000, 800), 100, 700 + 24 * u - 300 - 40 * u);
    }
    {
        SCOPED_TRACE("bottom edge of a low window: moved up and beside the pointer");
        const float top = 100 + 24 * u;
        expect(PlacePreviewPopup(100, 100, 300, 300, 1000, 400), 100 + 24 * u, top - (top + 300 - 400 + 2 * u));
    }
    {
        SCOPED_TRACE("bottom right corner");
        expect(PlacePreviewPopup(900, 700, 300, 300, 1000, 800), 900 - 300 - 8 * u, 700 + 24 * u - 300 - 40 * u);
    }
}

class CalendarPaint : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CreateFonts();
        SetColorScheme(false);
    }
    static void TearDownTestSuite() { FreeDrawingResources(); }

    void SetUp() override
    {
        LoadLanguageStrings(L"en");
        FillDateNameTables();
        savedSettings = GetCalendarSettings();
        CalendarSettings& settings = GetCalendarSettings();
        settings.showPagesOnCreatedDate = true;
        settings.showPagesOnLMT = true;
        settings.allNotebooks = true;
        settings.viewType = 0;
        GetCalendarState().currentDate = DateTime(2026, 3, 11, 0);
        GetCalendarViewState() = CalendarViewState();
        SetHotArea(HitArea());
        GetDayMap().clear();
    }
    void TearDown() override
    {
        GetCalendarSettings() = savedSettings;
        GetDayMap().clear();
        GetHitAreas().clear();
        SetHotArea(HitArea());
    }

    static void AddPages(int year, int month, int day, int count)
    {
        for (int i = 0; i < count; ++i)
        {
            auto page = std::make_shared<ON::Page>();
            page->hierarchy.ID = L"{" + std::to_wstring(year * 10000 + month * 100 + day) + L"-" + std::to_wstring(i) +
                                 L"}";
            page->hierarchy.name = L"Page " + std::to_wstring(i);
            page->dateTime = DateTime(year, month, day, 9).AddSeconds(i).ToUtcSystemTime();
            FilePageEntries(GetDayMap(), GetDayMapLock(), CalendarEntry{page, L"Notes > " + *page->hierarchy.name, 0});
        }
    }

    static void Paint(int width = 900, int height = 700)
    {
        Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(&bitmap);
        PaintCalendar(graphics, width, height);
    }

    static std::vector<HitArea> AreasOf(int kind)
    {
        std::vector<HitArea> result;
        std::copy_if(GetHitAreas().begin(), GetHitAreas().end(), std::back_inserter(result),
                     [&](const HitArea& area) { return area.kind == kind; });
        return result;
    }

    CalendarSettings savedSettings;
};

TEST_F(CalendarPaint, MonthViewLaysDownEveryDayButtonAndStripSlot)
{
    AddPages(2026, 3, 11, 2);
    Paint();
    // March 2026 starts on a Sunday: five rows of seven days.
    EXPECT_EQ(AreasOf(HitDayNumber).size(), 35u);
    EXPECT_EQ(AreasOf(HitPage).size(), 2u);
    EXPECT_EQ(AreasOf(HitPrevious).size(), 1u);
    EXPECT_EQ(AreasOf(HitNext).size(), 1u);
    EXPECT_EQ(AreasOf(HitMonth).size(), 12u);
    EXPECT_EQ(AreasOf(HitViewType).size(), 3u);
    EXPECT_EQ(AreasOf(HitRefresh).size(), 1u);
    EXPECT_EQ(AreasOf(HitSettings).size(), 1u);
    EXPECT_EQ(AreasOf(HitTheme).size(), 1u);
    EXPECT_EQ(AreasOf(HitToday).size(), 1u);
    EXPECT_EQ(AreasOf(HitPrevious).front().tooltip, GetUiString(StrPreviousMonth));
    const std::vector<HitArea> pages = AreasOf(HitPage);
    EXPECT_EQ(pages[0].tooltip, L"Notes > Page 0");
    EXPECT_EQ(pages[0].item, 3) << "column of Wednesday";
    EXPECT_EQ(pages[0].subItem, 1) << "row";
}

TEST_F(CalendarPaint, YearSlotsOutsideTheWindowAreNeitherDrawnNorClickable)
{
    GetCalendarState().currentDate = DateTime(2001, 6, 1, 0);
    Paint();
    std::vector<int> years;
    for (const HitArea& area : AreasOf(HitYear))
        years.push_back(area.item);
    EXPECT_EQ(years, (std::vector<int>{2000, 2001, 2002, 2003}));
    GetCalendarState().currentDate = DateTime(LastCalendarYear(), 6, 1, 0);
    Paint();
    EXPECT_EQ(AreasOf(HitYear).size(), 3u);
}

TEST_F(CalendarPaint, WeekAndDayViewsHaveOneRow)
{
    GetCalendarSettings().viewType = 1;
    Paint();
    EXPECT_EQ(AreasOf(HitDayNumber).size(), 7u);
    EXPECT_EQ(GetCalendarViewState().rows, 1);
    GetCalendarSettings().viewType = 2;
    Paint();
    EXPECT_EQ(AreasOf(HitDayNumber).size(), 0u) << "the day view names its day in the band";
    EXPECT_EQ(GetCalendarViewState().columns, 1);
}

TEST_F(CalendarPaint, AFullCellShowsItsLinesWithADownArrowAndPullsScrollingBack)
{
    AddPages(2026, 3, 11, 60);
    Paint();
    const CalendarViewState& view = GetCalendarViewState();
    ASSERT_GT(view.linesPerCell, 0);
    EXPECT_EQ(AreasOf(HitPage).size(), static_cast<size_t>(view.linesPerCell));
    EXPECT_EQ(AreasOf(HitScrollDown).size(), 1u);
    EXPECT_EQ(AreasOf(HitScrollUp).size(), 0u);
    GetCalendarViewState().scrollOffsets[1 * 7 + 3] = 1000;
    Paint();
    EXPECT_EQ(view.scrollOffsets[1 * 7 + 3], 60u - static_cast<unsigned>(view.linesPerCell));
    EXPECT_EQ(AreasOf(HitScrollUp).size(), 1u);
    EXPECT_EQ(AreasOf(HitPage).back().page->hierarchy.name, L"Page 59");
}

TEST_F(CalendarPaint, ScrolledCellShowsTheLinesFromItsOffsetAndDrawsTheirTitles)
{
    AddPages(2026, 3, 11, 60);
    GetCalendarViewState().scrollOffsets[1 * 7 + 3] = 7;
    const auto bitmap = UI::OffscreenBitmap::Create(900, 700);
    ASSERT_TRUE(bitmap);
    {
        Gdiplus::Graphics graphics(bitmap->DC());
        PaintCalendar(graphics, 900, 700);
    }
    GdiFlush();
    const std::vector<HitArea> lines = AreasOf(HitPage);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().page->hierarchy.name, L"Page 7");
    EXPECT_EQ(AreasOf(HitScrollUp).size(), 1u);
    // The title's text lies in its area: some pixels there are dark, none beyond its end.
    const Gdiplus::RectF& first = lines.front().rect;
    int dark = 0;
    for (int x = static_cast<int>(first.X); x < static_cast<int>(first.X + first.Width); ++x)
        for (int y = static_cast<int>(first.Y); y < static_cast<int>(first.Y + first.Height); ++y)
        {
            Gdiplus::Color color;
            bitmap->GetPixel(x, y, &color);
            dark += color.GetR() < 128 ? 1 : 0;
        }
    EXPECT_GT(dark, 10);
}

TEST_F(CalendarPaint, ATitleWiderThanItsCellIsCutAndItsAreaStaysInTheCell)
{
    auto page = std::make_shared<ON::Page>();
    page->hierarchy.ID = L"{long}";
    page->hierarchy.name = std::wstring(200, L'W');
    page->dateTime = DateTime(2026, 3, 11, 9).ToUtcSystemTime();
    FilePageEntries(GetDayMap(), GetDayMapLock(), CalendarEntry{page, L"Notes > long", 0});
    Paint();
    const std::vector<HitArea> lines = AreasOf(HitPage);
    ASSERT_EQ(lines.size(), 1u);
    const Gdiplus::RectF& cell = GetCalendarViewState().cells[1 * 7 + 3];
    EXPECT_GE(lines[0].rect.X, cell.X);
    EXPECT_LE(lines[0].rect.X + lines[0].rect.Width, cell.X + cell.Width);
    EXPECT_GT(lines[0].rect.Width, cell.Width / 2);
}

// A title cut to its cell is drawn from its own measure and that of "...". The measures are
// bounded: the one that finds them full forgets them all, and the title's, taken just before, must
// not be read after that.
TEST_F(CalendarPaint, ATitleCutWhereTheLineMeasuresAreFullIsDrawnAsAnywhere)
{
    auto page = std::make_shared<ON::Page>();
    page->hierarchy.ID = L"{long}";
    page->hierarchy.name = L"Minutes of the quarterly budget review " + std::wstring(60, L'W');
    page->dateTime = DateTime(2026, 3, 11, 9).ToUtcSystemTime();
    FilePageEntries(GetDayMap(), GetDayMapLock(), CalendarEntry{page, L"Notes > long", 0});
    const auto line = [] {
        const auto bitmap = UI::OffscreenBitmap::Create(900, 700);
        if (!bitmap)
            return std::vector<Gdiplus::ARGB>{};
        {
            Gdiplus::Graphics graphics(bitmap->DC());
            PaintCalendar(graphics, 900, 700);
        }
        GdiFlush();
        const std::vector<HitArea> lines = AreasOf(HitPage);
        if (lines.size() != 1)
            return std::vector<Gdiplus::ARGB>{};
        const Gdiplus::RectF& box = lines.front().rect;
        std::vector<Gdiplus::ARGB> pixels;
        for (int y = static_cast<int>(box.Y); y < static_cast<int>(box.Y + box.Height); ++y)
            for (int x = static_cast<int>(box.X); x < static_cast<int>(box.X + box.Width); ++x)
            {
                Gdiplus::Color color;
                bitmap->GetPixel(x, y, &color);
                pixels.push_back(color.GetValue());
            }
        return pixels;
    };
    const std::vector<Gdiplus::ARGB> drawn = line();
    ASSERT_FALSE(drawn.empty());
    const Gdiplus::RectF box = AreasOf(HitPage).front().rect;
    ASSERT_GT(MeasureLine(FontPage, *page->hierarchy.name).Width, box.Width) << "the title is not cut";

    // The measures forgotten, then filled with the titles of a large store, all but one: the cut
    // title's own fills them, and "..." finds them full.
    FreeDrawingResources();
    CreateFonts();
    SetColorScheme(false);
    for (int i = 0; i < 19999; ++i)
        MeasureLineEnds(FontPage, L"Page " + std::to_wstring(i));
    std::vector<Gdiplus::ARGB> drawnWhenFull;
    {
        const FreedMemoryKeptAside kept;
        drawnWhenFull = line();
    }
    EXPECT_TRUE(drawnWhenFull == drawn) << "the cut title is drawn otherwise where the measures were full";
}

TEST_F(CalendarPaint, PagesOfAHiddenKindOfDayAreNotDrawn)
{
    AddPages(2026, 3, 11, 3);
    GetCalendarSettings().showPagesOnCreatedDate = false;
    Paint();
    EXPECT_EQ(AreasOf(HitPage).size(), 0u);
}

// A page changed on another day than the one it was made on has a line on each day, and on the
// one day each option leaves when the other is off.
TEST_F(CalendarPaint, APageChangedOnAnotherDayShowsOnTheDaysTheOptionsChoose)
{
    auto page = std::make_shared<ON::Page>();
    page->hierarchy.ID = L"{changed}";
    page->hierarchy.name = L"Changed later";
    page->dateTime = DateTime(2026, 3, 10, 9).ToUtcSystemTime();
    page->hierarchy.lastModifiedTime = DateTime(2026, 3, 12, 18).ToUtcSystemTime();
    FilePageEntries(GetDayMap(), GetDayMapLock(), CalendarEntry{page, L"Notes > Changed later", 0});
    // The cells of the lines: the 10th is a Tuesday, the 12th a Thursday, both in the second row.
    const auto cellsOfLines = [] {
        std::vector<std::pair<int, int>> cells;
        for (const HitArea& area : AreasOf(HitPage))
            cells.emplace_back(area.item, area.subItem);
        return cells;
    };
    CalendarSettings& settings = GetCalendarSettings();
    Paint();
    EXPECT_EQ(cellsOfLines(), (std::vector<std::pair<int, int>>{{2, 1}, {4, 1}}));
    settings.showPagesOnLMT = false;
    Paint();
    EXPECT_EQ(cellsOfLines(), (std::vector<std::pair<int, int>>{{2, 1}})) << "the day it was made";
    settings.showPagesOnLMT = true;
    settings.showPagesOnCreatedDate = false;
    Paint();
    EXPECT_EQ(cellsOfLines(), (std::vector<std::pair<int, int>>{{4, 1}})) << "the day it was changed";
}

TEST_F(CalendarPaint, HotAreaThatIsGoneIsDropped)
{
    SetHotArea(HitArea{.rect = {0, 0, 5, 5}, .item = 7, .kind = HitYear});
    Paint();
    EXPECT_EQ(GetHotArea().kind, 0);
    HitArea refresh = AreasOf(HitRefresh).front();
    SetHotArea(refresh);
    Paint();
    EXPECT_EQ(GetHotArea().kind, HitRefresh);
}
// An update that fails with anything else than a COM error (memory, a library's own exception)
// can reach no message loop: the calendar must not stay behind its progress, without buttons.
TEST_F(CalendarPaint, AnUpdateFailingWithAnyExceptionLeavesTheCalendarWithItsButtons)
{
    RunUpdateCheck([](const std::function<void(float)>& progress) -> bool {
        progress(0.5f);
        throw std::bad_alloc();
    });
    EXPECT_EQ(GetCalendarState().updateProgress.load(), 0.0f);
    Paint();
    EXPECT_EQ(AreasOf(HitSettings).size(), 1u);
}
} // namespace
