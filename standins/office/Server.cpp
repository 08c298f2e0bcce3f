// The entry points of the Office stand-ins' in-process COM server: Word's and PowerPoint's
// application classes, registered with ThreadingModel "Both" and their ProgIDs.

#include "framework/Owners.h"
#include "framework/com/UnknownImpl.h"
#include "standins/common/InprocServerRegistration.h"
#include "standins/office/OfficeApplication.h"

#include <comdef.h>
#include <olectl.h>

#include <string>

namespace
{
_COM_SMARTPTR_TYPEDEF(IClassFactory, IID_IClassFactory);

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

StandInRegistration::InprocClass InprocClassOf(const Registration& registration)
{
    return {OfficeStandIn::IdsOf(registration.product).applicationClass, registration.progId,
            registration.description};
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
    for (const Registration& registration : registrations)
        if (IsEqualCLSID(clsid, OfficeStandIn::IdsOf(registration.product).applicationClass))
        {
            // The caller's reference comes from the query; the owner gives back the new object's own.
            const IClassFactoryPtr factory(new ClassFactory(registration.product), false);
            return factory->QueryInterface(riid, ppv);
        }
    return CLASS_E_CLASSNOTAVAILABLE;
}

// The applications' documents stay open for the life of the process, as in a running Office.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return StandInRegistration::RegisterInprocClasses(
        g_module, {InprocClassOf(registrations[0]), InprocClassOf(registrations[1])});
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return StandInRegistration::UnregisterInprocClasses(
        {InprocClassOf(registrations[0]), InprocClassOf(registrations[1])});
}
