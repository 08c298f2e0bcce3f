// The objects placed on a page: outlines, inserted and media files, ink drawings and future
// objects, with the parts they hold and the holder a page keeps each of them in.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
const std::wstring TextBlock = L"<one:OEChildren><one:OE><one:T>x</one:T></one:OE></one:OEChildren>";
const std::wstring Previews =
    L"<one:Previews sourceDocument=\"" + ZeroGuid + L"\"><one:Preview page=\"1\" /></one:Previews>";
const std::wstring Printout = L"<one:Printout xpsFileIndex=\"0\" />";
const std::wstring Tag1 = L"<one:Tag index=\"1\" />";

TEST(PageObjectParts, RequiredNumbersAndTheSourceDocumentAreAlwaysWritten)
{
    ExpectRoundTrips<ON::Indent>(
        {{"default", Doc(L"Indent"), L"<one:Indent level=\"0\" indent=\"0\" />"},
         {"read", Doc(L"Indent", L"indent=\"12.5pt\" level=\"2\""), L"<one:Indent level=\"2\" indent=\"12.5\" />"}});
    ExpectRoundTrips<ON::Previews>({
        {"zero GUID when none was read", Doc(L"Previews", L"displayAll=\"false\""),
         L"<one:Previews sourceDocument=\"" + ZeroGuid + L"\" />"},
        {"displayAll 1 is true", Doc(L"Previews", L"displayAll=\"1\""),
         L"<one:Previews sourceDocument=\"" + ZeroGuid + L"\" displayAll=\"true\" />"},
    });
    ExpectRoundTrips<ON::Printout>(
        {{"unreadable index is 0", Doc(L"Printout", L"xpsFileIndex=\"x\" outOfDate=\"True\""),
          L"<one:Printout xpsFileIndex=\"0\" outOfDate=\"true\" />"}});
    ExpectRoundTrips<ON::ShapeInfo>(
        {{"isLine 1 and points in order",
          Doc(L"ShapeInfo", L"isLine=\"1\"", L"<one:AnchorPoint x=\"a\" y=\"2\"/><one:AnchorPoint x=\"3\" y=\"4.5\"/>"),
          L"<one:ShapeInfo isLine=\"true\"><one:AnchorPoint x=\"0\" y=\"2\" />"
          L"<one:AnchorPoint x=\"3\" y=\"4.5\" /></one:ShapeInfo>"}});

    auto indents = Read<ON::Indents>(Doc(L"Indents", L"",
                                         L"<one:Indent level=\"1\" indent=\"1\"/><one:Indent level=\"2\" "
                                         L"indent=\"2\"/><one:Indent level=\"3\" indent=\"3\"/>"));
    ASSERT_EQ(indents->indents.size(), 3u);
    EXPECT_EQ(indents->indents[2]->level, 3u);
}

TEST(InsertedFiles, PathsComeFirstAndPreviewsAndPrintoutAreBothKept)
{
    ExpectRoundTrips<ON::InsertedFile>({
        {"own attributes before the page object's",
         Doc(L"InsertedFile",
             L"selected=\"all\" preferredName=\"a.pdf\" pathCache=\"C:\\c\\a.bin\" pathSource=\"C:\\a.pdf\""),
         L"<one:InsertedFile pathSource=\"C:\\a.pdf\" pathCache=\"C:\\c\\a.bin\" preferredName=\"a.pdf\" "
         L"selected=\"all\" />"},
        {"printout before previews, both written, previews first", Doc(L"InsertedFile", L"", Printout + Previews),
         L"<one:InsertedFile>" + Previews + Printout + L"</one:InsertedFile>"},
        {"second previews skipped whole",
         Doc(L"InsertedFile", L"",
             Previews + L"<one:Previews displayAll=\"true\"><one:Preview page=\"9\"/></one:Previews>"),
         L"<one:InsertedFile>" + Previews + L"</one:InsertedFile>"},
        {"tag after the printout kept among the tags",
         Doc(L"InsertedFile", L"", L"<one:Position x=\"1\" y=\"2\"/>" + Printout + Tag1),
         L"<one:InsertedFile><one:Position x=\"1\" y=\"2\" />" + Tag1 + Printout + L"</one:InsertedFile>"},
    });
    EXPECT_FALSE(Read<ON::InsertedFile>(Doc(L"InsertedFile", L"", L"<one:Preview page=\"1\"/>"))->shown)
        << "an element the file does not take leaves no choice behind";
}

TEST(InsertedFiles, MediaFileWritesItsReferenceAfterWhatItShows)
{
    const std::wstring reference = L"<one:MediaReference mediaID=\"{11111111-2222-3333-4444-555555555555}\" />";
    ExpectRoundTrips<ON::MediaFile>({
        {"reference first in the document", Doc(L"MediaFile", L"pathSource=\"C:\\r.wma\"", reference + Printout),
         L"<one:MediaFile pathSource=\"C:\\r.wma\">" + Printout + reference + L"</one:MediaFile>"},
    });
    auto media = Read<ON::MediaFile>(Doc(L"MediaFile", L"pathCache=\"c\"", Previews + reference));
    EXPECT_EQ(media->insertedFile.pathCache, L"c");
    EXPECT_FALSE(media->insertedFile.read) << "the inserted-file part is not an element of the document";
    ASSERT_TRUE(media->mediaReference);
    EXPECT_TRUE(IsValidInPage(*media, Place::Page));
}

