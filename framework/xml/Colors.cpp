#include "framework/xml/Colors.h"

#include <array>
#include <cwctype>
#include <map>

namespace
{
// GDI+'s named colours: the CSS colour keywords spelt with "Gray", DarkSeaGreen as GDI+ has it
// (#8FBC8B), and Transparent.
constexpr std::array<Xml::NamedColor, 141> namedColors{{
    {L"AliceBlue", Color{0xFFF0F8FF}},
    {L"AntiqueWhite", Color{0xFFFAEBD7}},
    {L"Aqua", Color{0xFF00FFFF}},
    {L"Aquamarine", Color{0xFF7FFFD4}},
    {L"Azure", Color{0xFFF0FFFF}},
    {L"Beige", Color{0xFFF5F5DC}},
    {L"Bisque", Color{0xFFFFE4C4}},
    {L"Black", Color{0xFF000000}},
    {L"BlanchedAlmond", Color{0xFFFFEBCD}},
    {L"Blue", Color{0xFF0000FF}},
    {L"BlueViolet", Color{0xFF8A2BE2}},
    {L"Brown", Color{0xFFA52A2A}},
    {L"BurlyWood", Color{0xFFDEB887}},
    {L"CadetBlue", Color{0xFF5F9EA0}},
    {L"Chartreuse", Color{0xFF7FFF00}},
    {L"Chocolate", Color{0xFFD2691E}},
    {L"Coral", Color{0xFFFF7F50}},
    {L"CornflowerBlue", Color{0xFF6495ED}},
    {L"Cornsilk", Color{0xFFFFF8DC}},
    {L"Crimson", Color{0xFFDC143C}},
    {L"Cyan", Color{0xFF00FFFF}},
    {L"DarkBlue", Color{0xFF00008B}},
    {L"DarkCyan", Color{0xFF008B8B}},
    {L"DarkGoldenrod", Color{0xFFB8860B}},
    {L"DarkGray", Color{0xFFA9A9A9}},
    {L"DarkGreen", Color{0xFF006400}},
    {L"DarkKhaki", Color{0xFFBDB76B}},
    {L"DarkMagenta", Color{0xFF8B008B}},
    {L"DarkOliveGreen", Color{0xFF556B2F}},
    {L"DarkOrange", Color{0xFFFF8C00}},
    {L"DarkOrchid", Color{0xFF9932CC}},
    {L"DarkRed", Color{0xFF8B0000}},
    {L"DarkSalmon", Color{0xFFE9967A}},
    {L"DarkSeaGreen", Color{0xFF8FBC8B}},
    {L"DarkSlateBlue", Color{0xFF483D8B}},
    {L"DarkSlateGray", Color{0xFF2F4F4F}},
    {L"DarkTurquoise", Color{0xFF00CED1}},
    {L"DarkViolet", Color{0xFF9400D3}},
    {L"DeepPink", Color{0xFFFF1493}},
    {L"DeepSkyBlue", Color{0xFF00BFFF}},
    {L"DimGray", Color{0xFF696969}},
    {L"DodgerBlue", Color{0xFF1E90FF}},
    {L"Firebrick", Color{0xFFB22222}},
    {L"FloralWhite", Color{0xFFFFFAF0}},
    {L"ForestGreen", Color{0xFF228B22}},
    {L"Fuchsia", Color{0xFFFF00FF}},
    {L"Gainsboro", Color{0xFFDCDCDC}},
    {L"GhostWhite", Color{0xFFF8F8FF}},
    {L"Gold", Color{0xFFFFD700}},
    {L"Goldenrod", Color{0xFFDAA520}},
    {L"Gray", Color{0xFF808080}},
    {L"Green", Color{0xFF008000}},
    {L"GreenYellow", Color{0xFFADFF2F}},
    {L"Honeydew", Color{0xFFF0FFF0}},
    {L"HotPink", Color{0xFFFF69B4}},
    {L"IndianRed", Color{0xFFCD5C5C}},
    {L"Indigo", Color{0xFF4B0082}},
    {L"Ivory", Color{0xFFFFFFF0}},
    {L"Khaki", Color{0xFFF0E68C}},
    {L"Lavender", Color{0xFFE6E6FA}},
    {L"LavenderBlush", Color{0xFFFFF0F5}},
    {L"LawnGreen", Color{0xFF7CFC00}},
    {L"LemonChiffon", Color{0xFFFFFACD}},
    {L"LightBlue", Color{0xFFADD8E6}},
    {L"LightCoral", Color{0xFFF08080}},
    {L"LightCyan", Color{0xFFE0FFFF}},
    {L"LightGoldenrodYellow", Color{0xFFFAFAD2}},
    {L"LightGray", Color{0xFFD3D3D3}},
    {L"LightGreen", Color{0xFF90EE90}},
    {L"LightPink", Color{0xFFFFB6C1}},
    {L"LightSalmon", Color{0xFFFFA07A}},
    {L"LightSeaGreen", Color{0xFF20B2AA}},
    {L"LightSkyBlue", Color{0xFF87CEFA}},
    {L"LightSlateGray", Color{0xFF778899}},
    {L"LightSteelBlue", Color{0xFFB0C4DE}},
    {L"LightYellow", Color{0xFFFFFFE0}},
    {L"Lime", Color{0xFF00FF00}},
    {L"LimeGreen", Color{0xFF32CD32}},
    {L"Linen", Color{0xFFFAF0E6}},
    {L"Magenta", Color{0xFFFF00FF}},
    {L"Maroon", Color{0xFF800000}},
    {L"MediumAquamarine", Color{0xFF66CDAA}},
    {L"MediumBlue", Color{0xFF0000CD}},
    {L"MediumOrchid", Color{0xFFBA55D3}},
    {L"MediumPurple", Color{0xFF9370DB}},
    {L"MediumSeaGreen", Color{0xFF3CB371}},
    {L"MediumSlateBlue", Color{0xFF7B68EE}},
    {L"MediumSpringGreen", Color{0xFF00FA9A}},
    {L"MediumTurquoise", Color{0xFF48D1CC}},
    {L"MediumVioletRed", Color{0xFFC71585}},
    {L"MidnightBlue", Color{0xFF191970}},
    {L"MintCream", Color{0xFFF5FFFA}},
    {L"MistyRose", Color{0xFFFFE4E1}},
    {L"Moccasin", Color{0xFFFFE4B5}},
    {L"NavajoWhite", Color{0xFFFFDEAD}},
    {L"Navy", Color{0xFF000080}},
    {L"OldLace", Color{0xFFFDF5E6}},
    {L"Olive", Color{0xFF808000}},
    {L"OliveDrab", Color{0xFF6B8E23}},
    {L"Orange", Color{0xFFFFA500}},
    {L"OrangeRed", Color{0xFFFF4500}},
    {L"Orchid", Color{0xFFDA70D6}},
    {L"PaleGoldenrod", Color{0xFFEEE8AA}},
    {L"PaleGreen", Color{0xFF98FB98}},
    {L"PaleTurquoise", Color{0xFFAFEEEE}},
    {L"PaleVioletRed", Color{0xFFDB7093}},
    {L"PapayaWhip", Color{0xFFFFEFD5}},
    {L"PeachPuff", Color{0xFFFFDAB9}},
    {L"Peru", Color{0xFFCD853F}},
    {L"Pink", Color{0xFFFFC0CB}},
    {L"Plum", Color{0xFFDDA0DD}},
    {L"PowderBlue", Color{0xFFB0E0E6}},
    {L"Purple", Color{0xFF800080}},
    {L"Red", Color{0xFFFF0000}},
    {L"RosyBrown", Color{0xFFBC8F8F}},
    {L"RoyalBlue", Color{0xFF4169E1}},
    {L"SaddleBrown", Color{0xFF8B4513}},
    {L"Salmon", Color{0xFFFA8072}},
    {L"SandyBrown", Color{0xFFF4A460}},
    {L"SeaGreen", Color{0xFF2E8B57}},
    {L"SeaShell", Color{0xFFFFF5EE}},
    {L"Sienna", Color{0xFFA0522D}},
    {L"Silver", Color{0xFFC0C0C0}},
    {L"SkyBlue", Color{0xFF87CEEB}},
    {L"SlateBlue", Color{0xFF6A5ACD}},
    {L"SlateGray", Color{0xFF708090}},
    {L"Snow", Color{0xFFFFFAFA}},
    {L"SpringGreen", Color{0xFF00FF7F}},
    {L"SteelBlue", Color{0xFF4682B4}},
    {L"Tan", Color{0xFFD2B48C}},
    {L"Teal", Color{0xFF008080}},
    {L"Thistle", Color{0xFFD8BFD8}},
    {L"Tomato", Color{0xFFFF6347}},
    {L"Transparent", Color{0x0000FFFFFF}},
    {L"Turquoise", Color{0xFF40E0D0}},
    {L"Violet", Color{0xFFEE82EE}},
    {L"Wheat", Color{0xFFF5DEB3}},
    {L"White", Color{0xFFFFFFFF}},
    {L"WhiteSmoke", Color{0xFFF5F5F5}},
    {L"Yellow", Color{0xFFFFFF00}},
    {L"YellowGreen", Color{0xFF9ACD32}},}};

using ColorTable = std::map<std::wstring, Color, ColorNameLess>;

const ColorTable& NameTable()
{
    static const ColorTable table = [] {
        ColorTable names{{L"", Color{0xFF000000}}, {L"automatic", Color::Automatic}, {L"none", Color::None}};
        for (const Xml::NamedColor& named : namedColors)
            names.emplace(named.name, named.value);
        return names;
    }();
    return table;
}

// The longest hexadecimal prefix of digits after a first value; more than 32 bits saturate.
std::uint32_t ReadHex(std::wstring_view digits, std::uint64_t value)
{
    for (wchar_t c : digits)
    {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > UINT32_MAX)
            return UINT32_MAX;
    }
    return static_cast<std::uint32_t>(value);
}
} // namespace

