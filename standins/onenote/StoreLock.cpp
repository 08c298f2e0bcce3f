// The store's cross-process lock: a named mutex per store folder, waited for with a limit.
#include "standins/onenote/StoreLock.h"

#include "standins/onenote/StoreTree.h"

#include <cwchar>
#include <utility>

namespace StandIn
{
namespace
{
std::wstring Hex(unsigned value)
{
    wchar_t buffer[16];
    swprintf(buffer, 16, L"%08X", value);
    return buffer;
}
} // namespace

StoreLock::Hold::Hold(HANDLE mutex, Outcome outcome, DWORD error) noexcept
    : mutex_(mutex), outcome_(outcome), error_(error)
{
}

StoreLock::Hold::Hold(Hold&& other) noexcept
    : mutex_(std::exchange(other.mutex_, nullptr)), outcome_(std::exchange(other.outcome_, Outcome::Failed)),
      error_(other.error_)
{
}

StoreLock::Hold::~Hold()
{
    // A wait that did not take the mutex must not give it back: it belongs to another process.
    if (mutex_ && Owns())
        ReleaseMutex(mutex_);
}

StoreLock::StoreLock(const std::wstring& folder) : mutex_(CreateMutexW(nullptr, FALSE, NameFor(folder).c_str()))
{
    if (!mutex_)
        createError_ = GetLastError();
}

StoreLock::Hold StoreLock::Acquire(DWORD timeoutMs)
{
    if (!mutex_)
        return Hold(nullptr, Outcome::Failed, createError_);
    switch (WaitForSingleObject(mutex_.get(), timeoutMs))
    {
    case WAIT_OBJECT_0:
        return Hold(mutex_.get(), Outcome::Taken, ERROR_SUCCESS);
    case WAIT_ABANDONED:
        return Hold(mutex_.get(), Outcome::TakenOver, ERROR_SUCCESS);
    case WAIT_TIMEOUT:
        return Hold(nullptr, Outcome::TimedOut, ERROR_TIMEOUT);
    default:
        return Hold(nullptr, Outcome::Failed, GetLastError());
    }
}

std::wstring StoreLock::NameFor(const std::wstring& folder)
{
    unsigned hash = 2166136261u;
    for (wchar_t c : StoreTree::Lower(folder))
        hash = (hash ^ static_cast<unsigned>(c)) * 16777619u;
    return L"Local\\QuilloraOneNoteStandIn-" + Hex(hash);
}
} // namespace StandIn
