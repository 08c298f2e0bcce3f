#include "framework/com/ComError.h"

#include "framework/com/ErrorInfo.h"

void ThrowComError(HRESULT hr, const wchar_t* message)
{
    // The error takes over the new object's own reference, so nothing is left to release here.
    throw _com_error(hr, new ErrorInfo(message ? message : L""), false);
}

void ThrowComError(HRESULT hr, const std::wstring& message) { ThrowComError(hr, message.c_str()); }
