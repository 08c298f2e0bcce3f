// Paragraphs and the blocks that hold them: their defaults, the order their children are taken in
// and written back, and what is kept when OneNote's order is not the schema's.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
const std::wstring T1 = L"<one:T>a</one:T>";
const std::wstring T2 = L"<one:T>b</one:T>";
const std::wstring Ink = L"<one:InkWord><one:Space /></one:InkWord>";
const std::wstring Block = L"<one:OEChildren><one:OE>" + T1 + L"</one:OE></one:OEChildren>";
const std::wstring Block2 = L"<one:OEChildren indent=\"2\"><one:OE>" + T2 + L"</one:OE></one:OEChildren>";
const std::wstring Note = L"<one:LinkedNote state=\"1\"><one:LinkedNoteUri>u</one:LinkedNoteUri>"
                          L"<one:LinkedNoteShortName /><one:LinkedNoteFriendlyName /></one:LinkedNote>";

std::wstring OE(const std::wstring& children) { return L"<one:OE>" + children + L"</one:OE>"; }

TEST(OutlineBlocks, BlockWritesIndentAndSelectionOnlyWhenTheyDifferFromTheirDefaults)
{
    ExpectRoundTrips<ON::OEChildren>({
        {"default block", Doc(L"OEChildren"), L"<one:OEChildren />"},
        {"indent 1 not written", Doc(L"OEChildren", L"indent=\"1\" selected=\"none\""), L"<one:OEChildren />"},
        {"indent 0 written", Doc(L"OEChildren", L"indent=\"0\""), L"<one:OEChildren indent=\"0\" />"},
        {"unreadable indent is 0", Doc(L"OEChildren", L"indent=\"deep\""), L"<one:OEChildren indent=\"0\" />"},
        {"text group after selection", Doc(L"OEChildren", L"lang=\"de\" selected=\"all\" indent=\"3\""),
         L"<one:OEChildren indent=\"3\" selected=\"all\" lang=\"de\" />"},
    });
}

TEST(OutlineBlocks, ParagraphsAndHtmlBlocksKeepTheirMixedOrder)
{
    const std::wstring html = L"<one:HTMLBlock><one:Data><![CDATA[<p>x</p>]]></one:Data></one:HTMLBlock>";
    const std::wstring layout = L"<one:ChildOELayout spaceBefore=\"1\" />";
    ExpectRoundTrips<ON::OEChildren>({
        {"OE, HTMLBlock, OE", Doc(L"OEChildren", L"", OE(T1) + html + OE(T2)),
         L"<one:OEChildren>" + OE(T1) + html + OE(T2) + L"</one:OEChildren>"},
        {"layout first whatever its place", Doc(L"OEChildren", L"", OE(T1) + layout + OE(T2)),
         L"<one:OEChildren>" + layout + OE(T1) + OE(T2) + L"</one:OEChildren>"},
        {"second layout skipped, paragraphs after it kept",
         Doc(L"OEChildren", L"", layout + L"<one:ChildOELayout listSpacing=\"9\"/>" + OE(T1)),
         L"<one:OEChildren>" + layout + OE(T1) + L"</one:OEChildren>"},
        {"unknown element skipped whole, list not closed",
         Doc(L"OEChildren", L"", OE(T1) + L"<one:Later>" + OE(T2) + L"</one:Later>" + OE(T2)),
         L"<one:OEChildren>" + OE(T1) + OE(T2) + L"</one:OEChildren>"},
    });

    auto block = Read<ON::OEChildren>(Doc(L"OEChildren", L"", OE(T1) + OE(T1) + OE(T1) + html));
    ASSERT_EQ(block->children.size(), 4u);
    EXPECT_TRUE(block->children[2]->oe && !block->children[2]->htmlBlock);
    EXPECT_TRUE(block->children[3]->htmlBlock && !block->children[3]->oe);
    EXPECT_EQ(block->children[3]->parentList, &block->children);
    EXPECT_STREQ(block->children[0]->oe->parentLink.name, L"OEChildrenChoice") << "the holder is the parent";
    EXPECT_EQ(&block->children[0]->oe->secondLink.As<ON::OEChildren>(), block.get()) << "the block is the element";
}

