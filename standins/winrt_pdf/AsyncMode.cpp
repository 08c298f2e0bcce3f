#include "standins/winrt_pdf/AsyncOperation.h"

#include <cwchar>

namespace WinRtStandIn
{
namespace
{
std::wstring Environment(const wchar_t* name)
{
    wchar_t value[256] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 256);
    return length > 0 && length < 256 ? std::wstring(value, length) : std::wstring();
}
} // namespace

AsyncMode AsyncMode::For(const wchar_t* operationName)
{
    AsyncMode mode;
    const std::wstring only = Environment(L"QUILLORA_WINRT_ASYNC_ONLY");
    if (!only.empty() && only != operationName)
        return mode;
    const std::wstring chosen = Environment(L"QUILLORA_WINRT_ASYNC");
    if (chosen == L"completed")
        mode.kind = AlreadyCompleted;
    else if (chosen == L"canceled")
        mode.kind = Canceled;
    else if (chosen.rfind(L"failed:", 0) == 0)
    {
        mode.kind = Failed;
        mode.failure = static_cast<HRESULT>(std::wcstoul(chosen.c_str() + 7, nullptr, 16));
    }
    return mode;
}
} // namespace WinRtStandIn
