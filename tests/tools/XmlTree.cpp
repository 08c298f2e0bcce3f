#include "tests/tools/XmlTree.h"

#include "framework/com/ComError.h"
#include "framework/xml/ElementReader.h"
#include "framework/xml/XmlDocument.h"

namespace XmlTree
{
namespace
{
std::wstring Get(IXmlReader* reader, HRESULT (STDMETHODCALLTYPE IXmlReader::*get)(LPCWSTR*, UINT*))
{
    const wchar_t* text = nullptr;
    UINT length = 0;
    ThrowIfFailed((reader->*get)(&text, &length));
    return std::wstring(text, length);
}

void Escape(std::wstring& out, std::wstring_view text, bool attribute)
{
    for (wchar_t c : text)
    {
        switch (c)
        {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += attribute ? L"&quot;" : L"\""; break;
        case L'\t': out += attribute ? L"&#9;" : L"\t"; break;
        case L'\n': out += attribute ? L"&#10;" : L"\n"; break;
        case L'\r': out += L"&#13;"; break;
        default: out += c; break;
        }
    }
}

// Iterative on purpose: the fuzz test nests elements deeper than any stack should have to follow.
void WriteNode(std::wstring& out, const Node& root)
{
    struct Frame
    {
        const Node* node;
        size_t next;
    };
    std::vector<Frame> stack{{&root, 0}};
    bool opening = true;
    while (!stack.empty())
    {
        Frame& frame = stack.back();
        const Node& node = *frame.node;
        if (opening)
        {
            opening = false;
            switch (node.kind)
            {
            case Node::Kind::Text:
                if (node.raw)
                    out += node.text;
                else
                    Escape(out, node.text, false);
                stack.pop_back();
                continue;
            case Node::Kind::CData: {
                std::wstring_view rest = node.text;
                for (size_t end = rest.find(L"]]>"); end != std::wstring_view::npos; end = rest.find(L"]]>"))
                {
                    out += L"<![CDATA[";
                    out += rest.substr(0, end + 2);
                    out += L"]]>";
                    rest.remove_prefix(end + 2);
                }
                out += L"<![CDATA[";
                out += rest;
                out += L"]]>";
                stack.pop_back();
                continue;
            }
            case Node::Kind::Comment:
                out += L"<!--" + node.text + L"-->";
                stack.pop_back();
                continue;
            case Node::Kind::Element:
                out += L'<';
                out += node.name;
                for (const Attribute& attribute : node.attributes)
                {
                    out += L' ';
                    out += attribute.name;
                    out += L"=\"";
                    if (attribute.raw)
                        out += attribute.value;
                    else
                        Escape(out, attribute.value, true);
                    out += L'"';
                }
                if (node.children.empty())
                {
                    out += L"/>";
                    stack.pop_back();
                    continue;
                }
                out += L'>';
                break;
            }
        }
        if (frame.next < node.children.size())
        {
            stack.push_back({&node.children[frame.next++], 0});
            opening = true;
            continue;
        }
        out += L"</" + node.name + L">";
        stack.pop_back();
    }
}

size_t Count(const Node& node)
{
    size_t count = node.IsElement() ? 1 : 0;
    for (const Node& child : node.children)
        count += Count(child);
    return count;
}
} // namespace

std::wstring_view Node::LocalName() const
{
    const std::wstring_view whole = name;
    const size_t colon = whole.find(L':');
    return colon == std::wstring_view::npos ? whole : whole.substr(colon + 1);
}

Node Read(std::wstring_view text)
{
    Xml::NodeReader reader(CreateReader(text));
    IXmlReader* raw = reader.Get();
    Node document;
    std::vector<Node*> open{&document};
    XmlNodeType type;
    while (reader.Next(type))
    {
        Node& parent = *open.back();
        switch (type)
        {
        case XmlNodeType_Element: {
            Node element;
            element.name = Get(raw, &IXmlReader::GetQualifiedName);
            HRESULT hr = raw->MoveToFirstAttribute();
            while (hr == S_OK)
            {
                element.attributes.push_back(
                    {Get(raw, &IXmlReader::GetQualifiedName), Get(raw, &IXmlReader::GetValue), false});
                hr = raw->MoveToNextAttribute();
            }
            raw->MoveToElement();
            const bool empty = reader.IsEmptyElement();
            parent.children.push_back(std::move(element));
            if (!empty)
                open.push_back(&parent.children.back());
            break;
        }
        case XmlNodeType_EndElement:
            if (open.size() > 1)
                open.pop_back();
            break;
        case XmlNodeType_Text:
        case XmlNodeType_Whitespace:
            parent.children.push_back({Node::Kind::Text, {}, {}, {}, std::wstring(reader.Value()), false});
            break;
        case XmlNodeType_CDATA:
            parent.children.push_back({Node::Kind::CData, {}, {}, {}, std::wstring(reader.Value()), false});
            break;
        default: break;
        }
    }
    for (Node& child : document.children)
        if (child.IsElement())
            return std::move(child);
    return {};
}

std::wstring Write(const Node& root)
{
    std::wstring out = L"<?xml version=\"1.0\"?>\n";
    if (root.IsElement() && !root.name.empty())
        WriteNode(out, root);
    return out;
}

size_t CountElements(const Node& root) { return Count(root); }
} // namespace XmlTree
