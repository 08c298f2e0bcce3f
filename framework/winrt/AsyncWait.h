#pragma once
// Waiting on this thread for an asynchronous Windows Runtime operation: when it still runs, a
// completion handler sets an event and the thread waits for it without a time limit. A
// cancelled operation raises ERROR_CANCELLED and a failed one its own failure, as RuntimeError.

#include "framework/Owners.h"
#include "framework/com/UnknownImpl.h"
#include "framework/winrt/RuntimeError.h"
#include "framework/winrt/WinRtInterfaces.h"

#include <objidl.h>

namespace WinRt
{
namespace Detail
{
// Completion handlers run on the platform's threads, so the handler is agile.
template <typename Handler, typename Operation>
class SignallingHandler final : public UnknownImpl<Handler>, public IAgileObject
{
public:
    explicit SignallingHandler(HANDLE event) : event_(event) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return UnknownImpl<Handler>::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return UnknownImpl<Handler>::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return UnknownImpl<Handler>::Release(); }
    void* FindInterface(REFIID riid) override
    {
        if (IsEqualIID(riid, IID_IAgileObject))
            return static_cast<IAgileObject*>(this);
        return UnknownImpl<Handler>::FindInterface(riid);
    }
    STDMETHODIMP Invoke(Operation*, AsyncStatus) override
    {
        ::SetEvent(event_);
        return S_OK;
    }

private:
    HANDLE event_;
};

// Waits until operation leaves Started; returns its final status.
template <typename Handler, typename Operation>
AsyncStatus WaitUntilDone(Operation& operation)
{
    ComPtr<IAsyncInfo> info;
    ThrowIfRuntimeFailed(operation.QueryInterface(__uuidof(IAsyncInfo), reinterpret_cast<void**>(&info)));
    AsyncStatus status = AsyncStatus::Started;
    ThrowIfRuntimeFailed(info->get_Status(&status));
    if (status == AsyncStatus::Started)
    {
        Owners::KernelHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!done)
            throw RuntimeError(HRESULT_FROM_WIN32(::GetLastError()));
        ComPtr<Handler> handler;
        handler.Attach(new SignallingHandler<Handler, Operation>(done.get()));
        ThrowIfRuntimeFailed(operation.put_Completed(handler));
        if (::WaitForSingleObject(done.get(), INFINITE) != WAIT_OBJECT_0)
            throw RuntimeError(HRESULT_FROM_WIN32(::GetLastError()));
        ThrowIfRuntimeFailed(info->get_Status(&status));
    }
    if (status == AsyncStatus::Canceled)
        throw RuntimeError(OperationCancelled);
    if (status == AsyncStatus::Error)
    {
        HRESULT failure = E_FAIL;
        ThrowIfRuntimeFailed(info->get_ErrorCode(&failure));
        throw RuntimeError(FAILED(failure) ? failure : E_FAIL);
    }
    return status;
}
} // namespace Detail

// The result of an operation that hands back an interface (the reference is the caller's).
template <typename Operation>
ComPtr<std::remove_pointer_t<typename Operation::ResultType>> Await(Operation* operation)
{
    if (!operation)
        throw RuntimeError(E_POINTER);
    Detail::WaitUntilDone<typename Operation::Handler>(*operation);
    ComPtr<std::remove_pointer_t<typename Operation::ResultType>> result;
    ThrowIfRuntimeFailed(operation->GetResults(reinterpret_cast<typename Operation::ResultType*>(&result)));
    return result;
}

// Waits for an action.
inline void Await(IAsyncAction* action)
{
    if (!action)
        throw RuntimeError(E_POINTER);
    Detail::WaitUntilDone<IAsyncActionCompletedHandler>(*action);
    ThrowIfRuntimeFailed(action->GetResults());
}
} // namespace WinRt
