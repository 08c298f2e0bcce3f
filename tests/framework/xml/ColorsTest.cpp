// Colour attribute values: the two words, the hash forms and the 141 names.
#include "framework/xml/Colors.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>

namespace
{
std::uint32_t Read(const wchar_t* text) { return static_cast<std::uint32_t>(ParseColor(text)); }

std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}
} // namespace

TEST(ColorText, ReadsWordsHashFormsAndNames)
{
    struct Case
    {
        const wchar_t* text;
        std::uint32_t value;
    };
    for (const Case& c : {Case{L"", 0xFF000000}, Case{L"automatic", 0}, Case{L"Automatic", 0}, Case{L"none", 0x00FFFFFF},
                          Case{L"NONE", 0x00FFFFFF}, Case{L"Transparent", 0x00FFFFFF}, Case{L"#00ff00", 0xFF00FF00},
                          Case{L"#FFFFFF", 0xFFFFFFFF}, Case{L"#80FF0000", 0x80FF0000}, Case{L"#FFF", 0x00000FFF},
                          Case{L"#gggggg", 0x000000FF}, Case{L"#", 0}, Case{L"#xyz", 0}, Case{L"#123456789", 0xFFFFFFFF},
                          Case{L"red", 0xFFFF0000}, Case{L"RED", 0xFFFF0000}, Case{L"Red", 0xFFFF0000},
                          Case{L"DarkSeaGreen", 0xFF8FBC8B}, Case{L"darkseagreen", 0xFF8FBC8B}, Case{L"Gray", 0xFF808080},
                          Case{L"Grey", 0}, Case{L"Rde", 0}, Case{L"red ", 0}})
        EXPECT_EQ(Read(c.text), c.value) << c.text;
}

TEST(ColorText, WritesWordsOrSixLowerCaseDigitsWithoutAlpha)
{
    struct Case
    {
        std::uint32_t value;
        const wchar_t* text;
    };
    for (const Case& c : {Case{0, L"automatic"}, Case{0x00FFFFFF, L"none"}, Case{0xFFFF0000, L"#ff0000"},
                          Case{0x80FF0000, L"#ff0000"}, Case{0xFFFFFFFF, L"#ffffff"}, Case{0xFF000000, L"#000000"},
                          Case{0x00000FFF, L"#000fff"}, Case{0xFF00FF00, L"#00ff00"}})
        EXPECT_EQ(ColorToString(Color{c.value}), c.text) << std::hex << c.value;
}

TEST(ColorText, ReadsBackWhatItWrites)
{
    EXPECT_EQ(ColorToString(ParseColor(L"#00ff00")), L"#00ff00");
    EXPECT_EQ(ColorToString(ParseColor(L"#ffffff")), L"#ffffff");
    EXPECT_EQ(ColorToString(ParseColor(L"Transparent")), L"none");
    EXPECT_EQ(ColorToString(ParseColor(L"Misspelt")), L"automatic");
    EXPECT_EQ(ColorToString(ParseColor(L"#80FF0000")), L"#ff0000");
}

TEST(ColorNames, AreTheHundredFortyOneNamedColoursInAnyCase)
{
    const auto names = Xml::ColorNames();
    ASSERT_EQ(names.size(), 141u);
    std::set<std::wstring, ColorNameLess> distinct;
    for (const Xml::NamedColor& named : names)
    {
        distinct.insert(named.name);
        EXPECT_EQ(ParseColor(named.name), named.value) << named.name;
        EXPECT_EQ(ParseColor(Upper(named.name)), named.value) << named.name;
        const std::uint32_t value = static_cast<std::uint32_t>(named.value);
        EXPECT_EQ(value >> 24, std::wstring(named.name) == L"Transparent" ? 0u : 0xFFu) << named.name;
    }
    EXPECT_EQ(distinct.size(), 141u);
    EXPECT_EQ(static_cast<std::uint32_t>(ParseColor(L"AliceBlue")), 0xFFF0F8FFu);
    EXPECT_EQ(static_cast<std::uint32_t>(ParseColor(L"YellowGreen")), 0xFF9ACD32u);
    EXPECT_EQ(static_cast<std::uint32_t>(ParseColor(L"MediumPurple")), 0xFF9370DBu);
}

TEST(ColorNames, CompareWithoutRegardToCase)
{
    const ColorNameLess less;
    EXPECT_FALSE(less(L"Red", L"red"));
    EXPECT_FALSE(less(L"red", L"RED"));
    EXPECT_TRUE(less(L"Red", L"redder")) << "a proper prefix comes first";
    EXPECT_TRUE(less(L"apple", L"Banana"));
    EXPECT_FALSE(less(L"Banana", L"apple"));
    EXPECT_FALSE(less(L"x", L"")) << "nothing is less than the empty name";
    EXPECT_TRUE(less(L"", L"x"));
}
