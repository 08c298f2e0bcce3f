#include "calendar/OneNoteCalls.h"

_bstr_t GetHierarchy(ON16::IApplication* application, const std::wstring& startId, ON16::HierarchyScope scope)
{
    if (!application)
        _com_issue_error(E_POINTER);
    BSTR xml = nullptr;
    const HRESULT hr = application->GetHierarchy(_bstr_t(startId.c_str()), scope, &xml, ON16::xs2010);
    _bstr_t owned(xml, false);
    if (FAILED(hr))
        _com_issue_errorex(hr, application, __uuidof(ON16::IApplication));
    return owned;
}

_bstr_t FindPages(ON16::IApplication* application, const std::wstring& text)
{
    if (!application)
        _com_issue_error(E_POINTER);
    BSTR xml = nullptr;
    const HRESULT hr = application->FindPages(_bstr_t(L""), _bstr_t(text.c_str()), &xml, VARIANT_FALSE,
                                              VARIANT_FALSE, ON16::xs2010);
    _bstr_t owned(xml, false);
    if (FAILED(hr))
        _com_issue_errorex(hr, application, __uuidof(ON16::IApplication));
    return owned;
}
