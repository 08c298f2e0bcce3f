#pragma once
// A whole OneNote page or hierarchy document, as a file holds it: decoded, checked, read into the
// document model class of its root element, and written back as UTF-8.

#include "framework/xml/ChildElement.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace OneNoteXml
{
// The input is not a well-formed XML document whose root is an element of OneNote's page and
// hierarchy schema (in its 2013 or 2010 namespace). what() says why, in UTF-8.
class NotOneNoteXml : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The text of a file's bytes: UTF-16 in either byte order when they start with its byte order
// mark, else UTF-8 (a byte order mark is dropped). Bytes that are not UTF-8 make NotOneNoteXml.
std::wstring DecodeFileText(std::string_view bytes);

// Reads the document into a new element of its root's class. The whole text is checked first,
// so that a cut-off or malformed document is refused rather than read in part.
std::shared_ptr<ChildElement> ReadDocument(std::wstring_view text);

// The document as UTF-8 with an XML declaration, indented, in the 2013 namespace.
std::string WriteDocument(const ChildElement& root);
} // namespace OneNoteXml
