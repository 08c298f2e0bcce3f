// Parses and writes a large page-like element tree (about 10 MB of XML) through the element
// binding and through a bare XmlLite loop over the same text, and prints binding / bare for both.
#include "framework/com/ComError.h"
#include "framework/xml/XmlElement.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{
constexpr const wchar_t* Namespace = L"urn:quillora:bench";
constexpr ElementName Named(std::wstring_view localName) { return {localName, L"one", Namespace}; }

class T_Text : public SchemaType
{
public:
    std::optional<std::wstring> lang;
    std::wstring text;
    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"lang", &T_Text::lang), Xml::Text(&T_Text::text)); }
};

class TextRange_T : public XmlElement<TextRange_T, T_Text>
{
public:
    static constexpr ElementName Name = Named(L"T");
};

class OE : public XmlElement<OE>
{
public:
    static constexpr ElementName Name = Named(L"OE");
    std::optional<std::wstring> objectID;
    std::wstring alignment = L"left";
    std::optional<double> spaceBefore;
    std::optional<std::uint32_t> quickStyleIndex;
    std::optional<SYSTEMTIME> creationTime;
    bool collapsed = false;
    Collection<TextRange_T> runs;
    Collection<OE> children;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"objectID", &OE::objectID), Attribute(L"alignment", &OE::alignment, L"left"),
                           Attribute(L"spaceBefore", &OE::spaceBefore), Attribute(L"quickStyleIndex", &OE::quickStyleIndex),
                           Attribute(L"creationTime", &OE::creationTime), Attribute(L"collapsed", &OE::collapsed, false),
                           Xml::List(&OE::runs), Xml::List(&OE::children));
    }
};

class Outline : public XmlElement<Outline>
{
public:
    static constexpr ElementName Name = Named(L"Outline");
    std::optional<std::wstring> author;
    double width = 0;
    Color color = Color::Automatic;
    Collection<OE> items;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"author", &Outline::author), Attribute(L"width", &Outline::width, 0.0),
                           Attribute(L"color", &Outline::color, Color::Automatic), Xml::List(&Outline::items));
    }
};

class Page : public XmlElement<Page>
{
public:
    static constexpr ElementName Name = Named(L"Page");
    std::wstring name;
    std::optional<SYSTEMTIME> dateTime;
    Collection<Outline> outlines;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"name", &Page::name), Attribute(L"dateTime", &Page::dateTime),
                           Xml::List(&Page::outlines));
    }
};

std::shared_ptr<Page> MakePage(int outlines, int itemsPerOutline)
{
    auto page = std::make_shared<Page>();
    page->name = L"Benchmark page";
    page->dateTime = SYSTEMTIME{2024, 5, 0, 17, 8, 30, 0, 0};
    for (int o = 0; o < outlines; ++o)
    {
        Outline& outline = *page->outlines.AddNew();
        outline.author = L"Author " + std::to_wstring(o);
        outline.width = 480.25 + o;
        outline.color = Color{0xFF336699};
        for (int i = 0; i < itemsPerOutline; ++i)
        {
            OE& item = *outline.items.AddNew();
            item.objectID = L"{6A1B2C3D-0000-4E5F-9A8B-" + std::to_wstring(100000000000 + o * 1000 + i) + L"}";
            item.alignment = i % 3 == 0 ? L"right" : L"left";
            item.spaceBefore = 1.5 * (i % 7);
            item.quickStyleIndex = static_cast<std::uint32_t>(i % 5);
            item.creationTime = SYSTEMTIME{2023, 11, 0, 2, 14, 5, static_cast<WORD>(i % 60), 0};
            TextRange_T& run = *item.runs.AddNew();
            run.lang = L"en-US";
            run.cdata = i % 2 == 0;
            run.text = L"Line " + std::to_wstring(i) + L" of outline " + std::to_wstring(o) +
                       L": the quick brown fox jumps over the lazy dog & friends.";
            if (i % 4 == 0)
            {
                OE& nested = *item.children.AddNew();
                nested.runs.AddNew()->text = L"A nested paragraph under item " + std::to_wstring(i);
            }
        }
    }
    return page;
}

double Seconds(const std::function<void()>& run)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        QueryPerformanceCounter(&start);
        run();
        QueryPerformanceCounter(&end);
        best = std::min(best, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    }
    return best;
}

// The nodes of a document as a bare loop reads them, to be written again by a bare loop.
struct Node
{
    XmlNodeType type;
    std::wstring prefix;
    std::wstring name;
    std::wstring namespaceUri;
    std::wstring value;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    bool empty = false;
};

