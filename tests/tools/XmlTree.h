#pragma once
// A plain tree of any XML document (elements, attributes, text, CDATA and comments), independent
// of the document model, so that a fuzz test can rearrange a document and still write it out
// well-formed.

#include <string>
#include <string_view>
#include <vector>

namespace XmlTree
{
struct Attribute
{
    std::wstring name; // qualified, as written ("xmlns:one", "name")
    std::wstring value;
    // The value is already markup (character references included) and is written unchanged.
    bool raw = false;
};

struct Node
{
    enum class Kind
    {
        Element,
        Text,
        CData,
        Comment,
    };
    Kind kind = Kind::Element;
    std::wstring name; // of an element, qualified ("one:Page")
    std::vector<Attribute> attributes;
    std::vector<Node> children;
    std::wstring text; // of text, CDATA and comment nodes
    bool raw = false;  // text that is already markup

    bool IsElement() const { return kind == Kind::Element; }
    // The name without its prefix.
    std::wstring_view LocalName() const;
};

// The root element of a well-formed document; an element without name when the text is not one.
Node Read(std::wstring_view text);

// The document with an XML declaration. Text and attribute values are escaped (tab, line feed and
// carriage return in attribute values as references), a CDATA section holding "]]>" is split,
// and raw values go out unchanged.
std::wstring Write(const Node& root);

// How many elements the tree holds, the root included.
size_t CountElements(const Node& root);
} // namespace XmlTree
