#pragma once
// The lock that every process naming one store folder shares: a named mutex, so that no process
// reads or writes store.xml while another one is in the middle of an operation on it.

#include "framework/Owners.h"

#include <windows.h>

#include <string>

namespace StandIn
{
// What a caller of the store sees when another process kept the lock past the wait:
// HRESULT_FROM_WIN32(ERROR_TIMEOUT).
inline constexpr HRESULT StoreLockTimedOut = static_cast<HRESULT>(0x800705B4);

class StoreLock
{
public:
    // How a wait for the lock ended. TakenOver: the last holder ended without releasing it (a test
    // process that died in the middle of an operation); the lock is ours now all the same.
    enum class Outcome
    {
        Taken,
        TakenOver,
        TimedOut,
        Failed,
    };

    // The lock for as long as it lives, when the wait took it; nothing to give back otherwise.
    class Hold
    {
    public:
        Hold(Hold&& other) noexcept;
        Hold& operator=(Hold&&) = delete;
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold();

        Outcome outcome() const noexcept { return outcome_; }
        bool Owns() const noexcept { return outcome_ == Outcome::Taken || outcome_ == Outcome::TakenOver; }
        // The system error of a failed wait.
        DWORD error() const noexcept { return error_; }

    private:
        friend class StoreLock;
        Hold(HANDLE mutex, Outcome outcome, DWORD error) noexcept;

        HANDLE mutex_;
        Outcome outcome_;
        DWORD error_;
    };

    explicit StoreLock(const std::wstring& folder);

    // Waits at most timeoutMs milliseconds for the lock.
    Hold Acquire(DWORD timeoutMs);

    // The mutex's name for a folder: the same in every process, whatever the case of the path.
    static std::wstring NameFor(const std::wstring& folder);

private:
    Owners::KernelHandle mutex_;
    DWORD createError_ = ERROR_SUCCESS;
};
} // namespace StandIn
