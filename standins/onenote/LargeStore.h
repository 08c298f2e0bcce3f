#pragma once
// Stores of any size for the stand-in: many notebooks with sections, section groups, recycle bins
// and pages spread over the years up to today, each page with a title and a few lines of words to
// search for. Made for the loader's benchmark and for a person who wants to see a busy calendar.

#include <string>

namespace StandIn
{
struct LargeStoreOptions
{
    int pages = 20000;
    int notebooks = 50;
    int years = 5;
    unsigned seed = 1;
    // Where the notebooks seem to lie (their paths begin with it).
    std::wstring base = L"C:\\Users\\Public\\Documents\\OneNote Notebooks";
};

// The store as the text of a store file (hierarchy XML of the 2013 schema with page content).
std::wstring BuildLargeStoreXml(const LargeStoreOptions& options);

// Writes the store file into folder (made when missing), so that the stand-in serves it when
// QUILLORA_ONENOTE_STORE names that folder. False when it cannot be written.
bool WriteLargeStore(const std::wstring& folder, const LargeStoreOptions& options);
} // namespace StandIn
