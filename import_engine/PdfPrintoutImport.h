#pragma once
// A PDF imported as a printout: each of its pages rendered to a picture and placed on the page
// being filled, one below the other, or on a OneNote page of its own from the second printout
// page on when the output format asks for that. Word and PowerPoint documents come this way
// after their export to PDF.

#include "framework/onenote/OneNoteAutomation.h"
#include "import_engine/ImportConfig.h"
#include "import_engine/TOrError.h"
#include "import_engine/Target.h"

#include <string>

// Works on a copy of target and hands back where the next element goes. A protected document
// whose password nobody gives leaves an empty line and counts as imported; a document without
// pages is the error "Pdf contains no pages". When the import continued onto further pages, the
// last of them is saved before it returns (after a failure too) and target goes on with it: its
// page ID and its shared page object are the last page's, which is marked saved, so that nobody
// sends it again.
TOrError<ImportResult> ImportPdfPrintout(ON16::IApplication& application, const std::wstring& path, unsigned depth,
                                         Target& target);
