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
// new section "Imported Files" (told apart by dateText).
Target PrepareTarget(ON16::IApplication& application, const std::wstring& dateText, const Config& config);

// The target for the next entry, made from a copy of current: current itself is left as it was
// when a call into OneNote fails.
Target PrepareNextTarget(ON16::IApplication& application, EntryKind kind, const std::wstring& displayName,
                         const std::wstring& dateText, const Target& current);
