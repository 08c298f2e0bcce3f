// The arithmetic of the control tree: boxes, overlapping containers and spacers, without windows.
#include "framework/Owners.h"
#include "framework/ui/Containers.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
// A leaf of a given size that records what it was given.
class FakeItem : public UI::IControl
{
public:
    FakeItem(int desiredWidth, int desiredHeight, bool takeAvailable = false)
        : desired{desiredWidth, desiredHeight}, takeAvailable(takeAvailable)
    {
    }

    bool IsWindowControl() const override { return false; }
    void Enable(bool enable) override { enabled = enable; }
    void Measure(Gdiplus::Graphics&, int availableWidth, int availableHeight) override
    {
        measuredWith = {availableWidth, availableHeight};
        if (takeAvailable)
            desired = {availableWidth, desired.height};
    }
    void Arrange(int x, int y, int w, int h, HDWP&, HWND&, bool parentVisible) override
    {
        arranged = {x + margin.left, y + margin.top, w, h};
        arrangedVisible = visible && parentVisible;
    }
    UI::Size GetDesiredSize() override { return desired; }
    UI::Size GetMinSize() override { return minimum; }

    UI::Size desired;
    UI::Size minimum;
    bool takeAvailable;
    UI::Size measuredWith{-1, -1};
    struct
    {
        int x = -1, y = -1, width = -1, height = -1;
    } arranged;
    bool arrangedVisible = false;
    bool enabled = true;
};

class Layout : public testing::Test
{
protected:
    Layout() : screen_(CreateCompatibleDC(nullptr)), graphics_(std::make_unique<Gdiplus::Graphics>(screen_.get())) {}

    void Measure(UI::IControl& item, int width, int height) { item.Measure(*graphics_, width, height); }
    void Arrange(UI::IControl& item, int x, int y)
    {
        HDWP defer = nullptr;
        HWND insertAfter = nullptr;
        const UI::Size size = item.GetDesiredSize();
        item.Arrange(x, y, size.width, size.height, defer, insertAfter, true);
    }

    Screenshot::GdiplusSession gdiplus_;
    Owners::MemoryDC screen_;
    std::unique_ptr<Gdiplus::Graphics> graphics_;
};

template <typename... Items>
UI::ControlList List(const std::shared_ptr<Items>&... items)
{
    return UI::ControlList{items...};
}
} // namespace

TEST_F(Layout, HorizontalBox_DesiresChildrenAndSpacing)
{
    auto a = std::make_shared<FakeItem>(80, 20);
    auto b = std::make_shared<FakeItem>(40, 30);
    UI::BoxContainer box("buttons", false, 0, 5, List(a, b));
    Measure(box, 300, 100);
    EXPECT_EQ(box.GetDesiredSize(), (UI::Size{125, 30}));
    EXPECT_EQ(a->measuredWith, (UI::Size{295, 100}));
    EXPECT_EQ(b->measuredWith, (UI::Size{295 - 80, 100})) << "what the first child took is no longer available";

    Arrange(box, 10, 20);
    EXPECT_EQ(a->arranged.x, 10);
    EXPECT_EQ(b->arranged.x, 10 + 80 + 5);
    EXPECT_EQ(b->arranged.y, 20);
}

TEST_F(Layout, StretchChild_GetsAllThatIsLeft)
{
    auto a = std::make_shared<FakeItem>(80, 20);
    auto b = std::make_shared<FakeItem>(40, 20, true);
    UI::BoxContainer box("toolbar", false, 0, 5, List(a, b));
    box.stretch[1] = 1.0f;
    Measure(box, 300, 100);
    EXPECT_EQ(b->measuredWith, (UI::Size{215, 100}));
    EXPECT_EQ(box.GetDesiredSize().width, 300);
}

TEST_F(Layout, TwoHalfWeights_ShareTheFreeSpace)
{
    auto first = std::make_shared<UI::HorizontalSpacer>();
    auto second = std::make_shared<UI::HorizontalSpacer>();
    UI::BoxContainer box("row", false, 0, 0, List(first, second));
    box.stretch = {{0, 0.5f}, {1, 0.5f}};
    Measure(box, 200, 10);
    EXPECT_EQ(first->GetDesiredSize().width, 100);
    EXPECT_EQ(second->GetDesiredSize().width, 100);
}

