#pragma once
// OneNote reads a file that a page names (an HTML file, a picture, an attached file) only when the
// page is saved, which may be long after its entry was imported: a file that is gone or locked by
// then would fail the whole page. The page names a copy taken when the entry is imported instead,
// beside the printouts.

#include "import_engine/TOrError.h"

#include <string>

// The path of a copy of the file under its own name, in a new folder below the temporary folder
// for printouts (nothing else is ever written there); a file that cannot be read fails with its
// Windows error and the context "File: " and the path.
TOrError<std::wstring> SnapshotFile(const std::wstring& path);
