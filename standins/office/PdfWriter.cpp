#include "standins/office/PdfWriter.h"

#include <cstdio>

namespace PdfWriter
{
namespace
{
std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A string literal of PDF: brackets and backslashes escaped, anything not printable left out.
std::string Literal(const std::string& text)
{
    std::string literal = "(";
    for (char c : text)
    {
        if (c == '(' || c == ')' || c == '\\')
            literal += '\\';
        if (c >= 32 && c < 127)
            literal += c;
    }
    return literal + ")";
}
} // namespace

std::string MakePdf(const std::vector<Page>& pages)
{
    // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content stream for each page.
    std::vector<std::string> objects;
    std::string kids;
    for (size_t i = 0; i < pages.size(); ++i)
        kids += (i ? " " : "") + std::to_string(4 + 2 * i) + " 0 R";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (size_t i = 0; i < pages.size(); ++i)
    {
        const Page& page = pages[i];
        std::string content = "BT /F1 24 Tf 28 TL 36 " + Number(page.height - 60) + " Td\n";
        for (const std::string& line : page.lines)
            content += Literal(line) + " Tj T*\n";
        content += "ET\n";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(page.width) + " " +
                          Number(page.height) + "] /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(5 + 2 * i) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
    }

    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i)
    {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets)
    {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}
} // namespace PdfWriter
