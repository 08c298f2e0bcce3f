#include "import_engine/OneNoteCalls.h"

#include <mutex>
#include <utility>

namespace
{
std::mutex g_pauseLock;
BusyPause g_pause;

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
    HRESULT hr = call();
    for (const DWORD pause : {500u, 2500u})
    {
        if (hr != RPC_E_CALL_REJECTED)
            break;
        Pause(pause);
        hr = call();
    }
    return hr;
}