size_t BareRead(const std::wstring& text, std::vector<Node>* nodes)
{
    IXmlReaderPtr reader = CreateReader(text);
    size_t touched = 0;
    XmlNodeType type;
    while (reader->Read(&type) == S_OK)
    {
        const wchar_t* name = nullptr;
        const wchar_t* value = nullptr;
        UINT length = 0;
        Node node{type, {}, {}, {}, {}, {}, false};
        switch (type)
        {
        case XmlNodeType_Element:
            ThrowIfFailed(reader->GetLocalName(&name, &length));
            touched += length;
            if (nodes)
            {
                const wchar_t* prefix = nullptr;
                const wchar_t* uri = nullptr;
                reader->GetPrefix(&prefix, nullptr);
                reader->GetNamespaceUri(&uri, nullptr);
                node.prefix = prefix;
                node.name = name;
                node.namespaceUri = uri;
            }
            for (HRESULT hr = reader->MoveToFirstAttribute(); hr == S_OK; hr = reader->MoveToNextAttribute())
            {
                ThrowIfFailed(reader->GetLocalName(&name, &length));
                ThrowIfFailed(reader->GetValue(&value, &length));
                touched += length;
                if (nodes && !reader->IsDefault())
                {
                    const wchar_t* prefix = nullptr;
                    reader->GetPrefix(&prefix, nullptr);
                    if (std::wstring(prefix) != L"xmlns")
                        node.attributes.emplace_back(name, value);
                }
            }
            reader->MoveToElement();
            node.empty = reader->IsEmptyElement();
            break;
        case XmlNodeType_Text:
        case XmlNodeType_CDATA:
            ThrowIfFailed(reader->GetValue(&value, &length));
            touched += length;
            if (nodes)
                node.value = value;
            break;
        default:
            break;
        }
        if (nodes && type != XmlNodeType_Whitespace && type != XmlNodeType_XmlDeclaration)
        {
            nodes->push_back(std::move(node));
            if (nodes->back().type == XmlNodeType_Element && nodes->back().empty)
                nodes->push_back(Node{XmlNodeType_EndElement, {}, {}, {}, {}, {}, false});
        }
    }
    return touched;
}

_bstr_t BareWrite(const std::vector<Node>& nodes)
{
    XmlWriterHolder holder = CreateWriter(true, true, true, true);
    IXmlWriter* writer = holder.writer;
    for (const Node& node : nodes)
    {
        switch (node.type)
        {
        case XmlNodeType_Element:
            ThrowIfFailed(writer->WriteStartElement(node.prefix.empty() ? nullptr : node.prefix.c_str(), node.name.c_str(),
                                                    node.namespaceUri.empty() ? nullptr : node.namespaceUri.c_str()));
            for (const auto& [name, value] : node.attributes)
                ThrowIfFailed(writer->WriteAttributeString(nullptr, name.c_str(), nullptr, value.c_str()));
            break;
        case XmlNodeType_Text:
            ThrowIfFailed(writer->WriteString(node.value.c_str()));
            break;
        case XmlNodeType_CDATA:
            ThrowIfFailed(writer->WriteCData(node.value.c_str()));
            break;
        case XmlNodeType_EndElement:
            ThrowIfFailed(writer->WriteEndElement());
            break;
        default:
            break;
        }
    }
    ThrowIfFailed(writer->WriteEndDocument());
    ThrowIfFailed(writer->Flush());
    return StreamToBstr(holder.stream);
}
} // namespace

int wmain()
{
    try
    {
        const auto page = MakePage(40, 400);
        _bstr_t text = WriteElement(*page);
        const std::wstring document(static_cast<const wchar_t*>(text), text.length());
        std::vector<Node> nodes;
        BareRead(document, &nodes);

        size_t elements = 0;
        const double bindingParse = Seconds([&] {
            auto read = std::make_shared<Page>();
            ParseElement(*read, document);
            elements = read->outlines.size();
        });
        size_t touched = 0;
        const double bareParse = Seconds([&] { touched = BareRead(document, nullptr); });

        auto read = std::make_shared<Page>();
        ParseElement(*read, document);
        size_t bindingLength = 0;
        const double bindingWrite = Seconds([&] { bindingLength = WriteElement(*read).length(); });
        size_t bareLength = 0;
        const double bareWrite = Seconds([&] { bareLength = BareWrite(nodes).length(); });

        std::printf("document: %.1f MB of UTF-16 (%zu outlines), bare write %.1f MB, %zu characters touched\n",
                    document.size() * 2 / 1e6, elements, bareLength * 2 / 1e6, touched);
        std::printf("parse: binding %.3f s, bare %.3f s, ratio %.2f\n", bindingParse, bareParse, bindingParse / bareParse);
        std::printf("write: binding %.3f s, bare %.3f s, ratio %.2f\n", bindingWrite, bareWrite, bindingWrite / bareWrite);
        size_t differentTexts = 0;
        size_t texts = 0;
        for (size_t o = 0; o < page->outlines.size(); ++o)
            for (size_t i = 0; i < page->outlines[o]->items.size(); ++i, ++texts)
            {
                const auto& runs = read->outlines.at(o)->items.at(i)->runs;
                if (runs.empty() || runs[0]->text != page->outlines[o]->items[i]->runs[0]->text)
                {
                    if (differentTexts++ < 5)
                        std::printf("outline %zu item %zu: %ls\n", o, i, runs.empty() ? L"(no run)" : runs[0]->text.c_str());
                }
            }
        std::printf("texts read differently: %zu of %zu\n", differentTexts, texts);
        const _bstr_t again = WriteElement(*read);
        const std::wstring rewritten(static_cast<const wchar_t*>(again), again.length());
        const auto difference = std::mismatch(document.begin(), document.end(), rewritten.begin(), rewritten.end());
        if (difference.first == document.end() && difference.second == rewritten.end())
            std::printf("written, parsed and written again: the same text\n");
        else
            std::printf("written again differently from character %zu: '%ls' / '%ls'\n",
                        static_cast<size_t>(difference.first - document.begin()),
                        document.substr(difference.first - document.begin() - 200, 260).c_str(),
                        rewritten.substr(difference.second - rewritten.begin() - 200, 260).c_str());
        return 0;
    }
    catch (const _com_error& error)
    {
        std::printf("failed: HRESULT %08lx\n", static_cast<unsigned long>(error.Error()));
        return 1;
    }
}
