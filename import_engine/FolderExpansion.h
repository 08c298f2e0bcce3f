#pragma once
// Before anything is imported, the user's files and folders become the list of everything the
// run imports: every folder is listed recursively into a tree of children, and the tree is walked
// into one flat list in which each folder stands ahead of its content, with its nesting depth.

#include "framework/files/Files.h"
#include "import_engine/ImportConfig.h"

#include <functional>
#include <string>
#include <vector>

// Each returns no error, or the error with which the progress callback asked to stop.

// Lists every top-level folder of config.entries.
Result ExpandFolders(Config& config, const ProgressCallback& progress);
// Lists the folder into entry.entries, depth first. Children the entry already has are kept, and
// only the folders among them, at every depth, that have no children yet are listed. Links to other folders are not followed, so a
// link that leads back up cannot recurse; a folder that cannot be listed keeps its error in
// listingError.
Result ExpandEntry(Config::Entry& entry, const ProgressCallback& progress);
// Appends every entry of from and everything below it to flat, in pre-order, each without
// children and with its depth (depth for the entries of from).
Result EnumerateFiles(const std::vector<Config::Entry>& from, std::vector<Config::Entry>& flat, uint32_t depth,
                      const ProgressCallback& progress);

// How folders are listed: ListFolder unless replaced. Returns the one it replaces; an empty
// function restores ListFolder.
using FolderLister = std::function<std::vector<FolderEntry>(const std::wstring& folder, DWORD* error)>;
FolderLister SetFolderLister(FolderLister lister);
