#pragma once
// Raising COM errors that carry a message of the program's own.

#include <comdef.h>

#include <string>

// Raises a _com_error with hr and an IErrorInfo whose description is message; never returns.
[[noreturn]] void ThrowComError(HRESULT hr, const wchar_t* message);
[[noreturn]] void ThrowComError(HRESULT hr, const std::wstring& message);

// Raises a _com_error for a failed HRESULT (with no description); does nothing on success.
inline void ThrowIfFailed(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_error(hr);
}
