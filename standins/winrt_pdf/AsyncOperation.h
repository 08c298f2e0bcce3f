#pragma once
// The stand-in's asynchronous operations, built the way the platform builds its own: started
// before they are handed out, completing once with a terminal status, a write-once completion
// handler that runs at once when the operation has already finished, results only after success.
//
// How an operation completes is chosen by the test through the process environment:
//   QUILLORA_WINRT_ASYNC       "thread" (the default: the work runs on a thread of its own),
//                              "completed" (done before it is handed out), "canceled", or
//                              "failed:XXXXXXXX" (that HRESULT, in hexadecimal)
//   QUILLORA_WINRT_ASYNC_ONLY  when set, the mode applies only to operations of that name
//                              ("GetFileFromPath", "GetFolderFromPath", "CreateFile", "Open",
//                              "LoadFromFile", "Render", "Write", "Flush"), or only to the render
//                              of one zero-based page ("Render:1"); others run on a thread.

#include "framework/winrt/RuntimeError.h"
#include "standins/winrt_pdf/RuntimeObject.h"

#include <atomic>

#include <functional>
#include <mutex>
#include <string>
#include <type_traits>

namespace WinRtStandIn
{
struct AsyncMode
{
    enum Kind
    {
        OnThread,
        AlreadyCompleted,
        Canceled,
        Failed,
    } kind = OnThread;
    HRESULT failure = S_OK;

    // The mode the environment asks for the operation of that name, and of that instance of it
    // (a page's index) when it has one.
    static AsyncMode For(const wchar_t* operationName, const std::wstring& instance = {});
};

// Runs task on a thread of the process's thread pool, as the platform completes its operations
// (here, when the pool refuses it).
void RunOnPoolThread(std::function<void()> task);

// What an operation hands back: an interface reference or a plain value.
template <typename R>
struct ResultSlot
{
    using Stored = R;
    Stored value{};
    HRESULT Get(R* out) const
    {
        *out = value;
        return S_OK;
    }
};
template <typename I>
struct ResultSlot<I*>
{
    using Stored = WinRt::ComPtr<I>;
    Stored value;
    HRESULT Get(I** out) const
    {
        *out = value;
        if (*out)
            (*out)->AddRef();
        return S_OK;
    }
};

template <typename I>
struct HandlerOf
{
    using type = typename I::Handler;
};
template <>
struct HandlerOf<WinRt::IAsyncAction>
{
    using type = WinRt::IAsyncActionCompletedHandler;
};

// The state every operation shares; Interface is IAsyncOperation<...>, IAsyncAction or
// IAsyncOperationWithProgress<...>, Result the ABI type of its result (void for an action).
template <typename Interface, typename Result>
class AsyncBase : public RuntimeObject<Interface, WinRt::IAsyncInfo>
{
public:
    using Handler = typename HandlerOf<Interface>::type;
    using Slot = std::conditional_t<std::is_void_v<Result>, ResultSlot<bool>, ResultSlot<Result>>;
    using Work = std::function<typename Slot::Stored()>;

    // Starts a new operation of class Operation as the mode says; the returned reference is the
    // caller's.
    template <typename Operation>
    static Interface* Start(const wchar_t* name, Work work, const std::wstring& instance = {})
    {
        Operation* operation = new Operation();
        operation->name_ = name;
        const AsyncMode mode = AsyncMode::For(name, instance);
        switch (mode.kind)
        {
        case AsyncMode::AlreadyCompleted:
            operation->Run(work);
            break;
        case AsyncMode::Canceled:
            operation->Finish(WinRt::AsyncStatus::Canceled, S_OK, {});
            break;
        case AsyncMode::Failed:
            operation->Finish(WinRt::AsyncStatus::Error, mode.failure, {});
            break;
        case AsyncMode::OnThread:
            operation->AddRef(); // the pool thread's reference
            RunOnPoolThread([operation, work = std::move(work)] {
                operation->Run(work);
                operation->Release();
            });
            break;
        }
        return operation;
    }

    // IAsyncInfo
    STDMETHODIMP get_Id(UINT32* id) override
    {
        if (!id)
            return E_POINTER;
        *id = id_;
        return S_OK;
    }
    STDMETHODIMP get_Status(WinRt::AsyncStatus* status) override
    {
        if (!status)
            return E_POINTER;
        std::lock_guard guard(lock_);
        if (closed_)
            return WinRt::IllegalMethodCall;
        *status = status_;
        return S_OK;
    }
    STDMETHODIMP get_ErrorCode(HRESULT* code) override
    {
        if (!code)
            return E_POINTER;
        std::lock_guard guard(lock_);
        if (closed_)
            return WinRt::IllegalMethodCall;
        *code = status_ == WinRt::AsyncStatus::Error ? error_ : S_OK;
        return S_OK;
    }
    STDMETHODIMP Cancel() override
    {
        Finish(WinRt::AsyncStatus::Canceled, S_OK, {});
        return S_OK;
    }
    STDMETHODIMP Close() override
    {
        std::lock_guard guard(lock_);
        if (status_ == WinRt::AsyncStatus::Started)
            return WinRt::IllegalStateChange;
        closed_ = true;
        return S_OK;
    }

