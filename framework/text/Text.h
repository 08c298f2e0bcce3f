#pragma once
// Text helpers: UTF-8 and UTF-16 conversion, splitting and joining.

#include <comdef.h>

#include <string>
#include <vector>

// Conversions through code page 65001; each input is taken up to its first NUL character, and a
// conversion that fails yields an empty text.
std::string WideToUtf8(const wchar_t* text);
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
_bstr_t Utf8ToBstr(const std::string& text);

// The pieces between occurrences of delimiter, in order, empty pieces kept; an empty text gives
// one empty piece. An empty delimiter splits nothing: the whole text is the one piece.
std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& delimiter);
std::vector<std::wstring> Split(const std::wstring& text, wchar_t delimiter);
std::vector<std::string> Split(const std::string& text, const std::string& delimiter);

// The parts with separator between them.
std::wstring Join(const std::vector<std::wstring>& parts, const std::wstring& separator);

std::wstring IntToWString(int value);

// Whether text is there and holds at least one character.
bool HasText(const wchar_t* text);

// The text between double quotes, as messages name what the user knows by its name.
std::wstring Quoted(const std::wstring& text);