TEST_F(Layout, WeightsAboveOne_ShareInProportionWithoutDividingByZero)
{
    auto first = std::make_shared<UI::HorizontalSpacer>();
    auto second = std::make_shared<UI::HorizontalSpacer>();
    auto third = std::make_shared<UI::HorizontalSpacer>();
    UI::BoxContainer box("row", false, 0, 0, List(first, second, third));
    box.stretch = {{0, 1.0f}, {1, 1.0f}, {2, 2.0f}};
    Measure(box, 400, 10);
    EXPECT_EQ(first->GetDesiredSize().width, 100);
    EXPECT_EQ(second->GetDesiredSize().width, 100);
    EXPECT_EQ(third->GetDesiredSize().width, 200);
    EXPECT_EQ(box.GetDesiredSize().width, 400);
}

TEST_F(Layout, InvisibleStretchChild_LeavesTheDenominator)
{
    auto hidden = std::make_shared<UI::HorizontalSpacer>();
    hidden->visible = false;
    auto shown = std::make_shared<UI::HorizontalSpacer>();
    UI::BoxContainer box("row", false, 0, 0, List(hidden, shown));
    box.stretch = {{0, 0.5f}, {1, 0.5f}};
    Measure(box, 200, 10);
    EXPECT_EQ(shown->GetDesiredSize().width, 100);
}

TEST_F(Layout, StretchChildMargins_StayInsideTheBox)
{
    auto first = std::make_shared<UI::HorizontalSpacer>();
    first->margin = {4, 0, 6, 0};
    auto second = std::make_shared<UI::HorizontalSpacer>();
    UI::BoxContainer box("row", false, 0, 0, List(first, second));
    box.stretch = {{0, 0.5f}, {1, 0.5f}};
    Measure(box, 200, 10);
    EXPECT_EQ(first->GetDesiredSize().width, 90);
    EXPECT_EQ(second->GetDesiredSize().width, 100);
    EXPECT_EQ(box.GetDesiredSize().width, 200);
}

TEST_F(Layout, BoxWithoutVisibleChild_DesiresItsPaddings)
{
    auto hidden = std::make_shared<FakeItem>(50, 50);
    hidden->visible = false;
    UI::BoxContainer box("empty", true, 0, 8, List(hidden));
    box.padding = {1, 2, 3, 4};
    Measure(box, 100, 100);
    EXPECT_EQ(box.GetDesiredSize(), (UI::Size{4, 6}));
}

TEST_F(Layout, EndAndCentreAlignment_PlaceOnTheCrossAxis)
{
    auto tall = std::make_shared<FakeItem>(10, 25);
    auto small = std::make_shared<FakeItem>(10, 20);
    UI::BoxContainer end("row", false, UI::BoxContainer::End, 0, List(tall, small));
    Measure(end, 100, 100);
    Arrange(end, 0, 50);
    EXPECT_EQ(small->arranged.y, 50 + 25 - 20);

    UI::BoxContainer centre("row", false, UI::BoxContainer::Centre, 0, List(tall, small));
    Measure(centre, 100, 100);
    Arrange(centre, 0, 50);
    EXPECT_EQ(small->arranged.y, 50 + 2);
}

TEST_F(Layout, EndAlignment_StaysWithinThePadding)
{
    auto tall = std::make_shared<FakeItem>(10, 30);
    auto small = std::make_shared<FakeItem>(10, 20);
    UI::BoxContainer box("row", false, UI::BoxContainer::End, 0, List(tall, small));
    box.padding = {0, 5, 0, 5};
    Measure(box, 100, 100);
    ASSERT_EQ(box.GetDesiredSize().height, 40);
    Arrange(box, 0, 0);
    EXPECT_EQ(small->arranged.y + small->arranged.height, 35) << "ends where the bottom padding starts";
}

TEST_F(Layout, InvisibleChild_IsArrangedHiddenAndTakesNoSpace)
{
    auto a = std::make_shared<FakeItem>(30, 10);
    auto hidden = std::make_shared<FakeItem>(40, 10);
    hidden->visible = false;
    auto c = std::make_shared<FakeItem>(20, 10);
    UI::BoxContainer box("row", false, 0, 5, List(a, hidden, c));
    Measure(box, 200, 50);
    EXPECT_EQ(box.GetDesiredSize().width, 30 + 5 + 20);
    Arrange(box, 0, 0);
    EXPECT_FALSE(hidden->arrangedVisible);
    EXPECT_EQ(hidden->arranged.x, 35);
    EXPECT_EQ(c->arranged.x, 35);
}

