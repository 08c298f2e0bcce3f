#pragma once
// A page's title and the layout that a block of paragraphs gives the paragraphs indented in it.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/OneNoteElement.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace ON
{
class OE;

// Spacing and list layout of the paragraphs of a block. Only read and written back.
class ChildOELayout : public XmlElement<ChildOELayout>
{
public:
    static constexpr ElementName Name = OneNoteName(L"ChildOELayout");

    std::optional<double> spaceBefore;
    std::optional<double> spaceBetween;
    std::optional<double> spaceAfter;
    std::optional<double> listSpacing;
    std::optional<std::wstring> listAlignment;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using C = ChildOELayout;
        return Xml::Schema(Attribute(L"spaceBefore", &C::spaceBefore), Attribute(L"spaceBetween", &C::spaceBetween),
                           Attribute(L"spaceAfter", &C::spaceAfter), Attribute(L"listSpacing", &C::listSpacing),
                           Attribute(L"listAlignment", &C::listAlignment));
    }
};

// The title of a page: its first paragraph in a slot of its own (the one builders fill), the
// paragraphs after it in a list, written back in the order read.
class Title : public XmlElement<Title>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Title");

    std::wstring selected = L"none";
    TextAttributes textAttributes;
    bool showDate = true;
    bool showTime = true;
    std::shared_ptr<ON::OE> oe;
    Collection<ON::OE> moreOEs;

    Title() = default;
    Title(std::wstring selected, TextAttributes textAttributes, bool showDate, bool showTime,
          std::shared_ptr<ON::OE> oe, Collection<ON::OE> moreOEs = {})
        : selected(std::move(selected)), textAttributes(std::move(textAttributes)), showDate(showDate),
          showTime(showTime), oe(std::move(oe)), moreOEs(std::move(moreOEs))
    {
        Adopt(this->moreOEs);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = Title;
        return Xml::Schema(Attribute(L"selected", &T::selected, L"none"), Xml::Group(&T::textAttributes),
                           Attribute(L"showDate", &T::showDate, true), Attribute(L"showTime", &T::showTime, true),
                           Xml::Optional(&T::oe), Xml::List(&T::moreOEs));
    }
};
} // namespace ON

// A title's paragraphs: the circle of outline elements is complete wherever a title is used.
#include "onenote_model/OutlineElements.h"

// The reading and writing of these elements is compiled once, in Titles.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::ChildOELayout>;
extern template class XmlElement<ON::Title>;
