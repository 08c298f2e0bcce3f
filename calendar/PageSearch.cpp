#include "calendar/PageSearch.h"

#include "calendar/CalendarState.h"
#include "calendar/OneNoteCalls.h"
#include "calendar/WorkerFailure.h"
#include "framework/Owners.h"
#include "framework/xml/XmlDocument.h"
#include "onenote_model/Hierarchy.h"

#include <memory>

namespace
{
void ThrowIfStale(std::uint64_t generation)
{
    if (GetCalendarState().quitting || IsSuperseded(generation))
        _com_issue_error(E_ABORT);
}
} // namespace

std::set<std::wstring>& GetSearchResults()
{
    static std::set<std::wstring> results;
    return results;
}

std::mutex& GetSearchResultsLock()
{
    static std::mutex lock;
    return lock;
}

std::atomic<int>& GetSearchWorkers()
{
    static std::atomic<int> workers{0};
    return workers;
}

std::atomic<int>& GetRunningSearches()
{
    static std::atomic<int> running{0};
    return running;
}

std::atomic<std::uint64_t>& GetSearchGeneration()
{
    static std::atomic<std::uint64_t> generation{0};
    return generation;
}

bool IsSuperseded(std::uint64_t generation) { return GetSearchGeneration().load() != generation; }

std::unique_ptr<QueuedSearch> NewSearch(const std::wstring& text)
{
    // Counted before it is queued, so that an exit in between still waits for it.
    ++GetSearchWorkers();
    return std::make_unique<QueuedSearch>(QueuedSearch{text, ++GetSearchGeneration()});
}

void QueueSearch(const std::wstring& text)
{
    static std::wstring lastQueued;
    if (text == lastQueued)
        return;
    lastQueued = text;
    std::unique_ptr<QueuedSearch> search = NewSearch(text);
    if (QueueUserWorkItem(SearchWorker, search.get(), WT_EXECUTEDEFAULT))
        search.release();
    else
        --GetSearchWorkers();
}

DWORD WINAPI SearchWorker(void* argument)
{
    const std::unique_ptr<QueuedSearch> search(static_cast<QueuedSearch*>(argument));
    CalendarState& state = GetCalendarState();
    if (state.searching)
        Sleep(500);
    if (!IsSuperseded(search->generation))
    {
        ++GetRunningSearches();
        state.searching = true;
        RequestRepaint();
        try
        {
            RunSearch(search->text, search->generation);
        }
        catch (const _com_error& error)
        {
            ShowWorkerFailure(error);
        }
        catch (...)
        {
            // Nothing may leave a thread-pool work item.
        }
        state.searching = --GetRunningSearches() > 0;
        RequestRepaint();
    }
    --GetSearchWorkers();
    return 0;
}

void RunSearch(const std::wstring& text, std::uint64_t generation)
{
    const Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (FAILED(apartment.result()))
        _com_issue_error(apartment.result());
    _bstr_t answer;
    if (!text.empty())
    {
        OneNoteApplicationPtr application;
        const HRESULT created = CreateOneNoteApplication(application);
        if (FAILED(created))
            _com_issue_error(created);
        if (!application)
            _com_issue_error(E_POINTER);
        answer = FindPages(application, text);
    }
    {
        const std::lock_guard guard(GetSearchResultsLock());
        ThrowIfStale(generation);
        GetSearchResults().clear();
    }
    if (text.empty())
        return;
    auto found = std::make_shared<ON::Notebooks>();
    ParseElement(*found, answer, [&](const ElementLink& link) {
        if (std::wstring_view(link.name) != L"Page")
            return;
        const ON::Page& page = link.As<ON::Page>();
        {
            const std::lock_guard guard(GetSearchResultsLock());
            ThrowIfStale(generation);
            if (page.hierarchy.ID)
                GetSearchResults().insert(*page.hierarchy.ID);
        }
        RequestRepaint();
    });
}
