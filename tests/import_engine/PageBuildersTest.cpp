// The builders on pages in memory: text in one collecting outline, HTML blocks, attachments and
// their placement, and the markup of links to files.
#include "import_engine/PageBuilders.h"
#include "import_engine/PageContent.h"
#include "import_engine/PageElementMakers.h"

#include "tests/import_engine/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace
{
std::string Utf8(const std::wstring& text)
{
    std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                             nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

class PageBuilders : public testing::Test
{
protected:
    void SetUp() override
    {
        target_.page = std::make_shared<ON::Page>();
        AddQuickStyleDefs(*target_.page);
    }

    // Stores a builder's result in the target, as the per-file import does between its steps.
    void Keep(ImportResult result)
    {
        target_.position = std::move(result.position);
        target_.startPosition = std::move(result.startPosition);
        target_.referenceOutline = std::move(result.referenceOutline);
    }

    // As the page is sent: not indented.
    std::wstring Xml() const
    {
        return std::wstring(static_cast<const wchar_t*>(WriteElement(*target_.page, nullptr, false, true, false)));
    }

    testing::AssertionResult IsValidPage() const
    {
        return EngineTest::IsValidSent(Xml(), L"page");
    }

    std::vector<uint32_t> Indents() const
    {
        std::vector<uint32_t> indents;
        for (const auto& block : target_.referenceOutline->children)
            indents.push_back(block->indent);
        return indents;
    }

    Target target_;
};

TEST_F(PageBuilders, PlainLinesOneAfterTheOtherShareOneBlockOfOneOutline)
{
    Keep(AddTextLineOutline(L"first", std::nullopt, target_));
    Keep(AddTextLineOutline(L"second", std::nullopt, target_));
    ASSERT_EQ(target_.page->elements.size(), 1u);
    EXPECT_EQ(target_.page->elements[0]->outline, target_.referenceOutline);
    EXPECT_EQ(Indents(), (std::vector<uint32_t>{1}));
    EXPECT_EQ(target_.referenceOutline->children[0]->children.size(), 2u);
    const auto& size = *target_.referenceOutline->pageObject.size;
    EXPECT_EQ(size.width, 480.0);
    EXPECT_EQ(size.height, 0.0);
    EXPECT_EQ(size.isSetByUser, true);
    EXPECT_EQ(Xml().find(L"indent="), std::wstring::npos);
    EXPECT_TRUE(IsValidPage());
}

TEST_F(PageBuilders, EachSwitchBetweenPlainAndCodeLinesStartsABlock)
{
    Keep(AddTextLineOutline(L"plain", std::nullopt, target_));
    Keep(AddTextOutline({L"int a;", L"int b;"}, L"code", target_));
    Keep(AddTextLineOutline(L"plain again", std::nullopt, target_));
    ASSERT_EQ(target_.page->elements.size(), 1u);
    EXPECT_EQ(Indents(), (std::vector<uint32_t>{1, 2, 1}));
    const auto& code = *target_.referenceOutline->children[1];
    ASSERT_EQ(code.children.size(), 2u);
    for (const auto& line : code.children)
        EXPECT_EQ(line->oe->textAttributes.quickStyleIndex, 8u);
    EXPECT_FALSE(target_.referenceOutline->children[0]->children[0]->oe->textAttributes.quickStyleIndex);
    EXPECT_TRUE(IsValidPage());
}

TEST_F(PageBuilders, HeadingLinesJoinThePlainBlockWithTheirStyle)
{
    Keep(AddTextLineOutline(L"plain", std::nullopt, target_));
    Keep(AddTextLineOutline(L"Folder", L"h2", target_));
    Keep(AddTextLineOutline(L"unknown", L"no such style", target_));
    EXPECT_EQ(Indents(), (std::vector<uint32_t>{1}));
    const auto& lines = target_.referenceOutline->children[0]->children;
    EXPECT_EQ(lines[1]->oe->textAttributes.quickStyleIndex, 2u);
    EXPECT_EQ(lines[2]->oe->textAttributes.quickStyleIndex, 0u);
}

TEST_F(PageBuilders, EmptyLineListStillMakesTheOutlineWithOneEmptyBlock)
{
    Keep(AddTextOutline({}, std::nullopt, target_));
    ASSERT_TRUE(target_.referenceOutline);
    ASSERT_EQ(target_.referenceOutline->children.size(), 1u);
    EXPECT_TRUE(target_.referenceOutline->children[0]->children.empty());
}

TEST_F(PageBuilders, TextIsEscapedButHtmlIsKeptAsItIs)
{
    Keep(AddTextLineOutline(L"a < b & c", std::nullopt, target_));
    Keep(InsertFileReference(L"<b>x & y</b>", target_));
    const auto& lines = target_.referenceOutline->children[0]->children;
    EXPECT_EQ((*lines[0]->oe->content.text)[0]->t->text, L"a &lt; b &amp; c");
    EXPECT_EQ(lines[1]->htmlBlock->content.data->text, L"<b>x & y</b>");
    const std::wstring xml = Xml();
    // The text is HTML to OneNote, and that HTML is escaped once more in the XML.
    EXPECT_NE(xml.find(L">a &amp;lt; b &amp;amp; c</one:T>"), std::wstring::npos) << xml;
    EXPECT_NE(xml.find(L"<![CDATA[<b>x & y</b>]]>"), std::wstring::npos) << xml;
    EXPECT_TRUE(IsValidPage());
}

TEST_F(PageBuilders, HtmlBlocksGoIntoAPlainBlockAfterCode)
{
    Keep(AddTextLineOutline(L"x = 1", L"code", target_));
    Keep(InsertHtmlContent(L"C:\\pages\\index.html", target_));
    EXPECT_EQ(Indents(), (std::vector<uint32_t>{2, 1}));
    const auto& block = *target_.referenceOutline->children[1]->children[0]->htmlBlock;
    EXPECT_EQ(block.content.file->path, L"C:\\pages\\index.html");
    EXPECT_TRUE(IsValidPage());
}

TEST_F(PageBuilders, AttachmentsFromAStartPositionGoOneBelowTheOther)
{
    target_.startPosition = MakePosition(36, 100.0);
    Keep(InsertAttachment(L"C:\\files\\a.zip", 0, target_));
    Keep(InsertAttachment(L"C:\\files\\b.zip", 0, target_));
    ASSERT_EQ(target_.page->elements.size(), 2u);
    const auto& first = target_.page->elements[0]->insertedFile->tagable.pageObject;
    const auto& second = target_.page->elements[1]->insertedFile->tagable.pageObject;
    EXPECT_EQ(first.position->x, 36.0);
    EXPECT_EQ(first.position->y, 100.0);
    EXPECT_EQ(second.position->x, 36.0);
    EXPECT_EQ(second.position->y, 100.0 + 65 + 10);
    EXPECT_EQ(second.size->width, 54.0);
    EXPECT_EQ(target_.startPosition->y, 100.0 + 2 * (65 + 10));
    EXPECT_FALSE(target_.position);
    EXPECT_EQ(*target_.page->elements[1]->insertedFile->pathSource, L"C:\\files\\b.zip");
    EXPECT_TRUE(IsValidPage());
}

TEST_F(PageBuilders, OutlineStartsJustBelowTheStartPosition)
{
    target_.startPosition = MakePosition(36, 170.0);
    Keep(AddTextLineOutline(L"line", std::nullopt, target_));
    const auto& position = *target_.referenceOutline->pageObject.position;
    EXPECT_EQ(position.x, 36.0);
    EXPECT_EQ(position.y, 170.0 + 10);
    EXPECT_EQ(target_.startPosition->y, 170.0);
}

TEST_F(PageBuilders, NothingIsPlacedWithoutAStartPosition)
{
    Keep(AddTextLineOutline(L"line", std::nullopt, target_));
    Keep(InsertAttachment(L"C:\\files\\a.zip", 1, target_));
    EXPECT_FALSE(target_.referenceOutline);
    Keep(AddTextLineOutline(L"after", std::nullopt, target_));
    ASSERT_EQ(target_.page->elements.size(), 3u);
    EXPECT_FALSE(target_.page->elements[0]->outline->pageObject.position);
    EXPECT_FALSE(target_.page->elements[1]->insertedFile->tagable.pageObject.position);
    EXPECT_FALSE(target_.page->elements[2]->outline->pageObject.position);
    EXPECT_FALSE(target_.startPosition);
    EXPECT_EQ(Xml().find(L"Position"), std::wstring::npos);
}

TEST_F(PageBuilders, SettingTheTextOfAParagraphReplacesWhatItHad)
{
    ON::OE oe;
    SetOEText(oe, L"old");
    SetOEText(oe, L"new 'title'");
    ASSERT_EQ(oe.content.text->size(), 1u);
    EXPECT_EQ((*oe.content.text)[0]->t->text, L"new 'title'");
}

TEST(FileLinks, NoCharacterOfAPathBreaksTheLinkOrThePage)
{
    const struct
    {
        const wchar_t* path;
        const wchar_t* html;
    } rows[] = {
        {L"C:\\docs\\plain.txt", L"<a href=\"file:///C:\\docs\\plain.txt\">C:\\docs\\plain.txt</a>"},
        {L"C:\\Ann's & Bob's\\50% #1 <draft>.txt",
         L"<a href=\"file:///C:\\Ann's &amp; Bob's\\50%25 %231 &lt;draft&gt;.txt\">"
         L"C:\\Ann's &amp; Bob's\\50% #1 &lt;draft&gt;.txt</a>"},
        {L"C:\\say \"hi\".txt", L"<a href=\"file:///C:\\say &quot;hi&quot;.txt\">C:\\say &quot;hi&quot;.txt</a>"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(Utf8(row.path));
        EXPECT_EQ(FileLinkHtml(row.path), row.html);
        // The link is well-formed markup of its own.
        EXPECT_TRUE(IsWholeDocument(FileLinkHtml(row.path)));
    }
}
} // namespace
