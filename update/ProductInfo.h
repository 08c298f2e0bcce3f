#pragma once
// The product information of the update service: the product's versions, newest first as the
// service lists them, each with its change list, an optional "Learn More" page and picture.

#include "framework/xml/XmlElement.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace Product
{
// Items each beginning with "-" on a line of its own.
class Changes : public XmlElement<Changes>
{
public:
    static constexpr ElementName Name{L"Changes"};

    std::wstring text;

    static constexpr auto Schema() { return Xml::Schema(Xml::Text(&Changes::text)); }
};

// A picture file in base64.
class Image : public XmlElement<Image>
{
public:
    static constexpr ElementName Name{L"Image"};

    std::wstring text;

    static constexpr auto Schema() { return Xml::Schema(Xml::Text(&Image::text)); }
};

class Version : public XmlElement<Version>
{
public:
    static constexpr ElementName Name{L"Version"};

    std::wstring number;
    SYSTEMTIME date{};
    // A path relative to the product web site.
    std::optional<std::wstring> url;
    Changes changes;
    std::shared_ptr<Image> image;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using V = Version;
        return Xml::Schema(Attribute(L"number", &V::number), Attribute(L"date", &V::date), Attribute(L"url", &V::url),
                           Xml::Required(&V::changes), Xml::Optional(&V::image));
    }
};

class Product : public XmlElement<Product>
{
public:
    static constexpr ElementName Name{L"Product"};

    std::wstring name;
    Collection<Version> versions;

    static constexpr auto Schema()
    {
        using P = Product;
        return Xml::Schema(Xml::Attribute(L"name", &P::name), Xml::List(&P::versions));
    }
};
} // namespace Product
