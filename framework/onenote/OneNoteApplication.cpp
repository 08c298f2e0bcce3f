#include "framework/onenote/OneNoteApplication.h"

HRESULT CreateRunningObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    IUnknown* created = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&created));
    if (FAILED(hr))
        return hr;
    // Takes over the reference CoCreateInstance handed out.
    const _com_ptr_t<_com_IIID<IUnknown, &IID_IUnknown>> unknown(created, false);
    // A local server's object may exist before the server has finished starting.
    hr = OleRun(unknown);
    if (FAILED(hr))
        return hr;
    hr = unknown->QueryInterface(iid, object);
    if (FAILED(hr))
        *object = nullptr;
    return hr;
}

HRESULT CreateOneNoteApplication(ON16::ApplicationPtr& application)
{
    application = nullptr;
    ON16::IApplication* created = nullptr;
    const HRESULT hr =
        CreateRunningObject(ON16::CLSID_Application, __uuidof(ON16::IApplication), reinterpret_cast<void**>(&created));
    if (SUCCEEDED(hr))
        application.Attach(created);
    return hr;
}
