#pragma once
// Small but real PDF files: pages of any size, each with lines of text. The Office stand-ins
// export documents as these, and tests make their PDF files with it.

#include <string>
#include <vector>

namespace PdfWriter
{
struct Page
{
    // In points (1/72 inch).
    double width = 612;
    double height = 792;
    std::vector<std::string> lines; // ASCII text, drawn from the top left
};

// The bytes of a PDF 1.4 file with these pages (none makes a document without pages).
std::string MakePdf(const std::vector<Page>& pages);
} // namespace PdfWriter
