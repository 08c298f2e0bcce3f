#include "onenote_model/OneNoteElement.h"

#include <objbase.h>

#include <cstdint>

namespace
{
constexpr std::size_t GuidTextLength = 38;

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Reads count hexadecimal digits at text[pos]; false when one of them is not a digit.
template <typename T>
bool ReadHex(std::wstring_view text, std::size_t pos, std::size_t count, T& value)
{
    std::uint64_t result = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        const int digit = HexValue(text[pos + i]);
        if (digit < 0)
            return false;
        result = result * 16 + static_cast<unsigned>(digit);
    }
    value = static_cast<T>(result);
    return true;
}
} // namespace

namespace ON
{
std::wstring GuidToText(const GUID& guid)
{
    Xml::ValueBuffer buffer;
    return Xml::ValueConverter<GUID>::Format(guid, buffer);
}

GUID TextToGuid(std::wstring_view text)
{
    const GUID none{};
    if (text.size() < GuidTextLength)
        return none;
    text = text.substr(0, GuidTextLength);
    if (text[0] != L'{' || text[9] != L'-' || text[14] != L'-' || text[19] != L'-' || text[24] != L'-' ||
        text[37] != L'}')
        return none;

    GUID guid{};
    bool ok = ReadHex(text, 1, 8, guid.Data1) && ReadHex(text, 10, 4, guid.Data2) && ReadHex(text, 15, 4, guid.Data3) &&
              ReadHex(text, 20, 2, guid.Data4[0]) && ReadHex(text, 22, 2, guid.Data4[1]);
    for (std::size_t i = 0; ok && i < 6; ++i)
        ok = ReadHex(text, 25 + 2 * i, 2, guid.Data4[2 + i]);
    return ok ? guid : none;
}
} // namespace ON

namespace Xml
{
const wchar_t* ValueConverter<GUID>::Format(const GUID& value, ValueBuffer& buffer)
{
    if (StringFromGUID2(value, buffer.data(), static_cast<int>(buffer.size())) == 0)
        buffer[0] = L'\0';
    return buffer.data();
}
} // namespace Xml
