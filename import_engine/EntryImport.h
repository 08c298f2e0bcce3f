#pragma once
// What one entry of the run becomes on the page: a heading for a folder; for a file a reference
// to it (a link or its path), the file attached, and its content (HTML, text, a printout or an
// image), as the import format asks.

#include "framework/onenote/OneNoteAutomation.h"
#include "import_engine/ImportConfig.h"
#include "import_engine/TOrError.h"
#include "import_engine/Target.h"

// The entry's result is placed in the run's target by the caller; a value counts as imported.
TOrError<ImportResult> ImportEntry(ON16::IApplication& application, const Config::Entry& entry,
                                   const Config::ImportFormat& format, Target& target, int32_t outputFormat);

// A heading on a single-page import, "h1" for a folder the user gave down to "h6"; nothing (an
// empty result) when each file has a page of its own. A folder that could not be listed fails.
TOrError<ImportResult> ImportFolder(const Config::Entry& entry, Target& target, int32_t outputFormat);

// Works on a copy of target: the page is shared, the placement is handed back in the result; a
// printout continued over further pages leaves target on the last of them, saved. The files the
// page names are copied into the target's copies (or, without them, into copies that last as long
// as the process).
TOrError<ImportResult> ImportFile(ON16::IApplication& application, const Config::Entry& entry,
                                  const Config::ImportFormat& format, Target& target);
