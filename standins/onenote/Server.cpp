// The entry points of the stand-in's in-process COM server: OneNote's two application classes,
// registered with ThreadingModel "Both" as OneNote's own in-process registration would be.
#include "standins/onenote/Objects.h"

#include "framework/Owners.h"

#include <comdef.h>
#include <olectl.h>

#include <string>
#include <utility>

namespace
{
_COM_SMARTPTR_TYPEDEF(IUnknown, IID_IUnknown);
_COM_SMARTPTR_TYPEDEF(IClassFactory, IID_IClassFactory);

HMODULE g_module = nullptr;

// The application object of a OneNote that was created but does not come up: OleRun asks it to
// run and gets the failure. Every other interface is the application's own.
class StartingApplication : public UnknownImpl<IRunnableObject>
{
public:
    StartingApplication(IUnknownPtr application, HRESULT failure)
        : application_(std::move(application)), failure_(failure)
    {
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IRunnableObject))
            return UnknownImpl::QueryInterface(riid, ppv);
        return application_->QueryInterface(riid, ppv);
    }

    STDMETHODIMP GetRunningClass(CLSID* clsid) override
    {
        if (!clsid)
            return E_POINTER;
        *clsid = ON16::CLSID_Application;
        return S_OK;
    }
    STDMETHODIMP Run(IBindCtx*) override { return failure_; }
    STDMETHODIMP_(BOOL) IsRunning() override { return FALSE; }
    STDMETHODIMP LockRunning(BOOL, BOOL) override { return failure_; }
    STDMETHODIMP SetContainedObject(BOOL) override { return S_OK; }

private:
    IUnknownPtr application_;
    HRESULT failure_;
};

class ClassFactory : public UnknownImpl<IClassFactory>
{
public:
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (const HRESULT failure = StandIn::Scenario::Current().CreationFailure(); FAILED(failure))
            return failure;
        // The caller's reference comes from the query; the owner gives back the new object's own.
        const IUnknownPtr application(static_cast<ON16::IApplication*>(new StandIn::Application()), false);
        if (const HRESULT failure = StandIn::Scenario::Current().RunFailure(); FAILED(failure))
        {
            const IUnknownPtr starting(new StartingApplication(application, failure), false);
            return starting->QueryInterface(riid, ppv);
        }
        return application->QueryInterface(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

std::wstring GuidText(const GUID& guid)
{
    wchar_t buffer[40] = {};
    StringFromGUID2(guid, buffer, 40);
    return buffer;
}

LSTATUS SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    Owners::RegistryKey handle;
    const LSTATUS status = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    return RegSetValueExW(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
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
    if (!IsEqualCLSID(clsid, ON16::CLSID_Application) && !IsEqualCLSID(clsid, ON16::CLSID_Application2))
        return CLASS_E_CLASSNOTAVAILABLE;
    // The caller's reference comes from the query; the owner gives back the new object's own.
    const IClassFactoryPtr factory(new ClassFactory(), false);
    return factory->QueryInterface(riid, ppv);
}

// Windows, the message thread of the stand-in's own window and per-thread message windows may
// outlive every object: the stand-in stays loaded for the life of the process.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    const std::pair<const CLSID*, const wchar_t*> classes[] = {{&ON16::CLSID_Application, L"OneNote.Application"},
                                                               {&ON16::CLSID_Application2, L"OneNote.Application.15"}};
    for (const auto& [clsid, progId] : classes)
    {
        const std::wstring key = L"Software\\Classes\\CLSID\\" + GuidText(*clsid);
        if (SetValue(HKEY_LOCAL_MACHINE, key, nullptr, L"Application Class (OneNote stand-in)") != ERROR_SUCCESS ||
            SetValue(HKEY_LOCAL_MACHINE, key + L"\\InprocServer32", nullptr, path) != ERROR_SUCCESS ||
            SetValue(HKEY_LOCAL_MACHINE, key + L"\\InprocServer32", L"ThreadingModel", L"Both") != ERROR_SUCCESS ||
            SetValue(HKEY_LOCAL_MACHINE, key + L"\\ProgID", nullptr, progId) != ERROR_SUCCESS)
            return SELFREG_E_CLASS;
        SetValue(HKEY_LOCAL_MACHINE, std::wstring(L"Software\\Classes\\") + progId + L"\\CLSID", nullptr, GuidText(*clsid));
    }
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    for (const CLSID* clsid : {&ON16::CLSID_Application, &ON16::CLSID_Application2})
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\CLSID\\" + GuidText(*clsid)).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\OneNote.Application");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\OneNote.Application.15");
    return S_OK;
}
