#pragma once
// What the calendar view's arrows, buttons, keys and wheel do to the shown date and the view type
// (UI thread): each move retitles the main window and asks for a repaint.

#include <string>

// The shown date on the 1st of its month.
void SetFirstOfMonth();
// One period back (sign < 0) or forward; a move out of the year window is refused. The window
// title is set and a repaint requested either way.
void MovePeriod(int sign);
void MovePeriodBy(int steps);
// Today; a second press, once the last paint showed today's period, opens today's day view.
void GoToToday();
// Month, week or day view (ViewType).
void SetViewType(int viewType);

// The shown period's text at level 0 (day part, full month and year) .. 3 (day part only).
std::wstring FormatPeriodTitle(int level);
// The main window's title for the calendar view: the shown period at level 0.
void UpdateWindowTitle();
