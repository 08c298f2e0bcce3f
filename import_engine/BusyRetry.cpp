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
} // namespace

BusyPause SetBusyPause(BusyPause pause)
{
    std::lock_guard guard(g_pauseLock);
    return std::exchange(g_pause, std::move(pause));
}

HRESULT RetryWhileBusy(const std::function<HRESULT()>& call)
{
    const auto timed = [&call] {
        const auto start = std::chrono::steady_clock::now();
        const HRESULT hr = call();
        g_nanosecondsInside += std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::steady_clock::now() - start)
                                   .count();
        return hr;
    };
    HRESULT hr = timed();
    for (const DWORD pause : {500u, 2500u})
    {
        if (hr != RPC_E_CALL_REJECTED)
            break;
        Pause(pause);
        hr = timed();
    }
    return hr;
}

HRESULT RetryWhileBusyFor(const std::function<HRESULT()>& call, DWORD patienceMilliseconds)
{
    HRESULT hr = RetryWhileBusy(call);
    DWORD waited = 500 + 2500;
    while (hr == RPC_E_CALL_REJECTED && waited < patienceMilliseconds)
    {
        const DWORD pause = std::min<DWORD>(2500, patienceMilliseconds - waited);
        Pause(pause);
        waited += pause;
        hr = call();
    }
    return hr;
}

double SecondsInsideOneNoteCalls()
{
    return static_cast<double>(g_nanosecondsInside.load()) / 1e9;
}
