#include "framework/com/ErrorInfo.h"

ErrorInfo::ErrorInfo(const wchar_t* message) : description_(message) {}

STDMETHODIMP ErrorInfo::GetGUID(GUID*) { return E_NOTIMPL; }

STDMETHODIMP ErrorInfo::GetSource(BSTR*) { return E_NOTIMPL; }

STDMETHODIMP ErrorInfo::GetDescription(BSTR* description)
{
    if (!description)
        return E_POINTER;
    *description = nullptr;
    if (description_.length() == 0)
        return S_OK;
    // A COM method must not throw: a copy that cannot be made is reported, not raised.
    BSTR source = static_cast<wchar_t*>(description_);
    *description = SysAllocStringByteLen(reinterpret_cast<const char*>(source), SysStringByteLen(source));
    return *description ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP ErrorInfo::GetHelpFile(BSTR*) { return E_NOTIMPL; }

STDMETHODIMP ErrorInfo::GetHelpContext(DWORD*) { return E_NOTIMPL; }

void* ErrorInfo::FindInterface(REFIID riid)
{
    if (IsEqualIID(riid, IID_IErrorInfo))
        return static_cast<IErrorInfo*>(this);
    return UnknownImpl<IErrorInfo>::FindInterface(riid);
}