bool ColorNameLess::operator()(std::wstring_view a, std::wstring_view b) const
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
    {
        const wint_t left = std::towlower(a[i]);
        const wint_t right = std::towlower(b[i]);
        if (left != right)
            return left < right;
    }
    return a.size() < b.size();
}

Color ParseColor(std::wstring_view text)
{
    if (text.empty())
        return Color{0xFF000000};
    if (text == L"automatic")
        return Color::Automatic;
    if (text == L"none")
        return Color::None;
    const ColorTable& names = NameTable();
    if (text.front() == L'#')
    {
        // Six digits are an opaque colour; any other count is the number as written.
        const std::wstring_view digits = text.substr(1);
        return Color{text.size() == 7 ? ReadHex(digits, 0xFF) : ReadHex(digits, 0)};
    }
    const auto found = names.find(text);
    return found != names.end() ? found->second : Color::Automatic;
}

std::wstring ColorToString(Color color)
{
    Xml::ValueBuffer buffer;
    return Xml::FormatColor(color, buffer);
}

namespace Xml
{
std::span<const NamedColor> ColorNames() { return namedColors; }

const wchar_t* FormatColor(Color color, ValueBuffer& buffer)
{
    if (color == Color::Automatic)
        return L"automatic";
    if (color == Color::None)
        return L"none";
    constexpr wchar_t hex[] = L"0123456789abcdef";
    const auto value = static_cast<std::uint32_t>(color);
    buffer[0] = L'#';
    for (int i = 0; i < 6; ++i)
        buffer[1 + i] = hex[(value >> (20 - 4 * i)) & 0xF];
    buffer[7] = L'\0';
    return buffer.data();
}
} // namespace Xml
