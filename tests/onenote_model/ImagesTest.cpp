// The taggable page-object part, images, their sources, recognised text and preview.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{

TEST(Images, ImageWritesOnlyAttributesThatDifferFromTheirDefaults)
{
    ExpectRoundTrips<ON::Image>({
        {"default image", Doc(L"Image"), L"<one:Image />"},
        {"format auto not written", Doc(L"Image", L"format=\"auto\""), L"<one:Image />"},
        {"format png written", Doc(L"Image", L"format=\"png\""), L"<one:Image format=\"png\" />"},
        {"page number 0 not written, xpsFileIndex 0 is",
         Doc(L"Image", L"originalPageNumber=\"0\" xpsFileIndex=\"0\""), L"<one:Image xpsFileIndex=\"0\" />"},
        {"isPrintOut 1 is true", Doc(L"Image", L"isPrintOut=\"1\" backgroundImage=\"yes\""),
         L"<one:Image isPrintOut=\"true\" />"},
        {"unreadable sourceDocument is the zero GUID", Doc(L"Image", L"sourceDocument=\"doc.pdf\""),
         L"<one:Image sourceDocument=\"" + ZeroGuid + L"\" />"},
        {"own attributes before the page object's, in table order",
         Doc(L"Image", L"selected=\"all\" objectID=\"{1}{2}{B3}\" sourceDocument=\"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}\" "
                       L"alt=\"a\" hyperlink=\"h\" backgroundImage=\"true\" originalPageNumber=\"2\" "
                       L"originalDocumentNumber=\"1\" format=\"emf\""),
         L"<one:Image format=\"emf\" originalDocumentNumber=\"1\" originalPageNumber=\"2\" backgroundImage=\"true\""
         L" hyperlink=\"h\" alt=\"a\" sourceDocument=\"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\" objectID=\"{1}{2}{B3}\""
         L" selected=\"all\" />"},
    });
}

TEST(Images, ImageWritesItsChildrenInSchemaOrderWhateverTheOrderRead)
{
    const std::wstring position = L"<one:Position x=\"1\" y=\"2\" />";
    const std::wstring file = L"<one:File path=\"C:\\p.png\" />";
    const std::wstring data = L"<one:Data>iVBO</one:Data>";
    const std::wstring ocr = L"<one:OCRData><one:OCRText /></one:OCRData>";
    const std::wstring preview = L"<one:Preview page=\"1\" />";
    ExpectRoundTrips<ON::Image>({
        {"File before Data", Doc(L"Image", L"", data + file), L"<one:Image>" + file + data + L"</one:Image>"},
        {"page object first, preview last", Doc(L"Image", L"", preview + ocr + file + position),
         L"<one:Image>" + position + file + ocr + preview + L"</one:Image>"},
        {"second source of a kind not taken", Doc(L"Image", L"", file + L"<one:File path=\"other\"/>"),
         L"<one:Image>" + file + L"</one:Image>"},
    });
}

TEST(Images, TagsKeepTheirPlaceBeforeOrAfterTheTask)
{
    const std::wstring tag1 = L"<one:Tag index=\"1\" />";
    const std::wstring tag2 = L"<one:Tag index=\"2\" />";
    const std::wstring task = L"<one:OutlookTask guidTask=\"" + ZeroGuid + L"\" />";
    const std::wstring media = L"<one:MediaIndex timeIndex=\"5\"><one:MediaReference mediaID=\"" + ZeroGuid +
                               L"\" /></one:MediaIndex>";
    ExpectRoundTrips<ON::PageObjectTagable>({
        {"Tag, OutlookTask, Tag", Doc(L"PageObjectTagable", L"", tag1 + task + tag2),
         L"<one:PageObjectTagable>" + tag1 + task + tag2 + L"</one:PageObjectTagable>"},
        {"MediaIndex after a Tag kept in its place", Doc(L"PageObjectTagable", L"", tag1 + media),
         L"<one:PageObjectTagable>" + media + tag1 + L"</one:PageObjectTagable>"},
        {"page object before all", Doc(L"PageObjectTagable", L"selected=\"partial\"", media + L"<one:Meta name=\"m\"/>"),
         L"<one:PageObjectTagable selected=\"partial\"><one:Meta name=\"m\" />" + media + L"</one:PageObjectTagable>"},
    });

    auto tagable = Read<ON::PageObjectTagable>(Doc(L"PageObjectTagable", L"", tag1 + task + tag2));
    ASSERT_EQ(tagable->tags.size(), 1u);
    EXPECT_EQ(tagable->tags[0]->index, 1u);
    ASSERT_EQ(tagable->laterTags.size(), 1u);
    EXPECT_EQ(tagable->laterTags[0]->index, 2u);
    EXPECT_EQ(tagable->laterTags[0]->parentList, &tagable->laterTags);
}

