#pragma once
// A page's paper and rule lines. Nothing builds these: they are read with a page's content and
// written back with it. Lengths are in points; an explicit page size starts as a US letter sheet
// (612 by 792) with margins of half an inch at top and bottom and an inch at the sides.

#include "onenote_model/OneNoteElement.h"

#include <memory>
#include <utility>

namespace ON
{
// Marks a page size or rule lines as chosen by OneNote.
class Automatic : public XmlElement<Automatic>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Automatic");

    static constexpr auto Schema() { return Xml::Schema(); }
};

class T_PageOrientation : public SchemaType
{
public:
    bool landscape = false;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"landscape", &T_PageOrientation::landscape, false));
    }

protected:
    T_PageOrientation() = default;
    T_PageOrientation(const T_PageOrientation&) = default;
    T_PageOrientation& operator=(const T_PageOrientation&) = default;
    ~T_PageOrientation() = default;
};

class PageOrientation_Orientation : public XmlElement<PageOrientation_Orientation, T_PageOrientation>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Orientation");

    PageOrientation_Orientation() = default;
    explicit PageOrientation_Orientation(bool landscape) { this->landscape = landscape; }

    static constexpr auto Schema() { return T_PageOrientation::Schema(); }
};

class T_PageDimensions : public SchemaType
{
public:
    static constexpr double DefaultHeight = 792;
    static constexpr double DefaultWidth = 612;

    double height = DefaultHeight;
    double width = DefaultWidth;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = T_PageDimensions;
        return Xml::Schema(Attribute(L"height", &T::height, DefaultHeight),
                           Attribute(L"width", &T::width, DefaultWidth));
    }

protected:
    T_PageDimensions() = default;
    T_PageDimensions(const T_PageDimensions&) = default;
    T_PageDimensions& operator=(const T_PageDimensions&) = default;
    ~T_PageDimensions() = default;
};

class PageDimensions_Dimensions : public XmlElement<PageDimensions_Dimensions, T_PageDimensions>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Dimensions");

    PageDimensions_Dimensions() = default;
    PageDimensions_Dimensions(double height, double width)
    {
        this->height = height;
        this->width = width;
    }

    static constexpr auto Schema() { return T_PageDimensions::Schema(); }
};

class T_PageMargins : public SchemaType
{
public:
    static constexpr double DefaultTopAndBottom = 36;
    static constexpr double DefaultSides = 72;

    double top = DefaultTopAndBottom;
    double bottom = DefaultTopAndBottom;
    double left = DefaultSides;
    double right = DefaultSides;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = T_PageMargins;
        return Xml::Schema(Attribute(L"top", &T::top, DefaultTopAndBottom),
                           Attribute(L"bottom", &T::bottom, DefaultTopAndBottom),
                           Attribute(L"left", &T::left, DefaultSides), Attribute(L"right", &T::right, DefaultSides));
    }

protected:
    T_PageMargins() = default;
    T_PageMargins(const T_PageMargins&) = default;
    T_PageMargins& operator=(const T_PageMargins&) = default;
    ~T_PageMargins() = default;
};

class PageMargins_Margins : public XmlElement<PageMargins_Margins, T_PageMargins>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Margins");

    PageMargins_Margins() = default;
    PageMargins_Margins(double top, double bottom, double left, double right)
    {
        this->top = top;
        this->bottom = bottom;
        this->left = left;
        this->right = right;
    }

    static constexpr auto Schema() { return T_PageMargins::Schema(); }
};

// An explicit page size: made with the first of its elements that a page size reads, and then
// written whole, each element with what differs from its defaults.
struct PageSizeChoiceElements
{
    PageOrientation_Orientation orientation;
    PageDimensions_Dimensions dimensions;
    PageMargins_Margins margins;

    PageSizeChoiceElements() = default;
    PageSizeChoiceElements(PageOrientation_Orientation orientation, PageDimensions_Dimensions dimensions,
                           PageMargins_Margins margins)
        : orientation(std::move(orientation)), dimensions(std::move(dimensions)), margins(std::move(margins))
    {
    }

    static constexpr auto Schema()
    {
        using C = PageSizeChoiceElements;
        return Xml::Schema(Xml::Required(&C::orientation), Xml::Required(&C::dimensions), Xml::Required(&C::margins));
    }
};

// The schema allows automatic or explicit; a page size that read both keeps and writes both.
class PageSize : public XmlElement<PageSize>
{
public:
    static constexpr ElementName Name = OneNoteName(L"PageSize");

    std::shared_ptr<ON::Automatic> automatic;
    std::shared_ptr<PageSizeChoiceElements> explicitSize;

    PageSize() = default;
    PageSize(std::shared_ptr<ON::Automatic> automatic, std::shared_ptr<PageSizeChoiceElements> explicitSize)
        : automatic(std::move(automatic)), explicitSize(std::move(explicitSize))
    {
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&PageSize::automatic), Xml::Group(&PageSize::explicitSize));
    }
};

class T_RuleLineSettings : public SchemaType
{
public:
    static constexpr double DefaultSpacing = 23.76;

    Color color = Color::Automatic;
    double spacing = DefaultSpacing;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = T_RuleLineSettings;
        return Xml::Schema(Attribute(L"color", &T::color, Color::Automatic),
                           Attribute(L"spacing", &T::spacing, DefaultSpacing));
    }

