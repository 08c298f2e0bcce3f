#pragma once
// Text helpers of the XML tests: written documents as wide strings, and their canonical forms
// through the host's xmllint.

#include "framework/xml/XmlDocument.h"
#include "tests/support/SchemaCheck.h"

#include <string>

namespace XmlTestText
{
inline std::wstring Of(const _bstr_t& text)
{
    const wchar_t* characters = text;
    return characters ? std::wstring(characters, text.length()) : std::wstring();
}

// The whole document of element, as WriteElement gives it to OneNote.
inline std::wstring Write(const ChildElement& element) { return Of(WriteElement(element)); }

// Where a comparison has to look past the form a writer chose.
enum class Form
{
    // Attribute order and the place of namespace declarations are not looked at.
    Canonical,
    // Also white space that only indents (Wine's writer indents CDATA sections in their element).
    CanonicalWithoutIndentation,
};

// The canonical form (C14N) of a UTF-16 document, or the xmllint error when it is not well-formed.
inline std::string Canonical(const std::wstring& document, Form form)
{
    const std::string bytes(reinterpret_cast<const char*>(document.data()), document.size() * sizeof(wchar_t));
    const auto file = SchemaCheck::WriteOutputFile(L".xml", bytes);
    const std::string options = form == Form::Canonical ? "--c14n" : "--noblanks --c14n";
    const SchemaCheck::HostResult result =
        SchemaCheck::RunHostShell("xmllint " + options + " '" + SchemaCheck::UnixPath(file) + "'");
    return result.exitCode == 0 ? result.output : "not well-formed: " + result.output;
}
} // namespace XmlTestText