TEST(InkDrawings, OriginIsWrittenOnlyWhereItIsNotZeroAndShapeComesBeforeTheSource)
{
    ExpectRoundTrips<ON::InkDrawing>({
        {"origin y only", Doc(L"InkDrawing", L"inkOriginY=\"2.5\" inkOriginX=\"0\" isUnclassified=\"false\""),
         L"<one:InkDrawing inkOriginY=\"2.5\" />"},
        {"file before the shape: both kept",
         Doc(L"InkDrawing", L"isUnclassified=\"1\"", L"<one:File path=\"C:\\i.isf\"/><one:ShapeInfo/>"),
         L"<one:InkDrawing isUnclassified=\"true\"><one:ShapeInfo /><one:File path=\"C:\\i.isf\" /></one:InkDrawing>"},
    });
    auto drawing =
        Read<ON::InkDrawing>(Doc(L"InkDrawing", L"objectID=\"{12345678-1234-1234-1234-123456789012}{1}{B0}\"",
                                 L"<one:Position x=\"10\" y=\"20\" z=\"1\"/><one:Size width=\"5\" height=\"5\"/>"
                                 L"<one:ShapeInfo><one:AnchorPoint x=\"0\" y=\"0\"/></one:ShapeInfo>"
                                 L"<one:Data>AAAA</one:Data>"));
    EXPECT_TRUE(IsValidInPage(*drawing, Place::Page));
    EXPECT_TRUE(IsValidInPage(*drawing, Place::ParagraphContent));
}

TEST(Outlines, IndentsAreTakenOnceWhereverTheyStandAndMetadataAfterThemIsKept)
{
    const std::wstring indents = L"<one:Indents><one:Indent level=\"1\" indent=\"0\" /></one:Indents>";
    ExpectRoundTrips<ON::Outline>({
        {"default", Doc(L"Outline"), L"<one:Outline />"},
        {"attributes: edited-by, text, page object",
         Doc(L"Outline", L"objectID=\"{1}\" lang=\"en-US\" author=\"Ann\" selected=\"partial\""),
         L"<one:Outline author=\"Ann\" lang=\"en-US\" objectID=\"{1}\" selected=\"partial\" />"},
        {"indents after the blocks", Doc(L"Outline", L"", TextBlock + indents),
         L"<one:Outline>" + indents + TextBlock + L"</one:Outline>"},
        {"second indents skipped",
         Doc(L"Outline", L"", indents + L"<one:Indents><one:Indent level=\"9\" indent=\"9\"/></one:Indents>" + TextBlock),
         L"<one:Outline>" + indents + TextBlock + L"</one:Outline>"},
        {"metadata after the indents kept",
         Doc(L"Outline", L"", indents + L"<one:Meta name=\"m\" content=\"c\"/>" + TextBlock),
         L"<one:Outline><one:Meta name=\"m\" content=\"c\" />" + indents + TextBlock + L"</one:Outline>"},
    });
}

TEST(Outlines, OutlineBuiltForImportedTextIsAValidPageElement)
{
    ON::PageObject place(std::nullopt, L"none", std::nullopt, std::make_shared<ON::Position>(36, 86.4),
                         std::make_shared<ON::Size>(500, 20, true));
    Collection<ON::OEChildren> blocks;
    blocks.push_back(Read<ON::OEChildren>(Doc(L"OEChildren", L"", L"<one:OE><one:T>Imported</one:T></one:OE>")));
    ON::Outline outline(ON::EditedByAttributes(), ON::TextAttributes(std::nullopt, 1u, std::nullopt), std::move(place),
                        nullptr, std::move(blocks));
    EXPECT_EQ(outline.children[0]->parentList, &outline.children);
    EXPECT_EQ(Written(outline),
              L"<one:Outline quickStyleIndex=\"1\"><one:Position x=\"36\" y=\"86.4\" />"
              L"<one:Size width=\"500\" height=\"20\" isSetByUser=\"true\" />"
              L"<one:OEChildren><one:OE><one:T>Imported</one:T></one:OE></one:OEChildren></one:Outline>");
    EXPECT_TRUE(IsValidInPage(outline, Place::Page));
}

TEST(PageElements, HolderWritesEveryObjectItHoldsInItsOrder)
{
    ON::PageElement holder(std::make_shared<ON::Image>());
    holder.outline = Read<ON::Outline>(Doc(L"Outline", L"", TextBlock));
    auto page = std::make_shared<ON::Page>();
    page->elements.push_back(std::make_shared<ON::PageElement>(holder));
    EXPECT_EQ(Written(*page), L"<one:Page><one:Outline>" + TextBlock + L"</one:Outline><one:Image /></one:Page>");

    for (const wchar_t* name : {L"Outline", L"Image", L"InkDrawing", L"InsertedFile", L"MediaFile", L"FutureObject"})
        EXPECT_TRUE(ON::IsPageElementName(name)) << testing::PrintToString(std::wstring(name));
    for (const wchar_t* name : {L"", L"Title", L"Table", L"outline", L"PageElement"})
        EXPECT_FALSE(ON::IsPageElementName(name)) << testing::PrintToString(std::wstring(name));
}

TEST(PageElements, FutureObjectKeepsItsPageObjectAndTags)
{
    const std::wstring future = Doc(L"FutureObject", L"objectID=\"{12345678-1234-1234-1234-123456789012}{2}{B0}\"",
                                    L"<one:Position x=\"1\" y=\"1\"/><one:Tag index=\"0\"/><one:Meta name=\"late\"/>");
    auto object = Read<ON::FutureObject>(future);
    EXPECT_EQ(Written(*object), L"<one:FutureObject objectID=\"{12345678-1234-1234-1234-123456789012}{2}{B0}\">"
                                L"<one:Position x=\"1\" y=\"1\" /><one:Meta name=\"late\" /><one:Tag index=\"0\" />"
                                L"</one:FutureObject>");
    EXPECT_TRUE(IsValidInPage(*object, Place::Page));
}
} // namespace
