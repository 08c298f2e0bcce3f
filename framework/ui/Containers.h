#pragma once
// Inner nodes and spacers of the control tree.

#include "framework/ui/Control.h"

#include <map>
#include <memory>
#include <vector>

namespace UI
{
using ControlList = std::vector<std::shared_ptr<IControl>>;

// The width that a control needs for what it cannot wrap (a button's text, a fixed size), with
// its margins: measured with no room at all, text that wraps takes none. The next layout pass
// measures it again for the room it gets.
int MeasureUnwrappedWidth(Gdiplus::Graphics& graphics, IControl& control);

class Container : public IControl
{
public:
    explicit Container(ControlList children);

    bool IsWindowControl() const override { return false; }
    // Every child, visible or not.
    void Enable(bool enable) override;
    virtual void SetChildren(ControlList children);

    const ControlList& Children() const { return children; }

protected:
    ControlList children;
};

// Children one after the other along the main axis, aligned on the cross axis.
class BoxContainer : public Container
{
public:
    enum Alignment : int32_t
    {
        Start = 0,
        End = 1,
        Centre = 2,
    };

    BoxContainer(const char* name, bool vertical, int32_t alignment, int32_t spacing, ControlList children);

    void SetChildren(ControlList children) override;
    void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override;
    // The box lays its children out from their measured sizes; the given size is not used.
    void Arrange(int x, int y, int width, int height, HDWP& deferHandle, HWND& insertAfter, bool parentVisible) override;
    Size GetDesiredSize() override;
    Size GetMinSize() override;

    // A label only.
    const char* name;
    bool horizontal;
    int32_t alignment;
    // Between consecutive visible children.
    int32_t spacing;
    // Child index -> its share of the free main-axis space (1.0: all that is left). Weights that add
    // up to more than 1.0 share the space in proportion.
    std::map<size_t, float> stretch;

private:
    int32_t Main(const Size& size) const { return horizontal ? size.width : size.height; }
    int32_t Cross(const Size& size) const { return horizontal ? size.height : size.width; }
    int32_t MainMargins(const IControl& item) const;
    int32_t CrossMargins(const IControl& item) const;
    void MeasureChild(Gdiplus::Graphics& graphics, size_t index, int32_t main, int32_t cross);

    int32_t desiredMain_ = 0;
    int32_t minMain_ = 0;
    int32_t cross_ = 0;
    int32_t availableWidth_ = 0;
    int32_t availableHeight_ = 0;
    std::vector<Size> childSizes_;
};

// All children in the same rectangle (the pages of a tabbed dialog).
class OverlappingContainer : public Container
{
public:
    OverlappingContainer(int32_t horizontalAlignment, int32_t verticalAlignment, ControlList children);

    void SetChildren(ControlList children) override;
    void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override;
    void Arrange(int x, int y, int width, int height, HDWP& deferHandle, HWND& insertAfter, bool parentVisible) override;
    Size GetDesiredSize() override { return desired_; }
    Size GetMinSize() override { return minimum_; }

    // 0 left, 1 right, 2 centre.
    int32_t horizontalAlignment;
    // 0 top, 1 bottom, 2 centre.
    int32_t verticalAlignment;

private:
    std::vector<Size> childSizes_;
    Size desired_;
    Size minimum_;
};

// Empty space: measured, it takes all that is available on its axis.
class Spacer : public IControl
{
public:
    explicit Spacer(bool horizontal = false) : horizontal(horizontal) {}

    bool IsWindowControl() const override { return false; }
    void Enable(bool) override {}
    void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override;
    void Arrange(int, int, int, int, HDWP&, HWND&, bool) override {}
    Size GetDesiredSize() override { return {width, height}; }
    Size GetMinSize() override { return {minWidth, minHeight}; }

    bool horizontal;
};

class HorizontalSpacer : public Spacer
{
public:
    HorizontalSpacer() : Spacer(true) {}
};
} // namespace UI
