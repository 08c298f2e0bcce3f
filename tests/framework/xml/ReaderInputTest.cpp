// What the XML reader is handed: long documents are read to their end, and texts that break off
// inside markup are read up to the break without harm to the process.
#include "framework/xml/ElementReader.h"
#include "framework/xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
struct Count
{
    int elements = 0;
    int texts = 0;
    HRESULT last = S_OK;
};

Count Walk(const std::wstring& text)
{
    IXmlReaderPtr reader = CreateReader(text);
    Count count;
    XmlNodeType type;
    for (int nodes = 0; nodes < 1000000 && (count.last = reader->Read(&type)) == S_OK; ++nodes)
    {
        count.elements += type == XmlNodeType_Element;
        count.texts += type == XmlNodeType_Text;
    }
    return count;
}

// Elements met by the binding's walk, which stops where the input breaks off.
int Elements(const std::wstring& text)
{
    Xml::NodeReader reader(CreateReader(text));
    int elements = 0;
    XmlNodeType type;
    while (reader.Next(type))
        elements += type == XmlNodeType_Element;
    return elements;
}

TEST(ReaderInput, DocumentFarLongerThanTheReadersBufferIsReadToItsEnd)
{
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-16\"?><root>";
    for (int i = 0; i < 20000; ++i)
        text += L"<item name=\"caf\u00E9 " + std::to_wstring(i) + L"\">\U0001F600</item>\n";
    text += L"</root>";
    const Count count = Walk(text);
    EXPECT_EQ(count.elements, 20001);
    EXPECT_EQ(count.texts, 20000);
    EXPECT_EQ(count.last, S_FALSE) << "the end of the document, not a fault";
}

TEST(ReaderInput, AttributeValueLongerThanTheReadersBufferAfterTheDeclarationIsRead)
{
    // Wine's reader ended the process when the declaration came in a piece of its own.
    for (const size_t length : {size_t{8100}, size_t{9000}, size_t{100000}})
    {
        SCOPED_TRACE(length);
        const std::wstring value(length, L'a');
        Xml::NodeReader reader(CreateReader(L"<?xml version=\"1.0\"?>\n<root name=\"" + value + L"\"><item/></root>"));
        std::wstring name;
        int elements = 0;
        XmlNodeType type;
        while (reader.Next(type))
            if (type == XmlNodeType_Element && ++elements == 1)
                reader.ForEachAttribute([&](std::wstring_view, std::wstring_view text) { name = text; });
        EXPECT_EQ(elements, 2);
        EXPECT_EQ(name, value);
    }
}

TEST(ReaderInput, TextEndingInsideMarkupIsReadUpToThere)
{
    // Wine's reader would end the process on the first six.
    for (const wchar_t* text :
         {L"<?xm", L"<?xml", L"<?xml version=\"1.0\"", L"<?xml version=\"1.0\"?>", L"<?xml<?xml version version",
          L"\xFEFF<?xml version=\"1.0\"?>  ", L"<root><?pi", L"<", L""})
        EXPECT_LE(Elements(text), 1) << testing::PrintToString(std::wstring(text));
    EXPECT_EQ(Elements(L"<root><item/><ite"), 2) << "what stands before the break is read";
}
} // namespace

namespace
{
TEST(WholeDocument, IsToldFromOneCutOffMalformedOrFollowedByMore)
{
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"<a/>", true},
        {L"<?xml version=\"1.0\"?>\r\n<a x=\"1\"><b>text</b><c/></a>\r\n", true},
        {L"<a><b>text</b></a><!-- after -->", true},
        {L"", false},
        {L"just text", false},
        {L"<a><b>text</b>", false},
        {L"<a><b>te", false},
        {L"<a><a/>", false},
        {L"<p:a xmlns:p=\"urn:x\"><p:b/></p:a>", true},
        {L"<p:a xmlns:p=\"urn:x\"><p:b>", false},
        {L"<a x=\"1", false},
        {L"<a></b></a>", false},
        {L"<a/><b/>", false},
        {L"<a/>trailing", false},
    };
    for (const auto& [text, whole] : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        EXPECT_EQ(IsWholeDocument(text), whole);
    }
}
} // namespace
