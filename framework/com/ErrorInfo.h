#pragma once
// An IErrorInfo that carries a description, for COM errors raised by the programs themselves.

#include "framework/com/UnknownImpl.h"

#include <comdef.h>
#include <oaidl.h>

_COM_SMARTPTR_TYPEDEF(IErrorInfo, IID_IErrorInfo);

class ErrorInfo : public UnknownImpl<IErrorInfo>
{
public:
    explicit ErrorInfo(const wchar_t* message);

    STDMETHODIMP GetGUID(GUID* guid) override;
    STDMETHODIMP GetSource(BSTR* source) override;
    STDMETHODIMP GetDescription(BSTR* description) override;
    STDMETHODIMP GetHelpFile(BSTR* helpFile) override;
    STDMETHODIMP GetHelpContext(DWORD* helpContext) override;

    void* FindInterface(REFIID riid) override;

private:
    _bstr_t description_;
};