TEST(OutlineBlocks, HtmlBlockKeepsBothSourcesAndItsFlagAsRead)
{
    const std::wstring file = L"<one:File path=\"C:\\a.htm\" />";
    const std::wstring data = L"<one:Data>&lt;b&gt;</one:Data>";
    ExpectRoundTrips<ON::HtmlContent_HTMLBlock>({
        {"no flag", Doc(L"HTMLBlock"), L"<one:HTMLBlock />"},
        {"1 is true", Doc(L"HTMLBlock", L"meetingTrackModifications=\"1\""),
         L"<one:HTMLBlock meetingTrackModifications=\"true\" />"},
        {"yes is false, and set", Doc(L"HTMLBlock", L"meetingTrackModifications=\"yes\""),
         L"<one:HTMLBlock meetingTrackModifications=\"false\" />"},
        {"File before Data", Doc(L"HTMLBlock", L"", data + file), L"<one:HTMLBlock>" + file + data + L"</one:HTMLBlock>"},
        {"second File not taken, text dropped", Doc(L"HTMLBlock", L"", file + L"text<one:File path=\"b\"/>"),
         L"<one:HTMLBlock>" + file + L"</one:HTMLBlock>"},
    });

    ON::HtmlContent_HTMLBlock reference(ON::HtmlContentChoice(nullptr, std::make_shared<ON::Data>(L"<a href=\"x\">y</a>")));
    reference.content.data->cdata = true;
    EXPECT_EQ(Written(reference), L"<one:HTMLBlock><one:Data><![CDATA[<a href=\"x\">y</a>]]></one:Data></one:HTMLBlock>");
    EXPECT_TRUE(IsValidInPage(reference, Place::BlockChild));
    const ON::HtmlContent_HTMLBlock byFile(ON::HtmlContentChoice(std::make_shared<ON::FilePath_File>(L"C:\\a.htm")));
    EXPECT_TRUE(IsValidInPage(byFile, Place::BlockChild));
}

TEST(Paragraphs, ParagraphWritesOnlyWhatDiffersFromItsDefaultsInTableOrder)
{
    ExpectRoundTrips<ON::OE>({
        {"default paragraph", Doc(L"OE"), L"<one:OE />"},
        {"defaults read are not written", Doc(L"OE", L"alignment=\"left\" selected=\"none\" bodyText=\"false\""),
         L"<one:OE />"},
        {"other texts kept", Doc(L"OE", L"alignment=\"centre\" selected=\"partial\""),
         L"<one:OE alignment=\"centre\" selected=\"partial\" />"},
        {"plain booleans as true", Doc(L"OE", L"collapsedBodyText=\"True\" collapsed=\"yes\" bodyText=\"1\""),
         L"<one:OE bodyText=\"true\" collapsedBodyText=\"true\" />"},
        {"optional false kept", Doc(L"OE", L"RTL=\"false\" preserveTextContent=\"0\""),
         L"<one:OE RTL=\"false\" preserveTextContent=\"false\" />"},
        {"unreadable number is 0", Doc(L"OE", L"meetingContentType=\"abc\""), L"<one:OE meetingContentType=\"0\" />"},
        {"own attributes, text group, then edit group",
         Doc(L"OE", L"creationTime=\"2026-01-02T03:04:05Z\" author=\"A\" quickStyleIndex=\"2\" "
                    L"explicitExpandCollapseEnabled=\"true\" meetingIsUserEdited=\"1\" meetingTrackModifications=\"0\" "
                    L"meetingContentId=\"m\" lastModifiedTime=\"2026-01-02T03:04:05.600Z\" spaceAfter=\"1.5\" "
                    L"spaceBetween=\"0\" spaceBefore=\"2\" objectID=\"{1}{2}{B0}\""),
         L"<one:OE objectID=\"{1}{2}{B0}\" spaceBefore=\"2\" spaceBetween=\"0\" spaceAfter=\"1.5\""
         L" lastModifiedTime=\"2026-01-02T03:04:05.600Z\" meetingContentId=\"m\" meetingTrackModifications=\"false\""
         L" meetingIsUserEdited=\"true\" explicitExpandCollapseEnabled=\"true\" quickStyleIndex=\"2\" author=\"A\""
         L" creationTime=\"2026-01-02T03:04:05.000Z\" />"},
    });
}

