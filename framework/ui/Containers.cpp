#include "framework/ui/Containers.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace UI
{
int MeasureUnwrappedWidth(Gdiplus::Graphics& graphics, IControl& control)
{
    control.Measure(graphics, 0, 0);
    return control.GetDesiredSize().width + control.margin.left + control.margin.right;
}

Container::Container(ControlList children) : children(std::move(children)) {}

void Container::Enable(bool enable)
{
    for (const auto& child : children)
        if (child)
            child->Enable(enable);
}

void Container::SetChildren(ControlList newChildren) { children = std::move(newChildren); }

BoxContainer::BoxContainer(const char* name, bool vertical, int32_t alignment, int32_t spacing, ControlList children)
    : Container({}), name(name), horizontal(!vertical), alignment(alignment), spacing(spacing)
{
    BoxContainer::SetChildren(std::move(children));
}

void BoxContainer::SetChildren(ControlList newChildren)
{
    Container::SetChildren(std::move(newChildren));
    childSizes_.assign(children.size(), Size{});
}

int32_t BoxContainer::MainMargins(const IControl& item) const
{
    return horizontal ? item.margin.left + item.margin.right : item.margin.top + item.margin.bottom;
}

int32_t BoxContainer::CrossMargins(const IControl& item) const
{
    return horizontal ? item.margin.top + item.margin.bottom : item.margin.left + item.margin.right;
}

void BoxContainer::MeasureChild(Gdiplus::Graphics& graphics, size_t index, int32_t main, int32_t cross)
{
    IControl& child = *children[index];
    if (horizontal)
        child.Measure(graphics, main, cross);
    else
        child.Measure(graphics, cross, main);
    const Size desired = child.GetDesiredSize();
    const Size minimum = child.GetMinSize();
    desiredMain_ += Main(desired) + MainMargins(child);
    minMain_ += Main(minimum) + MainMargins(child);
    cross_ = std::max(cross_, Cross(desired) + CrossMargins(child));
    childSizes_[index] = desired;
}

void BoxContainer::Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight)
{
    availableWidth_ = availableWidth;
    availableHeight_ = availableHeight;
    childSizes_.resize(children.size());

    const int32_t visibleCount =
        static_cast<int32_t>(std::count_if(children.begin(), children.end(), [](const auto& c) { return c && c->visible; }));
    const int32_t mainPaddings = horizontal ? padding.left + padding.right : padding.top + padding.bottom;
    const int32_t crossPaddings = horizontal ? padding.top + padding.bottom : padding.left + padding.right;
    const int32_t availableMain = horizontal ? availableWidth : availableHeight;
    const int32_t availableCross = horizontal ? availableHeight : availableWidth;

    int32_t crossAvailable = availableCross - crossPaddings;
    const int32_t mainBase = (visibleCount > 0 ? (visibleCount - 1) * spacing : 0) + mainPaddings;
    desiredMain_ = minMain_ = mainBase;
    cross_ = 0;

    // The box's own fixed or minimum cross size limits its children; its own main size does not.
    const int32_t fixedCross = horizontal ? height : width;
    const int32_t minCross = horizontal ? minHeight : minWidth;
    if (fixedCross > 0)
        crossAvailable = fixedCross;
    else if (minCross > 0)
    {
        crossAvailable = std::max(crossAvailable, minCross);
        cross_ = crossAvailable;
    }

    int32_t mainAvailable = availableMain - mainBase;
    for (size_t i = 0; i < children.size(); ++i)
    {
        if (!children[i] || !children[i]->visible || stretch.contains(i))
            continue;
        const int32_t before = desiredMain_;
        MeasureChild(graphics, i, mainAvailable, crossAvailable);
        mainAvailable -= desiredMain_ - before;
    }
    cross_ += crossPaddings;

    if (stretch.empty())
        return;

    // Weights are fractions of what is left; when they add up to more than 1.0 they are taken in
    // proportion, so the last one never divides by zero.
    float total = 0;
    for (const auto& [index, weight] : stretch)
        if (index < children.size() && children[index] && children[index]->visible)
            total += weight;
    total = std::max(total, 1.0f);

    float remaining = static_cast<float>(availableMain - desiredMain_);
    for (const auto& [index, weight] : stretch)
    {
        if (index >= children.size() || !children[index] || !children[index]->visible)
            continue;
        const float fraction = total >= FLT_EPSILON ? std::min(weight / total, 1.0f) : 1.0f;
        const int32_t share =
            static_cast<int32_t>(std::trunc(remaining * fraction + 0.5f)) - MainMargins(*children[index]);
        const int32_t before = desiredMain_;
        MeasureChild(graphics, index, share, availableCross);
        // The child's margins are part of what it took from the free space.
        remaining -= static_cast<float>(desiredMain_ - before);
        total -= weight;
    }
}

