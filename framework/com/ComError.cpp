#include "framework/com/ComError.h"

#include "framework/com/ErrorInfo.h"

void ThrowComError(HRESULT hr, const wchar_t* message)
{
    // The new object's own reference is dropped once the query has taken one for the error.
    IErrorInfo* created = new ErrorInfo(message ? message : L"");
    IErrorInfo* errorInfo = nullptr;
    const HRESULT query = created->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&errorInfo));
    created->Release();
    if (FAILED(query) && query != E_NOINTERFACE)
        throw _com_error(query);
    throw _com_error(hr, errorInfo, false);
}

void ThrowComError(HRESULT hr, const std::wstring& message) { ThrowComError(hr, message.c_str()); }
