#pragma once
// The search box's page search: each change of its text queues a search on the thread pool, which
// asks OneNote's own search for the pages of all notebooks and keeps their IDs as the results. A
// newer search supersedes every older one, which then stops with E_ABORT, so that quick typing
// never lets an old answer overwrite a newer one.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>

// UI thread: queues a search for the box's whole text unless it equals the text last queued; an
// empty text clears the results without asking OneNote.
void QueueSearch(const std::wstring& text);

// The thread-pool work item; owns the heap copy of the text it is given. Returns 0.
DWORD WINAPI SearchWorker(void* text);

// The search proper, for the worker of this generation; raises E_ABORT when superseded or quitting
// and the COM error of a failed call.
void RunSearch(const std::wstring& text, std::uint64_t generation);

// Whether a newer search than the one of this generation has started.
bool IsSuperseded(std::uint64_t generation);

// The IDs of the pages the newest search found, guarded by the results lock.
std::set<std::wstring>& GetSearchResults();
std::mutex& GetSearchResultsLock();

// Searches that are queued or running; the exit waits until there is none.
std::atomic<int>& GetSearchWorkers();
// Searches working between their start and their end.
std::atomic<int>& GetRunningSearches();
std::atomic<std::uint64_t>& GetSearchGeneration();
