#pragma once
// The elements that carry text and inline payloads: runs of paragraph text, inline data, callback
// sources and the two markers of an ink word.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/OneNoteElement.h"

#include <string>
#include <utility>

namespace ON
{
// The schema's named type of text runs. The text is written raw when the raw flag is set (it is
// XML already), as CDATA when the CDATA flag is set (read from a section, or marked so by a
// builder), else escaped.
class T_TextRange : public SchemaType
{
public:
    std::wstring selected = L"none";
    bool preserveWhiteSpace = true;
    TextAttributes textAttributes;
    std::wstring text;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = T_TextRange;
        return Xml::Schema(Attribute(L"selected", &T::selected, L"none"),
                           Attribute(L"preserveWhiteSpace", &T::preserveWhiteSpace, true),
                           Xml::Group(&T::textAttributes), Xml::Text(&T::text));
    }

protected:
    T_TextRange() = default;
    T_TextRange(const T_TextRange&) = default;
    T_TextRange& operator=(const T_TextRange&) = default;
    ~T_TextRange() = default;
};

// One run of text inside a paragraph.
class TextRange_T : public XmlElement<TextRange_T, T_TextRange>
{
public:
    static constexpr ElementName Name = OneNoteName(L"T");

    TextRange_T() = default;
    TextRange_T(std::wstring selected, bool preserveWhiteSpace, TextAttributes textAttributes, std::wstring text)
    {
        this->selected = std::move(selected);
        this->preserveWhiteSpace = preserveWhiteSpace;
        this->textAttributes = std::move(textAttributes);
        this->text = std::move(text);
    }

    static constexpr auto Schema() { return T_TextRange::Schema(); }
};

// Content given inline as the element's text: HTML of an HTML block, Base64 of a picture or ink.
class Data : public XmlElement<Data>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Data");

    std::wstring text;

    Data() = default;
    explicit Data(std::wstring text) : text(std::move(text)) {}

    static constexpr auto Schema() { return Xml::Schema(Xml::Text(&Data::text)); }
};

// A source that OneNote asks the caller for by its identifier, instead of a file or inline data.
class CallbackID : public XmlElement<CallbackID>
{
public:
    static constexpr ElementName Name = OneNoteName(L"CallbackID");

    std::wstring callbackID;

    CallbackID() = default;
    explicit CallbackID(std::wstring callbackID) : callbackID(std::move(callbackID)) {}

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"callbackID", &CallbackID::callbackID)); }
};

// The space after an ink word.
class Space : public XmlElement<Space>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Space");

    static constexpr auto Schema() { return Xml::Schema(); }
};

// The end of the line an ink word stands on.
class EndOfLine : public XmlElement<EndOfLine>
{
public:
    static constexpr ElementName Name = OneNoteName(L"EndOfLine");

    static constexpr auto Schema() { return Xml::Schema(); }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in TextRuns.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::TextRange_T, ON::T_TextRange>;
extern template class XmlElement<ON::Data>;
extern template class XmlElement<ON::CallbackID>;
extern template class XmlElement<ON::Space>;
extern template class XmlElement<ON::EndOfLine>;
