#pragma once
// How the main window gives way as it gets smaller: which columns and controls show at a client
// size, and the fixed sizes that keep the file list beside the settings column. Plain arithmetic,
// so every rule is a table test.

struct MainWindowLayout
{
    // Tall enough for the heading and the settings box; otherwise the "Import Settings" button
    // stands in for the box.
    bool tall = false;
    bool pickLocationVisible = false;
    // Wide enough for the right column; otherwise the toolbar carries Import Format and Start and
    // the small progress box shows under it.
    bool wide = false;
    bool importSettingsEnabled = false;
    // 0: no fixed size.
    int smallStatusWidth = 0;
    int leftWidth = 0;
    int leftHeight = 0;
};

// The widest line of the right column in pixels, of the controls that do not wrap their text:
// with the settings box (a tall window) and without it.
struct RightColumnContent
{
    int tall = 0;
    int low = 0;
};

// The rules for a client of width x height pixels on a screen of dpiScaleX pixels per point. The
// right column's room is the least it gets: a column whose content is wider takes the room of its
// content, and the window must be as much wider before the column shows.
MainWindowLayout ComputeMainWindowLayout(int width, int height, float dpiScaleX, RightColumnContent content = {});
