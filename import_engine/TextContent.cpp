#include "import_engine/TextContent.h"

#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/PageBuilders.h"

#include <algorithm>

namespace
{
std::wstring FromUtf16(const std::string& bytes, size_t start, bool bigEndian)
{
    std::wstring text;
    text.reserve((bytes.size() - start) / 2);
    for (size_t i = start; i + 1 < bytes.size(); i += 2)
    {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
    }
    return text;
}

// Utf8ToWide stops at the first NUL; a NUL is no character of a page anyway.
std::wstring FromUtf8(const std::string& bytes)
{
    std::wstring text;
    size_t start = 0;
    while (start <= bytes.size())
    {
        const size_t end = std::min(bytes.find('\0', start), bytes.size());
        text += Utf8ToWide(bytes.substr(start, end - start));
        start = end + 1;
    }
    return text;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// What XML 1.0 can hold: tab, line feed, carriage return, the rest from U+0020 on except the two
// non-characters at the end of the basic plane, and complete surrogate pairs.
std::wstring DropCharactersXmlCannotHold(const std::wstring& text)
{
    std::wstring kept;
    kept.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (IsHighSurrogate(c))
        {
            if (i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            {
                kept.push_back(c);
                kept.push_back(text[++i]);
            }
            continue;
        }
        if (IsLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF)
            continue;
        if (c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r')
            continue;
        kept.push_back(c);
    }
    return kept;
}
} // namespace

TOrError<std::wstring> ReadTextForImport(const std::wstring& path)
{
    const std::wstring context = L"File: " + path;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))
        return MakeHResultError(HRESULT_FROM_WIN32(GetLastError()), context);
    const unsigned long long size = (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) |
                                    attributes.nFileSizeLow;
    if (size > GreatestTextFileSize)
        return MakeHResultError(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE),
                                context + L"\n\nText files larger than 10 MB are not imported as text.");
    if (size > 0 && !FileExists(path.c_str()))
        return MakeHResultError(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), context);

    // ReadFileBytes leaves out a UTF-8 mark, never a UTF-16 one.
    const std::string bytes = ReadFileBytes(path.c_str());
    std::wstring text;
    const auto startsWith = [&](unsigned char a, unsigned char b) {
        return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == a && static_cast<unsigned char>(bytes[1]) == b;
    };
    if (bytes.size() < 2)
        text = FromUtf8(bytes);
    else if (startsWith(0xFF, 0xFE))
        text = FromUtf16(bytes, 2, false);
    else if (startsWith(0xFE, 0xFF))
        text = FromUtf16(bytes, 2, true);
    else if (bytes[0] == 0 || bytes[1] == 0)
        text = FromUtf16(bytes, 0, false);
    else
        text = FromUtf8(bytes);
    return DropCharactersXmlCannotHold(text);
}

std::wstring ExpandTabs(const std::wstring& text)
{
    std::wstring expanded;
    expanded.reserve(text.size());
    for (const wchar_t c : text)
    {
        if (c == L'\t')
            expanded += L"    ";
        else
            expanded.push_back(c);
    }
    return expanded;
}

TOrError<ImportResult> InsertTextContent(const std::wstring& path, Target& target)
{
    auto text = ReadTextForImport(path);
    if (text.HoldsError())
        return text.Error();
    auto lines = Split(ExpandTabs(text.Value()), L'\n');
    lines.emplace_back();
    return AddTextOutline(lines, std::wstring(L"code"), target);
}
