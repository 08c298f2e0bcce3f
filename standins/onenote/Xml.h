#pragma once
// The stand-in's own XML tree. Text is parsed with MSXML's DOM (not the programs' XmlLite model,
// so that a fault in the model is not hidden by the same fault here) and written by hand, always
// with an XML declaration and the "one" prefix, as OneNote writes it.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace StandIn
{
struct XNode;
using XNodePtr = std::shared_ptr<XNode>;

struct XNode
{
    std::wstring name;            // local name of an element; empty for a text node
    std::wstring text;            // the text of a text node
    bool cdata = false;           // a text node written as a CDATA section
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    std::vector<XNodePtr> children;

    bool IsElement() const { return !name.empty(); }
    const std::wstring* Attribute(const std::wstring& attributeName) const;
    std::wstring AttributeOr(const std::wstring& attributeName, const std::wstring& fallback = {}) const;
    void SetAttribute(const std::wstring& attributeName, const std::wstring& value);
    void RemoveAttribute(const std::wstring& attributeName);
    // Element children with this local name, in document order.
    std::vector<XNodePtr> Elements(const std::wstring& elementName) const;
    XNodePtr FirstElement(const std::wstring& elementName) const;
    // All text below this node, text nodes joined.
    std::wstring InnerText() const;
    XNodePtr Clone(bool deep = true) const;
};

XNodePtr MakeElement(const std::wstring& name);
XNodePtr MakeText(const std::wstring& text, bool cdata);

// The namespaces of OneNote's schemas.
inline constexpr const wchar_t* Namespace2010 = L"http://schemas.microsoft.com/office/onenote/2010/onenote";
inline constexpr const wchar_t* Namespace2013 = L"http://schemas.microsoft.com/office/onenote/2013/onenote";

enum class ParseStatus
{
    Ok,
    NotWellFormed,
    WrongNamespace, // elements outside the expected namespace
    Invalid,        // not valid against the published schema
};

struct ParseResult
{
    ParseStatus status = ParseStatus::Ok;
    XNodePtr root;
    std::wstring reason;
    // Why a document that was to be validated was not (the schema file is missing or MSXML could
    // not load it); empty when it was validated or no schema was named.
    std::wstring notValidated;
    HRESULT notValidatedResult = S_OK;
};

// Parses text with MSXML 6. expectedNamespace: every element must be in it (empty: no check).
// schemaFile: when not empty, the document is also validated against that XSD; when that cannot
// be done, notValidated says why.
ParseResult ParseXml(const std::wstring& text, const std::wstring& expectedNamespace,
                     const std::wstring& schemaFile);

// Writes root as a whole document: XML declaration, "one" prefix bound to ns on the root.
std::wstring WriteXml(const XNode& root, const std::wstring& ns, bool indent = true);
// The same document as UTF-8, appended to out.
void WriteXmlUtf8(const XNode& root, const std::wstring& ns, std::string& out, bool indent = true);

// Parses UTF-8 text of the stand-in's own files (the store, its journal) as ParseXml does, without
// a schema: in one pass and into the tree alone, so that a large store needs no DOM beside it.
ParseResult ParseXmlUtf8(std::string_view text, const std::wstring& expectedNamespace);

// A UTF-8 text file (a byte order mark is skipped); empty when it cannot be read.
std::wstring ReadUtf8File(const std::wstring& path);
} // namespace StandIn
