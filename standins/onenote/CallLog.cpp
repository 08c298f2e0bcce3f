// Writing and reading the call log, one escaped line per call.
#include "standins/onenote/CallLog.h"

#include "framework/Owners.h"
#include "framework/text/Text.h"
#include "standins/onenote/Store.h"
#include "standins/onenote/Xml.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace StandIn
{
namespace
{
std::wstring EscapeField(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text)
    {
        switch (c)
        {
        case L'\\': out += L"\\\\"; break;
        case L'\t': out += L"\\t"; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::wstring UnescapeField(const std::wstring& text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'\\' && i + 1 < text.size())
        {
            const wchar_t next = text[++i];
            out += next == L't' ? L'\t' : next == L'n' ? L'\n' : next == L'r' ? L'\r' : next;
        }
        else
        {
            out += text[i];
        }
    }
    return out;
}
} // namespace

std::wstring CallLogFile()
{
    std::wstring file = Environment(L"QUILLORA_ONENOTE_CALLLOG");
    if (file.empty())
    {
        const std::wstring folder = Store::CurrentFolder();
        CreateDirectoryW(folder.c_str(), nullptr);
        file = folder + L"\\calls.log";
    }
    return file;
}

void AppendCall(const CallRecord& record)
{
    wchar_t result[16];
    swprintf(result, 16, L"0x%08lX", static_cast<unsigned long>(record.result));
    std::wstring line = EscapeField(record.method) + L"\t" + result;
    for (const auto& argument : record.arguments)
        line += L"\t" + EscapeField(argument);
    const std::string bytes = WideToUtf8(line + L"\n");
    // One write per record to a file opened for appending: records of parallel callers never mix.
    const Owners::FileHandle file(CreateFileW(CallLogFile().c_str(), FILE_APPEND_DATA,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::vector<CallRecord> ReadCallLog(const std::wstring& file)
{
    std::vector<CallRecord> records;
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    std::string line;
    while (std::getline(in, line))
    {
        const std::wstring text = Utf8ToWide(line);
        std::vector<std::wstring> fields;
        size_t start = 0;
        for (;;)
        {
            const size_t tab = text.find(L'\t', start);
            fields.push_back(UnescapeField(text.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start)));
            if (tab == std::wstring::npos)
                break;
            start = tab + 1;
        }
        if (fields.size() < 2)
            continue;
        CallRecord record;
        record.method = fields[0];
        record.result = static_cast<HRESULT>(std::wcstoul(fields[1].c_str(), nullptr, 16));
        record.arguments.assign(fields.begin() + 2, fields.end());
        records.push_back(std::move(record));
    }
    return records;
}
} // namespace StandIn
