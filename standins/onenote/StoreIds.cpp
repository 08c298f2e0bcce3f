// New IDs of hierarchy objects, pages and page objects, and times, in the forms OneNote gives them.
#include "standins/onenote/Store.h"

#include <objbase.h>

#include <atomic>

namespace StandIn
{
std::wstring XmlTime(const SYSTEMTIME& utc)
{
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%04u-%02u-%02uT%02u:%02u:%02u.000Z", utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
             utc.wMinute, utc.wSecond);
    return buffer;
}

std::wstring XmlTimeNow()
{
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    return XmlTime(utc);
}

namespace
{
std::wstring NewGuid(GUID* out = nullptr)
{
    GUID guid{};
    CoCreateGuid(&guid);
    if (out)
        *out = guid;
    wchar_t buffer[40] = {};
    StringFromGUID2(guid, buffer, 40);
    return buffer;
}
} // namespace

std::wstring NewHierarchyId() { return NewGuid() + L"{1}{B0}"; }

std::wstring NewPageId()
{
    GUID guid{};
    std::wstring id = NewGuid(&guid);
    wchar_t digits[64];
    swprintf(digits, 64, L"{1}{E19%010lu%05u%05u}", static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3);
    return id + digits;
}

std::wstring NewObjectId()
{
    static std::atomic<unsigned> counter{10};
    return NewGuid() + L"{" + std::to_wstring(++counter) + L"}{B0}";
}
} // namespace StandIn
