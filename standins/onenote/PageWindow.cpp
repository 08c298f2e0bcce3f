#include "standins/onenote/PageWindow.h"

#include "framework/Owners.h"
#include "standins/onenote/Store.h"

namespace StandIn
{
void PaintCurrentPage(HWND window)
{
    PageText text;
    const CurrentView view = Store::Current().GetCurrentView();
    if (view.pageId.empty() || FAILED(Store::Current().GetPageText(view.pageId, text)))
        text = PageText{.title = L"(no page)", .lines = {}};

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    {
        const Owners::Font titleFont(
            CreateFontW(-26, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Segoe UI"));
        const Owners::Font bodyFont(
            CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Segoe UI"));
        // Gives the device context its own font back before the fonts are deleted.
        const Owners::SelectedObject selected(dc, titleFont.get());
        TextOutW(dc, 40, 30, text.title.c_str(), static_cast<int>(text.title.size()));
        SelectObject(dc, bodyFont.get());
        int y = 90;
        for (const auto& line : text.lines)
        {
            TextOutW(dc, 40, y, line.c_str(), static_cast<int>(line.size()));
            y += 22;
        }
    }
    EndPaint(window, &paint);
    const std::wstring caption = text.title + L" - OneNote (stand-in)";
    wchar_t shown[512] = {};
    GetWindowTextW(window, shown, 512);
    if (caption != shown)
        SetWindowTextW(window, caption.c_str());
}
} // namespace StandIn
