#pragma once
// Word documents and PowerPoint decks become printouts by having Word or PowerPoint export them to
// a PDF in Sheafin's temporary folder; that PDF is then imported like any other.

#include "import_engine/ImportConfig.h"
#include "import_engine/TOrError.h"

#include <functional>
#include <string>

// Imports the exported PDF at the path it is given; its result is the export's result.
using PdfPrintoutImport = std::function<TOrError<ImportResult>(const std::wstring& pdfPath)>;

TOrError<ImportResult> ImportWordDoc(const std::wstring& path, const PdfPrintoutImport& importPdf);
TOrError<ImportResult> ImportPPTFile(const std::wstring& path, const PdfPrintoutImport& importPdf);

// The file name with each occurrence of extension (dot included, case counts) replaced by ".pdf":
// Report.docx gives Report.pdf, a.doc.doc gives a.pdf.pdf.
std::wstring ToPdfFileName(const std::wstring& fileName, const std::wstring& extension);

// Word's password prompt would stop an unattended run: a protected document is opened with this
// password instead, which fails rather than prompts. Documents without protection ignore it.
extern const wchar_t* const NoPromptPassword;