TEST(Paragraphs, TextRunKeepsTextAndInkInOrderAndObjectsDoNotEndIt)
{
    const std::wstring image = L"<one:Image format=\"png\" />";
    ExpectRoundTrips<ON::OE>({
        {"T, InkWord, T", Doc(L"OE", L"", T1 + Ink + T2), L"<one:OE>" + T1 + Ink + T2 + L"</one:OE>"},
        {"T, Image, T: the image first", Doc(L"OE", L"", T1 + image + T2), L"<one:OE>" + image + T1 + T2 + L"</one:OE>"},
        {"second Image skipped", Doc(L"OE", L"", image + L"<one:Image format=\"jpg\" />"), L"<one:OE>" + image + L"</one:OE>"},
        {"T after the blocks appended to the run", Doc(L"OE", L"", T1 + Block + T2),
         L"<one:OE>" + T1 + T2 + Block + L"</one:OE>"},
    });

    auto oe = Read<ON::OE>(Doc(L"OE", L"", T1 + Ink));
    ASSERT_TRUE(oe->content.text);
    ASSERT_EQ(oe->content.text->size(), 2u);
    EXPECT_TRUE((*oe->content.text)[0]->t && !(*oe->content.text)[0]->inkWord);
    EXPECT_TRUE((*oe->content.text)[1]->inkWord && !(*oe->content.text)[1]->t);
    EXPECT_EQ((*oe->content.text)[1]->parentList, oe->content.text.get());
}

TEST(Paragraphs, ObjectsOfAParagraphAreWrittenInSchemaOrderEachOnce)
{
    const std::wstring image = L"<one:Image format=\"png\" />";
    const std::wstring table = L"<one:Table />";
    const std::wstring ink = L"<one:InkDrawing />";
    const std::wstring file = L"<one:InsertedFile preferredName=\"a.pdf\" />";
    const std::wstring media = L"<one:MediaFile preferredName=\"a.wav\" />";
    const std::wstring words = L"<one:InkParagraph />";
    const std::wstring future = L"<one:FutureObject />";
    ExpectRoundTrips<ON::OE>({
        {"every object, last first", Doc(L"OE", L"", future + words + media + file + ink + table + image),
         L"<one:OE>" + image + table + ink + file + media + words + future + L"</one:OE>"},
        {"second inserted file skipped", Doc(L"OE", L"", file + L"<one:InsertedFile preferredName=\"b\" />"),
         L"<one:OE>" + file + L"</one:OE>"},
    });

    ON::OE attachment;
    attachment.content.insertedFile = std::make_shared<ON::InsertedFile>();
    attachment.content.insertedFile->pathSource = L"C:\\files\\report.pdf";
    attachment.content.insertedFile->preferredName = L"report.pdf";
    EXPECT_TRUE(IsValidInPage(attachment, Place::BlockChild));
}

TEST(Paragraphs, TagsTaskMetaAndListAreWrittenInSchemaOrderAndLateOnesKept)
{
    const std::wstring tag1 = L"<one:Tag index=\"1\" />";
    const std::wstring tag2 = L"<one:Tag index=\"2\" />";
    const std::wstring task = L"<one:OutlookTask guidTask=\"{00000000-0000-0000-0000-000000000000}\" />";
    const std::wstring meta = L"<one:Meta name=\"m\" />";
    const std::wstring list = L"<one:List><one:Bullet bullet=\"2\" /></one:List>";
    const std::wstring media = L"<one:MediaIndex timeIndex=\"3\"><one:MediaReference "
                               L"mediaID=\"{00000000-0000-0000-0000-000000000000}\" /></one:MediaIndex>";
    ExpectRoundTrips<ON::OE>({
        {"Tag, OutlookTask, Tag", Doc(L"OE", L"", tag1 + task + tag2), L"<one:OE>" + tag1 + task + tag2 + L"</one:OE>"},
        {"OutlookTask, Tag: the tag after the task", Doc(L"OE", L"", task + tag1), L"<one:OE>" + task + tag1 + L"</one:OE>"},
        {"Meta after the List kept", Doc(L"OE", L"", list + meta + T1), L"<one:OE>" + meta + list + T1 + L"</one:OE>"},
        {"MediaIndex after a Tag kept", Doc(L"OE", L"", tag1 + media), L"<one:OE>" + media + tag1 + L"</one:OE>"},
        {"Tag after Meta joins the later tags", Doc(L"OE", L"", task + meta + tag2),
         L"<one:OE>" + task + tag2 + meta + L"</one:OE>"},
        {"second List and second task skipped",
         Doc(L"OE", L"", list + L"<one:List><one:Number numberSequence=\"1\" numberFormat=\"\"/></one:List>" + task + task),
         L"<one:OE>" + task + list + L"</one:OE>"},
        {"unknown element closes nothing", Doc(L"OE", L"", tag1 + L"<one:Later><one:Meta name=\"x\"/></one:Later>" + tag2),
         L"<one:OE>" + tag1 + tag2 + L"</one:OE>"},
    });
}

