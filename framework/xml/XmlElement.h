#pragma once
// Writing an XML element class: derive it from XmlElement<X> (or XmlElement<X, T_Type> for an
// element of a named schema type), give it its name and its table, and it reads and writes itself:
//
//   class Note : public XmlElement<Note>
//   {
//   public:
//       static constexpr ElementName Name{L"Note"};
//       std::optional<std::wstring> author;
//       std::uint32_t priority = 1;
//       std::wstring text;
//
//       static constexpr auto Schema()
//       {
//           return Xml::Schema(Xml::Attribute(L"author", &Note::author),
//                              Xml::Attribute(L"priority", &Note::priority, 1u),
//                              Xml::Text(&Note::text));
//       }
//   };
//
// Elements are made with std::make_shared and written and read with WriteElement and ParseElement
// (XmlDocument.h). The vocabulary of tables is in ElementSchema.h.

#include "framework/xml/ChildElement.h"
#include "framework/xml/ElementReader.h"
#include "framework/xml/ElementSchema.h"
#include "framework/xml/XmlDocument.h"

#include <memory>
#include <string_view>
#include <type_traits>

namespace Xml
{
// Answers the text questions of a named schema type from the element's own flags.
template <typename X, typename Base>
class TextFlagsOf : public Base
{
};

template <typename X, typename Base>
    requires std::is_base_of_v<SchemaType, Base>
class TextFlagsOf<X, Base> : public Base
{
public:
    bool IsCData() const override { return static_cast<const X&>(*this).cdata; }
    bool IsRaw() const override { return static_cast<const X&>(*this).raw; }
};
} // namespace Xml

// The base of an element class X: ChildElement (or the named schema type Base), Child<X> and
// std::enable_shared_from_this<X>, with the four operations done by X::Schema() and X::Name.
template <typename X, typename Base = ChildElement>
class XmlElement : public Xml::TextFlagsOf<X, Base>, public Child<X>, public std::enable_shared_from_this<X>
{
    static_assert(std::is_base_of_v<ChildElement, Base>);

public:
    // Sets the attribute of that local name from its text; false for a name the class does not have.
    bool SetAttribute(std::wstring_view localName, std::wstring_view value);

    // Defined below the class, not inline, so that a model that instantiates its classes once
    // (extern template) spares every other file their reading and writing.
    void WriteAttributes(IXmlWriter* writer) const override;
    void WriteChildren(IXmlWriter* writer, bool) const override;
    void WriteStartElement(IXmlWriter* writer) const override;
    bool Read(const ReadContext& context) override;

protected:
    XmlElement() = default;
    XmlElement(const XmlElement&) = default;
    XmlElement& operator=(const XmlElement&) = default;
    ~XmlElement() = default;

private:
    X& Self() { return static_cast<X&>(*this); }
    const X& Self() const { return static_cast<const X&>(*this); }

    static bool SetAttributeOf(void* element, std::wstring_view localName, std::wstring_view value);
    static bool TakeChildOf(void* element, std::wstring_view localName, const ReadContext& childContext);
};

template <typename X, typename Base>
bool XmlElement<X, Base>::SetAttribute(std::wstring_view localName, std::wstring_view value)
{
    return X::Schema().SetAttribute(Self(), localName, value);
}

template <typename X, typename Base>
void XmlElement<X, Base>::WriteAttributes(IXmlWriter* writer) const
{
    X::Schema().WriteAttributes(Self(), writer);
}

template <typename X, typename Base>
void XmlElement<X, Base>::WriteChildren(IXmlWriter* writer, bool) const
{
    X::Schema().WriteChildren(Self(), writer);
}

template <typename X, typename Base>
void XmlElement<X, Base>::WriteStartElement(IXmlWriter* writer) const
{
    Xml::WriteStartElement(writer, X::Name);
}

template <typename X, typename Base>
bool XmlElement<X, Base>::Read(const ReadContext& context)
{
    const Xml::ElementHooks hooks{*this, X::Name.localName.data(), &Self(), &SetAttributeOf, &TakeChildOf,
                                  X::Schema().TextOf(Self())};
    Xml::ReadElement(hooks, context);
    return true;
}

template <typename X, typename Base>
bool XmlElement<X, Base>::SetAttributeOf(void* element, std::wstring_view localName, std::wstring_view value)
{
    return X::Schema().SetAttribute(*static_cast<X*>(element), localName, value);
}

template <typename X, typename Base>
bool XmlElement<X, Base>::TakeChildOf(void* element, std::wstring_view localName, const ReadContext& childContext)
{
    return X::Schema().Take(*static_cast<X*>(element), localName, childContext);
}

// The base of a choice holder H: a record, not an element, that keeps one child element of one of
// several names (its alternatives, given by H::Schema()) in a run of them (Xml::ChoiceList). Its
// Name is the name its links carry for the element inside it.
template <typename H>
class ChoiceHolder : public Child<H>, public std::enable_shared_from_this<H>
{
};
