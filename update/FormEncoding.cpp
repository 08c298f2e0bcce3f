#include "update/FormEncoding.h"

#include <algorithm>
#include <cwctype>

std::string FormUrlEncode(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ')
            encoded += '+';
        else if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                 byte == '-' || byte == '_' || byte == '.' || byte == '~')
            encoded += c;
        else
        {
            encoded += '%';
            encoded += digits[byte >> 4];
            encoded += digits[byte & 0x0F];
        }
    }
    return encoded;
}

std::string BuildFormBody(const RequestParameters& parameters)
{
    std::string body;
    for (const auto& [key, value] : parameters)
        body += FormUrlEncode(key) + "=" + FormUrlEncode(value) + "&";
    return body;
}

void AddParameterIfMissing(RequestParameters& parameters, const std::string& key, const std::string& value)
{
    const bool present = std::any_of(parameters.begin(), parameters.end(),
                                     [&](const auto& parameter) { return parameter.first == key; });
    if (!present)
        parameters.emplace_back(key, value);
}

std::string BytesToHex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes)
    {
        const auto byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0F];
    }
    return hex;
}

void TrimWhiteSpace(std::wstring& text)
{
    const auto isSpace = [](wchar_t c) { return std::iswspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    text = first < last ? std::wstring(first, last) : std::wstring();
}
