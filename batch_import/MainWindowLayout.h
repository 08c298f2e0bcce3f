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

// What the columns need in pixels for the lines of their controls that do not wrap: the right
// column with the settings box (a tall window) and without it, and the left column.
struct ColumnContent
{
    int rightTall = 0;
    int rightLow = 0;
    int left = 0;
};

// The rules for a client of width x height pixels on a screen of dpiScaleX pixels per point. The
// right column's room and the width from which it shows are the least they are: a column whose
// content is wider takes the room of its content, and the right column shows only where the left
// one keeps what it needs beside it.
MainWindowLayout ComputeMainWindowLayout(int width, int height, float dpiScaleX, ColumnContent content = {});
