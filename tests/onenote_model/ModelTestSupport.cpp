#include "tests/onenote_model/ModelTestSupport.h"

#include "framework/com/ComError.h"
#include "framework/streams/MemoryStream.h"
#include "framework/text/Text.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/TestPaths.h"

namespace ModelTest
{
namespace
{
std::wstring ToText(const _bstr_t& text)
{
    const wchar_t* characters = text;
    return characters ? std::wstring(characters, text.length()) : std::wstring();
}

// The written element with its own namespace declaration taken out, so that it can be put
// inside a page that declares the prefix.
std::wstring WithoutDeclaration(std::wstring text)
{
    const std::wstring declaration = L" xmlns:one=\"" + std::wstring(ON::NamespaceUri) + L"\"";
    const size_t at = text.find(declaration);
    if (at != std::wstring::npos)
        text.erase(at, declaration.size());
    return text;
}
} // namespace

std::wstring Write(const ChildElement& element) { return ToText(WriteElement(element, nullptr, false, false, false)); }

std::wstring Written(const ChildElement& element) { return WithoutDeclaration(Write(element)); }

std::wstring Doc(std::wstring_view localName, std::wstring_view attributes, std::wstring_view content)
{
    std::wstring doc = Tag(localName, attributes);
    if (content.empty())
        return doc + L"/>";
    return doc + L">" + std::wstring(content) + L"</one:" + std::wstring(localName) + L">";
}

std::wstring WriteAttributesOf(void (*write)(const void* group, IXmlWriter* writer), const void* group)
{
    XmlWriterHolder holder = CreateWriter(true, false, false, false);
    ThrowIfFailed(holder.writer->WriteStartElement(nullptr, L"x", nullptr));
    write(group, holder.writer);
    ThrowIfFailed(holder.writer->WriteEndElement());
    ThrowIfFailed(holder.writer->Flush());
    std::wstring text = ToText(StreamToBstr(holder.stream));
    const size_t start = text.find(L"<x") + 2;
    size_t end = text.rfind(L"/>");
    while (end > start && text[end - 1] == L' ')
        --end;
    return text.substr(start, end - start);
}

std::wstring Tag(std::wstring_view localName, std::wstring_view attributes)
{
    std::wstring tag = L"<one:" + std::wstring(localName) + L" xmlns:one=\"" + ON::NamespaceUri + L"\"";
    if (!attributes.empty())
        tag += L" " + std::wstring(attributes);
    return tag;
}

namespace
{
testing::AssertionResult IsValidPage(const std::wstring& page)
{
    const auto schema = SchemaCheck::SharedFileOrSkip(L"platform/xsd/onenote-2013.xsd");
    if (!schema)
        return testing::AssertionSuccess() << "(not checked: the test is reported skipped)";
    const auto file = SchemaCheck::WriteOutputFile(L".xml", WideToUtf8(page));
    testing::AssertionResult result = SchemaCheck::IsValidAgainst(file, *schema);
    if (!result)
        result << "\n" << WideToUtf8(page);
    return result;
}

std::wstring PageStart(std::wstring_view attributes)
{
    return L"<?xml version=\"1.0\"?>\n<one:Page xmlns:one=\"" + std::wstring(ON::NamespaceUri) + L"\"" +
           std::wstring(attributes) + L">";
}
} // namespace

testing::AssertionResult IsValidPageWithAttributes(std::wstring_view pageAttributes, std::wstring_view outlineAttributes)
{
    return IsValidPage(PageStart(pageAttributes) + L"<one:Outline" + std::wstring(outlineAttributes) +
                       L"><one:OEChildren><one:OE><one:T>x</one:T></one:OE></one:OEChildren></one:Outline></one:Page>\n");
}

testing::AssertionResult IsValidInPage(const ChildElement& element, Place place)
{
    const std::wstring inner = Written(element);
    std::wstring page = PageStart({});
    switch (place)
    {
    case Place::Page: page += inner; break;
    case Place::ParagraphContent:
        page += L"<one:Outline><one:OEChildren><one:OE>" + inner + L"</one:OE></one:OEChildren></one:Outline>";
        break;
    case Place::ParagraphChild:
        page += L"<one:Outline><one:OEChildren><one:OE>" + inner +
                L"<one:T>x</one:T></one:OE></one:OEChildren></one:Outline>";
        break;
    case Place::OutlineBlock: page += L"<one:Outline>" + inner + L"</one:Outline>"; break;
    case Place::BlockChild: page += L"<one:Outline><one:OEChildren>" + inner + L"</one:OEChildren></one:Outline>"; break;
    }
    page += L"</one:Page>\n";
    return IsValidPage(page);
}

testing::AssertionResult IsValidDocument(const ChildElement& element)
{
    return IsValidPage(L"<?xml version=\"1.0\"?>\n" + Write(element) + L"\n");
}
} // namespace ModelTest
