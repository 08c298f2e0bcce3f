#include "standins/winrt_pdf/AsyncOperation.h"

#include <cwchar>
#include <memory>

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

AsyncMode AsyncMode::For(const wchar_t* operationName, const std::wstring& instance)
{
    AsyncMode mode;
    const std::wstring only = Environment(L"QUILLORA_WINRT_ASYNC_ONLY");
    const bool thisInstance = !instance.empty() && only == operationName + (L":" + instance);
    if (!only.empty() && only != operationName && !thisInstance)
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
namespace
{
DWORD WINAPI RunQueuedTask(void* context)
{
    std::unique_ptr<std::function<void()>> task(static_cast<std::function<void()>*>(context));
    (*task)();
    return 0;
}
} // namespace

void RunOnPoolThread(std::function<void()> task)
{
    auto* queued = new std::function<void()>(std::move(task));
    if (!::QueueUserWorkItem(RunQueuedTask, queued, WT_EXECUTEDEFAULT))
        RunQueuedTask(queued);
}
} // namespace WinRtStandIn
