#include "import_engine/OneNoteCalls.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <utility>

namespace
{
std::mutex g_pauseLock;
BusyPause g_pause;
std::atomic<long long> g_nanosecondsInside{0};

void Pause(DWORD milliseconds)
{
    BusyPause pause;
    {
        std::lock_guard guard(g_pauseLock);
        pause = g_pause;
    }
    if (pause)
        pause(milliseconds);
    else
        Sleep(milliseconds);
}

// The call, its time added to the time spent inside OneNote's calls.
HRESULT Timed(const std::function<HRESULT()>& call)
{
    const auto start = std::chrono::steady_clock::now();
    const HRESULT hr = call();
    g_nanosecondsInside +=
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
    return hr;
}
} // namespace

BusyPause SetBusyPause(BusyPause pause)
{
    std::lock_guard guard(g_pauseLock);
    return std::exchange(g_pause, std::move(pause));
}

HRESULT RetryWhileBusy(const std::function<HRESULT()>& call)
{
    HRESULT hr = Timed(call);
    for (const DWORD pause : {500u, 2500u})
    {
        if (hr != RPC_E_CALL_REJECTED)
            break;
        Pause(pause);
        hr = Timed(call);
    }
    return hr;
}

HRESULT RetryWhileBusyWithin(const std::function<HRESULT()>& call, BusyPatience& patience)
{
    HRESULT hr = Timed(call);
    for (DWORD next = 500; hr == RPC_E_CALL_REJECTED; next = 2500)
    {
        const DWORD pause = std::min(next, patience.Left());
        if (pause == 0 || patience.StopAsked())
            break;
        Pause(pause);
        patience.Spend(pause);
        if (patience.StopAsked())
            break;
        hr = Timed(call);
    }
    return hr;
}

HRESULT RetryWhileBusyFor(const std::function<HRESULT()>& call, DWORD patienceMilliseconds)
{
    BusyPatience patience(patienceMilliseconds);
    return RetryWhileBusyWithin(call, patience);
}

double SecondsInsideOneNoteCalls()
{
    return static_cast<double>(g_nanosecondsInside.load()) / 1e9;
}
