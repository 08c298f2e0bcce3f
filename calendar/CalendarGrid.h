#pragma once
// Which days the calendar's cells hold: the month, week or day around the shown date laid out in
// rows and columns, and the view's state that outlives one paint (cell rectangles, the scroll
// offset of each cell, the lines a cell has room for).

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <array>
#include <cstddef>
#include <ctime>

struct CalendarGrid
{
    int daysInMonth = 0;
    int daysInPreviousMonth = 0;
    int offset = 0; // columns before the 1st in the month view
    int columns = 7;
    int rows = 5;
    int firstDay = 1; // day of month of row 0, column 0 (below 1 in the month before)
};

// The layout for the shown date's local fields.
CalendarGrid GetCalendarGrid(const tm& shown, int viewType, bool mondayWeek);

struct CellDay
{
    int month = 0; // 1-based; 0 is December before, 13 January after the shown year's months
    int day = 0;
    bool otherMonth = false;
};
// The day of a cell; a day after the end of the shown month counts on from that month's length.
CellDay GetCellDay(const CalendarGrid& grid, int shownMonth, int row, int column);

// Lines of a cell that scrolling counts over and that it may hide above: clamped so that the last
// lines stay in sight, and never past the end.
unsigned ClampScrollOffset(unsigned offset, int lineCount, int linesPerCell);
// Lines one arrow click moves: a cell's worth, at least one.
int ScrollStep(int linesPerCell);

constexpr int MaxCalendarRows = 6;
constexpr int MaxCalendarColumns = 7;

// Where a cell's rectangle and scroll offset stand in the view's state.
constexpr size_t CellIndex(int row, int column) { return static_cast<size_t>(row * MaxCalendarColumns + column); }

struct CalendarViewState
{
    std::array<Gdiplus::RectF, MaxCalendarRows * MaxCalendarColumns> cells{};
    std::array<unsigned, MaxCalendarRows * MaxCalendarColumns> scrollOffsets{};
    int rows = 0;
    int columns = 0;
    int linesPerCell = 0;
    // Ctrl+F12: every hit area outlined.
    bool outlineHitAreas = false;
};

// The calendar view's state; the UI thread's alone.
CalendarViewState& GetCalendarViewState();
