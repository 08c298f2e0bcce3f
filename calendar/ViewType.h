#pragma once
// The calendar view's three layouts, as the viewType setting stores them.

enum ViewType : int
{
    ViewMonth = 0,
    ViewWeek = 1,
    ViewDay = 2,
};
