// Page titles and the layout of a block's paragraphs.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
std::wstring OE(const wchar_t* text) { return L"<one:OE><one:T>" + std::wstring(text) + L"</one:T></one:OE>"; }

TEST(Titles, TitleWritesItsSwitchesOnlyWhenOff)
{
    ExpectRoundTrips<ON::Title>({
        {"default title", Doc(L"Title"), L"<one:Title />"},
        {"true and 1 not written", Doc(L"Title", L"showDate=\"true\" showTime=\"1\" selected=\"none\""), L"<one:Title />"},
        {"false and 0 written as false, after the text group",
         Doc(L"Title", L"showTime=\"0\" showDate=\"false\" lang=\"en\" selected=\"all\""),
         L"<one:Title selected=\"all\" lang=\"en\" showDate=\"false\" showTime=\"false\" />"},
    });
}

TEST(Titles, TitleKeepsEveryParagraphInOrder)
{
    ExpectRoundTrips<ON::Title>({
        {"three paragraphs", Doc(L"Title", L"", OE(L"a") + OE(L"b") + OE(L"c")),
         L"<one:Title>" + OE(L"a") + OE(L"b") + OE(L"c") + L"</one:Title>"},
        {"unknown element between them skipped whole",
         Doc(L"Title", L"", OE(L"a") + OE(L"b") + L"<one:Later>" + OE(L"x") + L"</one:Later>" + OE(L"c")),
         L"<one:Title>" + OE(L"a") + OE(L"b") + OE(L"c") + L"</one:Title>"},
        {"unknown element first", Doc(L"Title", L"", L"<one:Later/>" + OE(L"a") + OE(L"b")),
         L"<one:Title>" + OE(L"a") + OE(L"b") + L"</one:Title>"},
    });

    auto title = Read<ON::Title>(Doc(L"Title", L"", OE(L"a") + OE(L"b")));
    ASSERT_TRUE(title->oe);
    EXPECT_EQ(title->oe->parentList, nullptr) << "the first paragraph has a slot of its own";
    ASSERT_EQ(title->moreOEs.size(), 1u);
    EXPECT_EQ(title->moreOEs[0]->parentList, &title->moreOEs);
}

TEST(Titles, TitleBuiltForANewPageIsValid)
{
    auto oe = std::make_shared<ON::OE>();
    oe->content = ON::OEChoice(std::make_shared<Collection<ON::OEChoiceElements>>());
    oe->content.text->AddNew()->t = std::make_shared<ON::TextRange_T>(L"none", true, ON::TextAttributes{}, L"Imported files");
    ON::Title title(L"none", ON::TextAttributes{}, true, false, oe);
    EXPECT_EQ(Written(title), L"<one:Title showTime=\"false\">" + OE(L"Imported files") + L"</one:Title>");
    EXPECT_TRUE(IsValidInPage(title, Place::Page));
}

TEST(Titles, ChildLayoutWritesWhatWasSetWhateverItsValue)
{
    ExpectRoundTrips<ON::ChildOELayout>({
        {"empty", Doc(L"ChildOELayout"), L"<one:ChildOELayout />"},
        {"zero is set", Doc(L"ChildOELayout", L"listSpacing=\"0\""), L"<one:ChildOELayout listSpacing=\"0\" />"},
        {"table order",
         Doc(L"ChildOELayout",
             L"listAlignment=\"right\" listSpacing=\"3\" spaceAfter=\"2.5\" spaceBetween=\"x\" spaceBefore=\"1\""),
         L"<one:ChildOELayout spaceBefore=\"1\" spaceBetween=\"0\" spaceAfter=\"2.5\" listSpacing=\"3\""
         L" listAlignment=\"right\" />"},
    });
    auto block = Read<ON::OEChildren>(
        Doc(L"OEChildren", L"", L"<one:ChildOELayout spaceBefore=\"1\" listAlignment=\"left\"/>" + OE(L"a")));
    ASSERT_TRUE(block->childOELayout);
    EXPECT_TRUE(IsValidInPage(*block, Place::OutlineBlock));
}
} // namespace