protected:
    T_RuleLineSettings() = default;
    T_RuleLineSettings(const T_RuleLineSettings&) = default;
    T_RuleLineSettings& operator=(const T_RuleLineSettings&) = default;
    ~T_RuleLineSettings() = default;
};

class RuleLineSettings_Horizontal : public XmlElement<RuleLineSettings_Horizontal, T_RuleLineSettings>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Horizontal");

    RuleLineSettings_Horizontal() = default;
    RuleLineSettings_Horizontal(Color color, double spacing)
    {
        this->color = color;
        this->spacing = spacing;
    }

    static constexpr auto Schema() { return T_RuleLineSettings::Schema(); }
};

class RuleLineSettings_Vertical : public XmlElement<RuleLineSettings_Vertical, T_RuleLineSettings>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Vertical");

    RuleLineSettings_Vertical() = default;
    RuleLineSettings_Vertical(Color color, double spacing)
    {
        this->color = color;
        this->spacing = spacing;
    }

    static constexpr auto Schema() { return T_RuleLineSettings::Schema(); }
};

class T_RuleMarginSettings : public SchemaType
{
public:
    Color color = Color::Automatic;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"color", &T_RuleMarginSettings::color, Color::Automatic));
    }

protected:
    T_RuleMarginSettings() = default;
    T_RuleMarginSettings(const T_RuleMarginSettings&) = default;
    T_RuleMarginSettings& operator=(const T_RuleMarginSettings&) = default;
    ~T_RuleMarginSettings() = default;
};

// The line that marks the page's margin.
class RuleMarginSettings_Margin : public XmlElement<RuleMarginSettings_Margin, T_RuleMarginSettings>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Margin");

    RuleMarginSettings_Margin() = default;
    explicit RuleMarginSettings_Margin(Color color) { this->color = color; }

    static constexpr auto Schema() { return T_RuleMarginSettings::Schema(); }
};

// Vertical lines or a margin line. The schema allows one of the two; a page that has both keeps
// and writes both.
struct RuleLineChoice
{
    std::shared_ptr<RuleLineSettings_Vertical> vertical;
    std::shared_ptr<RuleMarginSettings_Margin> margin;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&RuleLineChoice::vertical), Xml::Optional(&RuleLineChoice::margin));
    }
};

// Rule lines given line by line: made with the first of its elements that rule lines read.
struct RuleLineChoiceElements
{
    std::shared_ptr<RuleLineSettings_Horizontal> horizontal;
    RuleLineChoice verticalOrMargin;

    static constexpr auto Schema()
    {
        using C = RuleLineChoiceElements;
        return Xml::Schema(Xml::Optional(&C::horizontal), Xml::Group(&C::verticalOrMargin));
    }
};

// "visible" is always written: the schema requires it. Automatic and explicit lines are both kept
// and written when both were read.
class RuleLines : public XmlElement<RuleLines>
{
public:
    static constexpr ElementName Name = OneNoteName(L"RuleLines");

    bool visible = false;
    std::shared_ptr<ON::Automatic> automatic;
    std::shared_ptr<RuleLineChoiceElements> lines;

    RuleLines() = default;
    RuleLines(bool visible, std::shared_ptr<ON::Automatic> automatic, std::shared_ptr<RuleLineChoiceElements> lines)
        : visible(visible), automatic(std::move(automatic)), lines(std::move(lines))
    {
    }

    static constexpr auto Schema()
    {
        using R = RuleLines;
        return Xml::Schema(Xml::Attribute(L"visible", &R::visible), Xml::Optional(&R::automatic),
                           Xml::Group(&R::lines));
    }
};

class PageSettings : public XmlElement<PageSettings>
{
public:
    static constexpr ElementName Name = OneNoteName(L"PageSettings");

    bool RTL = false;
    Color color = Color::Automatic;
    std::shared_ptr<ON::PageSize> pageSize;
    std::shared_ptr<ON::RuleLines> ruleLines;

    PageSettings() = default;
    PageSettings(bool RTL, Color color, std::shared_ptr<ON::PageSize> pageSize,
                 std::shared_ptr<ON::RuleLines> ruleLines)
        : RTL(RTL), color(color), pageSize(std::move(pageSize)), ruleLines(std::move(ruleLines))
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using S = PageSettings;
        return Xml::Schema(Attribute(L"RTL", &S::RTL, false), Attribute(L"color", &S::color, Color::Automatic),
                           Xml::Optional(&S::pageSize), Xml::Optional(&S::ruleLines));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in PageSettings.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::Automatic>;
extern template class XmlElement<ON::PageOrientation_Orientation, ON::T_PageOrientation>;
extern template class XmlElement<ON::PageDimensions_Dimensions, ON::T_PageDimensions>;
extern template class XmlElement<ON::PageMargins_Margins, ON::T_PageMargins>;
extern template class XmlElement<ON::PageSize>;
extern template class XmlElement<ON::RuleLineSettings_Horizontal, ON::T_RuleLineSettings>;
extern template class XmlElement<ON::RuleLineSettings_Vertical, ON::T_RuleLineSettings>;
extern template class XmlElement<ON::RuleMarginSettings_Margin, ON::T_RuleMarginSettings>;
extern template class XmlElement<ON::RuleLines>;
extern template class XmlElement<ON::PageSettings>;
