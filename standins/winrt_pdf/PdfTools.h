#pragma once
// What the stand-in's PDF document learns from poppler's tools, and the pages they render.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace WinRtStandIn
{
struct PdfFacts
{
    // Each page's size in device-independent pixels (1/96 inch), turned as the page is shown.
    struct PageSize
    {
        float width = 0;
        float height = 0;
    };
    std::vector<PageSize> pages;
    bool isPasswordProtected = false;
};

// Reads the file's pages; raises 0x8007052B for a protected file without the right password and
// E_FAIL for what is not a PDF, as RuntimeError.
PdfFacts ReadPdfFacts(const std::wstring& path, const std::optional<std::wstring>& password);

// The zero-based page as PNG bytes of width by height pixels.
std::string RenderPdfPage(const std::wstring& path, const std::optional<std::wstring>& password, unsigned index,
                          unsigned width, unsigned height);
} // namespace WinRtStandIn
