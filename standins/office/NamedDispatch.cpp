#include "standins/office/NamedDispatch.h"

namespace OfficeStandIn
{
HRESULT NamedDispatch::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT NamedDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT NamedDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    if (count == 0)
        return S_OK;
    for (size_t i = 0; i < members_.size(); ++i)
        if (_wcsicmp(members_[i].first.c_str(), names[0]) == 0)
            ids[0] = static_cast<DISPID>(i + 1);
    if (ids[0] == DISPID_UNKNOWN || count > 1)
        return DISP_E_UNKNOWNNAME;
    return S_OK;
}

HRESULT NamedDispatch::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (id < 1 || static_cast<size_t>(id) > members_.size())
        return DISP_E_MEMBERNOTFOUND;
    if (params && params->cNamedArgs > 0 && !(params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                                              params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT))
        return DISP_E_NONAMEDARGS;
    Arguments arguments;
    const UINT count = params ? params->cArgs : 0;
    for (UINT i = 0; i < count; ++i)
    {
        const VARIANT* argument = &params->rgvarg[count - 1 - i];
        if (argument->vt == (VT_BYREF | VT_VARIANT))
            argument = argument->pvarVal;
        arguments.push_back(argument);
    }
    VARIANT ignored;
    VariantInit(&ignored);
    VARIANT* target = result ? result : &ignored;
    try
    {
        const HRESULT hr = members_[static_cast<size_t>(id - 1)].second(arguments, target);
        VariantClear(&ignored);
        return hr;
    }
    catch (...)
    {
        VariantClear(&ignored);
        return E_FAIL;
    }
}

void* NamedDispatch::FindInterface(REFIID riid)
{
    if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, iid_))
        return static_cast<IDispatch*>(this);
    return UnknownImpl<IDispatch>::FindInterface(riid);
}

void NamedDispatch::Add(const wchar_t* name, Member member) { members_.emplace_back(name, std::move(member)); }
} // namespace OfficeStandIn
