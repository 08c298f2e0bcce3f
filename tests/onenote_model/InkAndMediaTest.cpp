// Ink words and paragraphs, media references and media indexes.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{

TEST(InkAndMedia, InkWordWritesOptionalsOnceSetAndOriginsOnlyWhenNotZero)
{
    ExpectRoundTrips<ON::InkWord>({
        {"default word", Doc(L"InkWord"), L"<one:InkWord />"},
        {"x 0 is written, origin 0 is not", Doc(L"InkWord", L"x=\"0\" inkOriginX=\"0\" selected=\"none\""),
         L"<one:InkWord x=\"0\" />"},
        {"table order",
         Doc(L"InkWord", L"inkOriginY=\"-1.5\" inkOriginX=\"2\" style=\"s\" height=\"4\" width=\"3\" y=\"2\" x=\"1\" "
                         L"selected=\"all\" recognizedText=\"hi\""),
         L"<one:InkWord recognizedText=\"hi\" selected=\"all\" x=\"1\" y=\"2\" width=\"3\" height=\"4\" style=\"s\""
         L" inkOriginX=\"2\" inkOriginY=\"-1.5\" />"},
        {"Space before EndOfLine whatever the order", Doc(L"InkWord", L"", L"<one:EndOfLine/><one:Space/>"),
         L"<one:InkWord><one:Space /><one:EndOfLine /></one:InkWord>"},
        {"first Data kept", Doc(L"InkWord", L"", L"<one:Data>AAAA</one:Data><one:Data>BBBB</one:Data>"),
         L"<one:InkWord><one:Data>AAAA</one:Data></one:InkWord>"},
        {"sources in order", Doc(L"InkWord", L"", L"<one:CallbackID callbackID=\"c\"/><one:File path=\"p\"/>"),
         L"<one:InkWord><one:File path=\"p\" /><one:CallbackID callbackID=\"c\" /></one:InkWord>"},
    });
}

TEST(InkAndMedia, InkParagraphTakesWordsUntilAnotherChildComes)
{
    const std::wstring word = L"<one:InkWord recognizedText=\"a\" />";
    ExpectRoundTrips<ON::InkParagraph>({
        {"default", Doc(L"InkParagraph"), L"<one:InkParagraph />"},
        {"position and words", Doc(L"InkParagraph", L"height=\"4\" x=\"0\"", word + word),
         L"<one:InkParagraph x=\"0\" height=\"4\">" + word + word + L"</one:InkParagraph>"},
    });
    auto paragraph = Read<ON::InkParagraph>(Doc(L"InkParagraph", L"", word + L"<one:File path=\"x\"/>" + word));
    EXPECT_EQ(paragraph->words.size(), 2u) << "an element the paragraph does not know ends no list";
}

TEST(InkAndMedia, MediaReferenceIsAlwaysWrittenWithItsGuid)
{
    ExpectRoundTrips<ON::MediaReference>({
        {"zero GUID written", Doc(L"MediaReference"), L"<one:MediaReference mediaID=\"" + ZeroGuid + L"\" />"},
        {"upper-cased", Doc(L"MediaReference", L"mediaID=\"{abcdef01-2345-6789-abcd-ef0123456789}\""),
         L"<one:MediaReference mediaID=\"{ABCDEF01-2345-6789-ABCD-EF0123456789}\" />"},
    });
    ExpectRoundTrips<ON::MediaIndex>({
        {"reference written also when absent", Doc(L"MediaIndex", L"timeIndex=\"0\""),
         L"<one:MediaIndex timeIndex=\"0\"><one:MediaReference mediaID=\"" + ZeroGuid + L"\" /></one:MediaIndex>"},
        {"first reference kept",
         Doc(L"MediaIndex", L"timeIndex=\"12\"",
             L"<one:MediaReference mediaID=\"{11111111-2222-3333-4444-555555555555}\"/>"
             L"<one:MediaReference mediaID=\"{99999999-2222-3333-4444-555555555555}\"/>"),
         L"<one:MediaIndex timeIndex=\"12\"><one:MediaReference mediaID=\"{11111111-2222-3333-4444-555555555555}\" />"
         L"</one:MediaIndex>"},
    });
}

TEST(InkAndMedia, InkAndMediaIndexesAreValidInAParagraph)
{
    ON::InkWordChoice content;
    content.data = std::make_shared<ON::Data>(L"AAECAw==");
    ON::InkWord word(L"hello", L"partial", 1, 2, 30, 12, std::nullopt, 0, 0, content);
    EXPECT_TRUE(IsValidInPage(word, Place::ParagraphContent));

    Collection<ON::InkWord> words;
    words.AddNew()->content.space = std::make_shared<ON::Space>();
    words.AddNew()->content.endOfLine = std::make_shared<ON::EndOfLine>();
    ON::InkParagraph paragraph(10, 20, std::nullopt, std::nullopt, std::move(words));
    EXPECT_EQ(paragraph.words[1]->parentList, &paragraph.words);
    EXPECT_TRUE(IsValidInPage(paragraph, Place::ParagraphContent));

    ON::InkWord fromFile;
    fromFile.content.file = std::make_shared<ON::FilePath_File>(L"C:\\ink.isf");
    EXPECT_TRUE(IsValidInPage(fromFile, Place::ParagraphContent));
    ON::InkWord byCallback;
    byCallback.content.callback = std::make_shared<ON::CallbackID>(L"{12345678-1234-1234-1234-123456789012}{1}{B0}");
    EXPECT_TRUE(IsValidInPage(byCallback, Place::ParagraphContent));

    ON::MediaIndex index(1500, ON::TextToGuid(L"{11111111-2222-3333-4444-555555555555}"));
    EXPECT_TRUE(IsValidInPage(index, Place::ParagraphChild));
}
} // namespace
