#pragma once
// The stand-in's call log: one line per call (method, result, arguments with the XML received), in
// the file named by QUILLORA_ONENOTE_CALLLOG (default: calls.log in the store folder), so that
// tests can assert on what the programs sent. Lines are UTF-8, fields separated by tabs; a
// backslash, tab, line feed or carriage return inside a field is written as \\, \t, \n or \r.

#include <windows.h>

#include <string>
#include <vector>

namespace StandIn
{
struct CallRecord
{
    std::wstring method;
    HRESULT result = S_OK;
    std::vector<std::wstring> arguments;
};

// The record written before a call whose XML was not checked against OneNote's schema, because
// the stand-in has no schema to check it against or cannot load it: the reason as an HRESULT, the
// schema file (empty when none is named) and the reason in words.
inline constexpr const wchar_t* NotValidatedRecord = L"Store.Schema";

std::wstring CallLogFile();
void AppendCall(const CallRecord& record);
// Every record of a call log file, in the order of the calls.
std::vector<CallRecord> ReadCallLog(const std::wstring& file);
} // namespace StandIn
