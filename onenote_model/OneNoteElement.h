#pragma once
// What every class of the OneNote model shares: the prefix and namespace of its start tag, and
// the GUID attribute values that several elements carry.

#include "framework/xml/XmlElement.h"

#include <guiddef.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace ON
{
// OneNote's 2013 page and hierarchy schema. Readers compare local names only, so the same classes
// also read what OneNote writes in its 2010 schema version; writing always uses this one.
inline constexpr const wchar_t* NamespaceUri = L"http://schemas.microsoft.com/office/onenote/2013/onenote";
inline constexpr const wchar_t* Prefix = L"one";

// The name of an element of the model. Every child bears the same prefix and namespace, so the
// writer declares the namespace only on the outermost element it writes.
template <std::size_t N>
constexpr ElementName OneNoteName(const wchar_t (&localName)[N])
{
    return ElementName{std::wstring_view(localName, N - 1), Prefix, NamespaceUri};
}

// Makes every element of a list built in code point back to the list, as the readers do.
template <typename T>
Collection<T>& Adopt(Collection<T>& list)
{
    for (const std::shared_ptr<T>& element : list)
        if (element)
            element->parentList = &list;
    return list;
}

// The registry form of a GUID: 38 characters, braces and upper-case hexadecimal digits.
std::wstring GuidToText(const GUID& guid);

// Reads the registry form from the first 38 characters of text (hexadecimal digits in either
// case; what follows them is ignored). Anything else, also a form that the registry could
// resolve, gives the all-zero GUID: an attribute value never reaches beyond this text.
GUID TextToGuid(std::wstring_view text);
} // namespace ON

namespace Xml
{
template <>
struct ValueConverter<GUID>
{
    static GUID Parse(std::wstring_view text) { return ON::TextToGuid(text); }
    static const wchar_t* Format(const GUID& value, ValueBuffer& buffer);
};
} // namespace Xml
