#pragma once
// The IUnknown and IInspectable of a stand-in Windows Runtime object that answers for a primary
// interface and any number of others, and is agile like the platform's own objects.

#include "framework/com/UnknownImpl.h"
#include "framework/winrt/WinRtInterfaces.h"

#include <objidl.h>
#include <winstring.h>

#include <cstring>
#include <cwchar>

namespace WinRtStandIn
{
template <typename Primary, typename... Others>
class RuntimeObject : public UnknownImpl<Primary>, public Others..., public IAgileObject
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return UnknownImpl<Primary>::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return UnknownImpl<Primary>::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return UnknownImpl<Primary>::Release(); }

    STDMETHODIMP GetIids(ULONG* count, IID** iids) override
    {
        if (!count || !iids)
            return E_POINTER;
        const IID known[] = {__uuidof(Primary), __uuidof(Others)...};
        *iids = static_cast<IID*>(::CoTaskMemAlloc(sizeof known));
        if (!*iids)
            return E_OUTOFMEMORY;
        std::memcpy(*iids, known, sizeof known);
        *count = static_cast<ULONG>(sizeof known / sizeof known[0]);
        return S_OK;
    }
    STDMETHODIMP GetRuntimeClassName(HSTRING* name) override
    {
        if (!name)
            return E_POINTER;
        const wchar_t* className = ClassName();
        return ::WindowsCreateString(className, static_cast<UINT32>(std::wcslen(className)), name);
    }
    STDMETHODIMP GetTrustLevel(TrustLevel* level) override
    {
        if (!level)
            return E_POINTER;
        *level = BaseTrust;
        return S_OK;
    }

    void* FindInterface(REFIID riid) override
    {
        if (IsEqualIID(riid, __uuidof(IInspectable)))
            return static_cast<IInspectable*>(static_cast<Primary*>(this));
        if (IsEqualIID(riid, IID_IAgileObject))
            return static_cast<IAgileObject*>(this);
        void* found = nullptr;
        ((found = found ? found : (IsEqualIID(riid, __uuidof(Others)) ? static_cast<Others*>(this) : nullptr)), ...);
        return found ? found : UnknownImpl<Primary>::FindInterface(riid);
    }

protected:
    virtual const wchar_t* ClassName() const = 0;
};
} // namespace WinRtStandIn
