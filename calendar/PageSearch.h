#pragma once
// The search box's page search: each change of its text queues a search on the thread pool, which
// asks OneNote's own search for the pages of all notebooks and keeps their IDs as the results. A
// newer search supersedes every older one, which then stops with E_ABORT, so that quick typing
// never lets an old answer overwrite a newer one.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>

// UI thread: queues a search for the box's whole text unless it equals the text last queued; an
// empty text clears the results without asking OneNote.
void QueueSearch(const std::wstring& text);

// A search as it is queued: its text and its generation, taken then, so that of two searches the
// one queued later wins in whichever order the thread pool starts them.
struct QueuedSearch
{
    std::wstring text;
    std::uint64_t generation = 0;
};
// Takes the next generation for text and counts the search as queued; the result is the work
// item's argument.
std::unique_ptr<QueuedSearch> NewSearch(const std::wstring& text);

// The thread-pool work item; owns the QueuedSearch it is given. Returns 0.
DWORD WINAPI SearchWorker(void* search);

// The search proper, for the worker of this generation; raises E_ABORT when superseded or quitting
// and the COM error of a failed call.
void RunSearch(const std::wstring& text, std::uint64_t generation);

// Whether a newer search than the one of this generation has been queued.
bool IsSuperseded(std::uint64_t generation);

// The IDs of the pages the newest search found, guarded by the results lock.
std::set<std::wstring>& GetSearchResults();
std::mutex& GetSearchResultsLock();

// Searches that are queued or running; the exit waits until there is none.
std::atomic<int>& GetSearchWorkers();
// Searches working between their start and their end.
std::atomic<int>& GetRunningSearches();
std::atomic<std::uint64_t>& GetSearchGeneration();
