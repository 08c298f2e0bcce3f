// The support routines that mingw's comdef.h and comutil.h declare but no mingw library
// implements, so that _com_error, _bstr_t and _com_ptr_t work as they do with Visual C++.
#include <comdef.h>

#include <memory>

void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* source, REFIID iid)
{
    IErrorInfo* errorInfo = nullptr;
    if (source)
    {
        ISupportErrorInfo* support = nullptr;
        if (SUCCEEDED(source->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))))
        {
            if (support->InterfaceSupportsErrorInfo(iid) == S_OK && GetErrorInfo(0, &errorInfo) != S_OK)
                errorInfo = nullptr;
            support->Release();
        }
    }
    // _com_error takes over the reference that GetErrorInfo handed out.
    __mingw_com_error_handler(hr, errorInfo);
}

namespace _com_util
{
BSTR WINAPI ConvertStringToBSTR(const char* source)
{
    if (!source)
        return nullptr;
    const int length = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);
    if (length <= 0)
        _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
    if (!result)
        _com_issue_error(E_OUTOFMEMORY);
    MultiByteToWideChar(CP_ACP, 0, source, -1, result, length);
    return result;
}

char* WINAPI ConvertBSTRToString(BSTR source)
{
    if (!source)
        return nullptr;
    // SysStringLen, not the terminator: a BSTR may hold embedded null characters.
    const int wideLength = static_cast<int>(SysStringLen(source)) + 1;
    const int length = WideCharToMultiByte(CP_ACP, 0, source, wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
    // _bstr_t frees the result with delete[].
    std::unique_ptr<char[]> result(new (std::nothrow) char[length]);
    if (!result)
        _com_issue_error(E_OUTOFMEMORY);
    WideCharToMultiByte(CP_ACP, 0, source, wideLength, result.get(), length, nullptr, nullptr);
    return result.release();
}
} // namespace _com_util
