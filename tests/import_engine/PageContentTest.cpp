// Quick styles and the position below a page's content, on pages in memory.
#include "import_engine/PageContent.h"
#include "import_engine/PageElementMakers.h"

#include <gtest/gtest.h>

namespace
{
std::vector<std::pair<std::wstring, uint32_t>> StylesOf(const ON::Page& page)
{
    std::vector<std::pair<std::wstring, uint32_t>> styles;
    for (const auto& style : page.quickStyleDefs)
        styles.emplace_back(style->name, style->index);
    return styles;
}

std::shared_ptr<ON::QuickStyleDef> Style(uint32_t index, const wchar_t* name)
{
    auto style = std::make_shared<ON::QuickStyleDef>();
    style->index = index;
    style->name = name;
    return style;
}

std::shared_ptr<ON::PageElement> OutlineAt(double y, double height)
{
    auto outline = std::make_shared<ON::Outline>();
    outline->pageObject.position = MakePosition(36, y);
    outline->pageObject.size = std::make_shared<ON::Size>(400.0, height);
    return MakePageElement(outline);
}

TEST(QuickStyles, EmptyPageGetsTheEightStylesNumberedOneToEight)
{
    ON::Page page;
    AddQuickStyleDefs(page);
    using Styles = std::vector<std::pair<std::wstring, uint32_t>>;
    EXPECT_EQ(StylesOf(page), (Styles{{L"h1", 1}, {L"h2", 2}, {L"h3", 3}, {L"h4", 4}, {L"h5", 5}, {L"h6", 6},
                                      {L"blockquote", 7}, {L"code", 8}}));
    const auto& code = *page.quickStyleDefs.back();
    EXPECT_EQ(code.font, L"Consolas");
    EXPECT_EQ(code.fontColor, Color::Automatic);
    EXPECT_EQ(code.fontSize, 11.0);
    const auto& h4 = *page.quickStyleDefs[3];
    EXPECT_TRUE(h4.italic);
    EXPECT_EQ(h4.fontColor, ParseColor(L"#5b9bd5"));
    EXPECT_EQ(page.quickStyleDefs.front()->parentList, &page.quickStyleDefs);
}

TEST(QuickStyles, StylesThePageHasAreKeptAndTheRestNumberedAfterItsOwn)
{
    ON::Page page;
    page.quickStyleDefs.push_back(Style(0, L"PageTitle"));
    page.quickStyleDefs.push_back(Style(1, L"code"));
    AddQuickStyleDefs(page);
    using Styles = std::vector<std::pair<std::wstring, uint32_t>>;
    EXPECT_EQ(StylesOf(page), (Styles{{L"PageTitle", 0}, {L"code", 1}, {L"h1", 2}, {L"h2", 3}, {L"h3", 4},
                                      {L"h4", 5}, {L"h5", 6}, {L"h6", 7}, {L"blockquote", 8}}));
}

TEST(QuickStyles, NameInOtherLetterCaseIsAnotherStyle)
{
    ON::Page page;
    page.quickStyleDefs.push_back(Style(1, L"Code"));
    AddQuickStyleDefs(page);
    ASSERT_EQ(page.quickStyleDefs.size(), 1u + 8u);
    EXPECT_EQ(page.quickStyleDefs.back()->name, L"code");
    EXPECT_EQ(page.quickStyleDefs.back()->index, 1u + 8u);
}

TEST(QuickStyles, RereadingASavedPageAddsNone)
{
    ON::Page page;
    AddQuickStyleDefs(page);
    ON::Page reread;
    ParseElement(reread, WriteElement(page));
    AddQuickStyleDefs(reread);
    EXPECT_EQ(StylesOf(reread), StylesOf(page));
}

TEST(QuickStyles, EachPageHasStylesOfItsOwn)
{
    ON::Page first;
    AddQuickStyleDefs(first);
    ON::Page second;
    second.quickStyleDefs.push_back(Style(4, L"p"));
    AddQuickStyleDefs(second);
    for (size_t i = 0; i < first.quickStyleDefs.size(); ++i)
        EXPECT_NE(first.quickStyleDefs[i], second.quickStyleDefs[i + 1]);
    // Numbering the second page's styles left the first page's as they were.
    EXPECT_EQ(first.quickStyleDefs.front()->index, 1u);
    EXPECT_EQ(second.quickStyleDefs[1]->index, 5u);
}

TEST(PositionBelowContent, EmptyPageGivesTheTopLeftOfTheFreeArea)
{
    const ON::Position below = MakePositionBelowContent(ON::Page());
    EXPECT_EQ(below.x, 36.0);
    EXPECT_EQ(below.y, 86.0);
    EXPECT_FALSE(below.z);
}

TEST(PositionBelowContent, LowestObjectDecidesWhateverItsPlaceInTheList)
{
    ON::Page page;
    AddPageElement(page, OutlineAt(120, 40));
    AddPageElement(page, OutlineAt(90, 20));
    EXPECT_EQ(MakePositionBelowContent(page).y, 120.0 + 40 + 10);
}

TEST(PositionBelowContent, ContentHigherUpNeverLiftsItAboveTheFreeArea)
{
    ON::Page page;
    AddPageElement(page, OutlineAt(20, 30));
    EXPECT_EQ(MakePositionBelowContent(page).y, 86.0);
}

TEST(PositionBelowContent, ObjectsWithoutPlaceOrExtentAreLeftOut)
{
    ON::Page page;
    auto file = std::make_shared<ON::InsertedFile>();
    file->tagable.pageObject.position = MakePosition(36, 500.0);
    AddPageElement(page, MakePageElement(file));
    AddPageElement(page, MakePageElement(std::shared_ptr<ON::Outline>()));
    AddPageElement(page, OutlineAt(200, 15));
    EXPECT_EQ(MakePositionBelowContent(page).y, 200.0 + 15 + 10);
}

TEST(PageElements, HolderIsLinkedToThePageAndKeepsTheOrder)
{
    ON::Page page;
    AddPageElement(page, OutlineAt(1, 1));
    auto empty = MakePageElement(std::shared_ptr<ON::Image>());
    EXPECT_FALSE(empty->outline || empty->image || empty->insertedFile);
    AddPageElement(page, empty);
    AddPageElement(page, nullptr);
    ASSERT_EQ(page.elements.size(), 3u);
    EXPECT_EQ(page.elements[0]->parentList, &page.elements);
    EXPECT_EQ(page.elements[1]->parentLink.node, static_cast<const ElementNode*>(&page));
    EXPECT_EQ(page.elements[1]->secondLink.node, static_cast<const ElementNode*>(&page));
    EXPECT_FALSE(page.elements[2]);
    const auto position = MakePosition(36, 86.5);
    EXPECT_EQ(position->x, 36.0);
    EXPECT_EQ(position->y, 86.5);
    EXPECT_FALSE(position->z);
}
} // namespace
