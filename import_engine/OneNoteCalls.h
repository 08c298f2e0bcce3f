#pragma once
// Every call into OneNote goes through one scheme: OneNote rejects calls while it is busy
// (RPC_E_CALL_REJECTED), so a rejected call is made again after 500 ms and, rejected again, after
// another 2500 ms; any other failure, or a third rejection, is raised as a _com_error that carries
// the called interface's error information.

#include "framework/onenote/OneNoteApplication.h"

#include <comdef.h>

#include <algorithm>
#include <functional>
#include <utility>

// The pause between tries; Sleep unless replaced.
using BusyPause = std::function<void(DWORD milliseconds)>;
// Replaces the pause for the whole process (an empty function restores Sleep) and returns the
// one it replaces.
BusyPause SetBusyPause(BusyPause pause);

// Makes call up to three times while OneNote answers busy; returns the last call's HRESULT.
HRESULT RetryWhileBusy(const std::function<HRESULT()>& call);

// How long a series of calls may wait out OneNote's busy answers in all, shared by the calls: each
// pause is taken from what is left. A stop that the user asks for meanwhile (stopAsked, asked
// after each busy answer and each pause) ends the waiting at once.
class BusyPatience
{
public:
    explicit BusyPatience(DWORD milliseconds, std::function<bool()> stopAsked = {})
        : left_(milliseconds), stopAsked_(std::move(stopAsked))
    {
    }

    DWORD Left() const { return left_; }
    void Spend(DWORD milliseconds) { left_ -= std::min(left_, milliseconds); }
    // Whether the user asked to stop; once asked, it stays so.
    bool StopAsked()
    {
        if (!stopped_ && stopAsked_ && stopAsked_())
            stopped_ = true;
        return stopped_;
    }
    bool Stopped() const { return stopped_; }

private:
    DWORD left_;
    std::function<bool()> stopAsked_;
    bool stopped_ = false;
};

// As RetryWhileBusy, but goes on trying, 2500 ms apart, while the patience lasts: for calls that
// must not give up within one of OneNote's busy spells (during a sync they last seconds). With no
// patience left the call is made once; after a stop it is not made again.
HRESULT RetryWhileBusyWithin(const std::function<HRESULT()>& call, BusyPatience& patience);
// The same with patienceMilliseconds of pauses for this call alone.
HRESULT RetryWhileBusyFor(const std::function<HRESULT()>& call, DWORD patienceMilliseconds);

// How long taking back a failed attempt waits out OneNote being busy, for all of its calls together:
// the attempt usually failed because OneNote stayed busy, and the taking back comes straight
// after, inside the same spell.
inline constexpr DWORD UndoPatienceMilliseconds = 30000;

// The time spent inside OneNote's calls made through RetryWhileBusy since the process started, so
// that the engine's own share of a run can be told apart from OneNote's.
double SecondsInsideOneNoteCalls();

// RetryWhileBusy, then a failure raised with the error information of object's interface I.
template <typename I>
HRESULT CallWithRetry(I& object, const std::function<HRESULT()>& call)
{
    const HRESULT hr = RetryWhileBusy(call);
    if (FAILED(hr))
        _com_issue_errorex(hr, &object, __uuidof(I));
    return hr;
}

// RetryWhileBusyFor, then a failure raised as by CallWithRetry.
template <typename I>
HRESULT CallWithPatience(I& object, const std::function<HRESULT()>& call,
                         DWORD patienceMilliseconds = UndoPatienceMilliseconds)
{
    const HRESULT hr = RetryWhileBusyFor(call, patienceMilliseconds);
    if (FAILED(hr))
        _com_issue_errorex(hr, &object, __uuidof(I));
    return hr;
}

// RetryWhileBusyWithin, then a failure raised as by CallWithRetry.
template <typename I>
HRESULT CallWithPatience(I& object, const std::function<HRESULT()>& call, BusyPatience& patience)
{
    const HRESULT hr = RetryWhileBusyWithin(call, patience);
    if (FAILED(hr))
        _com_issue_errorex(hr, &object, __uuidof(I));
    return hr;
}

// CallWithRetry, or CallWithPatience while patience lasts when given.
template <typename I>
HRESULT CallWithin(I& object, const std::function<HRESULT()>& call, BusyPatience* patience)
{
    return patience ? CallWithPatience(object, call, *patience) : CallWithRetry(object, call);
}

HRESULT NavigateToUrlWithRetry(ON16::IApplication& application, _bstr_t url, VARIANT_BOOL newWindow = VARIANT_FALSE);
// These two read into xml and wait out OneNote's busy answers while patience lasts when given (else
// as every call).
HRESULT GetHierarchyWithRetry(ON16::IApplication& application, _bstr_t startNodeId, ON16::HierarchyScope scope,
                              _bstr_t& xml, BusyPatience* patience = nullptr);
HRESULT GetPageContentWithRetry(ON16::IApplication& application, _bstr_t pageId, _bstr_t& xml,
                                BusyPatience* patience = nullptr);
HRESULT UpdateHierarchyWithRetry(ON16::IApplication& application, _bstr_t xml);
HRESULT NavigateToWithRetry(ON16::IApplication& application, _bstr_t hierarchyObjectId, _bstr_t objectId = L"",
                            VARIANT_BOOL newWindow = VARIANT_FALSE);

// One UpdatePageContent call; the caller checks the result and raises it for IApplication.
struct PageContentUpdate
{
    ON16::IApplication& application;
    const _bstr_t& xml;
    DATE expectedLastModified = 0.0;
    ON16::XMLSchema schema = ON16::xs2013;
    VARIANT_BOOL force = VARIANT_TRUE;
    // Busy answers are waited out while it lasts when given (else as every call).
    BusyPatience* patience = nullptr;
};
HRESULT UpdatePageContentWithRetry(const PageContentUpdate& update);

// Null when OneNote gives no collection or has no window; those are not failures here. Each waits
// out OneNote's busy answers while patience lasts when given (else as every call).
ON16::WindowsPtr GetWindowsWithRetry(ON16::IApplication& application, BusyPatience* patience = nullptr);
ON16::WindowPtr GetCurrentWindowWithRetry(ON16::Windows& windows, BusyPatience* patience = nullptr);
// The window's HWND is in the low 32 bits.
ULONGLONG GetWindowHandleWithRetry(ON16::Window& window, BusyPatience* patience = nullptr);

// The OneNote hyperlink to a hierarchy object; raises what OneNote raises.
_bstr_t GetHyperlinkToObjectWithRetry(ON16::IApplication& application, const _bstr_t& id);
