// Linked notes come only from OneNote's pages: their texts are taken in any order and written in
// the schema's, each once.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
const std::wstring Uri = L"<one:LinkedNoteUri>https://example.org/doc</one:LinkedNoteUri>";
const std::wstring Short = L"<one:LinkedNoteShortName>doc</one:LinkedNoteShortName>";
const std::wstring Friendly = L"<one:LinkedNoteFriendlyName>The document</one:LinkedNoteFriendlyName>";
const std::wstring Empty3 = L"<one:LinkedNoteUri /><one:LinkedNoteShortName /><one:LinkedNoteFriendlyName />";

TEST(LinkedNotes, RequiredTextsAreWrittenAlsoWhenMissing)
{
    ExpectRoundTrips<ON::LinkedNote>({
        {"default note", Doc(L"LinkedNote"), L"<one:LinkedNote state=\"0\">" + Empty3 + L"</one:LinkedNote>"},
        {"negative state kept", Doc(L"LinkedNote", L"state=\"-3\""),
         L"<one:LinkedNote state=\"-3\">" + Empty3 + L"</one:LinkedNote>"},
        {"unreadable state is 0", Doc(L"LinkedNote", L"state=\"x\" other=\"y\""),
         L"<one:LinkedNote state=\"0\">" + Empty3 + L"</one:LinkedNote>"},
        {"without its address", Doc(L"LinkedNote", L"state=\"1\"", Short + Friendly),
         L"<one:LinkedNote state=\"1\"><one:LinkedNoteUri />" + Short + Friendly + L"</one:LinkedNote>"},
    });
}

TEST(LinkedNotes, TextsAreTakenInAnyOrderOnceAndWrittenInSchemaOrder)
{
    const std::wstring description = L"<one:LinkedNoteDescription>first</one:LinkedNoteDescription>";
    ExpectRoundTrips<ON::LinkedNote>({
        {"FriendlyName, Uri, ShortName", Doc(L"LinkedNote", L"state=\"2\"", Friendly + Uri + Short),
         L"<one:LinkedNote state=\"2\">" + Uri + Short + Friendly + L"</one:LinkedNote>"},
        {"second description and second address skipped",
         Doc(L"LinkedNote", L"state=\"2\"",
             description + Uri + L"<one:LinkedNoteDescription>second</one:LinkedNoteDescription>" +
                 L"<one:LinkedNoteUri>other</one:LinkedNoteUri>" + Short + Friendly),
         L"<one:LinkedNote state=\"2\">" + Uri + Short + Friendly + description + L"</one:LinkedNote>"},
        {"CDATA comes back as CDATA",
         Doc(L"LinkedNote", L"state=\"0\"", L"<one:LinkedNoteUri><![CDATA[a&b]]></one:LinkedNoteUri>" + Short + Friendly),
         L"<one:LinkedNote state=\"0\"><one:LinkedNoteUri><![CDATA[a&b]]></one:LinkedNoteUri>" + Short + Friendly +
             L"</one:LinkedNote>"},
    });
}

TEST(LinkedNotes, ThumbnailKeepsItsPictureInlineOrByCallback)
{
    const std::wstring data = L"<one:Data>iVBORw0KGgo=</one:Data>";
    const std::wstring callback = L"<one:CallbackID callbackID=\"{1}\" />";
    ExpectRoundTrips<ON::LinkedNoteThumbnail>({
        {"both, Data first", Doc(L"LinkedNoteThumbnail", L"", callback + data),
         L"<one:LinkedNoteThumbnail>" + data + callback + L"</one:LinkedNoteThumbnail>"},
        {"callback only, text dropped", Doc(L"LinkedNoteThumbnail", L"", L"text" + callback),
         L"<one:LinkedNoteThumbnail>" + callback + L"</one:LinkedNoteThumbnail>"},
    });
}

TEST(LinkedNotes, FullNoteIsValidUnderAParagraph)
{
    auto note = Read<ON::LinkedNote>(Doc(
        L"LinkedNote", L"state=\"3\"",
        Short + Uri + Friendly + L"<one:LinkedNoteThumbnail><one:Data>iVBORw0KGgo=</one:Data></one:LinkedNoteThumbnail>" +
            L"<one:LinkedNoteDescription>d &amp; e</one:LinkedNoteDescription>"));
    ASSERT_TRUE(note->thumbnail && note->thumbnail->picture.data);
    EXPECT_EQ(note->description->text, L"d & e");
    EXPECT_TRUE(IsValidInPage(*note, Place::ParagraphContent));
}
} // namespace
