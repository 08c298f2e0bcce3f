#pragma once
// A small element vocabulary for the binding's tests: a catalog of shelves (nested to any depth)
// holding books, loans of books or magazines (a run of choice holders), text elements of a named
// schema type, and every kind of attribute.

#include "framework/xml/WindowPosition.h"
#include "framework/xml/XmlElement.h"

#include <optional>
#include <string>

namespace TestCatalog
{
inline constexpr const wchar_t* Namespace = L"urn:quillora:test:catalog";

constexpr ElementName Named(std::wstring_view localName) { return {localName, L"c", Namespace}; }

// The named schema type of text elements: a language and the text.
class T_Text : public SchemaType
{
public:
    std::optional<std::wstring> lang;
    std::wstring text;

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"lang", &T_Text::lang), Xml::Text(&T_Text::text)); }
};

class Text_Title : public XmlElement<Text_Title, T_Text>
{
public:
    static constexpr ElementName Name = Named(L"Title");
};

class Text_Note : public XmlElement<Text_Note, T_Text>
{
public:
    static constexpr ElementName Name = Named(L"Note");
};

class Author : public XmlElement<Author>
{
public:
    static constexpr ElementName Name = Named(L"Author");
    std::wstring name;

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"name", &Author::name)); }
};

class Book : public XmlElement<Book>
{
public:
    static constexpr ElementName Name = Named(L"Book");
    std::uint32_t id = 0;
    std::uint32_t pages = 0;
    double price = 0;
    bool available = true;
    Color cover = Color::Automatic;
    std::optional<std::int32_t> rating;
    std::optional<SYSTEMTIME> added;
    std::shared_ptr<Text_Title> title;
    Collection<Author> authors;
    std::shared_ptr<Text_Note> note;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"id", &Book::id), Attribute(L"pages", &Book::pages, 0u),
                           Attribute(L"price", &Book::price, 0.0), Attribute(L"available", &Book::available, true),
                           Attribute(L"cover", &Book::cover, Color::Automatic), Attribute(L"rating", &Book::rating),
                           Attribute(L"added", &Book::added), Xml::Optional(&Book::title), Xml::List(&Book::authors),
                           Xml::Optional(&Book::note));
    }
};

class Magazine : public XmlElement<Magazine>
{
public:
    static constexpr ElementName Name = Named(L"Magazine");
    std::uint32_t issue = 0;

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"issue", &Magazine::issue)); }
};

// One loan: a book or a magazine.
class Loan : public ChoiceHolder<Loan>
{
public:
    static constexpr ElementName Name{L"Loan"};
    std::shared_ptr<Book> book;
    std::shared_ptr<Magazine> magazine;

    static constexpr auto Schema() { return Xml::Schema(Xml::Optional(&Loan::book), Xml::Optional(&Loan::magazine)); }
};

// A sign on a shelf, made only when the shelf's XML has one.
struct Signage
{
    std::shared_ptr<Text_Note> caption;

    static constexpr auto Schema() { return Xml::Schema(Xml::Optional(&Signage::caption)); }
};

class Shelf : public XmlElement<Shelf>
{
public:
    static constexpr ElementName Name = Named(L"Shelf");
    std::optional<std::wstring> label;
    Collection<Book> books;
    std::shared_ptr<Signage> signage;
    Collection<Shelf> shelves;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"label", &Shelf::label), Xml::List(&Shelf::books),
                           Xml::Group(&Shelf::signage), Xml::List(&Shelf::shelves));
    }
};

// An attribute group carried by the catalog, written after its own attributes.
struct Audit
{
    std::optional<std::wstring> by;
    bool checked = false;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"by", &Audit::by), Xml::Attribute(L"checked", &Audit::checked, false));
    }
};

class Catalog : public XmlElement<Catalog>
{
public:
    static constexpr ElementName Name = Named(L"Catalog");
    std::wstring name;
    std::uint32_t version = 1;
    std::optional<SYSTEMTIME> updated;
    Audit audit;
    WP::WindowPosition window;
    Collection<Shelf> shelves;
    Collection<Loan> loans;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"name", &Catalog::name), Attribute(L"version", &Catalog::version, 1u),
                           Attribute(L"updated", &Catalog::updated), Xml::Group(&Catalog::audit),
                           Xml::Required(&Catalog::window), Xml::List(&Catalog::shelves),
                           Xml::ChoiceList(&Catalog::loans));
    }
};
} // namespace TestCatalog
