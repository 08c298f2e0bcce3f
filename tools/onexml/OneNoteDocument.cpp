#include "tools/onexml/OneNoteDocument.h"

#include "framework/com/ComError.h"
#include "framework/text/Text.h"
#include "framework/xml/ElementReader.h"
#include "framework/xml/XmlDocument.h"
#include "onenote_model/OneNoteModel.h"

#include <windows.h>

#include <climits>
#include <cstdint>

namespace OneNoteXml
{
namespace
{
constexpr std::wstring_view Namespace2010 = L"http://schemas.microsoft.com/office/onenote/2010/onenote";

std::string Utf8(std::wstring_view text)
{
    return WideToUtf8(std::wstring(text));
}

[[noreturn]] void Refuse(const std::string& why)
{
    throw NotOneNoteXml(why);
}

std::wstring FromUtf8(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    if (bytes.size() > INT_MAX)
        Refuse("the file is too large");
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        Refuse("the text is neither UTF-8 nor UTF-16 with a byte order mark");
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), size);
    return text;
}

std::wstring FromUtf16(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2 != 0)
        Refuse("the UTF-16 text has an odd number of bytes");
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
    {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

template <typename X> std::shared_ptr<ChildElement> Read(std::wstring_view text)
{
    auto element = std::make_shared<X>();
    ParseElement(*element, text);
    return element;
}

// The classes of the elements that OneNote hands out as a document's root.
std::shared_ptr<ChildElement> ReadRoot(std::wstring_view name, std::wstring_view text)
{
    if (name == ON::Page::Name.localName)
        return Read<ON::Page>(text);
    if (name == ON::Notebooks::Name.localName)
        return Read<ON::Notebooks>(text);
    if (name == ON::Notebook::Name.localName)
        return Read<ON::Notebook>(text);
    if (name == ON::SectionGroup::Name.localName)
        return Read<ON::SectionGroup>(text);
    if (name == ON::Section::Name.localName)
        return Read<ON::Section>(text);
    if (name == ON::UnfiledNotes::Name.localName)
        return Read<ON::UnfiledNotes>(text);
    if (name == ON::OpenSections::Name.localName)
        return Read<ON::OpenSections>(text);
    return nullptr;
}
} // namespace

std::wstring DecodeFileText(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE"))
        return FromUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return FromUtf16(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return FromUtf8(bytes);
}

std::shared_ptr<ChildElement> ReadDocument(std::wstring_view text)
{
    const DocumentOutline outline = SurveyDocument(text);
    if (outline.rootName.empty())
        Refuse("no root element (the text is empty or not XML)");
    if (!outline.whole)
        Refuse("not well-formed XML: the reading stopped at line " + std::to_string(outline.line) + ", position " +
               std::to_string(outline.position));
    if (outline.rootNamespace != ON::NamespaceUri && outline.rootNamespace != Namespace2010)
        Refuse("the root element \"" + Utf8(outline.rootName) + "\" is not in OneNote's namespace (it is in \"" +
               Utf8(outline.rootNamespace) + "\")");
    std::shared_ptr<ChildElement> root = ReadRoot(outline.rootName, text);
    if (!root)
        Refuse("\"" + Utf8(outline.rootName) + "\" is not a page or an element of OneNote's hierarchy");
    return root;
}

std::string WriteDocument(const ChildElement& root) { return WriteUtf8Document(root); }
} // namespace OneNoteXml
