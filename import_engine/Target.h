#pragma once
// Where an import run writes at this moment: the notebook or section group that receives new
// sections, the section that receives new pages, the page being filled with its parsed content,
// where the next element goes on it, and how to continue a file on a further page.

#include "import_engine/AttemptChanges.h"
#include "onenote_model/Page.h"

#include <comdef.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class FileCopies;

// What an entry of the run is: the target steps tell folders from files and the entries the user
// gave from those found inside a folder.
enum EntryKind : int32_t
{
    TopFolder = 0,
    TopFile = 1,
    InnerFolder = 2,
    InnerFile = 3,
};

inline bool IsFolderKind(EntryKind kind) { return kind == TopFolder || kind == InnerFolder; }

struct Target
{
    std::optional<EntryKind> lastEntryKind;
    // The picked notebook or section group, into which new sections go.
    _bstr_t parentId;
    _bstr_t sectionId;
    // Empty right after a new section was made.
    _bstr_t pageId;
    // The content of pageId, when a page is open; copies of the target share it.
    std::shared_ptr<ON::Page> page;
    // The page as held here has been sent to OneNote and left behind: sending it again would add
    // its new objects a second time. Only its level is still read.
    bool pageSaved = false;
    // The outline on page that collects text lines, HTML blocks and file references.
    std::shared_ptr<ON::Outline> referenceOutline;
    std::shared_ptr<ON::Position> position;
    // Below the page's content; set only on the OneNote builds that need explicit positions.
    std::shared_ptr<ON::Position> startPosition;
    int32_t outputFormat = 0;
    bool createNew = false;
    std::wstring location;
    uint32_t printoutScale = 200;
    // The level of the page made for the current entry (the outer optional set once a page per
    // entry was made; the inner one unset for a page without a level), which pages continuing
    // the entry's file leave as it is.
    std::optional<std::optional<int32_t>> entryPageLevel;
    // Continues the file on page n (2, 3, ...) after saving the page being filled.
    std::function<void(Target&, unsigned)> pageGenerator;
    // Where the run notes what the attempt at the current entry changes in OneNote; copies share
    // it. Empty outside a run.
    std::shared_ptr<AttemptChanges> changes;
    // The run's copies of the files its pages name for OneNote to read; copies of the target share
    // them, and the last one to go removes them.
    std::shared_ptr<FileCopies> copies;
};
