#pragma once
// Whole documents: element trees to UTF-16 text and back, over XmlLite on memory streams.

#include "framework/streams/MemoryStream.h"
#include "framework/xml/ChildElement.h"
#include "framework/xml/XmlLitePointers.h"

#include <string>
#include <string_view>

// A writer and the memory stream it writes into; the stream is released first.
struct XmlWriterHolder
{
    IXmlWriterPtr writer;
    IStreamPtr stream;
};

// A writer on a new memory stream, without byte order mark. asDocument asks for document
// conformance (one root element), otherwise a fragment is allowed.
XmlWriterHolder CreateWriter(bool utf16, bool writeDeclaration, bool asDocument, bool indent);

// A reader over text, standing before its first node. Document type declarations are refused.
IXmlReaderPtr CreateReader(std::wstring_view text);

// Writes element with its attributes and children. Without a writer the text of a UTF-16 writer
// of its own is returned (with the XML declaration when endDocument; contentOnly gives only the
// children, as a fragment, which Wine's writer cannot start with text); with a writer given, into
// that writer, and an empty result.
_bstr_t WriteElement(const ChildElement& element, IXmlWriter* writer = nullptr, bool contentOnly = false,
                     bool endDocument = true, bool indent = true);

// The element as a whole document in UTF-8 without byte order mark: the XML declaration, then the
// element with its children, indented.
std::string WriteUtf8Document(const ChildElement& root);

// Fills element from the document text: the root element of the element's name is read into it
// (attributes kept where the text has none, lists appended to). onElementEnd, when set, is told of
// every element when its reading ends. A malformed or cut-off document ends the reading quietly
// at the bad place; failures of the reader itself raise COM errors.
void ParseElement(ChildElement& element, std::wstring_view text, const ElementEndCallback& onElementEnd = {});
void ParseElement(ChildElement& element, const wchar_t* text, const ElementEndCallback& onElementEnd = {});
void ParseElement(ChildElement& element, const _bstr_t& text, const ElementEndCallback& onElementEnd = {});

// What a text holds as a document: its root element, and whether it is one whole, well-formed
// document (a root element that is closed, and nothing malformed or cut off before the end).
struct DocumentOutline
{
    std::wstring rootName; // local name
    std::wstring rootNamespace;
    bool whole = false;
    // Where the walk through the text stopped, for telling where a damaged text breaks.
    unsigned line = 0;
    unsigned position = 0;
};
DocumentOutline SurveyDocument(std::wstring_view text);

// Whether the text is one whole, well-formed document. Lets a reader of a file it will write back
// tell a damaged file from one that merely lacks values.
bool IsWholeDocument(std::wstring_view text);

// Appends the text with <, >, " and & replaced by their entities (the apostrophe is kept); in an
// attribute value also the tab, line feed and carriage return.
void AppendXmlEscaped(std::wstring& out, std::wstring_view text, bool attributeValue);

// The text escaped as element content, for putting text into content that is written raw.
std::wstring XmlEscape(std::wstring text);

// Writes an element's text: unchanged when raw, else as CDATA when cdata (split where the text
// holds "]]>"), else escaped. Empty plain text writes nothing. Characters that XML does not allow
// are dropped (tab, line feed and carriage return are kept).
void WriteTextContent(IXmlWriter* writer, const std::wstring& text, bool raw, bool cdata);

namespace Xml
{
void WriteStartElement(IXmlWriter* writer, const ElementName& name);

// WriteAttributeString, with the value escaped by the binding where the system's writer does not
// escape attribute values itself (Wine's), so that the document is well-formed on every system.
// Characters that XML does not allow are dropped, as from text content.
void WriteAttributeValue(IXmlWriter* writer, std::wstring_view localName, const wchar_t* value);

// A child element written whole into its parent's writer.
void WriteChild(IXmlWriter* writer, const ChildElement& child);
} // namespace Xml
