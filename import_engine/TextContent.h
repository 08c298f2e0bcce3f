#pragma once
// A plain-text file as lines of code on the page: decoded from its encoding, tabs expanded, one
// paragraph per line.

#include "import_engine/ImportConfig.h"
#include "import_engine/TOrError.h"
#include "import_engine/Target.h"

#include <string>

// Larger text files are refused rather than read whole into one page.
inline constexpr unsigned long long GreatestTextFileSize = 10ull * 1024 * 1024;

// The file's text: UTF-8 (a leading mark left out, and any file under two bytes), UTF-16
// little-endian after FF FE or when either of the first two bytes is zero, UTF-16 big-endian after
// FE FF. Characters that XML cannot hold are left out. A file that cannot be read or is larger
// than GreatestTextFileSize is an error naming the file.
TOrError<std::wstring> ReadTextForImport(const std::wstring& path);

// Every tab becomes four spaces.
std::wstring ExpandTabs(const std::wstring& text);

// The file's lines in the quick style "code", followed by one empty line; a carriage return
// before a line feed stays at the end of its line.
TOrError<ImportResult> InsertTextContent(const std::wstring& path, Target& target);
