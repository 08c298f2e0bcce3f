// Bullets and numberings of paragraphs, read from OneNote and written back unchanged.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
TEST(Lists, BulletAndNumberWriteRequiredValuesAndOnlyChangedDefaults)
{
    ExpectRoundTrips<ON::Bullet>({
        {"bullet 0 is written", Doc(L"Bullet"), L"<one:Bullet bullet=\"0\" />"},
        {"default size and colour not written", Doc(L"Bullet", L"bullet=\"2\" fontSize=\"10\" fontColor=\"automatic\""),
         L"<one:Bullet bullet=\"2\" />"},
        {"other size and colour written", Doc(L"Bullet", L"bullet=\"2\" fontSize=\"11\" fontColor=\"#FF0000\""),
         L"<one:Bullet bullet=\"2\" fontSize=\"11\" fontColor=\"#ff0000\" />"},
        {"colour names become hexadecimal", Doc(L"Bullet", L"fontColor=\"navy\""),
         L"<one:Bullet bullet=\"0\" fontColor=\"#000080\" />"},
    });
    ExpectRoundTrips<ON::Number>({
        {"empty numberFormat is written", Doc(L"Number"), L"<one:Number numberSequence=\"0\" numberFormat=\"\" />"},
        {"defaults not written",
         Doc(L"Number", L"numberSequence=\"3\" numberFormat=\"##.\" font=\"Verdana\" fontSize=\"10.0\" bold=\"false\" "
                        L"italic=\"0\" language=\"1033\""),
         L"<one:Number numberSequence=\"3\" numberFormat=\"##.\" />"},
        {"every value in table order",
         Doc(L"Number", L"text=\"1.\" language=\"1031\" italic=\"True\" bold=\"1\" fontColor=\"#00ff00\" fontSize=\"12.5\" "
                        L"font=\"Calibri\" restartNumberingAt=\"0\" numberFormat=\"##)\" numberSequence=\"7\""),
         L"<one:Number numberSequence=\"7\" numberFormat=\"##)\" restartNumberingAt=\"0\" font=\"Calibri\" fontSize=\"12.5\""
         L" fontColor=\"#00ff00\" bold=\"true\" italic=\"true\" language=\"1031\" text=\"1.\" />"},
        {"language is text, not a number", Doc(L"Number", L"language=\"01033\""),
         L"<one:Number numberSequence=\"0\" numberFormat=\"\" language=\"01033\" />"},
    });
}

TEST(Lists, ListKeepsWhatWasReadAndDropsItsOwnAttributes)
{
    const std::wstring bullet = L"<one:Bullet bullet=\"1\" />";
    const std::wstring number = L"<one:Number numberSequence=\"2\" numberFormat=\"#.\" />";
    ExpectRoundTrips<ON::List>({
        {"empty list", Doc(L"List", L"kind=\"x\""), L"<one:List />"},
        {"bullet", Doc(L"List", L"", bullet), L"<one:List>" + bullet + L"</one:List>"},
        {"both, bullet first", Doc(L"List", L"", number + bullet), L"<one:List>" + bullet + number + L"</one:List>"},
        {"second bullet not taken", Doc(L"List", L"", bullet + L"<one:Bullet bullet=\"9\"/>"),
         L"<one:List>" + bullet + L"</one:List>"},
    });
}

TEST(Lists, ListsAreValidInAParagraph)
{
    ON::List bulleted(ON::ListChoice{std::make_shared<ON::Bullet>(2, 12.0, Color{0xFF123456}), nullptr});
    EXPECT_TRUE(IsValidInPage(bulleted, Place::ParagraphChild));
    ON::ListChoice numbering;
    numbering.number = std::make_shared<ON::Number>(1, L"##.", 3u, L"Arial", 9.5, Color::Automatic, true, false,
                                                    L"1033", L"a.");
    EXPECT_TRUE(IsValidInPage(ON::List(numbering), Place::ParagraphChild));
}
} // namespace