    // The operation's own interface.
    STDMETHODIMP put_Completed(Handler* handler) override
    {
        WinRt::AsyncStatus status;
        {
            std::lock_guard guard(lock_);
            if (closed_)
                return WinRt::IllegalMethodCall;
            if (handlerAssigned_)
                return WinRt::IllegalDelegateAssignment;
            handlerAssigned_ = true;
            handler_ = handler;
            status = status_;
            if (status == WinRt::AsyncStatus::Started || !handler)
                return S_OK;
        }
        Notify(status);
        return S_OK;
    }
    STDMETHODIMP get_Completed(Handler** handler) override
    {
        if (!handler)
            return E_POINTER;
        std::lock_guard guard(lock_);
        *handler = handler_;
        if (*handler)
            (*handler)->AddRef();
        return S_OK;
    }

protected:
    AsyncBase()
    {
        static std::atomic<UINT32> lastId{0};
        id_ = ++lastId;
    }

    const wchar_t* ClassName() const override { return L"Windows.Foundation.IAsyncInfo"; }

    HRESULT Results(std::conditional_t<std::is_void_v<Result>, bool, Result>* out)
    {
        std::lock_guard guard(lock_);
        if (closed_)
            return WinRt::IllegalMethodCall;
        if (status_ == WinRt::AsyncStatus::Error)
            return error_;
        if (status_ != WinRt::AsyncStatus::Completed)
            return WinRt::IllegalMethodCall;
        if (!out)
            return E_POINTER;
        return result_.Get(out);
    }

private:
    void Run(const Work& work)
    {
        try
        {
            Finish(WinRt::AsyncStatus::Completed, S_OK, work());
        }
        catch (const WinRt::RuntimeError& error)
        {
            Finish(WinRt::AsyncStatus::Error, error.code(), {});
        }
        catch (const _com_error& error)
        {
            Finish(WinRt::AsyncStatus::Error, error.Error(), {});
        }
        catch (...)
        {
            Finish(WinRt::AsyncStatus::Error, E_FAIL, {});
        }
    }

    void Finish(WinRt::AsyncStatus status, HRESULT error, typename Slot::Stored value)
    {
        {
            std::lock_guard guard(lock_);
            if (status_ != WinRt::AsyncStatus::Started)
                return;
            status_ = status;
            error_ = error;
            result_.value = std::move(value);
            if (!handler_)
                return;
        }
        Notify(status);
    }

    void Notify(WinRt::AsyncStatus status)
    {
        WinRt::ComPtr<Handler> handler;
        {
            std::lock_guard guard(lock_);
            handler = handler_;
        }
        if (handler)
            handler->Invoke(static_cast<Interface*>(this), status);
    }

    const wchar_t* name_ = L"";
    UINT32 id_ = 0;
    std::mutex lock_;
    WinRt::AsyncStatus status_ = WinRt::AsyncStatus::Started;
    HRESULT error_ = S_OK;
    bool closed_ = false;
    bool handlerAssigned_ = false;
    WinRt::ComPtr<Handler> handler_;
    Slot result_;
};

// IAsyncOperation<Result>.
template <typename Result>
class AsyncOperation final : public AsyncBase<WinRt::IAsyncOperation<Result>, Result>
{
public:
    using Base = AsyncBase<WinRt::IAsyncOperation<Result>, Result>;
    static WinRt::IAsyncOperation<Result>* Start(const wchar_t* name, typename Base::Work work)
    {
        return Base::template Start<AsyncOperation>(name, std::move(work));
    }
    STDMETHODIMP GetResults(Result* results) override { return this->Results(results); }
};

class AsyncAction final : public AsyncBase<WinRt::IAsyncAction, void>
{
public:
    using Base = AsyncBase<WinRt::IAsyncAction, void>;
    static WinRt::IAsyncAction* Start(const wchar_t* name, std::function<void()> work,
                                      const std::wstring& instance = {})
    {
        return Base::Start<AsyncAction>(
            name,
            [work = std::move(work)] {
                work();
                return true;
            },
            instance);
    }
    STDMETHODIMP GetResults() override
    {
        bool done = false;
        return this->Results(&done);
    }
};

// A stream write: the number of bytes written, with a progress handler that is kept but never
// called (the write is one step).
class WriteOperation final : public AsyncBase<WinRt::IWriteOperation, UINT32>
{
public:
    using Base = AsyncBase<WinRt::IWriteOperation, UINT32>;
    static WinRt::IWriteOperation* Start(const wchar_t* name, Base::Work work)
    {
        return Base::Start<WriteOperation>(name, std::move(work));
    }
    STDMETHODIMP put_Progress(WinRt::IWriteOperationProgressHandler* handler) override
    {
        progress_ = handler;
        return S_OK;
    }
    STDMETHODIMP get_Progress(WinRt::IWriteOperationProgressHandler** handler) override
    {
        if (!handler)
            return E_POINTER;
        *handler = progress_;
        if (*handler)
            (*handler)->AddRef();
        return S_OK;
    }
    STDMETHODIMP GetResults(UINT32* results) override { return this->Results(results); }

private:
    WinRt::ComPtr<WinRt::IWriteOperationProgressHandler> progress_;
};
} // namespace WinRtStandIn
