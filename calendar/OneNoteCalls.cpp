#include "calendar/OneNoteCalls.h"

#include "calendar/CalendarState.h"

#include <algorithm>

namespace
{
HRESULT AskForHierarchy(ON16::IApplication* application, const std::wstring& startId, ON16::HierarchyScope scope,
                        _bstr_t& answer)
{
    if (!application)
        _com_issue_error(E_POINTER);
    BSTR xml = nullptr;
    const HRESULT hr = application->GetHierarchy(_bstr_t(startId.c_str()), scope, &xml, ON16::xs2010);
    answer = _bstr_t(xml, false);
    return hr;
}

// Waits, unless the program ends meanwhile.
void PauseUnlessQuitting(DWORD milliseconds)
{
    const CalendarState& state = GetCalendarState();
    for (DWORD waited = 0; waited < milliseconds && !state.quitting; waited += 50)
        Sleep(std::min<DWORD>(50, milliseconds - waited));
    if (state.quitting)
        _com_issue_error(E_ABORT);
}
} // namespace

_bstr_t GetHierarchy(ON16::IApplication* application, const std::wstring& startId, ON16::HierarchyScope scope)
{
    _bstr_t answer;
    HRESULT hr = AskForHierarchy(application, startId, scope, answer);
    for (DWORD waited = 0; hr == RPC_E_CALL_REJECTED && waited < BusyPatienceMilliseconds;)
    {
        const DWORD pause = std::min<DWORD>(waited == 0 ? 500 : 2500, BusyPatienceMilliseconds - waited);
        PauseUnlessQuitting(pause);
        waited += pause;
        hr = AskForHierarchy(application, startId, scope, answer);
    }
    if (FAILED(hr))
        _com_issue_errorex(hr, application, __uuidof(ON16::IApplication));
    return answer;
}

_bstr_t FindPages(ON16::IApplication* application, const std::wstring& text)
{
    if (!application)
        _com_issue_error(E_POINTER);
    BSTR xml = nullptr;
    const HRESULT hr = application->FindPages(_bstr_t(L""), _bstr_t(text.c_str()), &xml, VARIANT_FALSE,
                                              VARIANT_FALSE, ON16::xs2010);
    _bstr_t owned(xml, false);
    if (FAILED(hr))
        _com_issue_errorex(hr, application, __uuidof(ON16::IApplication));
    return owned;
}
