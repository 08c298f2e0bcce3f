#pragma once
// Attribute values as XML text: numbers, booleans and date-times. Every conversion is the same
// whatever the user's locale, and none of them fails: text that cannot be read gives 0, false or
// the zero date-time.

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

std::wstring UIntToText(std::uint32_t value);
std::wstring IntToText(std::int32_t value);
// Leading white space is skipped and the longest leading number is taken; the rest is ignored.
std::uint32_t TextToUInt(std::wstring_view text);
std::int32_t TextToInt(std::wstring_view text);

// 15 significant digits, fixed notation unless the exponent is below -5 or at least 15, no
// trailing zeros, and a two-digit exponent where two digits suffice ("1e-20").
std::wstring DoubleToText(double value);
double TextToDouble(std::wstring_view text);
// Six significant digits, the shorter of the fixed and exponent forms.
std::wstring FloatToText(float value);
float TextToFloat(std::wstring_view text);

// The value of a hexadecimal digit of either case, or -1 for any other character.
int HexDigitValue(wchar_t c);

// "true" for exactly "true", "True" or "1"; false for every other text.
bool TextToBool(std::wstring_view text);
const wchar_t* BoolToText(bool value);

// YYYY-MM-DDTHH:MM:SS.mmmZ: the value is taken to be UTC and the day of the week is not written.
std::wstring DateTimeToText(const SYSTEMTIME& value);
// Reads xsd:dateTime leniently: any single character separates the fields, missing trailing
// fields stay 0, a fraction of a second becomes milliseconds, and a numeric zone offset is taken
// off so that the result is UTC. The day of the week is left 0.
SYSTEMTIME TextToDateTime(std::wstring_view text);

namespace Xml
{
// Room for any value written by the formatters below, terminator included.
using ValueBuffer = std::array<wchar_t, 48>;

// The formatters behind the functions above: they write into buffer and return its start, so that
// writing an attribute allocates nothing.
const wchar_t* FormatUInt(std::uint32_t value, ValueBuffer& buffer);
const wchar_t* FormatInt(std::int32_t value, ValueBuffer& buffer);
const wchar_t* FormatDouble(double value, ValueBuffer& buffer);
const wchar_t* FormatFloat(float value, ValueBuffer& buffer);
const wchar_t* FormatDateTime(const SYSTEMTIME& value, ValueBuffer& buffer);
} // namespace Xml
