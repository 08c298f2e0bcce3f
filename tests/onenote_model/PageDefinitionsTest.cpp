// What a page defines for its content: note tags, quick styles, XPS files, the playlist and the
// meeting details, with the defaults each writes back or leaves out.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{

TEST(TagDefinitions, RequiredValuesAreAlwaysWrittenAndColoursOnlyWhenChanged)
{
    ExpectRoundTrips<ON::TagDef>({
        {"default", Doc(L"TagDef"), L"<one:TagDef index=\"0\" name=\"\" type=\"0\" symbol=\"0\" />"},
        {"default colours not written", Doc(L"TagDef", L"index=\"1\" fontColor=\"automatic\" highlightColor=\"none\""),
         L"<one:TagDef index=\"1\" name=\"\" type=\"0\" symbol=\"0\" />"},
        {"automatic highlight is not the tag's default",
         Doc(L"TagDef", L"highlightColor=\"automatic\" name=\"To Do\" symbol=\"3\""),
         L"<one:TagDef index=\"0\" name=\"To Do\" type=\"0\" symbol=\"3\" highlightColor=\"automatic\" />"},
        {"unreadable index is 0", Doc(L"TagDef", L"index=\"first\" type=\"\""),
         L"<one:TagDef index=\"0\" name=\"\" type=\"0\" symbol=\"0\" />"},
    });
}

TEST(QuickStyleDefinitions, FontSizeIsAlwaysWrittenAndSpacingOnlyWhenNotZero)
{
    ExpectRoundTrips<ON::QuickStyleDef>({
        {"default", Doc(L"QuickStyleDef"), L"<one:QuickStyleDef index=\"0\" name=\"\" font=\"\" fontSize=\"0\" />"},
        {"automatic highlight is the default here",
         Doc(L"QuickStyleDef",
             L"name=\"p\" font=\"Calibri\" fontSize=\"11.0\" highlightColor=\"automatic\" spaceBefore=\"0\""),
         L"<one:QuickStyleDef index=\"0\" name=\"p\" font=\"Calibri\" fontSize=\"11\" />"},
        {"flags: 1 is true, false not written",
         Doc(L"QuickStyleDef", L"bold=\"1\" italic=\"false\" subscript=\"True\""),
         L"<one:QuickStyleDef index=\"0\" name=\"\" font=\"\" fontSize=\"0\" bold=\"true\" subscript=\"true\" />"},
        {"spacing with six significant digits",
         Doc(L"QuickStyleDef", L"spaceBefore=\"10.5\" spaceAfter=\"0.3333333333\""),
         L"<one:QuickStyleDef index=\"0\" name=\"\" font=\"\" fontSize=\"0\" spaceBefore=\"10.5\" "
         L"spaceAfter=\"0.333333\" />"},
    });

    // The import engine's heading style, as it adds it to a page before writing text.
    const ON::QuickStyleDef heading(2, L"h1", Color::Automatic, Color::Automatic, L"Calibri Light", 16, true, false,
                                    false, false, false, false, 0, 0);
    EXPECT_EQ(Written(heading), L"<one:QuickStyleDef index=\"2\" name=\"h1\" font=\"Calibri Light\" fontSize=\"16\""
                                L" bold=\"true\" />");
    EXPECT_TRUE(IsValidInPage(heading, Place::Page));
}

TEST(XpsFiles, IndexIsAlwaysWrittenAndTheSourceAsRead)
{
    ExpectRoundTrips<ON::XPSFile>({
        {"no identifier", Doc(L"XPSFile"), L"<one:XPSFile xpsFileIndex=\"0\" />"},
        {"identifier in upper case",
         Doc(L"XPSFile", L"idDocument=\"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}\" xpsFileIndex=\"3\"",
             L"<one:CallbackID callbackID=\"c\"/><one:File path=\"C:\\p.xps\"/>"),
         L"<one:XPSFile xpsFileIndex=\"3\" idDocument=\"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\">"
         L"<one:File path=\"C:\\p.xps\" /><one:CallbackID callbackID=\"c\" /></one:XPSFile>"},
    });
    EXPECT_TRUE(IsValidInPage(*Read<ON::XPSFile>(Doc(L"XPSFile", L"xpsFileIndex=\"0\"", L"<one:Data>AAAA</one:Data>")),
                              Place::Page));
}

TEST(MediaPlaylists, ReferencesAreKeptInOrderAroundUnknownElements)
{
    const std::wstring first = L"<one:MediaReference mediaID=\"{11111111-2222-3333-4444-555555555555}\" />";
    const std::wstring second = L"<one:MediaReference mediaID=\"" + ZeroGuid + L"\" />";
    ExpectRoundTrips<ON::MediaPlaylist>({
        {"two references", Doc(L"MediaPlaylist", L"", first + L"<one:Later><one:MediaReference/></one:Later>" + second),
         L"<one:MediaPlaylist>" + first + second + L"</one:MediaPlaylist>"},
    });
    EXPECT_TRUE(IsValidInPage(*Read<ON::MediaPlaylist>(Doc(L"MediaPlaylist", L"", first)), Place::Page));
}

TEST(MeetingDetails, EveryValueIsWrittenWhenSetAndOnlyThen)
{
    ExpectRoundTrips<ON::MeetingInfo>({
        {"nothing set", Doc(L"MeetingInfo"), L"<one:MeetingInfo />"},
        {"a false flag is still written", Doc(L"MeetingInfo", L"broadcastActive=\"false\""),
         L"<one:MeetingInfo broadcastActive=\"false\" />"},
        {"all ten in table order",
         Doc(L"MeetingInfo",
             L"outlookSharedNotes=\"1\" meetingRecurrenceType=\"2\" meetingEndTime=\"2026-12-08T11:00:00Z\" "
             L"meetingStartTime=\"2026-12-08T10:00:00+01:00\" meetingGlobalAppointmentId=\"A\" "
             L"IMConversationType=\"1\" IMConversationUpdater=\"u\" IMConversationId=\"i\" "
             L"broadcastActive=\"True\" broadcastUrl=\"https://b\""),
         L"<one:MeetingInfo broadcastUrl=\"https://b\" broadcastActive=\"true\" IMConversationId=\"i\""
         L" IMConversationUpdater=\"u\" IMConversationType=\"1\" meetingGlobalAppointmentId=\"A\""
         L" meetingStartTime=\"2026-12-08T09:00:00.000Z\" meetingEndTime=\"2026-12-08T11:00:00.000Z\""
         L" meetingRecurrenceType=\"2\" outlookSharedNotes=\"true\" />"},
    });
}
} // namespace
