// The entry points of the Office stand-ins' in-process COM server: Word's and PowerPoint's
// application classes, registered with ThreadingModel "Both" and their ProgIDs.

#include "framework/Owners.h"
#include "framework/com/UnknownImpl.h"
#include "standins/office/OfficeApplication.h"

#include <comdef.h>
#include <olectl.h>

#include <string>

namespace
{
using OfficeStandIn::Product;

HMODULE g_module = nullptr;

class ClassFactory : public UnknownImpl<IClassFactory>
{
public:
    explicit ClassFactory(Product product) : product_(product) {}
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IDispatch* application = OfficeStandIn::GetApplication(product_);
        const HRESULT hr = application->QueryInterface(riid, ppv);
        application->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    Product product_;
};

std::wstring GuidText(const GUID& guid)
{
    wchar_t buffer[40] = {};
    StringFromGUID2(guid, buffer, 40);
    return buffer;
}

LSTATUS SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    Owners::RegistryKey handle;
    const LSTATUS status =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    return RegSetValueExW(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

struct Registration
{
    Product product;
    const wchar_t* progId;
    const wchar_t* description;
};
const Registration registrations[] = {
    {Product::Word, L"Word.Application", L"Microsoft Word Application (stand-in)"},
    {Product::PowerPoint, L"PowerPoint.Application", L"Microsoft PowerPoint Application (stand-in)"},
};
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (const Registration& registration : registrations)
        if (IsEqualCLSID(clsid, OfficeStandIn::IdsOf(registration.product).applicationClass))
        {
            IClassFactory* factory = new ClassFactory(registration.product);
            const HRESULT hr = factory->QueryInterface(riid, ppv);
            factory->Release();
            return hr;
        }
    return CLASS_E_CLASSNOTAVAILABLE;
}

// The applications' documents stay open for the life of the process, as in a running Office.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    for (const Registration& registration : registrations)
    {
        const std::wstring clsid = GuidText(OfficeStandIn::IdsOf(registration.product).applicationClass);
        const std::wstring key = L"Software\\Classes\\CLSID\\" + clsid;
        if (SetValue(key, nullptr, registration.description) != ERROR_SUCCESS ||
            SetValue(key + L"\\InprocServer32", nullptr, path) != ERROR_SUCCESS ||
            SetValue(key + L"\\InprocServer32", L"ThreadingModel", L"Both") != ERROR_SUCCESS ||
            SetValue(key + L"\\ProgID", nullptr, registration.progId) != ERROR_SUCCESS ||
            SetValue(std::wstring(L"Software\\Classes\\") + registration.progId + L"\\CLSID", nullptr, clsid) !=
                ERROR_SUCCESS)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    for (const Registration& registration : registrations)
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                       (L"Software\\Classes\\CLSID\\" +
                        GuidText(OfficeStandIn::IdsOf(registration.product).applicationClass))
                           .c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + registration.progId).c_str());
    }
    return S_OK;
}
