#pragma once
// A window's placement as the element "WindowPosition" of a settings file.

#include "framework/xml/XmlElement.h"

#include <climits>
#include <cstdint>

namespace WP
{
// The normal rectangle, show command, flags and minimised and maximised positions of a window.
// Every value equal to its default is left out of the XML, so a window never placed writes an
// empty element.
class WindowPosition : public XmlElement<WindowPosition>
{
public:
    static constexpr ElementName Name{L"WindowPosition"};
    // The value of x, y, width and height that has not been set (CW_USEDEFAULT).
    static constexpr std::int32_t NotSet = INT32_MIN;
    static constexpr std::uint32_t DefaultShowCommand = 5; // SW_SHOW

    std::int32_t x = NotSet;
    std::int32_t y = NotSet;
    std::int32_t width = NotSet;
    std::int32_t height = NotSet;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = DefaultShowCommand;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"x", &WindowPosition::x, NotSet), Attribute(L"y", &WindowPosition::y, NotSet),
                           Attribute(L"width", &WindowPosition::width, NotSet),
                           Attribute(L"height", &WindowPosition::height, NotSet),
                           Attribute(L"flags", &WindowPosition::flags, 0u),
                           Attribute(L"showCmd", &WindowPosition::showCmd, DefaultShowCommand),
                           Attribute(L"minX", &WindowPosition::minX, 0), Attribute(L"minY", &WindowPosition::minY, 0),
                           Attribute(L"maxX", &WindowPosition::maxX, 0), Attribute(L"maxY", &WindowPosition::maxY, 0));
    }
};
} // namespace WP
