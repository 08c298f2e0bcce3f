#pragma once
// The list marker of a paragraph: a bullet or a numbering. Nothing builds these; they are read
// from OneNote's pages and written back with their paragraph.

#include "onenote_model/OneNoteElement.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace ON
{
class Bullet : public XmlElement<Bullet>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Bullet");
    static constexpr double DefaultFontSize = 10.0;

    std::uint32_t bullet = 0;
    double fontSize = DefaultFontSize;
    Color fontColor = Color::Automatic;

    Bullet() = default;
    Bullet(std::uint32_t bullet, double fontSize, Color fontColor) : bullet(bullet), fontSize(fontSize), fontColor(fontColor)
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"bullet", &Bullet::bullet), Attribute(L"fontSize", &Bullet::fontSize, DefaultFontSize),
                           Attribute(L"fontColor", &Bullet::fontColor, Color::Automatic));
    }
};

class Number : public XmlElement<Number>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Number");
    static constexpr double DefaultFontSize = 10.0;

    std::uint32_t numberSequence = 0;
    std::wstring numberFormat;
    std::optional<std::uint32_t> restartNumberingAt;
    std::wstring font = L"Verdana";
    double fontSize = DefaultFontSize;
    Color fontColor = Color::Automatic;
    bool bold = false;
    bool italic = false;
    // A language identifier kept as the text OneNote wrote.
    std::wstring language = L"1033";
    std::optional<std::wstring> text;

    Number() = default;
    Number(std::uint32_t numberSequence, std::wstring numberFormat, std::optional<std::uint32_t> restartNumberingAt,
           std::wstring font, double fontSize, Color fontColor, bool bold, bool italic, std::wstring language,
           std::optional<std::wstring> text)
        : numberSequence(numberSequence), numberFormat(std::move(numberFormat)), restartNumberingAt(restartNumberingAt),
          font(std::move(font)), fontSize(fontSize), fontColor(fontColor), bold(bold), italic(italic),
          language(std::move(language)), text(std::move(text))
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using N = Number;
        return Xml::Schema(Attribute(L"numberSequence", &N::numberSequence), Attribute(L"numberFormat", &N::numberFormat),
                           Attribute(L"restartNumberingAt", &N::restartNumberingAt),
                           Attribute(L"font", &N::font, L"Verdana"), Attribute(L"fontSize", &N::fontSize, DefaultFontSize),
                           Attribute(L"fontColor", &N::fontColor, Color::Automatic), Attribute(L"bold", &N::bold, false),
                           Attribute(L"italic", &N::italic, false), Attribute(L"language", &N::language, L"1033"),
                           Attribute(L"text", &N::text));
    }
};

// The marker of a list. The schema allows one of the two; what was read is kept and written
// back, the bullet first.
struct ListChoice
{
    std::shared_ptr<ON::Bullet> bullet;
    std::shared_ptr<ON::Number> number;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&ListChoice::bullet), Xml::Optional(&ListChoice::number));
    }
};

// Attributes on the element are not kept.
class List : public XmlElement<List>
{
public:
    static constexpr ElementName Name = OneNoteName(L"List");

    ListChoice marker;

    List() = default;
    explicit List(ListChoice marker) : marker(std::move(marker)) {}

    static constexpr auto Schema() { return Xml::Schema(Xml::Group(&List::marker)); }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in Lists.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::Bullet>;
extern template class XmlElement<ON::Number>;
extern template class XmlElement<ON::List>;
