#pragma once
// Colour attribute values: "automatic", "none", "#RRGGBB" and the named colours.

#include "framework/xml/ValueConverters.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// 0xAARRGGBB. Two values have words of their own in the XML: Automatic and None.
enum class Color : std::uint32_t
{
    Automatic = 0,
    None = 0x00FFFFFF,
};

// Orders colour names without regard to case.
struct ColorNameLess
{
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const;
};

// Never fails: "" is opaque black, "automatic" and "none" their values, "#" with six hexadecimal
// digits an opaque colour, "#" with other digits the number as written (eight keep their alpha),
// a colour name its value whatever its case, anything else Automatic.
Color ParseColor(std::wstring_view text);

// "automatic", "none", or "#" with six lower-case digits (the alpha byte is not written).
std::wstring ColorToString(Color color);

namespace Xml
{
// The 141 colour names, with the value each stands for (mixed case, as listed).
struct NamedColor
{
    const wchar_t* name;
    Color value;
};
std::span<const NamedColor> ColorNames();

// ColorToString without allocating: the text is a literal or written into buffer.
const wchar_t* FormatColor(Color color, ValueBuffer& buffer);
} // namespace Xml