TEST(Images, OcrDataAlwaysWritesItsTextAndKeepsTokensAroundIt)
{
    const std::wstring token = L"<one:OCRToken startPos=\"0\" />";
    ExpectRoundTrips<ON::OCRData>({
        {"text written also when absent", Doc(L"OCRData"), L"<one:OCRData><one:OCRText /></one:OCRData>"},
        {"lang EN-US not written", Doc(L"OCRData", L"lang=\"EN-US\""), L"<one:OCRData><one:OCRText /></one:OCRData>"},
        {"lang compared with case", Doc(L"OCRData", L"lang=\"en-us\""),
         L"<one:OCRData lang=\"en-us\"><one:OCRText /></one:OCRData>"},
        {"token, text, token",
         Doc(L"OCRData", L"", token + L"<one:OCRText>Hello</one:OCRText>" + L"<one:OCRToken startPos=\"6\"/>"),
         L"<one:OCRData><one:OCRText>Hello</one:OCRText>" + token + L"<one:OCRToken startPos=\"6\" /></one:OCRData>"},
        {"CDATA text kept", Doc(L"OCRData", L"", L"<one:OCRText><![CDATA[a<b]]></one:OCRText>"),
         L"<one:OCRData><one:OCRText><![CDATA[a<b]]></one:OCRText></one:OCRData>"},
        {"second text not taken",
         Doc(L"OCRData", L"", L"<one:OCRText>a</one:OCRText><one:OCRText>b</one:OCRText>"),
         L"<one:OCRData><one:OCRText>a</one:OCRText></one:OCRData>"},
    });
    ExpectRoundTrips<ON::OCRToken>({
        {"startPos always", Doc(L"OCRToken"), L"<one:OCRToken startPos=\"0\" />"},
        {"others when not 0",
         Doc(L"OCRToken", L"height=\"0\" width=\"12.25\" y=\"0\" x=\"3\" line=\"0\" region=\"2\" startPos=\"5\""),
         L"<one:OCRToken startPos=\"5\" region=\"2\" x=\"3\" width=\"12.25\" />"},
    });
    ExpectRoundTrips<ON::Preview>({
        {"empty page written", Doc(L"Preview"), L"<one:Preview page=\"\" />"},
        {"object and range when set", Doc(L"Preview", L"range=\"\" object=\"o\" page=\"p\""),
         L"<one:Preview page=\"p\" object=\"o\" range=\"\" />"},
    });
}

TEST(Images, ImportedPictureBuiltInCodeIsAValidPageElement)
{
    ON::PageObject part(std::nullopt, L"none", std::nullopt, std::make_shared<ON::Position>(36, 86.4),
                        std::make_shared<ON::Size>(612, 792, true));
    ON::Image image(L"png", std::nullopt, 0, 3, true, false, std::nullopt, L"Page 3", std::nullopt,
                    ON::PageObjectTagable(std::move(part), {}, {}, nullptr, {}),
                    ON::ImageChoice(std::make_shared<ON::FilePath_File>(L"C:\\Temp\\page3.png")), nullptr, nullptr);
    EXPECT_EQ(Written(image), L"<one:Image format=\"png\" originalPageNumber=\"3\" isPrintOut=\"true\" alt=\"Page 3\">"
                              L"<one:Position x=\"36\" y=\"86.4\" />"
                              L"<one:Size width=\"612\" height=\"792\" isSetByUser=\"true\" />"
                              L"<one:File path=\"C:\\Temp\\page3.png\" /></one:Image>");
    EXPECT_TRUE(IsValidInPage(image, Place::Page));
}

TEST(Images, ImageWithEveryChildIsValidOnThePageAndInAParagraph)
{
    const std::wstring full = Doc(
        L"Image", L"format=\"jpg\" xpsFileIndex=\"0\" sourceDocument=\"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}\" "
                  L"objectID=\"{12345678-1234-1234-1234-123456789012}{1}{B0}\" lastModifiedTime=\"2026-12-08T10:00:00Z\"",
        L"<one:Position x=\"1\" y=\"2\" z=\"0\"/><one:Size width=\"3\" height=\"4\"/><one:Meta name=\"m\"/>"
        L"<one:MediaIndex timeIndex=\"5\"><one:MediaReference mediaID=\"{11111111-2222-3333-4444-555555555555}\"/>"
        L"</one:MediaIndex><one:Tag index=\"0\"/><one:OutlookTask guidTask=\"{11111111-2222-3333-4444-555555555555}\"/>"
        L"<one:Tag index=\"1\" completed=\"true\"/><one:Data>AAAA</one:Data>"
        L"<one:OCRData lang=\"de-DE\"><one:OCRText>Hallo &amp; Welt</one:OCRText><one:OCRToken startPos=\"0\" "
        L"region=\"1\" line=\"1\" x=\"1\" y=\"2\" width=\"3\" height=\"4\"/></one:OCRData>"
        L"<one:Preview page=\"1\" object=\"2\" range=\"3\"/>");
    auto image = Read<ON::Image>(full);
    EXPECT_EQ(image->tagable.pageObject.metas.size(), 1u);
    EXPECT_EQ(image->tagable.laterTags.size(), 1u);
    EXPECT_TRUE(IsValidInPage(*image, Place::Page));
    EXPECT_TRUE(IsValidInPage(*image, Place::ParagraphContent));

    const std::wstring written = Write(*image);
    EXPECT_EQ(written.find(L"xmlns:one"), written.rfind(L"xmlns:one"))
        << "the namespace is declared on the image only";
}
} // namespace
