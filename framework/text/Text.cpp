#include "framework/text/Text.h"

#include <windows.h>

std::string WideToUtf8(const wchar_t* text)
{
    if (!text)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string result(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr) != size)
        return {};
    result.resize(static_cast<size_t>(size - 1));
    return result;
}

std::string WideToUtf8(const std::wstring& text) { return WideToUtf8(text.c_str()); }

std::wstring Utf8ToWide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 1)
        return {};
    std::wstring result(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), size) != size)
        return {};
    result.resize(static_cast<size_t>(size - 1));
    return result;
}

_bstr_t Utf8ToBstr(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 1)
        return _bstr_t(L"");
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(size - 1));
    if (!result)
        _com_issue_error(E_OUTOFMEMORY);
    _bstr_t owned(result, false);
    // The terminator SysAllocStringLen adds is the size-th character the conversion writes.
    if (MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result, size) != size)
        return _bstr_t(L"");
    return owned;
}

namespace
{
template <typename String>
std::vector<String> SplitAt(const String& text, const String& delimiter)
{
    if (delimiter.empty())
        return {text};
    std::vector<String> pieces;
    size_t start = 0;
    for (size_t found = text.find(delimiter); found != String::npos; found = text.find(delimiter, start))
    {
        pieces.push_back(text.substr(start, found - start));
        start = found + delimiter.size();
    }
    pieces.push_back(text.substr(start));
    return pieces;
}
} // namespace

std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& delimiter)
{
    return SplitAt(text, delimiter);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t delimiter)
{
    return SplitAt(text, std::wstring(1, delimiter));
}

std::vector<std::string> Split(const std::string& text, const std::string& delimiter)
{
    return SplitAt(text, delimiter);
}

std::wstring Join(const std::vector<std::wstring>& parts, const std::wstring& separator)
{
    std::wstring result;
    for (size_t i = 0; i < parts.size(); ++i)
    {
        if (i > 0)
            result += separator;
        result += parts[i];
    }
    return result;
}

std::wstring IntToWString(int value) { return std::to_wstring(value); }

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

bool HasText(const wchar_t* text) { return text && *text; }
