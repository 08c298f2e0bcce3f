#pragma once
// The first target of a run, made from the location the user picked, and the target of each
// entry: its own page (at a level that mirrors the folders) or section with a page per file, a
// fresh row under a new group of files with all files on one page.

#include "framework/onenote/OneNoteAutomation.h"
#include "import_engine/ImportConfig.h"
#include "import_engine/Target.h"

#include <string>

// Opens the picked location in OneNote and, by output format and create-new, uses its current
// page, a new page titled "Files Imported on " and the date and time, its current section, or a
// new section "Imported Files" (told apart by dateText). A picked notebook or section group
// receives the new sections itself. Filling the current page where OneNote shows none fails with
// OneNote's "page does not exist". made, when given, learns each page and section OneNote makes
// for the target as soon as OneNote has made it, also when a later call fails.
Target PrepareTarget(ON16::IApplication& application, const std::wstring& dateText, const Config& config,
                     const std::shared_ptr<AttemptChanges>& made = nullptr);

// The target for the next entry, made from a copy of current. current only learns that its page
// has been saved (once saved, it is never sent again), also when a later call into OneNote fails.
Target PrepareNextTarget(ON16::IApplication& application, EntryKind kind, const std::wstring& displayName,
                         const std::wstring& dateText, Target& current);
