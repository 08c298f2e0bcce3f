// The circle of the outline model: a paragraph holds a table whose cells hold blocks of paragraphs,
// which may hold tables again. What OneNote wrote comes back unchanged, and every element read
// knows where it stands.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ModelTest;

namespace
{
std::wstring TextParagraph(const std::wstring& text) { return L"<one:OE><one:T>" + text + L"</one:T></one:OE>"; }

// A paragraph holding a table of one cell, whose block holds inner.
std::wstring TableParagraph(const std::wstring& inner)
{
    return L"<one:OE><one:Table bordersVisible=\"true\"><one:Columns><one:Column index=\"0\" width=\"100\" /></one:Columns>"
           L"<one:Row><one:Cell><one:OEChildren>" +
           inner + L"</one:OEChildren></one:Cell></one:Row></one:Table></one:OE>";
}

std::wstring Nested(int depth)
{
    std::wstring inner = TextParagraph(L"deepest");
    for (int level = 0; level < depth; ++level)
        inner = TableParagraph(inner + TextParagraph(L"level " + std::to_wstring(level)));
    return inner;
}

std::wstring InBlock(const std::wstring& content)
{
    return L"<one:OEChildren xmlns:one=\"" + std::wstring(ON::NamespaceUri) + L"\">" + content + L"</one:OEChildren>";
}

TEST(OutlineCircle, TablesInsideTableCellsComeBackUnchanged)
{
    const std::wstring content = Nested(4) + TextParagraph(L"after the table");
    auto block = Read<ON::OEChildren>(InBlock(content));
    EXPECT_EQ(Written(*block), L"<one:OEChildren>" + content + L"</one:OEChildren>");
    EXPECT_TRUE(IsValidInPage(*block, Place::OutlineBlock));

    auto again = Read<ON::OEChildren>(InBlock(content));
    EXPECT_EQ(Write(*again), Write(*block)) << "reading what was written gives the same text";
}

TEST(OutlineCircle, DeepNestingIsReadWhole)
{
    auto block = Read<ON::OEChildren>(InBlock(Nested(40)));
    int depth = 0;
    const ON::OEChildren* level = block.get();
    while (level && !level->children.empty() && level->children[0]->oe && level->children[0]->oe->content.table)
    {
        ++depth;
        level = level->children[0]->oe->content.table->rows[0]->cells[0]->content[0].get();
    }
    EXPECT_EQ(depth, 40);
}

TEST(OutlineCircle, NestingBeyondTheReadersDepthEndsTheReadingWithoutHarm)
{
    auto block = Read<ON::OEChildren>(InBlock(Nested(1000)));
    int depth = 0;
    const ON::OEChildren* level = block.get();
    while (level && !level->children.empty() && level->children[0]->oe && level->children[0]->oe->content.table)
    {
        ++depth;
        const auto& cells = level->children[0]->oe->content.table->rows[0]->cells;
        level = cells.empty() || cells[0]->content.empty() ? nullptr : cells[0]->content[0].get();
    }
    // The reader refuses elements nested deeper than its limit; what stands above them is kept.
    EXPECT_GT(depth, 40);
    EXPECT_LT(depth, 1000);
    EXPECT_FALSE(Write(*block).empty());
}

TEST(OutlineCircle, EveryElementReadLinksToItsHoldersUpToTheRoot)
{
    std::vector<std::wstring> ended;
    std::wstring pathOfDeepestText;
    auto block = std::make_shared<ON::OEChildren>();
    ParseElement(*block, InBlock(Nested(1)), [&](const ElementLink& element) {
        ended.push_back(element.name);
        if (std::wstring(element.name) != L"T" || !pathOfDeepestText.empty())
            return;
        for (const ElementNode* node = element.node; node; node = node->parentLink.node)
            pathOfDeepestText += std::wstring(node->parentLink.name ? node->parentLink.name : L"-") + L" ";
    });

    EXPECT_EQ(pathOfDeepestText,
              L"OEChoiceElements OE OEChildrenChoice OEChildren Cell Row Table OE OEChildrenChoice OEChildren - ");
    const std::vector<std::wstring> expected{L"Column", L"Columns", L"T",  L"OE",    L"T",  L"OE",
                                             L"OEChildren", L"Cell", L"Row", L"Table", L"OE", L"OEChildren"};
    EXPECT_EQ(ended, expected) << "each element once, when its end is read";

    auto& paragraph = *block->children[0]->oe;
    auto& cellText = *(*paragraph.content.table->rows[0]->cells[0]->content[0]->children[0]->oe->content.text)[0]->t;
    EXPECT_EQ(&cellText.secondLink.As<ON::OE>(), paragraph.content.table->rows[0]->cells[0]->content[0]->children[0]->oe.get())
        << "the nearest element around a text run is its paragraph";
}
} // namespace