TEST(Paragraphs, IndentedBlocksAndLinkedNoteKeepEveryBlock)
{
    ExpectRoundTrips<ON::OE>({
        {"two blocks in a row", Doc(L"OE", L"", T1 + Block + Block2), L"<one:OE>" + T1 + Block + Block2 + L"</one:OE>"},
        {"LinkedNote, OEChildren: blocks first", Doc(L"OE", L"", Note + Block), L"<one:OE>" + Block + Note + L"</one:OE>"},
        {"a block after the note kept", Doc(L"OE", L"", Block + Note + Block2),
         L"<one:OE>" + Block + Block2 + Note + L"</one:OE>"},
        {"second note skipped", Doc(L"OE", L"", Note + L"<one:LinkedNote state=\"2\"/>"), L"<one:OE>" + Note + L"</one:OE>"},
    });

    auto oe = Read<ON::OE>(Doc(L"OE", L"", Block + Note + Block2));
    ASSERT_TRUE(oe->nesting.children);
    ASSERT_EQ(oe->nesting.children->size(), 2u);
    EXPECT_EQ((*oe->nesting.children)[1]->indent, 2u);
    EXPECT_EQ((*oe->nesting.children)[1]->parentList, oe->nesting.children.get());
}

TEST(Paragraphs, ParagraphBuiltInCodeIsValidInABlock)
{
    auto text = std::make_shared<Collection<ON::OEChoiceElements>>();
    text->AddNew()->t = std::make_shared<ON::TextRange_T>(L"none", true, ON::TextAttributes{}, L"C:\\files\\a & b.txt");
    auto oe = std::make_shared<ON::OE>();
    oe->content = ON::OEChoice(text);
    oe->textAttributes.quickStyleIndex = 1;
    EXPECT_EQ((*text)[0]->parentList, text.get());
    EXPECT_EQ(Written(*oe), L"<one:OE quickStyleIndex=\"1\"><one:T>C:\\files\\a &amp; b.txt</one:T></one:OE>");

    ON::OEChildren block;
    block.children.AddNew()->oe = oe;
    block.children.AddNew()->htmlBlock =
        std::make_shared<ON::HtmlContent_HTMLBlock>(ON::HtmlContentChoice(std::make_shared<ON::FilePath_File>(L"C:\\a.htm")));
    EXPECT_TRUE(IsValidInPage(block, Place::OutlineBlock));
}

TEST(Paragraphs, ParagraphWithEveryKindOfChildIsValid)
{
    const std::wstring full = Doc(
        L"OE", L"RTL=\"false\" bodyText=\"true\" alignment=\"right\" selected=\"partial\" "
               L"objectID=\"{12345678-1234-1234-1234-123456789012}{1}{B0}\" spaceBefore=\"1\" "
               L"lastModifiedTime=\"2026-12-08T10:00:00Z\" meetingContentType=\"2\" quickStyleIndex=\"2\" "
               L"author=\"A\" creationTime=\"2026-12-08T10:00:00Z\"",
        L"<one:Meta name=\"m\"/><one:Tag index=\"0\"/><one:MediaIndex timeIndex=\"1\"><one:MediaReference "
        L"mediaID=\"{11111111-2222-3333-4444-555555555555}\"/></one:MediaIndex>"
        L"<one:OutlookTask guidTask=\"{11111111-2222-3333-4444-555555555555}\"/><one:Tag index=\"1\"/>"
        L"<one:List><one:Number numberSequence=\"3\" numberFormat=\"##.\"/></one:List>" + T1 + Ink + T2 + Note + Block);
    auto oe = Read<ON::OE>(full);
    EXPECT_EQ(oe->metas.size(), 1u);
    EXPECT_EQ(oe->mediaIndexes.size(), 1u);
    EXPECT_TRUE(IsValidInPage(*oe, Place::BlockChild));
}
} // namespace
