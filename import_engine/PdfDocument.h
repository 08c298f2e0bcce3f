#pragma once
// PDF documents opened through the Windows Runtime's PDF reader: the page count, and each page
// rendered to a PNG file in Sheafin's temporary folder. Nothing here throws: failures come back
// as errors with the context text that the caller gives ("File: " and the path).

#include "import_engine/ImportEngine.h"
#include "import_engine/TOrError.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Who is asked for a protected document's password is set through the engine's face
// (SetPasswordProvider).

// The folder ("sheafin" in the user's temporary folder) that receives rendered pages and exported
// documents.
std::wstring GetPrintoutFolder();

class Pdf
{
public:
    class PdfImpl;

    static TOrError<Pdf> Open(std::wstring path, uint32_t scale, std::wstring context);
    static TOrError<unsigned> GetPageCount(const Pdf& pdf, std::wstring context);
    // The full path of the PNG file written for the zero-based page.
    static TOrError<std::wstring> RenderPage(const Pdf& pdf, unsigned index, std::wstring context);

    // The pixel width a page of width by height device-independent pixels is rendered at: its
    // longer side limited to 11 inches, then scaled by the printout scale in percent.
    static uint32_t RenderWidth(float width, float height, uint32_t scale);

    // Percent of 96 dots per inch.
    uint32_t scale = 100;
    // "File: " and the path; the error context of later operations on the document.
    std::wstring context;
    std::shared_ptr<PdfImpl> impl;

private:
    // Loads the document, with the password when one is given; raises the platform's failures.
    Pdf(const std::wstring& path, uint32_t scale, const std::optional<std::wstring>& password);
    static Pdf LoadInMta(const std::wstring& path, uint32_t scale);
};