void BoxContainer::Arrange(int x, int y, int, int, HDWP& deferHandle, HWND& insertAfter, bool parentVisible)
{
    int32_t mainPosition = horizontal ? x + margin.left + padding.left : y + margin.top + padding.top;
    const int32_t crossPosition = horizontal ? y + margin.top + padding.top : x + margin.left + padding.left;
    // The measured cross size includes the paddings; children align within what lies between them.
    const int32_t innerCross = cross_ - (horizontal ? padding.top + padding.bottom : padding.left + padding.right);
    for (size_t i = 0; i < children.size(); ++i)
    {
        if (!children[i])
            continue;
        IControl& child = *children[i];
        const Size size = childSizes_[i];
        const int32_t extent = Cross(size) + CrossMargins(child);
        int32_t offset = 0;
        if (alignment == End)
            offset = innerCross - extent;
        else if (alignment == Centre)
            offset = (innerCross - extent) / 2;
        if (horizontal)
            child.Arrange(mainPosition, crossPosition + offset, size.width, size.height, deferHandle, insertAfter,
                          visible && parentVisible);
        else
            child.Arrange(crossPosition + offset, mainPosition, size.width, size.height, deferHandle, insertAfter,
                          visible && parentVisible);
        if (child.visible)
            mainPosition += Main(size) + spacing + MainMargins(child);
    }
}

Size BoxContainer::GetDesiredSize() { return horizontal ? Size{desiredMain_, cross_} : Size{cross_, desiredMain_}; }

Size BoxContainer::GetMinSize() { return horizontal ? Size{minMain_, cross_} : Size{cross_, minMain_}; }

OverlappingContainer::OverlappingContainer(int32_t horizontalAlignment, int32_t verticalAlignment, ControlList children)
    : Container({}), horizontalAlignment(horizontalAlignment), verticalAlignment(verticalAlignment)
{
    OverlappingContainer::SetChildren(std::move(children));
}

void OverlappingContainer::SetChildren(ControlList newChildren)
{
    Container::SetChildren(std::move(newChildren));
    childSizes_.assign(children.size(), Size{});
}

void OverlappingContainer::Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight)
{
    const int32_t innerWidth = availableWidth - padding.left - padding.right;
    const int32_t innerHeight = availableHeight - padding.top - padding.bottom;
    childSizes_.resize(children.size());
    for (size_t i = 0; i < children.size(); ++i)
    {
        if (!children[i] || !children[i]->visible)
            continue;
        IControl& child = *children[i];
        child.Measure(graphics, innerWidth, innerHeight);
        const Size d = child.GetDesiredSize();
        const Size m = child.GetMinSize();
        const int32_t horizontalMargins = child.margin.left + child.margin.right;
        const int32_t verticalMargins = child.margin.top + child.margin.bottom;
        desired_ = {std::max(innerWidth, d.width + horizontalMargins), std::max(innerHeight, d.height + verticalMargins)};
        minimum_ = {std::max(innerWidth, m.width + horizontalMargins), std::max(innerHeight, m.height + verticalMargins)};
        childSizes_[i] = d;
    }
}

void OverlappingContainer::Arrange(int x, int y, int width, int height, HDWP& deferHandle, HWND& insertAfter,
                                   bool parentVisible)
{
    const int32_t innerX = x + padding.left;
    const int32_t innerY = y + padding.top;
    const int32_t innerWidth = width - padding.left - padding.right;
    const int32_t innerHeight = height - padding.top - padding.bottom;
    for (size_t i = 0; i < children.size(); ++i)
    {
        if (!children[i])
            continue;
        IControl& child = *children[i];
        Size& size = childSizes_[i];
        const int32_t horizontalMargins = child.margin.left + child.margin.right;
        const int32_t verticalMargins = child.margin.top + child.margin.bottom;
        int32_t childX = innerX;
        if (horizontalAlignment == 1)
            childX = innerX + innerWidth - size.width - horizontalMargins;
        else if (horizontalAlignment == 2)
            childX = innerX + (innerWidth - size.width) / 2;
        int32_t childY = innerY;
        if (verticalAlignment == 1)
            childY = innerY + innerHeight - size.height - verticalMargins;
        else if (verticalAlignment == 2)
            childY = innerY + (innerHeight - size.height) / 2;
        // A child wider than the container is shrunk to fit; a taller one keeps its height.
        if (size.width + horizontalMargins > innerWidth)
        {
            childX = x;
            size.width = innerWidth - horizontalMargins;
        }
        child.Arrange(childX, childY, size.width, size.height, deferHandle, insertAfter, visible && parentVisible);
    }
}

void Spacer::Measure(Gdiplus::Graphics&, int availableWidth, int availableHeight)
{
    if (horizontal)
    {
        width = std::max(availableWidth, 0);
        height = 0;
    }
    else
    {
        width = 0;
        height = std::max(availableHeight, 0);
    }
}
} // namespace UI
