#pragma once
// The layout item of the control tree. Windows lay their children out from a tree of items in two
// passes: Measure top-down with the available size, then Arrange top-down with positions, where
// each window control defers its move into one DeferWindowPos batch. Containers and spacers are
// plain arithmetic; only window controls touch an HWND.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>

namespace UI
{
struct Size
{
    int32_t width = 0;
    int32_t height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

struct Edges
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class IControl
{
public:
    // An invisible item takes no space in a box and its window is hidden.
    bool visible = true;
    // Minimum size; 0 means none.
    int32_t minWidth = 0;
    int32_t minHeight = 0;
    // Fixed size; 0 or less means not fixed.
    int32_t width = 0;
    int32_t height = 0;
    // Inner space, used by containers.
    Edges padding;
    // Outer space; may be negative.
    Edges margin;

    virtual ~IControl() = default;
    virtual bool IsWindowControl() const = 0;
    virtual void Enable(bool enable) = 0;
    // Computes and stores the item's sizes; graphics (on the screen) serves for measuring text.
    virtual void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) = 0;
    // Places the item. A window item replaces deferHandle with the result of its DeferWindowPos and
    // sets insertAfter to its own window, so z-order and tab order follow the tree.
    virtual void Arrange(int x, int y, int width, int height, HDWP& deferHandle, HWND& insertAfter,
                         bool parentVisible) = 0;
    // Valid after Measure.
    virtual Size GetDesiredSize() = 0;
    virtual Size GetMinSize() = 0;

protected:
    IControl() = default;
    IControl(const IControl&) = default;
    IControl& operator=(const IControl&) = default;
};
} // namespace UI
