// What the model keeps and writes back although OneNote's published schema would refuse it: the
// model writes what it read, and what code built, without enforcing the schema's choices.
#include "tests/onenote_model/ModelTestSupport.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
TEST(SchemaDifferences, ModelWritesWhatItHoldsWhereTheSchemaAsksForMore)
{
    SKIP_WITHOUT_SHARED_FILE(schema, L"platform/xsd/onenote-2013.xsd");

    struct Case
    {
        const char* what;
        std::shared_ptr<ChildElement> element;
        Place place;
    };
    auto image = [](const std::wstring& children) {
        return std::static_pointer_cast<ChildElement>(Read<ON::Image>(Doc(L"Image", L"", children)));
    };
    const Case cases[] = {
        {"an image without a source", image(L""), Place::Page},
        {"an image with two sources", image(L"<one:File path=\"a\"/><one:Data>AAAA</one:Data>"), Place::Page},
        {"recognised text without tokens", image(L"<one:Data>AAAA</one:Data><one:OCRData/>"), Place::Page},
        {"an empty callback identifier", image(L"<one:CallbackID/>"), Place::Page},
        {"a selection value outside none, partial and all",
         Read<ON::TextRange_T>(Doc(L"T", L"selected=\"yes\"")), Place::ParagraphContent},
        {"an ink word without content", Read<ON::InkWord>(Doc(L"InkWord")), Place::ParagraphContent},
        {"an ink paragraph without words", Read<ON::InkParagraph>(Doc(L"InkParagraph")), Place::ParagraphContent},
        {"a list with no marker", Read<ON::List>(Doc(L"List")), Place::ParagraphChild},
        {"a list with both markers",
         Read<ON::List>(Doc(L"List", L"", L"<one:Bullet bullet=\"1\"/><one:Number numberSequence=\"1\" numberFormat=\"\"/>")),
         Place::ParagraphChild},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(IsValidInPage(*c.element, c.place)) << c.what;
}
} // namespace
