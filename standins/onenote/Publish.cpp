// Publishing a page as an enhanced metafile that shows its title and text.
#include "standins/onenote/Publish.h"

#include "framework/Owners.h"

namespace StandIn
{
HRESULT PublishEmf(const PageText& text, const std::wstring& path)
{
    // A letter-sized page at 96 dots per inch (the frame rectangle is in 0.01 mm), its text inside
    // the part that Lumday's preview shows (from a fifteenth of the width, a fortieth of the height).
    constexpr int width = 816;
    constexpr int height = 1056;
    const RECT frame{0, 0, 21590, 27940};
    HDC dc = CreateEnhMetaFileW(nullptr, path.c_str(), &frame, L"OneNote stand-in\0Page\0");
    if (!dc)
        return HRESULT_FROM_WIN32(GetLastError());
    SetMapMode(dc, MM_ANISOTROPIC);
    const HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    SetWindowExtEx(dc, width, height, nullptr);
    SetViewportExtEx(dc, width * dpiX / 96, height * dpiY / 96, nullptr);

    const RECT page{0, 0, width, height};
    FillRect(dc, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    {
        Owners::Font titleFont(CreateFontW(-27, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                           ANTIALIASED_QUALITY, 0, L"Segoe UI"));
        Owners::SelectedObject selected(dc, titleFont.get());
        TextOutW(dc, 96, 64, text.title.c_str(), static_cast<int>(text.title.size()));
    }
    {
        Owners::Pen rule(CreatePen(PS_SOLID, 1, RGB(160, 160, 160)));
        Owners::SelectedObject selected(dc, rule.get());
        MoveToEx(dc, 96, 108, nullptr);
        LineTo(dc, 96 + 300, 108);
    }
    {
        Owners::Font bodyFont(CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                          ANTIALIASED_QUALITY, 0, L"Segoe UI"));
        Owners::SelectedObject selected(dc, bodyFont.get());
        int y = 140;
        for (const auto& line : text.lines)
        {
            if (y > height - 40)
                break;
            TextOutW(dc, 96, y, line.c_str(), static_cast<int>(line.size()));
            y += 21;
        }
    }
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    if (!metafile)
        return E_FAIL;
    DeleteEnhMetaFile(metafile);
    return S_OK;
}
} // namespace StandIn
