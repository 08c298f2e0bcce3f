#pragma once
// One whole import, without a window (RunImport, declared with the engine's face): connect to
// OneNote, turn the configured files and folders into one flat list, prepare the first target,
// import the entries one after the other (asking through the error callback what to do when one
// fails), save the last page and report completion. Here: what the run names its entries and pages by.

#include "import_engine/ImportEngine.h"
#include "import_engine/Target.h"

#include <string>
#include <utility>

// The entry's path without trailing backslashes gives its display name; folders and files, those
// the user gave and those found inside a folder, are told apart.
std::pair<std::wstring, EntryKind> DescribeEntry(const Config::Entry& entry);

// Each "[1]", "[2]" and "[3]" of text becomes the number in decimal; every other "[" stays.
std::wstring FormatTemplate(const std::wstring& text, int32_t first, int32_t second, int32_t third);