TEST_F(Layout, BoxFixedCrossSize_LimitsChildrenButNotItsReport)
{
    auto child = std::make_shared<FakeItem>(10, 12);
    UI::BoxContainer box("row", false, 0, 0, List(child));
    box.width = 500;
    box.height = 40;
    Measure(box, 100, 100);
    EXPECT_EQ(child->measuredWith.height, 40);
    EXPECT_EQ(box.GetDesiredSize(), (UI::Size{10, 12})) << "its own fixed width is ignored";
}

TEST_F(Layout, BoxMinimumCrossSize_RaisesItsCrossSize)
{
    auto child = std::make_shared<FakeItem>(10, 12);
    UI::BoxContainer box("row", false, 0, 0, List(child));
    box.minHeight = 30;
    Measure(box, 100, 20);
    EXPECT_EQ(child->measuredWith.height, 30);
    EXPECT_EQ(box.GetDesiredSize().height, 30);
}

TEST_F(Layout, VerticalBox_CountsChildMarginsAndPaddings)
{
    auto a = std::make_shared<FakeItem>(50, 20);
    a->margin = {3, 2, 0, 4};
    auto b = std::make_shared<FakeItem>(60, 10);
    UI::BoxContainer box("column", true, 0, 5, List(a, b));
    box.padding = {7, 7, 7, 7};
    Measure(box, 200, 200);
    EXPECT_EQ(box.GetDesiredSize(), (UI::Size{60 + 14, 2 + 20 + 4 + 5 + 10 + 14}));
    Arrange(box, 0, 0);
    EXPECT_EQ(a->arranged.x, 7 + 3);
    EXPECT_EQ(a->arranged.y, 7 + 2);
    EXPECT_EQ(b->arranged.y, 7 + 2 + 20 + 4 + 5);
}

TEST_F(Layout, OverlappingContainer_ShrinksAWideChildButNotATallOne)
{
    auto page = std::make_shared<FakeItem>(300, 400);
    page->margin = {5, 0, 5, 0};
    UI::OverlappingContainer pages(0, 0, List(page));
    pages.padding = {10, 10, 10, 10};
    Measure(pages, 220, 120);
    EXPECT_EQ(pages.GetDesiredSize(), (UI::Size{310, 400}));
    HDWP defer = nullptr;
    HWND insertAfter = nullptr;
    pages.Arrange(40, 50, 220, 120, defer, insertAfter, true);
    EXPECT_EQ(page->arranged.x, 40 + 5) << "the container's own x, then the child's margin";
    EXPECT_EQ(page->arranged.width, 200 - 10);
    EXPECT_EQ(page->arranged.height, 400);
}

TEST_F(Layout, OverlappingContainer_AlignsToTheEnd)
{
    auto child = std::make_shared<FakeItem>(50, 20);
    UI::OverlappingContainer overlap(1, 2, List(child));
    Measure(overlap, 200, 100);
    HDWP defer = nullptr;
    HWND insertAfter = nullptr;
    overlap.Arrange(0, 0, 200, 100, defer, insertAfter, false);
    EXPECT_EQ(child->arranged.x, 150);
    EXPECT_EQ(child->arranged.y, 40);
    EXPECT_FALSE(child->arrangedVisible);
}

TEST_F(Layout, Spacer_TakesWhatIsAvailableButNeverLessThanNothing)
{
    UI::HorizontalSpacer horizontal;
    Measure(horizontal, -20, 50);
    EXPECT_EQ(horizontal.GetDesiredSize(), (UI::Size{0, 0}));
    UI::Spacer vertical;
    Measure(vertical, 30, 70);
    EXPECT_EQ(vertical.GetDesiredSize(), (UI::Size{0, 70}));
}

TEST_F(Layout, ContainerEnable_ReachesHiddenChildren)
{
    auto hidden = std::make_shared<FakeItem>(1, 1);
    hidden->visible = false;
    UI::BoxContainer box("row", false, 0, 0, List(hidden));
    box.Enable(false);
    EXPECT_FALSE(hidden->enabled);
}
