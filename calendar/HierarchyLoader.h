#pragma once
// The hierarchy loader: reads every notebook, section and page from OneNote on a thread-pool
// thread and files each page in the day map (DayMap.h), publishing the notebook list with it
// (NotebookList.h). One load runs at a time; the quitting flag ends a load within one OneNote call
// (or wait for a busy OneNote).

#include "onenote_model/Hierarchy.h"

#include <windows.h>
#include <comdef.h>

#include <string>
#include <vector>

// What one load did, for those who measure it.
struct LoadStatistics
{
    double totalSeconds = 0;
    double oneNoteSeconds = 0; // inside OneNote's calls
    size_t calls = 0;
    size_t pages = 0;
    // When set, every answer of OneNote is kept here in the order it came.
    std::vector<_bstr_t>* answers = nullptr;
};

// UI thread: starts a load unless one runs; the shown date becomes its day (DateTime::LocalNoon).
void StartHierarchyLoad();

// The thread-pool work item: a whole load, then the loading flag is cleared; returns 0.
DWORD WINAPI LoadPagesWorker(void* unused);

// A whole load on the calling thread, in an apartment of its own: files every page again, in the
// day map itself while it is empty, else in a map of its own that takes the day map's place at the
// end. Each call waits out OneNote's busy spells (GetHierarchy). A notebook, section or page that
// OneNote will not give is left out and named in the log, and once the load has ended one message
// says how many and which could not be read. A failure that ends the whole load (no OneNote, no
// notebook list, OneNote busy beyond the wait or showing a modal dialog, a call that timed out)
// leaves a shown calendar as it was and is shown once.
// Nothing is shown while the program is quitting. S_OK; S_FALSE when something was left out;
// E_ABORT when cancelled; else the failing HRESULT.
HRESULT LoadHierarchy(LoadStatistics* statistics = nullptr);

// The location of a section as the calendar names it: the notebook, each section group and the
// section, separated by " > " (untitled parts by the UI language's words); notebookKey gets the
// key of its notebook in the notebook list (empty when the section has no notebook above it).
std::wstring BuildLocationText(const ON::Section& section, std::wstring& notebookKey);
