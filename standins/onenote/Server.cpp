// The entry points of the stand-in's in-process COM server: OneNote's two application classes,
// registered with ThreadingModel "Both" as OneNote's own in-process registration would be.
#include "standins/onenote/Objects.h"

#include "framework/Owners.h"
#include "standins/common/InprocServerRegistration.h"

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

const StandInRegistration::InprocClass& ApplicationClass()
{
    static const StandInRegistration::InprocClass registration{ON16::CLSID_Application, L"OneNote.Application",
                                                               L"Application Class (OneNote stand-in)"};
    return registration;
}

const StandInRegistration::InprocClass& Application2Class()
{
    static const StandInRegistration::InprocClass registration{ON16::CLSID_Application2, L"OneNote.Application.15",
                                                               L"Application Class (OneNote stand-in)"};
    return registration;
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
    return StandInRegistration::RegisterInprocClasses(g_module, {ApplicationClass(), Application2Class()});
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return StandInRegistration::UnregisterInprocClasses({ApplicationClass(), Application2Class()});
}
