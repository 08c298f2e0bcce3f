// A page's own children: definitions, settings, title and content, in the order OneNote's schema
// wants whatever order they were read in, and nothing lost to an unusual order.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
const std::wstring TagDef = L"<one:TagDef index=\"0\" name=\"To Do\" type=\"0\" symbol=\"3\" />";
const std::wstring StyleDef =
    L"<one:QuickStyleDef index=\"0\" name=\"PageTitle\" font=\"Calibri Light\" fontSize=\"20\" />";
const std::wstring Meta = L"<one:Meta name=\"m\" />";
const std::wstring Playlist =
    L"<one:MediaPlaylist><one:MediaReference mediaID=\"{11111111-2222-3333-4444-555555555555}\" /></one:MediaPlaylist>";
const std::wstring Meeting = L"<one:MeetingInfo broadcastActive=\"false\" />";
const std::wstring Settings = L"<one:PageSettings RTL=\"true\" />";
const std::wstring Title = L"<one:Title><one:OE><one:T>Title</one:T></one:OE></one:Title>";
const std::wstring Outline =
    L"<one:Outline><one:OEChildren><one:OE><one:T>x</one:T></one:OE></one:OEChildren></one:Outline>";
const std::wstring Image = L"<one:Image><one:Data>AAAA</one:Data></one:Image>";

std::wstring Page(const std::wstring& children)
{
    return L"<one:Page>" + children + L"</one:Page>";
}

TEST(PageChildren, AreWrittenInSchemaOrderWhateverTheOrderRead)
{
    ExpectRoundTrips<ON::Page>({
        {"schema order kept",
         Doc(L"Page", L"", TagDef + StyleDef + Meta + Playlist + Meeting + Settings + Title + Outline),
         Page(TagDef + StyleDef + Meta + Playlist + Meeting + Settings + Title + Outline)},
        {"meeting details before the playlist", Doc(L"Page", L"", Meeting + Playlist), Page(Playlist + Meeting)},
        {"title after the first outline", Doc(L"Page", L"", Outline + Title + Image), Page(Title + Outline + Image)},
        {"definitions after the content are kept", Doc(L"Page", L"", Outline + Meta + StyleDef + TagDef + Settings),
         Page(TagDef + StyleDef + Meta + Settings + Outline)},
        {"content in its own order", Doc(L"Page", L"", Image + Outline + Image), Page(Image + Outline + Image)},
    });
}

TEST(PageChildren, SecondTitleIsSkippedAndTheContentAfterItIsKept)
{
    auto page = Read<ON::Page>(Doc(L"Page", L"",
                                   Title + L"<one:Title><one:OE><one:T>Second</one:T></one:OE></one:Title>" + Outline +
                                       L"<one:Unknown>" + Outline + L"</one:Unknown>" + Image));
    ASSERT_TRUE(page->title);
    EXPECT_EQ(page->elements.size(), 2u)
        << "one outline and one image; the unknown element is skipped with its content";
    ASSERT_TRUE(page->elements[0]->outline);
    ASSERT_TRUE(page->elements[1]->image);
    EXPECT_STREQ(page->elements[1]->image->parentLink.name, L"PageElement");
    EXPECT_EQ(&page->elements[1]->image->secondLink.As<ON::Page>(), page.get());
}

TEST(PageChildren, ReadPageWithEveryKindOfChildIsValid)
{
    auto page = Read<ON::Page>(
        L"<?xml version=\"1.0\"?>" +
        Doc(L"Page",
            L"ID=\"{12345678-1234-1234-1234-123456789012}{1}{E1}\" name=\"P\" dateTime=\"2026-12-08T10:00:00.000Z\" "
            L"lastModifiedTime=\"2026-12-08T10:05:00.000Z\" pageLevel=\"1\" isCurrentlyViewed=\"true\" lang=\"en-US\"",
            Outline + Meta + TagDef + StyleDef +
                L"<one:XPSFile xpsFileIndex=\"0\"><one:File path=\"C:\\a.xps\"/></one:XPSFile>" + Playlist + Meeting +
                Settings + Title + Image +
                L"<one:InkDrawing><one:Data>AAAA</one:Data></one:InkDrawing>"
                L"<one:InsertedFile pathSource=\"C:\\a.pdf\"><one:Printout xpsFileIndex=\"0\"/></one:InsertedFile>"
                L"<one:MediaFile pathSource=\"C:\\a.wma\"/><one:FutureObject/>"));
    EXPECT_EQ(page->elements.size(), 6u);
    EXPECT_EQ(page->hierarchy.name, L"P");
    EXPECT_TRUE(IsValidDocument(*page));
}
} // namespace
