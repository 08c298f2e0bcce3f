#include "standins/common/InprocServerRegistration.h"

#include "framework/Owners.h"

#include <objbase.h>
#include <olectl.h>

#include <string>

namespace StandInRegistration
{
namespace
{
std::wstring GuidText(const GUID& guid)
{
    wchar_t buffer[40] = {};
    ::StringFromGUID2(guid, buffer, 40);
    return buffer;
}

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    Owners::RegistryKey handle;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return ::RegSetValueExW(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring ClassKey(const CLSID& clsid) { return L"Software\\Classes\\CLSID\\" + GuidText(clsid); }
std::wstring ProgIdKey(const wchar_t* progId) { return std::wstring(L"Software\\Classes\\") + progId; }
} // namespace

HRESULT RegisterInprocClasses(HMODULE module, std::initializer_list<InprocClass> classes)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    for (const InprocClass& registered : classes)
    {
        const std::wstring key = ClassKey(registered.clsid);
        if (!SetValue(key, nullptr, registered.description) || !SetValue(key + L"\\InprocServer32", nullptr, path) ||
            !SetValue(key + L"\\InprocServer32", L"ThreadingModel", L"Both") ||
            !SetValue(key + L"\\ProgID", nullptr, registered.progId) ||
            !SetValue(ProgIdKey(registered.progId) + L"\\CLSID", nullptr, GuidText(registered.clsid)))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT UnregisterInprocClasses(std::initializer_list<InprocClass> classes)
{
    for (const InprocClass& registered : classes)
    {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey(registered.clsid).c_str());
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ProgIdKey(registered.progId).c_str());
    }
    return S_OK;
}
} // namespace StandInRegistration
