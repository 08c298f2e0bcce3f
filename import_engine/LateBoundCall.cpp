#include "import_engine/LateBoundCall.h"

#include <algorithm>

namespace LateBound
{
_variant_t Missing() { return _variant_t(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR); }

_variant_t Bool(bool value) { return _variant_t(value); }

_variant_t Int(long value) { return _variant_t(value, VT_I4); }

_variant_t Call(IDispatch& object, REFIID iid, const wchar_t* name, const std::vector<_variant_t>& arguments)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        _com_issue_errorex(hr, &object, iid);

    // IDispatch takes the arguments last first.
    std::vector<VARIANTARG> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    _variant_t result;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    hr = object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, &result,
                       &exception, &badArgument);
    if (hr == DISP_E_EXCEPTION)
    {
        if (exception.pfnDeferredFillIn)
            exception.pfnDeferredFillIn(&exception);
        const HRESULT raised = exception.scode ? exception.scode : E_FAIL;
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrDescription);
        ::SysFreeString(exception.bstrHelpFile);
        hr = raised;
    }
    if (FAILED(hr))
        _com_issue_errorex(hr, &object, iid);
    return result;
}

DispatchPtr CallForObject(IDispatch& object, REFIID iid, const wchar_t* name, const std::vector<_variant_t>& arguments)
{
    _variant_t result = Call(object, iid, name, arguments);
    DispatchPtr dispatch;
    if ((result.vt == VT_DISPATCH || result.vt == VT_UNKNOWN) && result.punkVal)
        result.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (!dispatch)
        _com_issue_error(E_POINTER);
    return dispatch;
}
} // namespace LateBound
